#include "commandline.h"

#include "devicesettings.h"
#include "filesupport.h"
#include "fleetprovisioner.h"
#include "modbusframe.h"
#include "mythread.h"
#include "seriallink.h"
#include "serialports.h"
#include "settingscodecs.h"
#include "settingsfile.h"
#include "settingsvalues.h"
#include "userfolders.h"
#include "writejournal.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QIODevice>

#include <csignal>
#include <mutex>
#include <optional>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

enum Status { Success = 0, DeviceFailed = 1, BadInput = 2 };

const char ProgramName[] = "gprs-configurator-cli";

const char Description[] =
    "Reads, writes and compares the settings of a GPRS modem over Modbus RTU.\n"
    "\n"
    "Commands:\n"
    "  read CONNECTION FILE.xml   save the modem's settings as a settings file (\"-\": standard output)\n"
    "  write CONNECTION FILE.xml  send the 35 settings of a settings file to the modem; a file\n"
    "                             that lacks any is refused unless --merge. The modem is read\n"
    "                             first, only the blocks that differ are sent, and the journal\n"
    "                             keeps what it held (see history)\n"
    "  diff CONNECTION FILE.xml   list the settings that differ: \"key: modem value -> file value\";\n"
    "                             the settings the file lacks are named on standard error\n"
    "  ports                      list the serial ports of this machine\n"
    "  detect [PORT...]           find the port and baud rate the modem answers on (all ports by default);\n"
    "                             a PORT may be a connection text, or tcp://HOST:PORT for a server\n"
    "  history                    list the journal of Writes, newest first: time, connection, the\n"
    "                             modem's own phone number, outcome, changed settings, previous file\n"
    "  provision TEMPLATE.xml TABLE.csv --port PORT...\n"
    "                             write a fleet: the template's settings with each row's cells over\n"
    "                             them (a header of settings keys and an optional id column; an empty\n"
    "                             cell keeps the template's value), one modem per port at a time, all\n"
    "                             ports at once; each modem is read, the journal keeps what it held,\n"
    "                             only the blocks that differ are written and then verified\n"
    "\n"
    "CONNECTION is the configurator's connection text, e.g. \"dev=/dev/ttyUSB0;baud=9600\", or\n"
    "\"dev=tcp://192.168.1.50:4001\" for a serial device server that passes Modbus RTU over TCP.\n"
    "FILE.xml \"-\" is standard input for write and diff.\n"
    "\n"
    "Exit status: 0 success; 1 the port or the device failed; 2 a bad command line, a file\n"
    "that cannot be read or written (the journal included), or an invalid value.\n"
    "diff: 0 no difference, 1 some, 2 trouble. provision: 0 every modem tried was verified,\n"
    "1 otherwise or when stopped with rows left, 2 a table, report or port that is refused.";

class Tool {
public:
    Tool(QIODevice &out, QIODevice &err, QIODevice *in) : in(in), out(out), err(err) {}

    // The command line checked, with nothing opened yet: the exit status
    // when it is already settled (help, version, a usage error), or nothing
    // when execute() is to carry it out.
    std::optional<int> parse(const QStringList &arguments);
    int execute();

private:
    // What parse() found for execute().
    QString command;
    QStringList positional;
    std::optional<QString> backupFile;
    bool verify = false;
    bool merge = false;
    bool quiet = false;
    bool traced = false;   // --trace: the traffic on standard error
    bool json = false;
    QStringList provisionPorts;
    QString reportFile;
    QString matchKey;
    bool waitForModems = false;
    QString journalFolder = UserFolders::journalFolder();

    int read(const QString &connection, const QString &fileName);
    int write(const QString &connection, const QString &fileName);
    int diff(const QString &connection, const QString &fileName);
    int ports();
    int detect(const QStringList &portNames);
    int history();
    int provision(const QString &templateFile, const QString &tableFile);

