#include "fleetprovisioner.h"

#include "heldconnections.h"

#include "connectiontext.h"
#include "filesupport.h"
#include "modemdetector.h"
#include "modemjob.h"
#include "networkaddress.h"
#include "privatefiles.h"
#include "provisionreport.h"
#include "serialports.h"
#include "settingscodecs.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

std::atomic<bool> interrupted{false};

// How often a waiting port asks whether a modem is there (or still there).
constexpr auto PollInterval = std::chrono::milliseconds(500);
constexpr auto MaxBackOff = std::chrono::milliseconds(30000);


} // namespace

FleetProvisioner::FleetProvisioner(ProvisionRequest request, Say inform, Say fail, Say progress)
    : request(std::move(request))
    , inform(std::move(inform))
    , fail(std::move(fail))
    , progress(std::move(progress))
    , claimed(size_t(this->request.table.rows.size()), false)
    , verified(size_t(this->request.table.rows.size()), false)
    , verifiedBefore(size_t(this->request.table.rows.size()), false)
{
}

// The ports' last words were written under the lock: whoever ends the run
// takes it once, so that race checkers see them before it goes.
FleetProvisioner::~FleetProvisioner()
{
    const std::lock_guard<std::mutex> locker(mutex);
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
    return interrupted.load() || stopRequested.load();
}

std::optional<FleetProvisioner::PortsNamedTwice> FleetProvisioner::portsNamedTwice(const QStringList &ports)
{
    std::map<QString, QString> named;   // identity -> the port that named it first
    for (const QString &port : ports) {
        const QString device = ConnectionText::part(port, QStringLiteral("dev"));
        for (const QString &identity : SerialPorts::deviceIdentities(device)) {
            const auto first = named.find(identity);
            if (first == named.end()) {
                named.emplace(identity, port);
                continue;
            }
            return PortsNamedTwice{first->second, port,
                                   identity.startsWith(QLatin1String("tcp:")) ? identity.mid(4) : identity,
                                   NetworkAddress::isNetworkDevice(device)};
        }
    }
    return std::nullopt;
}

bool FleetProvisioner::openReport()
{
    if (request.reportFile.isEmpty())
        return true;
    const QString shown = QDir::toNativeSeparators(request.reportFile);
    const QFileInfo info(request.reportFile);
    bool fresh = true;
    if (info.exists() || info.isSymLink()) {
        QString why;
        const std::optional<QByteArray> bytes = PrivateFiles::readRegular(request.reportFile, MaxCsvBytes, &why);
        if (!bytes) {
            fail(tr("The report cannot be read: %1. Nothing was written").arg(why));
            return false;
        }
        const ProvisionReport::Earlier earlier = ProvisionReport::read(*bytes);
        if (!earlier.error.isEmpty()) {
            fail(tr("The report %1 is damaged at line %2: %3. Nothing was written: mend it, or name "
                                "another report").arg(shown).arg(earlier.errorLine).arg(earlier.error));
            return false;
        }
        fresh = bytes->isEmpty();
        for (int row = 0; row < request.table.rows.size(); ++row) {
            if (earlier.verified.contains(request.table.rows.at(row).name())) {
                verified[size_t(row)] = claimed[size_t(row)] = verifiedBefore[size_t(row)] = true;
                ++verifiedCount;
            }
        }
    }
    report.setFileName(request.reportFile);
    QString why;
    const QByteArray header = csvLine(ProvisionReport::header());
    if (!PrivateFiles::openForAppend(report, &why)
        || (fresh && (report.write(header) != header.size() || !PrivateFiles::flushToDisk(report)))) {
        fail(tr("The report cannot be written: %1: %2. Nothing was written")
                 .arg(shown, why.isEmpty() ? report.errorString() : why));
        return false;
    }
    return true;
}

std::vector<bool> FleetProvisioner::verifiedEarlier() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return verifiedBefore;
}

