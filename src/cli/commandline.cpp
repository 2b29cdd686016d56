#include "commandline.h"

#include "command.h"
#include "commandregistry.h"
#include "console.h"
#include "modbusframe.h"
#include "programoptions.h"

#include <QCommandLineParser>

namespace {

// One run of the tool: the command line parsed once with every command's
// options, the program's own options and help, then the command named.
class Run {
public:
    Run(QIODevice &out, QIODevice &err, QIODevice *in) : console(out, err, in), commands(allCommands(console)) {}

    std::optional<int> check(const QStringList &arguments);
    int execute() { return console.finished(command->execute()); }

private:
    Command *find(const QString &name) const
    {
        for (const auto &candidate : commands) {
            if (candidate->name() == name)
                return candidate.get();
        }
        return nullptr;
    }

    Console console;
    const Commands commands;
    Command *command = nullptr;
};

std::optional<int> Run::check(const QStringList &arguments)
{
    QCommandLineParser parser;
    ProgramOptions::addTo(parser, commands);
    if (!parser.parse(QStringList(QString::fromLatin1(ProgramName)) + arguments))
        return console.usageError(parser.errorText());
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(ProgramOptions::help())) {
        // A command's own help wherever --help stands, as git has it; with
        // no command known, the program's.
        const Command *named = positional.isEmpty() ? nullptr : find(positional.constFirst());
        console.put((named ? named->help() : ProgramOptions::helpText(parser)).toUtf8());
        return console.finished(Success);
    }
    if (parser.isSet(ProgramOptions::version())) {
        console.print(QStringLiteral("%1 %2").arg(QLatin1String(ProgramName), QLatin1String(GPRS_VERSION)));
        console.print(QStringLiteral("Copyright (C) 2026 GPRS configurator developers"));
        console.print(QStringLiteral("License MIT: <https://opensource.org/licenses/MIT>"));
        return console.finished(Success);
    }
    if (parser.isSet(ProgramOptions::keepCon()) && parser.isSet(ProgramOptions::noKeepCon()))
        return console.usageError(QStringLiteral("--keep-con and --no-keep-con exclude each other"));
    // The window's console trace goes to standard output, which here
    // belongs to the data; --trace gives the traffic's own lines instead.
    setTraceOutput(nullptr);
    console.setQuiet(parser.isSet(ProgramOptions::quiet()));

    if (positional.isEmpty())
        return console.usageError(QStringLiteral("no command given"));
    const QString name = positional.takeFirst();
    command = find(name);
    for (const auto &other : commands) {
        if (other.get() == command)
            continue;
        if (const QString misplaced = other->misplacedOptions(parser); !misplaced.isEmpty())
            return console.usageError(misplaced);
    }
    if (!command)
        return console.usageError(QStringLiteral("unknown command \"%1\"").arg(name));
    return command->check(parser, positional);
}

} // namespace

int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice *in)
{
    Run run(out, err, in);
    const std::optional<int> settled = run.check(arguments);
    return settled ? *settled : run.execute();
}

std::optional<int> checkCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    return Run(out, err, nullptr).check(arguments);
}