    void sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack, DeviceSettings::Blocks blocks);
    // Whether entry `index` is compared with the modem in this run.
    bool compared(int index) const;

    // The modem's settings, or nothing when the job failed (it said why).
    // Only the entries of `blocks` are read; the others stay empty.
    std::optional<DeviceSettings> readModem(const QString &connection,
                                            DeviceSettings::Blocks blocks = DeviceSettings::allBlocks());
    bool runJob(int job, const QString &connection, const std::optional<DeviceSettings> &record,
                DeviceSettings::Blocks blocks, DeviceSettings *readBack);
    bool runJob(MyThread &worker, int job, JobRequest request);
    // The file's values; false (having said why) when it cannot be used.
    bool loadFile(const QString &fileName, SettingsValues *values);
    bool saveFile(const QString &fileName, const DeviceSettings &record, const QString &connection);
    // False (having said why) when a settings file cannot be written there.
    bool canSaveTo(const QString &fileName);
    void chooseKeepCon(const SettingsValues *file);
    static QString shownName(const QString &fileName);
    int finished(int status);

    // Every message on standard error starts with the program's name, as
    // GNU tools have it; --quiet leaves only the failures.
    // What a modem or a file holds may carry a terminal's control
    // sequences: they are shown, never obeyed.
    void say(const QString &line)
    {
        std::lock_guard<std::mutex> locker(outputMutex);
        if (progressShown) {
            err.write("\r\033[K");
            progressShown = false;
        }
        err.write(QByteArray(ProgramName) + ": " + printableText(line).toUtf8() + '\n');
    }
    // A line that the next one overwrites, on a terminal only.
    void showProgress(const QString &line)
    {
        std::lock_guard<std::mutex> locker(outputMutex);
        err.write("\r\033[K" + printableText(line).left(79).toUtf8());   // one line of a narrow terminal
        progressShown = true;
    }
    bool errIsTerminal() const;
    void inform(const QString &line)
    {
        if (!quiet)
            say(line);
    }
    // Data for standard output; a write that fails is told once the command ends.
    void put(const QByteArray &data)
    {
        if (out.write(data) != data.size() && outputFailure.isEmpty())
            outputFailure = out.errorString();
    }
    void print(const QString &line) { put(line.toUtf8() + '\n'); }
    int usageError(QString problem)
    {
        if (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        say(QStringLiteral("%1; try --help").arg(problem));
        return BadInput;
    }

    std::mutex outputMutex;   // the ports of a provisioning run speak at once
    bool progressShown = false;
    QIODevice *in;     // null: standard input
    QIODevice &out;
    QIODevice &err;
    QString outputFailure;
    std::optional<bool> keepConChoice;   // from the command line
    bool keepCon = true;                 // the form of the settings block for this run
};