int FleetProvisioner::run()
{
    if (const auto earlier = std::count(verifiedBefore.begin(), verifiedBefore.end(), true); earlier > 0)
        inform(tr("%1 of %2 rows were verified in an earlier run and are left out")
                   .arg(earlier)
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
    const QString summary = tr("%1 of %2 rows verified").arg(verifiedCount).arg(verified.size());
    if (open.isEmpty())
        inform(summary);
    else
        inform(tr("%1; not yet: %2%3")
                   .arg(summary, QStringList(open.mid(0, 10)).join(QLatin1String(", ")),
                        open.size() > 10 ? tr(" and %1 more").arg(open.size() - 10) : QString()));
    if (stopped())
        fail(tr("Stopped: every port finished its modem first"));
    // A run stopped half-way has not done what it was asked.
    return anyFailure || (stopped() && !open.isEmpty()) ? 1 : 0;
}

// A pause that a stop ends within one poll.
void FleetProvisioner::waitFor(std::chrono::milliseconds pause) const
{
    const auto until = std::chrono::steady_clock::now() + pause;
    while (!stopped() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(
            PollInterval, std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now())
                              + std::chrono::milliseconds(1)));
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
// `unreachable` tells a server that took no connection from a silent line.
std::optional<QString> FleetProvisioner::modemOn(const QString &given, bool *unreachable) const
{
    if (unreachable)
        *unreachable = false;
    const QString device = ConnectionText::part(given, QStringLiteral("dev"));
    if (!NetworkAddress::isNetworkDevice(device) && ConnectionText::part(given, QStringLiteral("baud")).isEmpty())
        return ModemDetector::searchPort(device, [](const QString &) {}, [this] { return stopped(); });
    const ModemDetector::Attempt tried = ModemDetector::attempt(given);
    if (unreachable)
        *unreachable = tried.result == ModemDetector::NotOpened;
    if (tried.result == ModemDetector::Answered)
        return given;
    return std::nullopt;
}

void FleetProvisioner::servePort(const QString &given)
{
    const QString port = ConnectionText::part(given, QStringLiteral("dev"));
    // A server watched for the next modem keeps one connection all along.
    const HeldConnections::Scope heldConnections;
    while (!stopped() && rowsLeft()) {
        std::optional<QString> connection;
        if (request.wait) {
            setPortState(port, PortState::WaitingForModem);
            // A server that went away is asked again less and less often, up
            // to once in MaxBackOff, and at once again when it is back.
            auto pause = PollInterval;
            bool unreachable = false;
            while (!stopped() && rowsLeft() && !(connection = modemOn(given, &unreachable))) {
                pause = unreachable ? std::min(pause * 2, MaxBackOff) : PollInterval;
                waitFor(pause);
            }
            if (!connection)
                break;
        } else {
            connection = ConnectionText::part(given, QStringLiteral("baud")).isEmpty() ? modemOn(given) : given;
            if (!connection) {
                record({port, QString(), 0, -1, ProvisionReport::Failed, {}, QString(), tr("No modem answered on %1").arg(port), {}});
                break;
            }
        }
        // A line the report lacks would give its row to another modem on
        // the next run: the port stops.
        if (!record(provision(port, *connection)) || !request.wait)
            break;
        // The next modem is the one that answers after this one has gone.
        setPortState(port, PortState::WaitingForRemoval);
        while (!stopped() && rowsLeft() && ModemDetector::tryConnection(*connection) == ModemDetector::Answered)
            waitFor(PollInterval);
    }
    setPortState(port, PortState::Done);
}

// One job on one open port: the modem is read, given its row, journalled,
// written where it differs and verified, so that no other modem can come
// in between.
FleetProvisioner::ModemOutcome FleetProvisioner::provision(const QString &port, const QString &connection)
{
    setPortState(port, PortState::Reading);
    ModemOutcome outcome;
    outcome.port = port;
    std::optional<ProvisionReport::Outcome> settled;   // before anything was written
    std::optional<int> claim;
    JobRequest write{connection, request.keepCon ? 1 : 0, std::nullopt, std::nullopt};
    write.advise = request.advise;
    write.journalFolder = request.journalFolder;
    write.verify = true;
    write.plan = [&](const DeviceSettings &held) {
        WritePlan plan;
        // A modem that restarts once its settings change drops out for a
        // moment: it comes back holding its row, and is not the next modem.
        if (const std::optional<int> done = verifiedRowHeldBy(held)) {
            const ProvisionRow &row = request.table.rows.at(*done);
            outcome.rowId = row.id;
            outcome.rowLine = row.line;
            outcome.row = *done;
            settled = ProvisionReport::HoldsVerifiedRow;
            plan.lastWord = tr("The modem holds %1 already, which was verified: it was given no other row").arg(row.name());
            plan.succeeded = true;
            return plan;
        }
        QString why;
        claim = claimRow(held, &why);
        if (!claim) {
            settled = request.matchKey.isEmpty() ? ProvisionReport::NoRowLeft : ProvisionReport::NoRowMatched;
            plan.lastWord = why;
            return plan;
        }
        const ProvisionRow &row = request.table.rows.at(*claim);
        outcome.rowId = row.id;
        outcome.rowLine = row.line;
        outcome.row = *claim;
        plan.record = row.values.over(held);
        plan.onlyDiffering = true;
        plan.alreadyHeld = tr("The modem already holds the row: nothing was written");
        return plan;
    };
    // The job runs on this port's own thread. Its reads after a write are
    // the verification.
    ModemJob::Hooks hooks;
    bool written = false;
    hooks.step = [&](bool writes, int block) {
        written = written || writes;
        if (claim)
            setPortState(port, writes ? PortState::Writing : written ? PortState::Verifying : PortState::Reading, *claim,
                         writes ? block : -1);
    };
    const JobOutcome job = ModemJob(hooks).run(ModemJob::JobWrite, write);
    outcome.message = job.lastWord;
    if (settled) {
        outcome.result = *settled;
        return outcome;
    }
    outcome.result = job.succeeded ? ProvisionReport::Verified : ProvisionReport::Failed;
    if (job.write && job.write->entry) {
        outcome.changed = job.write->entry->changed;
        outcome.journal = job.write->entry->folder;
    }
    if (claim)
        finishRow(*claim, job.succeeded);
    return outcome;
}

// The verified row whose every value the modem holds.
std::optional<int> FleetProvisioner::verifiedRowHeldBy(const DeviceSettings &held) const
{
    std::lock_guard<std::mutex> locker(mutex);
    const QList<ProvisionRow> &rows = request.table.rows;
    for (int r = 0; r < rows.size(); ++r) {
        if (!verified[size_t(r)])
            continue;
        const ProvisionRow &row = rows.at(r);
        // The row's own cells first: they tell most rows apart at once.
        bool cellsHeld = true;
        for (const SettingsPair &cell : row.cells) {
            const int index = DeviceSettings::indexOfKey(cell.key);
            if (index == DeviceSettings::KeepCon && !request.keepCon)
                continue;
            cellsHeld = cellsHeld && held.fieldImage(index) == row.values.settings.fieldImage(index);
        }
        if (cellsHeld && held.blocksDifferingFrom(row.values.over(held), request.keepCon).none())
            return r;
    }
    return std::nullopt;
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
        *why = tr("Every row is taken: the modem was left untouched");
        return std::nullopt;
    }
    const int index = DeviceSettings::indexOfKey(request.matchKey);
    const QString holds = held.value(index);
    // What the modem holds goes to a terminal and into the report.
    const QString shownHolds = printableText(holds);
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row).values.settings.value(index) != holds)
            continue;
        if (verified[size_t(row)]) {
            *why = tr("The row of %1 %2 (%3) is verified already: the modem was left untouched")
                       .arg(request.matchKey, shownHolds, rows.at(row).name());
            return std::nullopt;
        }
        if (claimed[size_t(row)]) {
            *why = tr("The row of %1 %2 (%3) is being written on another port: the modem was left "
                                  "untouched").arg(request.matchKey, shownHolds, rows.at(row).name());
            return std::nullopt;
        }
        claimed[size_t(row)] = true;
        return row;
    }
    *why = tr("No row has %1 %2: the modem was left untouched").arg(request.matchKey, shownHolds);
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

