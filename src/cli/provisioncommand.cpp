// provision TEMPLATE.xml TABLE.csv --port PORT...: a fleet written, a
// modem per port at a time and all ports at once, each row of the table
// over the template.

#include "connectiontext.h"
#include "console.h"
#include "filesupport.h"
#include "fleetprovisioner.h"
#include "modemcommand.h"
#include "programoptions.h"
#include "provisiontable.h"
#include "settingsvalues.h"
#include "userfolders.h"

#include <QCommandLineParser>
#include <QFile>

#include <csignal>

namespace {

QCommandLineOption portOption()
{
    return QCommandLineOption(QStringLiteral("port"),
        QStringLiteral("A port to serve, as a connection text or a port's name; without a baud rate it is searched "
                       "as detect does. Give it once for each port."),
        QStringLiteral("PORT"));
}

QCommandLineOption reportOption()
{
    return QCommandLineOption(QStringLiteral("report"),
        QStringLiteral("Add one CSV line for each modem tried to REPORT.csv; the rows an existing report has as "
                       "verified are left out, so that a run carries on where one ended."),
        QStringLiteral("REPORT.csv"));
}

QCommandLineOption waitOption()
{
    return QCommandLineOption(QStringLiteral("wait"),
        QStringLiteral("On each port, once a modem is done, wait for it to be taken away and for the next to "
                       "answer, until the table is done or Ctrl-C."));
}

QCommandLineOption matchOption()
{
    return QCommandLineOption(QStringLiteral("match"),
        QStringLiteral("Give each modem the row whose KEY (own_Ph, say) holds what the modem holds; a modem no row "
                       "matches is left untouched."),
        QStringLiteral("KEY"));
}

class ProvisionCommand : public ModemCommand {
public:
    using ModemCommand::ModemCommand;

    QString synopsis() const override { return QStringLiteral("TEMPLATE.xml TABLE.csv --port PORT..."); }
    QStringList summary() const override
    {
        return {QStringLiteral("write a fleet: the template's settings with each row's cells over"),
                QStringLiteral("them (a header of settings keys and an optional id column; an empty"),
                QStringLiteral("cell keeps the template's value), one modem per port at a time, all"),
                QStringLiteral("ports at once; each modem is read, the journal keeps what it held,"),
                QStringLiteral("only the blocks that differ are written and then verified")};
    }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Write a fleet on two ports, carrying on where an earlier run ended"),
                 QStringLiteral("provision template.xml fleet.csv --port COM3 --port COM4 --report done.csv")}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {portOption(), reportOption(), waitOption(), matchOption()};
    }
    // The fleet's ports speak for themselves: no trace of their traffic.
    QList<QCommandLineOption> sharedOptions() const override
    {
        return {ProgramOptions::keepCon(), ProgramOptions::noKeepCon(), ProgramOptions::quiet()};
    }
    QList<QPair<QString, QString>> arguments() const override
    {
        return {{QStringLiteral("TEMPLATE.xml"), QStringLiteral("The settings file that gives every modem's settings.")},
                {QStringLiteral("TABLE.csv"),
                 QStringLiteral("A header of settings keys and an optional id column, then a row for each modem.")}};
    }

    std::optional<int> checkArguments(const QCommandLineParser &parser, const QStringList &arguments) override;
    int execute() override;

private:
    QString templateFile;
    QString tableFile;
    QStringList ports;
    QString reportFile;
    QString matchKey;
    bool waitForModems = false;
};

std::optional<int> ProvisionCommand::checkArguments(const QCommandLineParser &parser, const QStringList &arguments)
{
    ports = parser.values(portOption());
    reportFile = parser.value(reportOption());
    matchKey = parser.value(matchOption());
    waitForModems = parser.isSet(waitOption());
    if (arguments.size() != 2)
        return usageError(QStringLiteral("%1 takes TEMPLATE.xml and TABLE.csv").arg(name()));
    templateFile = arguments.at(0);
    tableFile = arguments.at(1);
    if (ports.isEmpty())
        return usageError(QStringLiteral("%1 needs at least one --port").arg(name()));
    if (!matchKey.isEmpty() && DeviceSettings::indexOfKey(matchKey) < 0)
        return usageError(QStringLiteral("--match %1 is not a setting of the modem").arg(matchKey));
    for (QString &port : ports) {
        // A port's bare name stands for its connection, at a rate to be found.
        if (!port.contains(QLatin1Char('=')))
            port = ConnectionText::of(port);
        if (!connectionIsValid(port))
            return BadInput;
    }
    return std::nullopt;
}

int ProvisionCommand::execute()
{
    SettingsValues templateValues;
    if (!loadFile(templateFile, &templateValues))
        return BadInput;
    chooseKeepCon(&templateValues);
    if (const QList<SettingProblem> problems = templateValues.problems(); !problems.isEmpty()) {
        console.say(QStringLiteral("%1: %2").arg(templateFile, problems.constFirst().message()));
        return BadInput;
    }
    ProvisionRequest request;
    request.table = readProvisionTableFile(tableFile, templateValues, matchKey);
    // Every row is checked before a port is opened.
    if (!request.table.problems.isEmpty()) {
        for (const QString &problem : qAsConst(request.table.problems).mid(0, 20))
            console.say(QStringLiteral("%1: %2").arg(tableFile, problem));
        if (request.table.problems.size() > 20)
            console.say(QStringLiteral("%1: %2 more problems").arg(tableFile).arg(request.table.problems.size() - 20));
        console.say(QStringLiteral("Nothing was written: mend the table and run again"));
        return BadInput;
    }
    if (const auto twice = FleetProvisioner::portsNamedTwice(ports)) {
        console.say(QStringLiteral("--port %1 and --port %2 name the same %3 (%4): a modem written from both would "
                                   "hold whichever row came last; give each port once")
                        .arg(twice->first, twice->second,
                             twice->server ? QStringLiteral("server") : QStringLiteral("port"), twice->device));
        return BadInput;
    }
    request.ports = ports;
    request.matchKey = matchKey;
    request.wait = waitForModems;
    request.keepCon = keepCon;
    request.advise = &ModemCommand::advice;
    request.journalFolder = UserFolders::journalFolder();
    request.reportFile = reportFile;
    FleetProvisioner::Say progress;
    if (!console.isQuiet() && console.errIsTerminal())
        progress = [this](const QString &line) { console.showProgress(line); };
    FleetProvisioner fleet(request, [this](const QString &line) { console.inform(line); },
                           [this](const QString &line) { console.say(line); }, progress);
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

} // namespace

std::unique_ptr<Command> makeProvisionCommand(const QString &name, Console &console)
{
    return std::make_unique<ProvisionCommand>(name, console);
}
