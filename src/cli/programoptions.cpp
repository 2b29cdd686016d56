#include "programoptions.h"

#include "command.h"
#include "console.h"

#include <QCommandLineParser>

#include <optional>

namespace ProgramOptions {

QCommandLineOption help()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Display this help and exit."));
}

QCommandLineOption version()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Output version information and exit."));
}

QCommandLineOption keepCon()
{
    return QCommandLineOption(QStringLiteral("keep-con"),
        QStringLiteral("Use the 71-register settings block that carries KeepCon (the default unless the file says "
                       "otherwise in EnableKeepCon)."));
}

QCommandLineOption noKeepCon()
{
    return QCommandLineOption(QStringLiteral("no-keep-con"),
        QStringLiteral("Use the 70-register settings block, for firmware without the keep-connection register."));
}

QCommandLineOption quiet()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")},
                              QStringLiteral("Say nothing on standard error but failures."));
}

QCommandLineOption trace()
{
    return QCommandLineOption(QStringLiteral("trace"),
        QStringLiteral("Print on standard error every frame sent and every answer, once each and in the order they "
                       "crossed the wire, with the time, the bytes in hexadecimal and what they are, and each "
                       "job's start and end."));
}

namespace {

const char About[] = "Reads, writes and compares the settings of a GPRS modem over Modbus RTU.";

const char Notes[] =
    "CONNECTION is the configurator's connection text, e.g. \"dev=/dev/ttyUSB0;baud=9600\", or for a\n"
    "server \"dev=tcp://192.168.1.50:4001\" (RTU passed over TCP), \"dev=modbustcp://192.168.1.60\" (a\n"
    "Modbus TCP gateway, port 502 unless given), \"dev=rfc2217://HOST:PORT;baud=9600\" (a serial server\n"
    "whose port this tool sets) or \"dev=rtuoverudp://HOST:PORT\". \"detect HOST:PORT\" finds which.\n"
    "FILE.xml \"-\" is standard input for write and diff.\n"
    "\n"
    "Exit status: 0 success; 1 the port or the device failed; 2 a bad command line, a file\n"
    "that cannot be read or written (the journal included), or an invalid value.\n"
    "diff: 0 no difference, 1 some, 2 trouble. provision: 0 every modem tried was verified,\n"
    "1 otherwise or when stopped with rows left, 2 a table, report or port that is refused.";

// Each command's synopsis with its summary beside it, or below it when the
// synopsis is too long for the column.
QString commandList(const Commands &commands)
{
    const int column = 29;
    QStringList lines;
    for (const auto &command : commands) {
        const QString head = QStringLiteral("%1 %2").arg(command->name(), command->synopsis()).trimmed();
        QStringList summary = command->summary();
        if (head.size() + 4 <= column)
            lines << (QStringLiteral("  ") + head).leftJustified(column) + summary.takeFirst();
        else
            lines << QStringLiteral("  ") + head;
        for (const QString &line : qAsConst(summary))
            lines << QString(column, QLatin1Char(' ')) + line;
    }
    // The same as COMMAND --help, for those who type it first.
    lines << QStringLiteral("  %1 [COMMAND]").arg(QLatin1String(HelpCommand)).leftJustified(column)
                 + QStringLiteral("the program's help, or COMMAND's (as COMMAND --help) with examples");
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QList<QCommandLineOption> all(const Commands &commands)
{
    QList<QCommandLineOption> options{help(), version(), keepCon(), noKeepCon()};
    for (const auto &command : commands) {
        // The console's options before the last command's: where the manual
        // page has always had them.
        if (&command == &commands.back())
            options << quiet() << trace();
        for (QCommandLineOption option : command->options()) {
            QString description = option.description();
            description[0] = description.at(0).toLower();
            option.setDescription(QStringLiteral("%1: %2").arg(command->name(), description));
            options << option;
        }
    }
    return options;
}

void addTo(QCommandLineParser &parser, const Commands &commands)
{
    parser.setApplicationDescription(QStringLiteral("%1\n\nCommands:\n%2\n\n%3")
                                         .arg(QLatin1String(About), commandList(commands), QLatin1String(Notes)));
    parser.addOptions(all(commands));
    QStringList names;
    for (const auto &command : commands)
        names << command->name();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("%1 or %2.").arg(names.join(QStringLiteral(", ")), QLatin1String(HelpCommand)));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[arguments...]"));
}

Misuse misuse(const QStringList &arguments, const Commands &commands)
{
    const QList<QCommandLineOption> options = all(commands);
    // Whether the option of that name takes a value; nothing when there is none.
    const auto takesValue = [&options](const QString &name) -> std::optional<bool> {
        for (const QCommandLineOption &option : options) {
            if (option.names().contains(name))
                return !option.valueName().isEmpty();
        }
        return std::nullopt;
    };
    Misuse found;
    // Read as the parser reads it: a value after "=", in the next argument,
    // or in the rest of a cluster of short options; "--" ends the options.
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        QString problem;
        const bool valueFollows = i + 1 < arguments.size();
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--"))) {
            const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
            const bool valueGiven = argument.contains(QLatin1Char('='));
            const std::optional<bool> value = takesValue(name);
            if (!value)
                problem = QStringLiteral("unknown option '--%1'").arg(name);
            else if (!*value && valueGiven)
                problem = QStringLiteral("option '--%1' takes no value").arg(name);
            else if (*value && !valueGiven && !valueFollows)
                problem = QStringLiteral("option '--%1' needs a value").arg(name);
            else if (*value && !valueGiven)
                ++i;
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            for (int j = 1; j < argument.size(); ++j) {
                const std::optional<bool> value = takesValue(argument.mid(j, 1));
                // "-q.xml": what follows a flag is no option of its own.
                if (!value && j > 1 && !argument.at(j).isLetter())
                    problem = QStringLiteral("option '-%1' takes no value").arg(argument.at(j - 1));
                else if (!value)
                    problem = QStringLiteral("unknown option '-%1'").arg(argument.at(j));
                else if (*value && j + 1 == argument.size() && !valueFollows)
                    problem = QStringLiteral("option '-%1' needs a value").arg(argument.at(j));
                else if (*value && j + 1 == argument.size())
                    ++i;
                if (!value || *value)
                    break;
            }
        } else if (found.command.isEmpty()) {
            found.command = argument;
        }
        // The first problem; the command may come after it.
        if (found.problem.isEmpty())
            found.problem = problem;
    }
    return found;
}

QString helpText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    const int usageEnd = text.indexOf(QLatin1String(" [options]"));
    if (usageEnd > 0)
        text.replace(0, usageEnd, QStringLiteral("Usage: %1").arg(QLatin1String(ProgramName)));
    return text;
}

} // namespace ProgramOptions