std::optional<int> Tool::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Display this help and exit."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Output version information and exit."));
    const QCommandLineOption keepConOption(QStringLiteral("keep-con"),
        QStringLiteral("Use the 71-register settings block that carries KeepCon (the default unless the file says "
                       "otherwise in EnableKeepCon)."));
    const QCommandLineOption noKeepConOption(QStringLiteral("no-keep-con"),
        QStringLiteral("Use the 70-register settings block, for firmware without the keep-connection register."));
    const QCommandLineOption verifyOption(QStringLiteral("verify"),
        QStringLiteral("write: read the modem back afterwards and fail, naming each setting that differs."));
    const QCommandLineOption backupOption(QStringLiteral("backup"),
        QStringLiteral("write: also save what the modem holds to OLD.xml (the journal keeps it in any case); "
                       "write nothing if that cannot be done."),
        QStringLiteral("OLD.xml"));
    const QCommandLineOption mergeOption(QStringLiteral("merge"),
        QStringLiteral("write: write the file's settings over what the modem holds, keeping its own values for "
                       "the settings the file lacks."));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
        QStringLiteral("history: one JSON object per line, for scripts."));
    const QCommandLineOption traceOption(QStringLiteral("trace"),
        QStringLiteral("Print on standard error every frame sent and every answer, once each and in the order they "
                       "crossed the wire, with the time, the bytes in hexadecimal and what they are, and each "
                       "job's start and end."));
    const QCommandLineOption quietOption({QStringLiteral("q"), QStringLiteral("quiet")},
        QStringLiteral("Say nothing on standard error but failures."));
    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("provision: a port to serve, as a connection text or a port's name; without a baud rate "
                       "it is searched as detect does. Give it once for each port."),
        QStringLiteral("PORT"));
    const QCommandLineOption reportOption(QStringLiteral("report"),
        QStringLiteral("provision: add one CSV line for each modem tried to REPORT.csv; the rows an existing "
                       "report has as verified are left out, so that a run carries on where one ended."),
        QStringLiteral("REPORT.csv"));
    const QCommandLineOption waitOption(QStringLiteral("wait"),
        QStringLiteral("provision: on each port, once a modem is done, wait for it to be taken away and for the "
                       "next to answer, until the table is done or Ctrl-C."));
    const QCommandLineOption matchOption(QStringLiteral("match"),
        QStringLiteral("provision: give each modem the row whose KEY (own_Ph, say) holds what the modem holds; "
                       "a modem no row matches is left untouched."),
        QStringLiteral("KEY"));
    parser.addOptions({helpOption, versionOption, keepConOption, noKeepConOption, verifyOption, backupOption,
                       mergeOption, jsonOption, quietOption, traceOption, portOption, reportOption, waitOption,
                       matchOption});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("read, write, diff, ports, detect, history or provision."));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[arguments...]"));

    if (!parser.parse(QStringList(QString::fromLatin1(ProgramName)) + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        const int usageEnd = help.indexOf(QLatin1String(" [options]"));
        if (usageEnd > 0)
            help.replace(0, usageEnd, QStringLiteral("Usage: %1").arg(QLatin1String(ProgramName)));
        put(help.toUtf8());
        return finished(Success);
    }
    if (parser.isSet(versionOption)) {
        print(QStringLiteral("%1 %2").arg(QLatin1String(ProgramName), QLatin1String(GPRS_VERSION)));
        print(QStringLiteral("Copyright (C) 2026 GPRS configurator developers"));
        print(QStringLiteral("License MIT: <https://opensource.org/licenses/MIT>"));
        return finished(Success);
    }
    if (parser.isSet(keepConOption) && parser.isSet(noKeepConOption))
        return usageError(QStringLiteral("--keep-con and --no-keep-con exclude each other"));
    if (parser.isSet(keepConOption) || parser.isSet(noKeepConOption))
        keepConChoice = parser.isSet(keepConOption);
    // The window's console trace goes to standard output, which here
    // belongs to the data; --trace gives the traffic's own lines instead.
    setTraceOutput(nullptr);
    traced = parser.isSet(traceOption);

    positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    command = positional.takeFirst();
    verify = parser.isSet(verifyOption);
    merge = parser.isSet(mergeOption);
    quiet = parser.isSet(quietOption);
    if (parser.isSet(backupOption))
        backupFile = parser.value(backupOption);
    if ((verify || backupFile || merge) && command != QLatin1String("write"))
        return usageError(QStringLiteral("--verify, --backup and --merge belong to write"));
    json = parser.isSet(jsonOption);
    if (json && command != QLatin1String("history"))
        return usageError(QStringLiteral("--json belongs to history"));

    provisionPorts = parser.values(portOption);
    reportFile = parser.value(reportOption);
    matchKey = parser.value(matchOption);
    waitForModems = parser.isSet(waitOption);
    if ((!provisionPorts.isEmpty() || parser.isSet(reportOption) || waitForModems || parser.isSet(matchOption))
        && command != QLatin1String("provision"))
        return usageError(QStringLiteral("--port, --report, --wait and --match belong to provision"));
    if (command == QLatin1String("provision")) {
        if (positional.size() != 2)
            return usageError(QStringLiteral("provision takes TEMPLATE.xml and TABLE.csv"));
        if (provisionPorts.isEmpty())
            return usageError(QStringLiteral("provision needs at least one --port"));
        if (!matchKey.isEmpty() && DeviceSettings::indexOfKey(matchKey) < 0)
            return usageError(QStringLiteral("--match %1 is not a setting of the modem").arg(matchKey));
        for (QString &port : provisionPorts) {
            // A port's bare name stands for its connection, at a rate to be found.
            if (!port.contains(QLatin1Char('=')))
                port = QStringLiteral("dev=%1").arg(port);
            SerialLink link;
            const QString problem = DeviceProcedures::configureLink(link, port);
            if (!problem.isEmpty()) {
                say(problem);
                return BadInput;
            }
        }
        return std::nullopt;
    }
    if (command == QLatin1String("history")) {
        if (!positional.isEmpty())
            return usageError(QStringLiteral("history takes no arguments"));
        return std::nullopt;
    }
    if (command == QLatin1String("ports") || command == QLatin1String("detect")) {
        if (command == QLatin1String("ports") && !positional.isEmpty())
            return usageError(QStringLiteral("ports takes no arguments"));
        return std::nullopt;
    }
    if (command != QLatin1String("read") && command != QLatin1String("write") && command != QLatin1String("diff"))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    if (positional.size() != 2)
        return usageError(QStringLiteral("%1 takes CONNECTION and FILE.xml").arg(command));

    SerialLink link;
    const QString connectionProblem = DeviceProcedures::configureLink(link, positional.at(0));
    if (!connectionProblem.isEmpty()) {
        say(connectionProblem);
        return BadInput;
    }
    return std::nullopt;
}