bool FleetProvisioner::record(const ModemOutcome &outcome)
{
    const QString &port = outcome.port;
    const QString result = ProvisionReport::outcomeText(outcome.result);
    const QString resultShown = ProvisionReport::outcomeShown(outcome.result);
    const QDateTime at = FileSupport::nowWithOffset();
    const QString time = at.toString(Qt::ISODate);
    const QString row = outcome.rowLine == 0 ? QString()
        : outcome.rowId.isEmpty()            ? tr("line %1").arg(outcome.rowLine)
                                             : tr("%1 (line %2)").arg(outcome.rowId).arg(outcome.rowLine);
    // A verified Write says what it changed; anything else, its message.
    const QString what = outcome.result == ProvisionReport::Verified && !outcome.changed.isEmpty()
        ? tr("changed %1").arg(outcome.changed.join(QLatin1String("; ")))
        : outcome.message;
    const QString said = row.isEmpty() ? QStringLiteral("%1: %2: %3").arg(port, resultShown, what)
                                       : QStringLiteral("%1: %2: %3: %4").arg(port, row, resultShown, what);
    std::unique_lock<std::mutex> locker(mutex);
    // Each line is on the disk before the next modem is started: a run
    // resumed after a power cut must find every row written.
    const QByteArray line = csvLine({outcome.rowId, outcome.rowLine == 0 ? QString() : QString::number(outcome.rowLine),
                                     port, time, result, outcome.changed.join(QLatin1String("; ")),
                                     outcome.journal, outcome.message});
    const qint64 taken = report.isOpen() ? report.write(line) : line.size();
    const bool written = taken == line.size() && (!report.isOpen() || PrivateFiles::flushToDisk(report));
    if (outcome.result == ProvisionReport::Verified || outcome.result == ProvisionReport::HoldsVerifiedRow) {
        inform(said);
    } else {
        anyFailure = true;
        fail(said);
    }
    if (!written) {
        anyFailure = true;
        // A line cut short leaves the report damaged, so that no run resumes
        // from it before somebody has looked.
        const QString why = taken >= 0 && taken < line.size()
            ? tr("only %1 of the line's %2 bytes could be written").arg(taken).arg(line.size())
            : report.errorString();
        fail(tr("The report cannot be written: %1: %2. %3 stopped%4")
                 .arg(QDir::toNativeSeparators(request.reportFile), why, port,
                      outcome.result == ProvisionReport::Verified
                          ? tr("; %1 is on its modem but not in the report: add its line before a run resumes "
                               "from the report, or the row goes to another modem too").arg(row)
                          : QString()));
    }
    ++portStates[port].modemsEnded;
    // Whoever watches may ask the run how it stands.
    locker.unlock();
    if (modemDone) {
        ModemOutcome told = outcome;
        told.at = at;
        modemDone(told);
    }
    return written;
}

