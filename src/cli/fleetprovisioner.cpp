#include "fleetprovisioner.h"

#include "modemdetector.h"
#include "mythread.h"
#include "networkaddress.h"
#include "serialports.h"

#include <QDateTime>
#include <QThread>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

std::atomic<bool> interrupted{false};

// How often a waiting port asks whether a modem is there (or still there).
constexpr auto PollInterval = std::chrono::milliseconds(500);

bool runJob(MyThread &worker, int job, JobRequest request)
{
    request.frontend = DeviceProcedures::Frontend::CommandLine;
    worker.startJob(job, request);
    worker.wait();
    return worker.lastJobSucceeded();
}

} // namespace

FleetProvisioner::FleetProvisioner(ProvisionRequest request, Say inform, Say fail, Say progress)
    : request(std::move(request))
    , inform(std::move(inform))
    , fail(std::move(fail))
    , progress(std::move(progress))
    , claimed(size_t(this->request.table.rows.size()), false)
    , verified(size_t(this->request.table.rows.size()), false)
{
    for (int row = 0; row < this->request.table.rows.size(); ++row) {
        if (this->request.verifiedBefore.contains(this->request.table.rows.at(row).name())) {
            verified[size_t(row)] = claimed[size_t(row)] = true;
            ++verifiedCount;
        }
    }
}

void FleetProvisioner::interrupt()
{
    interrupted = true;
}

void FleetProvisioner::clearInterrupt()
{
    interrupted = false;
}

bool FleetProvisioner::stopped() const
{
    return interrupted.load();
}

bool FleetProvisioner::openReport()
{
    if (request.reportFile.isEmpty())
        return true;
    report.setFileName(request.reportFile);
    const bool fresh = !report.exists() || report.size() == 0;
    if (!report.open(QIODevice::Append | QIODevice::Unbuffered)) {
        fail(QStringLiteral("The report cannot be written: %1: %2").arg(request.reportFile, report.errorString()));
        return false;
    }
    if (fresh)
        report.write(csvLine(ProvisionReport::header()));
    return true;
}

int FleetProvisioner::run()
{
    if (verifiedCount > 0)
        inform(QStringLiteral("%1 of %2 rows were verified in an earlier run and are left out")
                   .arg(verifiedCount)
                   .arg(request.table.rows.size()));
    // Qt's threads: a serial port needs one to watch its descriptor.
    std::vector<std::unique_ptr<QThread>> ports;
    for (const QString &port : request.ports) {
        ports.emplace_back(QThread::create([this, port] { servePort(port); }));
        ports.back()->start();
    }
    for (const auto &port : ports)
        port->wait();
    std::lock_guard<std::mutex> locker(mutex);
    QStringList open;
    for (size_t row = 0; row < verified.size(); ++row) {
        if (!verified[row])
            open << request.table.rows.at(int(row)).name();
    }
    const QString summary = QStringLiteral("%1 of %2 rows verified").arg(verifiedCount).arg(verified.size());
    if (open.isEmpty())
        inform(summary);
    else
        inform(QStringLiteral("%1; not yet: %2%3")
                   .arg(summary, QStringList(open.mid(0, 10)).join(QLatin1String(", ")),
                        open.size() > 10 ? QStringLiteral(" and %1 more").arg(open.size() - 10) : QString()));
    if (stopped())
        fail(QStringLiteral("Stopped: every port finished its modem first"));
    return anyFailure ? 1 : 0;
}

bool FleetProvisioner::rowsLeft() const
{
    std::lock_guard<std::mutex> locker(mutex);
    for (size_t row = 0; row < claimed.size(); ++row) {
        if (!verified[row])
            return true;
    }
    return false;
}

// A port given without its rate is searched at every rate, as detect does.
std::optional<QString> FleetProvisioner::modemOn(const QString &given) const
{
    const QString device = SerialPorts::part(given, QStringLiteral("dev"));
    if (!NetworkAddress::isNetworkDevice(device) && SerialPorts::part(given, QStringLiteral("baud")).isEmpty())
        return ModemDetector::searchPort(device, [](const QString &) {}, [this] { return stopped(); });
    if (ModemDetector::tryConnection(given) == ModemDetector::Answered)
        return given;
    return std::nullopt;
}

void FleetProvisioner::servePort(const QString &given)
{
    const QString port = SerialPorts::part(given, QStringLiteral("dev"));
    while (!stopped() && rowsLeft()) {
        std::optional<QString> connection;
        if (request.wait) {
            setPortState(port, QStringLiteral("waiting for a modem"));
            while (!stopped() && rowsLeft() && !(connection = modemOn(given)))
                std::this_thread::sleep_for(PollInterval);
            if (!connection)
                break;
        } else {
            connection = SerialPorts::part(given, QStringLiteral("baud")).isEmpty() ? modemOn(given) : given;
            if (!connection) {
                record(port, {QString(), 0, QStringLiteral("failed"), {}, QString(),
                              QStringLiteral("No modem answered on %1").arg(port)});
                break;
            }
        }
        record(port, provision(port, *connection));
        if (!request.wait)
            break;
        // The next modem is the one that answers after this one has gone.
        setPortState(port, QStringLiteral("waiting for the modem to be taken away"));
        while (!stopped() && rowsLeft() && ModemDetector::tryConnection(*connection) == ModemDetector::Answered)
            std::this_thread::sleep_for(PollInterval);
    }
    setPortState(port, QStringLiteral("done"));
}