int Tool::execute()
{
    int status = Success;
    if (command == QLatin1String("ports"))
        status = ports();
    else if (command == QLatin1String("detect"))
        status = detect(positional);
    else if (command == QLatin1String("history"))
        status = history();
    else if (command == QLatin1String("provision"))
        status = provision(positional.at(0), positional.at(1));
    else if (command == QLatin1String("read"))
        status = read(positional.at(0), positional.at(1));
    else if (command == QLatin1String("diff"))
        status = diff(positional.at(0), positional.at(1));
    else
        status = write(positional.at(0), positional.at(1));
    return finished(status);
}

// A closed pipe or a full disk must not pass for a complete answer.
int Tool::finished(int status)
{
    if (outputFailure.isEmpty())
        return status;
    say(QStringLiteral("standard output: %1").arg(outputFailure));
    return BadInput;
}

int Tool::write(const QString &connection, const QString &fileName)
{
    SettingsValues file;
    if (!loadFile(fileName, &file))
        return BadInput;
    chooseKeepCon(&file);
    // A setting the file does not give would go to the modem as an empty
    // text or a zero: an IP address of 0.0.0.0, a Modbus address of 0.
    const QStringList missing = file.missingKeys();
    if (!missing.isEmpty() && !merge) {
        say(QStringLiteral("%1 lacks %2 of the modem's %3 settings: %4. Nothing was written: complete the file, or "
                           "use --merge to keep the modem's own values for them")
                .arg(shownName(fileName))
                .arg(missing.size())
                .arg(DeviceSettings::Count)
                .arg(missing.join(QStringLiteral(", "))));
        return BadInput;
    }
    // The file's own values are checked before the modem is touched.
    if (const QList<SettingProblem> problems = file.problems(); !problems.isEmpty()) {
        say(problems.constFirst().message());
        return BadInput;
    }

    if (backupFile && !canSaveTo(*backupFile))
        return BadInput;
    // One job reads what the modem holds, keeps it in the journal before
    // anything is sent, and sends only what it does not hold yet. Its plan
    // runs on the worker's thread; what it decides is read back under the
    // lock once the job has ended.
    std::mutex planMutex;
    int refusal = Success;
    DeviceSettings wanted;
    DeviceSettings::Blocks blocks;
    JobRequest request{connection, keepCon ? 1 : 0, std::nullopt, std::nullopt};
    request.journalFolder = journalFolder;
    request.verify = verify;
    request.plan = [&](const DeviceSettings &held) {
        std::lock_guard<std::mutex> locker(planMutex);
        WritePlan plan;
        if (backupFile && !saveFile(*backupFile, held, connection)) {
            refusal = BadInput;
            plan.lastWord = QStringLiteral("Nothing was written: the backup could not be saved");
            return plan;
        }
        // The file is complete unless merging, and then it goes over the modem's own.
        wanted = file.over(held);
        // The registers the modem answered with against those the write
        // would send, so that nothing the texts do not show is taken for held.
        blocks = held.blocksDifferingFrom(wanted, keepCon);
        if (blocks.none()) {
            plan.lastWord = QStringLiteral("The modem already holds the settings of %1: nothing was written")
                                .arg(shownName(fileName));
            plan.succeeded = true;
            return plan;
        }
        // What the modem holds is written back unchanged beside the file's
        // values, so it must be writable as well.
        if (const SettingProblem problem = wanted.firstProblem(blocks); problem.exists()) {
            refusal = BadInput;
            plan.lastWord = problem.message();
            return plan;
        }
        if (blocks.count() < DeviceSettings::BlockCount)
            inform(QStringLiteral("Writing %1 of the %2 blocks; the modem holds the others already")
                       .arg(blocks.count())
                       .arg(DeviceSettings::BlockCount));
        plan.record = wanted;
        plan.blocks = blocks;
        return plan;
    };
    MyThread worker;
    const bool written = runJob(worker, MyThread::JobWrite, request);
    std::lock_guard<std::mutex> locker(planMutex);
    if (refusal != Success)
        return refusal;
    // A journal that cannot be written is a file that cannot be written.
    if (worker.journalFailed())
        return BadInput;
    if (!written && verify && blocks.any())
        sayDifferences(wanted, worker.settings(), blocks);
    return written ? Success : DeviceFailed;
}