void FleetProvisioner::setPortState(const QString &port, PortState::Stage stage, int row, int block)
{
    if (!progress && !portChanged)
        return;
    std::unique_lock<std::mutex> locker(mutex);
    PortState &state = portStates[port];
    state.port = port;
    state.stage = stage;
    state.row = row;
    state.block = block;
    const PortState told = state;
    if (progress) {
        QStringList ports;
        for (const auto &entry : portStates)
            ports << QStringLiteral("%1: %2").arg(entry.first, describe(entry.second));
        progress(tr("%1 of %2 rows verified | %3")
                     .arg(verifiedCount)
                     .arg(verified.size())
                     .arg(ports.join(QLatin1String(" | "))));
    }
    locker.unlock();
    if (portChanged)
        portChanged(told);
}

QString FleetProvisioner::describe(const PortState &state) const
{
    const QString row = state.row >= 0 && state.row < request.table.rows.size()
        ? request.table.rows.at(state.row).name() : QString();
    switch (state.stage) {
    case PortState::WaitingForModem:
        return tr("waiting for a modem");
    case PortState::Reading:
        return row.isEmpty() ? tr("reading") : tr("%1: reading").arg(row);
    case PortState::Writing:
        return tr("%1: writing block %2").arg(row).arg(state.block + 1);
    case PortState::Verifying:
        return tr("%1: verifying").arg(row);
    case PortState::WaitingForRemoval:
        return tr("waiting for the modem to be taken away");
    case PortState::Done:
        break;
    }
    return tr("done");
}
