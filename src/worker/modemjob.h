#ifndef MODEMJOB_H
#define MODEMJOB_H

#include "deviceprocedures.h"
#include "devicesettings.h"
#include "guardedwrite.h"
#include "seriallink.h"
#include "traffic.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a front end hands over with a job.
struct JobRequest {
    QString portConfig;                        // the connection text, as typed
    int keepConEnabled = 0;                    // 0 or 1
    std::optional<DeviceSettings> settings;    // for a Write: the record to write
    std::optional<QStringList> uploadFiles;    // for an upload request
    // The blocks a Read or Write moves; all five unless the caller knows
    // that the modem already holds the others.
    DeviceSettings::Blocks blocks = DeviceSettings::allBlocks();
    // For a detection: the ports to try, in order.
    QStringList detectPorts{};
    // The front end's advice after a failure, in its own words (none when
    // not given).
    DeviceProcedures::Advise advise{};

    // For a Write that goes into the journal of Writes (its folder; empty:
    // none): the job reads what the modem holds first, on the same open
    // port, so that the journal never keeps another modem's settings, and a
    // failed read stops it with nothing sent. The entry is made before a
    // byte of the Write goes out.
    QString journalFolder{};
    // Called on the job's thread with what the job has just read (it reads
    // first whenever a plan is given, journal or not): what to write.
    // Without it `settings` and `blocks` go as they are.
    GuardedWrite::Plan plan{};
    // For a Write: read the written blocks back and compare them.
    bool verify = false;
};

// What a job ended with, for its caller to act on.
struct JobOutcome {
    int job = 0;
    bool succeeded = false;     // the job reached its message of success
    QString lastWord;           // empty when it was asked to stop
    // What the job left as the modem's settings: a Read's record once
    // every block was in; a Write's record as sent, or as read back.
    std::optional<DeviceSettings> settings{};
    // The connection text of the modem a detection found.
    std::optional<QString> detectedConnection{};
    // The connection the job was asked to use (none for a detection).
    QString connection{};
    // A Write's own account.
    std::optional<WriteOutcome> write{};
    // How its exchanges went: the failed one's block and cause.
    DeviceProcedures::Outcome exchange{};
};

// How long the link waits (ms): the link's own defaults, which the system
// keeps; tests and the soak run give shorter ones.
struct LinkTimeouts {
    int answer = SerialLink::DefaultAnswerTimeout;
    int next = SerialLink::DefaultNextTimeout;
    int byteGap = SerialLink::DefaultByteGapTimeout;
};

// One job from start to end on the calling thread: configure and open the
// link, the job's exchanges, close the link. The worker thread runs its jobs
// through it, and so do the command-line tool and the fleet, which have a
// thread of their own already. Its progress and traffic go out through the
// hooks as they happen; its last word is the outcome's, for the caller to
// say once the port is closed.
class ModemJob {
    Q_DECLARE_TR_FUNCTIONS(ModemJob)
public:
    // A detection looks for the port and rate a modem answers on.
    enum Job { JobRead = 1, JobWrite = 2, JobUpload = 3, JobDetect = 4 };

    using LinkTimeouts = ::LinkTimeouts;

    struct Hooks {
        DeviceProcedures::Report report = [](const QString &) {};
        DeviceProcedures::Traffic traffic = [](const TrafficEntry &) {};
        DeviceProcedures::StopRequested stopRequested = [] { return false; };
        // What the job holds as the modem's settings, as it changes: a
        // Read's record just before its last word, a Write's record and
        // then what was read back.
        DeviceProcedures::Commit commit = [](const DeviceSettings &) {};
        // Each block's exchange as it starts (none: not told).
        DeviceProcedures::Step step{};
    };

    explicit ModemJob(Hooks hooks, LinkTimeouts linkTimeouts = LinkTimeouts());

    JobOutcome run(int job, const JobRequest &request) const;

private:
    JobOutcome runOnLink(int job, const JobRequest &request) const;
    JobOutcome detect(const JobRequest &request) const;

    Hooks hooks;
    LinkTimeouts linkTimeouts;
};

Q_DECLARE_METATYPE(JobOutcome)

#endif // MODEMJOB_H