// Names every setting of `blocks` whose registers, read back, differ from
// what the modem should hold now.
void Tool::sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack, DeviceSettings::Blocks blocks)
{
    for (int index : readBack.entriesDifferingFrom(wanted, blocks, keepCon)) {
        const QByteArray expected = wanted.fieldImage(index);
        const QStringList shown = shownDifference(readBack.value(index), readBack.fieldImage(index),
                                                  DeviceSettings::textOf(index, expected), expected);
        say(QStringLiteral("Verify: %1 is \"%2\" on the modem, not \"%3\"")
                .arg(DeviceSettings::key(index), shown.at(0), shown.at(1)));
    }
}

bool Tool::compared(int index) const
{
    // Without its register KeepCon is neither read nor written.
    return index != DeviceSettings::KeepCon || keepCon;
}

void Tool::chooseKeepCon(const SettingsValues *file)
{
    if (keepConChoice)
        keepCon = *keepConChoice;
    else if (file && file->enableKeepCon)
        keepCon = *file->enableKeepCon;
    else
        keepCon = true;
}

int Tool::read(const QString &connection, const QString &fileName)
{
    // Known before the modem is read: a folder that is not there, a file
    // that may not be written.
    if (!canSaveTo(fileName))
        return BadInput;
    chooseKeepCon(nullptr);
    const std::optional<DeviceSettings> held = readModem(connection);
    if (!held)
        return DeviceFailed;
    return saveFile(fileName, *held, connection) ? Success : BadInput;
}

int Tool::diff(const QString &connection, const QString &fileName)
{
    SettingsValues file;
    if (!loadFile(fileName, &file))
        return BadInput;
    chooseKeepCon(&file);
    // What write would refuse is no difference to show but trouble.
    if (const QList<SettingProblem> problems = file.problems(); !problems.isEmpty()) {
        for (const SettingProblem &problem : problems)
            say(problem.message());
        return BadInput;
    }
    const std::optional<DeviceSettings> held = readModem(connection);
    if (!held)
        return BadInput;
    const QStringList missing = file.missingKeys();
    if (!missing.isEmpty())
        inform(QStringLiteral("%1 lacks %2 of the modem's %3 settings, which were not compared: %4")
                   .arg(shownName(fileName))
                   .arg(missing.size())
                   .arg(DeviceSettings::Count)
                   .arg(missing.join(QStringLiteral(", "))));
    // The registers the modem answered with against those a write of the
    // file would send: "007" and "7" are no difference, a text in other
    // bytes is one.
    int differences = 0;
    for (const QString &key : settingsFileKeys()) {
        const int index = DeviceSettings::indexOfKey(key);
        if (index < 0 || !file.present[size_t(index)] || !compared(index))
            continue;
        const QByteArray wanted = file.settings.fieldImage(index);
        if (held->fieldImage(index) == wanted)
            continue;
        const QStringList shown =
            shownDifference(held->value(index), held->fieldImage(index), file.settings.value(index), wanted);
        print(QStringLiteral("%1: %2 -> %3").arg(key, shown.at(0), shown.at(1)));
        ++differences;
    }
    return differences == 0 ? Success : DeviceFailed;
}

int Tool::ports()
{
    const QList<SerialPorts::Port> available = SerialPorts::available();
    for (const SerialPorts::Port &port : available) {
        QStringList about;
        for (const QString &fact : {port.description, port.manufacturer, port.identity}) {
            if (!fact.isEmpty())
                about << fact;
        }
        print(about.isEmpty() ? port.name : QStringLiteral("%1\t%2").arg(port.name, about.join(QStringLiteral(", "))));
    }
    if (available.isEmpty())
        inform(QStringLiteral("No serial ports found"));
    return Success;
}