FleetProvisioner::ModemOutcome FleetProvisioner::provision(const QString &port, const QString &connection)
{
    ModemOutcome outcome;
    setPortState(port, QStringLiteral("reading"));
    MyThread worker;
    JobRequest read{connection, request.keepCon ? 1 : 0, std::nullopt, std::nullopt};
    if (!runJob(worker, MyThread::JobRead, read)) {
        outcome.result = QStringLiteral("failed");
        outcome.message = worker.lastWord();
        return outcome;
    }
    const DeviceSettings held = worker.settings();
    QString why;
    const std::optional<int> claim = claimRow(held, &why);
    if (!claim) {
        outcome.result = request.matchKey.isEmpty() ? QStringLiteral("no row left") : QStringLiteral("no row matched");
        outcome.message = why;
        return outcome;
    }
    const ProvisionRow &row = request.table.rows.at(*claim);
    outcome.rowId = row.id;
    outcome.rowLine = row.line;
    setPortState(port, row.name());

    const DeviceSettings wanted = row.values.over(held);
    const DeviceSettings::Blocks blocks = held.blocksDifferingFrom(wanted, request.keepCon);
    bool succeeded = false;
    if (blocks.none()) {
        succeeded = true;
        outcome.message = QStringLiteral("The modem already holds the row: nothing was written");
    } else if (const SettingProblem problem = wanted.firstProblem(blocks); problem.exists()) {
        // A value the modem holds beside the row's, in a block that changes.
        outcome.message = problem.message();
    } else {
        JobRequest write{connection, request.keepCon ? 1 : 0, wanted, std::nullopt};
        write.blocks = blocks;
        write.journalFolder = request.journalFolder;
        write.held = held;
        write.verify = true;
        succeeded = runJob(worker, MyThread::JobWrite, write);
        outcome.message = worker.lastWord();
        const JournalEntry entry = worker.journalEntry();
        outcome.changed = entry.changed;
        outcome.journal = entry.folder;
    }
    outcome.result = succeeded ? QStringLiteral("verified") : QStringLiteral("failed");
    finishRow(*claim, succeeded);
    return outcome;
}

// The next row nobody has taken, or the one whose match key the modem holds.
std::optional<int> FleetProvisioner::claimRow(const DeviceSettings &held, QString *why)
{
    std::lock_guard<std::mutex> locker(mutex);
    const QList<ProvisionRow> &rows = request.table.rows;
    if (request.matchKey.isEmpty()) {
        for (int row = 0; row < rows.size(); ++row) {
            if (!claimed[size_t(row)]) {
                claimed[size_t(row)] = true;
                return row;
            }
        }
        *why = QStringLiteral("Every row is taken: the modem was left untouched");
        return std::nullopt;
    }
    const int index = DeviceSettings::indexOfKey(request.matchKey);
    const QString holds = held.value(index);
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row).values.settings.value(index) != holds)
            continue;
        if (verified[size_t(row)]) {
            *why = QStringLiteral("The row of %1 %2 (%3) is verified already: the modem was left untouched")
                       .arg(request.matchKey, holds, rows.at(row).name());
            return std::nullopt;
        }
        if (claimed[size_t(row)]) {
            *why = QStringLiteral("The row of %1 %2 (%3) is being written on another port: the modem was left "
                                  "untouched").arg(request.matchKey, holds, rows.at(row).name());
            return std::nullopt;
        }
        claimed[size_t(row)] = true;
        return row;
    }
    *why = QStringLiteral("No row has %1 %2: the modem was left untouched").arg(request.matchKey, holds);
    return std::nullopt;
}

// A row that failed is free again, for the next modem or the next run.
void FleetProvisioner::finishRow(int row, bool succeeded)
{
    std::lock_guard<std::mutex> locker(mutex);
    if (succeeded) {
        verified[size_t(row)] = true;
        ++verifiedCount;
    } else {
        claimed[size_t(row)] = false;
    }
}

void FleetProvisioner::record(const QString &port, const ModemOutcome &outcome)
{
    const QString time = QDateTime::currentDateTime().toString(Qt::ISODate);
    const QString row = outcome.rowLine == 0 ? QString()
        : outcome.rowId.isEmpty()            ? QStringLiteral("line %1").arg(outcome.rowLine)
                                             : QStringLiteral("%1 (line %2)").arg(outcome.rowId).arg(outcome.rowLine);
    // A verified Write says what it changed; anything else, its message.
    const QString what = outcome.result == QLatin1String("verified") && !outcome.changed.isEmpty()
        ? QStringLiteral("changed %1").arg(outcome.changed.join(QLatin1String("; ")))
        : outcome.message;
    const QString said = row.isEmpty() ? QStringLiteral("%1: %2: %3").arg(port, outcome.result, what)
                                       : QStringLiteral("%1: %2: %3: %4").arg(port, row, outcome.result, what);
    std::lock_guard<std::mutex> locker(mutex);
    if (report.isOpen())
        report.write(csvLine({outcome.rowId, outcome.rowLine == 0 ? QString() : QString::number(outcome.rowLine), port,
                              time, outcome.result, outcome.changed.join(QLatin1String("; ")), outcome.journal,
                              outcome.message}));
    if (outcome.result == QLatin1String("verified")) {
        inform(said);
    } else {
        anyFailure = true;
        fail(said);
    }
}

void FleetProvisioner::setPortState(const QString &port, const QString &state)
{
    if (!progress)
        return;
    std::lock_guard<std::mutex> locker(mutex);
    portStates[port] = state;
    QStringList ports;
    for (const auto &entry : portStates)
        ports << QStringLiteral("%1: %2").arg(entry.first, entry.second);
    progress(QStringLiteral("%1 of %2 rows verified | %3")
                 .arg(verifiedCount)
                 .arg(verified.size())
                 .arg(ports.join(QLatin1String(" | "))));
}
