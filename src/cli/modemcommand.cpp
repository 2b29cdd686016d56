#include "modemcommand.h"

#include "console.h"
#include "filesupport.h"
#include "modemjob.h"
#include "programoptions.h"
#include "seriallink.h"
#include "settingsfile.h"
#include "settingsvalues.h"

#include <QCommandLineParser>
#include <QFile>

QList<QCommandLineOption> ModemCommand::sharedOptions() const
{
    return {ProgramOptions::keepCon(), ProgramOptions::noKeepCon(), ProgramOptions::quiet(), ProgramOptions::trace()};
}

std::optional<int> ModemCommand::check(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (parser.isSet(ProgramOptions::keepCon()) || parser.isSet(ProgramOptions::noKeepCon()))
        keepConChoice = parser.isSet(ProgramOptions::keepCon());
    traced = parser.isSet(ProgramOptions::trace());
    return checkArguments(parser, arguments);
}

std::optional<int> ModemCommand::takeConnectionAndFile(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return usageError(QStringLiteral("%1 takes CONNECTION and FILE.xml").arg(name()));
    connection = arguments.at(0);
    fileName = arguments.at(1);
    if (!connectionIsValid(connection))
        return BadInput;
    return std::nullopt;
}

QList<QPair<QString, QString>> ModemCommand::connectionAndFileHelp(const QString &fileIs) const
{
    return {{QStringLiteral("CONNECTION"),
             QStringLiteral("The connection text, e.g. \"dev=/dev/ttyUSB0;baud=9600\", or for a server "
                            "\"dev=tcp://HOST:PORT\" (RTU over TCP), \"dev=modbustcp://HOST[:PORT]\" (a Modbus TCP "
                            "gateway), \"dev=rfc2217://HOST:PORT;baud=RATE\" or \"dev=rtuoverudp://HOST:PORT\".")},
            {QStringLiteral("FILE.xml"), fileIs}};
}

bool ModemCommand::connectionIsValid(const QString &text)
{
    SerialLink link;
    const QString problem = DeviceProcedures::configureLink(link, text);
    if (!problem.isEmpty())
        console.say(problem);
    return problem.isEmpty();
}

void ModemCommand::chooseKeepCon(const SettingsValues *file)
{
    if (keepConChoice)
        keepCon = *keepConChoice;
    else if (file && file->enableKeepCon)
        keepCon = *file->enableKeepCon;
    else
        keepCon = true;
}

bool ModemCommand::compared(int index) const
{
    // Without its register KeepCon is neither read nor written.
    return index != DeviceSettings::KeepCon || keepCon;
}

QString ModemCommand::advice(DeviceProcedures::Advice advice)
{
    switch (advice) {
    case DeviceProcedures::Advice::CheckLine:
        return QStringLiteral("Nothing was received: check the cable, the port and its baud rate, and for firmware "
                              "without the keep-connection register use --no-keep-con");
    case DeviceProcedures::Advice::CheckServer:
        return QStringLiteral("Nothing was received through the server: check its serial side (its baud rate and the "
                              "line to the modem), and for firmware without the keep-connection register use "
                              "--no-keep-con; \"detect HOST:PORT\" finds the framing the server speaks");
    case DeviceProcedures::Advice::KeepConRegisterMissing:
        return QStringLiteral("The modem may lack the keep-connection register: use --no-keep-con and try again");
    }
    return QString();
}

std::optional<DeviceSettings> ModemCommand::readModem(const QString &connection, DeviceSettings::Blocks blocks)
{
    JobRequest request{connection, keepCon ? 1 : 0, std::nullopt, std::nullopt};
    request.blocks = blocks;
    const JobOutcome outcome = runJob(ModemJob::JobRead, request);
    if (!outcome.succeeded)
        return std::nullopt;
    return outcome.settings;
}

// One job on this thread; its progress and traffic go to the console as
// they come, unless quiet, and a failure always.
JobOutcome ModemCommand::runJob(int job, JobRequest request)
{
    request.advise = &ModemCommand::advice;
    ModemJob::Hooks hooks;
    hooks.report = [this](const QString &message) { console.inform(message); };
    if (traced)
        hooks.traffic = [this](const TrafficEntry &entry) { console.trace(entry.line()); };
    const JobOutcome outcome = ModemJob(hooks).run(job, request);
    if (!outcome.lastWord.isEmpty())
        console.inform(outcome.lastWord);
    if (!outcome.succeeded && console.isQuiet())
        console.say(outcome.lastWord);
    return outcome;
}

bool ModemCommand::loadFile(const QString &fileName, SettingsValues *values)
{
    SettingsFileContent content;
    if (fileName == QLatin1String("-")) {
        QFile standardInput;
        QIODevice *source = console.standardInput();
        if (!source) {
            standardInput.open(stdin, QIODevice::ReadOnly);
            source = &standardInput;
        }
        content = readSettingsDocument(source, false);
    } else {
        content = readSettingsFile(fileName, false);
    }
    if (content.status == SettingsFileContent::NotOpened) {
        console.say(QStringLiteral("There is not the configaration file: %1: %2").arg(shownName(fileName), content.errorString));
        return false;
    }
    if (content.status == SettingsFileContent::Damaged) {
        console.say(QStringLiteral("The configuration file is damaged at line %1: %2: %3")
                        .arg(content.errorLine)
                        .arg(shownName(fileName), content.errorString));
        return false;
    }
    *values = SettingsValues::fromPairs(content.pairs);
    // A misspelt key would otherwise leave its setting out without a word.
    if (!values->unknownKeys.isEmpty())
        console.say(QStringLiteral("%1 has keys that are not settings, which were ignored: %2")
                        .arg(shownName(fileName), values->unknownKeysShown()));
    if (!values->givesAnySetting()) {
        console.say(QStringLiteral("%1 gives none of the modem's %2 settings: nothing was done")
                        .arg(shownName(fileName))
                        .arg(DeviceSettings::Count));
        return false;
    }
    return true;
}

bool ModemCommand::saveFile(const QString &fileName, const DeviceSettings &record, const QString &connection)
{
    const SettingsPairs pairs = settingsFilePairs(record, connection, keepCon);
    if (fileName == QLatin1String("-")) {
        console.put(settingsDocument(pairs));
        return true;
    }
    const SaveOutcome outcome = saveSettingsFile(fileName, pairs);
    if (!outcome.saved)
        console.say(QStringLiteral("The configuration file was not saved: %1: %2").arg(fileName, outcome.errorString));
    return outcome.saved;
}

bool ModemCommand::canSaveTo(const QString &fileName)
{
    if (fileName == QLatin1String("-"))
        return true;
    const QString problem = FileSupport::writeProblem(fileName);
    if (!problem.isEmpty())
        console.say(QStringLiteral("The configuration file cannot be saved: %1").arg(problem));
    return problem.isEmpty();
}

QString ModemCommand::shownName(const QString &fileName)
{
    return fileName == QLatin1String("-") ? QStringLiteral("standard input") : fileName;
}