int Tool::detect(const QStringList &portNames)
{
    JobRequest request;
    // A connection text, as the simulated modem prints it, names its port
    // by its dev part.
    for (const QString &name : portNames)
        request.detectPorts << (name.contains(QLatin1Char('=')) ? SerialPorts::part(name, QStringLiteral("dev")) : name);
    if (portNames.isEmpty())
        request.detectPorts = SerialPorts::availableNames();
    MyThread worker;
    if (!runJob(worker, MyThread::JobDetect, request))
        return DeviceFailed;
    print(worker.detectedConnection());
    return Success;
}

// The journal of Writes, newest first: one line per entry, or one JSON
// object per line.
int Tool::history()
{
    const QList<JournalEntry> entries = WriteJournal(journalFolder).entries();
    for (const JournalEntry &entry : entries) {
        if (json) {
            put(QJsonDocument(entry.toJson()).toJson(QJsonDocument::Compact) + '\n');
            continue;
        }
        QStringList fields{entry.at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), entry.connection,
                           entry.ownPhone.isEmpty() ? QStringLiteral("-") : entry.ownPhone, entry.outcomeShown(),
                           entry.changed.isEmpty() ? QStringLiteral("nothing changed") : entry.changed.join(QStringLiteral("; ")),
                           QDir::toNativeSeparators(entry.previousFile())};
        // The modem's own phone number, or a hostile entry, may hold a
        // terminal's control sequences; a tab would shift the columns.
        for (QString &field : fields)
            field = printableText(field);
        print(fields.join(QLatin1Char('\t')));
    }
    if (entries.isEmpty())
        inform(QStringLiteral("No Write is in the journal (%1)").arg(QDir::toNativeSeparators(journalFolder)));
    return Success;
}

int Tool::provision(const QString &templateFile, const QString &tableFile)
{
    SettingsValues templateValues;
    if (!loadFile(templateFile, &templateValues))
        return BadInput;
    chooseKeepCon(&templateValues);
    if (const QList<SettingProblem> problems = templateValues.problems(); !problems.isEmpty()) {
        say(QStringLiteral("%1: %2").arg(templateFile, problems.constFirst().message()));
        return BadInput;
    }
    QFile table(tableFile);
    if (!table.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("The table cannot be read: %1: %2").arg(tableFile, table.errorString()));
        return BadInput;
    }
    const QByteArray tableText = FileSupport::readLimited(&table, MaxCsvBytes);
    if (tableText.size() > MaxCsvBytes) {
        say(QStringLiteral("%1: the table is larger than %2 bytes: nothing was written").arg(tableFile).arg(MaxCsvBytes));
        return BadInput;
    }
    ProvisionRequest request;
    request.table = readProvisionTable(tableText, templateValues, matchKey);
    // Every row is checked before a port is opened.
    if (!request.table.problems.isEmpty()) {
        for (const QString &problem : qAsConst(request.table.problems).mid(0, 20))
            say(QStringLiteral("%1: %2").arg(tableFile, problem));
        if (request.table.problems.size() > 20)
            say(QStringLiteral("%1: %2 more problems").arg(tableFile).arg(request.table.problems.size() - 20));
        say(QStringLiteral("Nothing was written: mend the table and run again"));
        return BadInput;
    }
    if (const QString twice = FleetProvisioner::portsNamedTwice(provisionPorts); !twice.isEmpty()) {
        say(twice);
        return BadInput;
    }
    request.ports = provisionPorts;
    request.matchKey = matchKey;
    request.wait = waitForModems;
    request.keepCon = keepCon;
    request.journalFolder = journalFolder;
    request.reportFile = reportFile;
    FleetProvisioner::Say progress;
    if (!quiet && errIsTerminal())
        progress = [this](const QString &line) { showProgress(line); };
    FleetProvisioner fleet(request, [this](const QString &line) { inform(line); },
                           [this](const QString &line) { say(line); }, progress);
    if (!fleet.openReport())
        return BadInput;
    // Ctrl-C lets each port finish the modem it has; a second one ends the run at once.
    FleetProvisioner::clearInterrupt();
    const auto previous = std::signal(SIGINT, [](int) {
        FleetProvisioner::interrupt();
        std::signal(SIGINT, SIG_DFL);
    });
    const int outcome = fleet.run();
    std::signal(SIGINT, previous);
    return outcome == 0 ? Success : DeviceFailed;
}

bool Tool::errIsTerminal() const
{
    const auto *file = qobject_cast<const QFile *>(&err);
    return file && file->handle() >= 0 && isatty(file->handle());
}

