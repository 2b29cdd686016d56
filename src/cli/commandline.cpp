#include "commandline.h"

#include "command.h"
#include "commandregistry.h"
#include "console.h"
#include "modbusframe.h"
#include "programoptions.h"

#include <QCommandLineParser>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// One run of the tool: the command line parsed once with every command's
// options, the program's own options and help, then the command named.
class Run {
public:
    Run(QIODevice &out, QIODevice &err, QIODevice *in) : console(out, err, in), commands(allCommands(console)) {}

    std::optional<int> check(const QStringList &arguments);
    int execute() { return console.finished(command->execute()); }

private:
    // The usage error of a command that is not one of ours.
    int unknownCommand(const QString &typed);

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

// The number of edits (a letter added, dropped, changed, or two swapped)
// that make `typed` into `name`.
int distance(const QString &typed, const QString &name)
{
    std::vector<std::vector<int>> cost(typed.size() + 1, std::vector<int>(name.size() + 1));
    for (int i = 0; i <= typed.size(); ++i) {
        for (int j = 0; j <= name.size(); ++j) {
            if (i == 0 || j == 0) {
                cost[i][j] = i + j;
                continue;
            }
            cost[i][j] = std::min({cost[i - 1][j] + 1, cost[i][j - 1] + 1,
                                   cost[i - 1][j - 1] + (typed.at(i - 1) == name.at(j - 1) ? 0 : 1)});
            if (i > 1 && j > 1 && typed.at(i - 1) == name.at(j - 2) && typed.at(i - 2) == name.at(j - 1))
                cost[i][j] = std::min(cost[i][j], cost[i - 2][j - 2] + 1);
        }
    }
    return cost[typed.size()][name.size()];
}

int Run::unknownCommand(const QString &typed)
{
    QString problem = QStringLiteral("unknown command '%1'").arg(typed);
    QStringList names{QLatin1String(ProgramOptions::HelpCommand)};
    for (const auto &candidate : commands)
        names << candidate->name();
    // A slip of one key in a short name, of two in a longer one.
    for (const QString &name : std::as_const(names)) {
        if (distance(typed, name) <= (name.size() < 6 ? 1 : 2)) {
            problem += QStringLiteral("; did you mean '%1'?").arg(name);
            break;
        }
    }
    return console.usageError(problem);
}

std::optional<int> Run::check(const QStringList &arguments)
{
    QCommandLineParser parser;
    ProgramOptions::addTo(parser, commands);
    if (!parser.parse(QStringList(QString::fromLatin1(ProgramName)) + arguments)) {
        const ProgramOptions::Misuse misuse = ProgramOptions::misuse(arguments, commands);
        QString problem = misuse.problem.isEmpty() ? parser.errorText() : misuse.problem;
        problem[0] = problem.at(0).toLower();
        return console.usageError(problem, find(misuse.command) ? misuse.command : QString());
    }
    QStringList positional = parser.positionalArguments();
    const bool helpCommand = !positional.isEmpty() && positional.constFirst() == QLatin1String(ProgramOptions::HelpCommand);
    if (helpCommand) {
        positional.removeFirst();
        if (positional.size() > 1)
            return console.usageError(QStringLiteral("help takes one COMMAND"));
        if (!positional.isEmpty() && !find(positional.constFirst()))
            return unknownCommand(positional.constFirst());
    }
    if (helpCommand || parser.isSet(ProgramOptions::help())) {
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
    const QString name = positional.isEmpty() ? QString() : positional.takeFirst();
    command = find(name);
    // A usage error points at the help of the command given, if it is one.
    const QString helpOf = command ? name : QString();
    if (parser.isSet(ProgramOptions::keepCon()) && parser.isSet(ProgramOptions::noKeepCon()))
        return console.usageError(QStringLiteral("--keep-con and --no-keep-con exclude each other"), helpOf);
    // The window's console trace goes to standard output, which here
    // belongs to the data; --trace gives the traffic's own lines instead.
    setTraceOutput(nullptr);
    console.setQuiet(parser.isSet(ProgramOptions::quiet()));

    if (name.isEmpty())
        return console.usageError(QStringLiteral("no command given"));
    for (const auto &other : commands) {
        if (other.get() == command)
            continue;
        if (const QString misplaced = other->misplacedOptions(parser); !misplaced.isEmpty())
            return console.usageError(misplaced, helpOf);
    }
    if (!command)
        return unknownCommand(name);
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
