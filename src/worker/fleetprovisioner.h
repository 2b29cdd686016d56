#ifndef FLEETPROVISIONER_H
#define FLEETPROVISIONER_H

#include "deviceprocedures.h"
#include "provisionreport.h"
#include "provisiontable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

// What a provisioning run is given: the ports, the checked table and how to
// go about it.
struct ProvisionRequest {
    QStringList ports;             // connection texts; one without baud is searched as detect does
    ProvisionTable table;          // checked, without problems
    QString matchKey;              // empty: the rows in table order
    bool wait = false;             // a port serves one modem after another
    bool keepCon = true;           // the 71-register settings block
    QString journalFolder;
    QString reportFile;            // empty: none
    DeviceProcedures::Advise advise{};   // the front end's advice in its messages
};

// Provisions a fleet: each port on a thread of its own reads its modem,
// takes a row (the next in table order, or the one whose match key the
// modem holds), writes only the blocks that differ, with the journal
// keeping what it held, and verifies them, all in one job on one open
// port. A modem that holds a row verified already is the same modem again
// and gets no other. A failing port or modem never stops the others. One
// report line per modem tried, on the disk as it ends.
class FleetProvisioner {
    Q_DECLARE_TR_FUNCTIONS(FleetProvisioner)
public:
    using Say = std::function<void(const QString &)>;   // called from the ports' threads, one at a time

    // What became of one modem, as its report line keeps it.
    struct ModemOutcome {
        QString port;
        QString rowId;
        int rowLine = 0;   // 0: no row
        int row = -1;      // its index in the table; -1: no row
        ProvisionReport::Outcome result = ProvisionReport::Failed;
        QStringList changed;   // "key: before → after"
        QString journal;       // the Write's journal entry
        QString message;       // the job's last word
        QDateTime at;          // when it ended, as the report has it
    };
    using ModemDone = std::function<void(const ModemOutcome &)>;   // as Say

    // Where a port stands; told whenever it changes.
    struct PortState {
        enum Stage { WaitingForModem, Reading, Writing, Verifying, WaitingForRemoval, Done };
        QString port;
        Stage stage = WaitingForModem;
        int row = -1;          // the row its modem is given, once chosen
        int block = -1;        // for Writing: the block, 0 the settings block
        int modemsEnded = 0;   // on this port, in this run
    };
    using PortChanged = std::function<void(const PortState &)>;   // as Say

    // `inform`: each modem's outcome; `fail`: what went wrong; `progress`:
    // the run's state in one line, whenever it changes.
    FleetProvisioner(ProvisionRequest request, Say inform, Say fail, Say progress = {});
    ~FleetProvisioner();
    // Told each modem's outcome once its report line is written, from the
    // port's thread, outside the run's lock; set before run().
    void setModemDone(ModemDone modemDone) { this->modemDone = std::move(modemDone); }
    // Told each port's state as it changes, from the port's thread; set
    // before run().
    void setPortChanged(PortChanged portChanged) { this->portChanged = std::move(portChanged); }
    // A port's state in a few words ("modem-3: writing block 2").
    QString describe(const PortState &state) const;

    // Two ports that name one device, by any of its names: a modem written
    // from both would hold the row of whichever came last.
    struct PortsNamedTwice {
        QString first;
        QString second;
        QString device;   // what both name: a serial device, or a server's address and port
        bool server = false;
    };
    static std::optional<PortsNamedTwice> portsNamedTwice(const QStringList &ports);

    // Reads what an earlier report says and opens it for the run's lines;
    // false, having said why, when it is damaged or cannot be written.
    bool openReport();
    // The rows an earlier run verified, as its report says; known once the
    // report is open.
    std::vector<bool> verifiedEarlier() const;
    // Runs every port to its end. 0 when every modem tried was verified and
    // the run was not stopped with rows left, 1 otherwise.
    int run();

    // Asks every port to stop once its present modem is done; no new modem
    // is started. Safe in a signal handler.
    static void interrupt();
    static void clearInterrupt();
    // The same for this run alone, from any thread.
    void stop() { stopRequested = true; }

private:
    void servePort(const QString &given);
    // The connection the modem answers on, or nothing once stopped.
    std::optional<QString> modemOn(const QString &given, bool *unreachable = nullptr) const;
    void waitFor(std::chrono::milliseconds pause) const;
    ModemOutcome provision(const QString &port, const QString &connection);
    std::optional<int> verifiedRowHeldBy(const DeviceSettings &held) const;
    std::optional<int> claimRow(const DeviceSettings &held, QString *why);
    void finishRow(int row, bool verified);
    bool record(const ModemOutcome &outcome);
    void setPortState(const QString &port, PortState::Stage stage, int row = -1, int block = -1);
    bool stopped() const;
    bool rowsLeft() const;

    const ProvisionRequest request;
    const Say inform;
    const Say fail;
    const Say progress;
    ModemDone modemDone;
    PortChanged portChanged;
    std::atomic<bool> stopRequested{false};

    mutable std::mutex mutex;   // everything below
    std::vector<bool> claimed;
    std::vector<bool> verified;
    int verifiedCount = 0;
    bool anyFailure = false;
    std::vector<bool> verifiedBefore;   // by an earlier run, as its report says
    std::map<QString, PortState> portStates;
    QFile report;
};

#endif // FLEETPROVISIONER_H