std::optional<DeviceSettings> Tool::readModem(const QString &connection, DeviceSettings::Blocks blocks)
{
    DeviceSettings held;
    if (!runJob(MyThread::JobRead, connection, std::nullopt, blocks, &held))
        return std::nullopt;
    return held;
}

// One job of the window's worker, waited for; its messages go to `err` as
// they come.
bool Tool::runJob(int job, const QString &connection, const std::optional<DeviceSettings> &record,
                  DeviceSettings::Blocks blocks, DeviceSettings *readBack)
{
    JobRequest request{connection, keepCon ? 1 : 0, record, std::nullopt};
    request.blocks = blocks;
    MyThread worker;
    if (!runJob(worker, job, request))
        return false;
    if (readBack)
        *readBack = worker.settings();
    return true;
}

// The job's progress is told as it comes, unless quiet; a failure always.
bool Tool::runJob(MyThread &worker, int job, JobRequest request)
{
    request.frontend = DeviceProcedures::Frontend::CommandLine;
    QObject::connect(&worker, &MyThread::response, [this](const QString &message) { inform(message); });
    // Both on the worker's thread, so the traffic and the messages keep
    // their order.
    if (traced)
        QObject::connect(&worker, &MyThread::traffic,
                         [this](const TrafficEntry &entry) { err.write(entry.line().toUtf8() + '\n'); });
    worker.startJob(job, request);
    worker.wait();
    if (worker.lastJobSucceeded())
        return true;
    if (quiet)
        say(worker.lastWord());
    return false;
}

bool Tool::loadFile(const QString &fileName, SettingsValues *values)
{
    SettingsFileContent content;
    if (fileName == QLatin1String("-")) {
        QFile standardInput;
        QIODevice *source = in;
        if (!source) {
            standardInput.open(stdin, QIODevice::ReadOnly);
            source = &standardInput;
        }
        content = readSettingsDocument(source, false);
    } else {
        content = readSettingsFile(fileName, false);
    }
    if (content.status == SettingsFileContent::NotOpened) {
        say(QStringLiteral("There is not the configaration file: %1: %2").arg(shownName(fileName), content.errorString));
        return false;
    }
    if (content.status == SettingsFileContent::Damaged) {
        say(QStringLiteral("The configuration file is damaged at line %1: %2: %3")
                .arg(content.errorLine)
                .arg(shownName(fileName), content.errorString));
        return false;
    }
    *values = SettingsValues::fromPairs(content.pairs);
    // A misspelt key would otherwise leave its setting out without a word.
    if (!values->unknownKeys.isEmpty())
        say(QStringLiteral("%1 has keys that are not settings, which were ignored: %2")
                .arg(shownName(fileName), values->unknownKeysShown()));
    if (!values->givesAnySetting()) {
        say(QStringLiteral("%1 gives none of the modem's %2 settings: nothing was done")
                .arg(shownName(fileName))
                .arg(DeviceSettings::Count));
        return false;
    }
    return true;
}

bool Tool::saveFile(const QString &fileName, const DeviceSettings &record, const QString &connection)
{
    const SettingsPairs pairs = settingsFilePairs(record, connection, keepCon);
    if (fileName == QLatin1String("-")) {
        put(settingsDocument(pairs));
        return true;
    }
    const SaveOutcome outcome = saveSettingsFile(fileName, pairs);
    if (!outcome.saved)
        say(QStringLiteral("The configuration file was not saved: %1: %2").arg(fileName, outcome.errorString));
    return outcome.saved;
}

bool Tool::canSaveTo(const QString &fileName)
{
    if (fileName == QLatin1String("-"))
        return true;
    const QString problem = FileSupport::writeProblem(fileName);
    if (!problem.isEmpty())
        say(QStringLiteral("The configuration file cannot be saved: %1").arg(problem));
    return problem.isEmpty();
}

QString Tool::shownName(const QString &fileName)
{
    return fileName == QLatin1String("-") ? QStringLiteral("standard input") : fileName;
}

} // namespace

int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice *in)
{
    Tool tool(out, err, in);
    const std::optional<int> settled = tool.parse(arguments);
    return settled ? *settled : tool.execute();
}

std::optional<int> checkCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    return Tool(out, err, nullptr).parse(arguments);
}
