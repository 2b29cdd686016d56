#ifndef COMMAND_H
#define COMMAND_H

#include <QCommandLineOption>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class Console;
class QCommandLineParser;

// One command of gprs-configurator-cli: what its command line holds, its
// help, its checks and what it does. The registry names each command once;
// the command line is parsed once with every command's options, so that an
// option given to the wrong command is named as such.
class Command {
public:
    Command(QString name, Console &console) : console(console), commandName(std::move(name)) {}
    virtual ~Command() = default;
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    QString name() const { return commandName; }
    // What follows the command's name: "CONNECTION FILE.xml".
    virtual QString synopsis() const = 0;
    // What it does, in the lines the program's help lists beside the
    // synopsis; its own help makes a sentence of them.
    virtual QStringList summary() const = 0;
    // The options that belong to this command alone, described for its own
    // help (the program's help names the command before each).
    virtual QList<QCommandLineOption> options() const { return {}; }
    // The options every command accepts that change what this one does.
    virtual QList<QCommandLineOption> sharedOptions() const;
    // For its help: what each example does, and its command line after the
    // program's name.
    virtual QList<QPair<QString, QString>> examples() const = 0;
    // Its arguments for its help: each name and what it is.
    virtual QList<QPair<QString, QString>> arguments() const { return {}; }

    // Usage, what it does, its options, arguments and examples.
    QString help() const;
    // "--json belongs to history" when this command's options are given to
    // another command; empty when none is.
    QString misplacedOptions(const QCommandLineParser &parser) const;

    // The command line checked, with nothing opened yet: the exit status
    // when it is already settled (a usage error, a mistyped connection), or
    // nothing when execute() is to carry it out.
    virtual std::optional<int> check(const QCommandLineParser &parser, const QStringList &arguments) = 0;
    virtual int execute() = 0;

protected:
    // A usage error of this command, pointing at its own help.
    int usageError(const QString &problem);

    Console &console;

private:
    const QString commandName;
};

using CommandFactory = std::unique_ptr<Command> (*)(const QString &name, Console &console);
using Commands = std::vector<std::unique_ptr<Command>>;

#endif // COMMAND_H
