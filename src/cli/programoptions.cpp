#include "programoptions.h"

#include "command.h"
#include "console.h"

#include <QCommandLineParser>

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
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void addTo(QCommandLineParser &parser, const Commands &commands)
{
    parser.setApplicationDescription(QStringLiteral("%1\n\nCommands:\n%2\n\n%3")
                                         .arg(QLatin1String(About), commandList(commands), QLatin1String(Notes)));
    QList<QCommandLineOption> options{help(), version(), keepCon(), noKeepCon()};
    QStringList names;
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
        names << command->name();
    }
    parser.addOptions(options);
    const QString last = names.takeLast();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("%1 or %2.").arg(names.join(QStringLiteral(", ")), last));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[arguments...]"));
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
