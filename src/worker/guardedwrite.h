#ifndef GUARDEDWRITE_H
#define GUARDEDWRITE_H

#include "deviceprocedures.h"
#include "devicesettings.h"
#include "writejournal.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a Write sends, decided by its caller once the job has read what the
// modem holds.
struct WritePlan {
    DeviceSettings record;
    DeviceSettings::Blocks blocks = DeviceSettings::allBlocks();
    // Send only the blocks whose registers differ from what the modem holds
    // (`blocks` is then not used), after checking every value they carry;
    // when none differs, nothing is sent and `alreadyHeld` is the last word.
    bool onlyDiffering = false;
    QString alreadyHeld{};
    // When set, nothing is sent and this is the job's last word.
    std::optional<QString> lastWord{};
    bool succeeded = false;   // of a job that ends with `lastWord`
};

// How a Write went, for its caller to act on without reading its messages.
struct WriteOutcome {
    enum class Failure {
        None,
        Stopped,              // asked to stop; no last word
        ReadBeforeFailed,     // what the modem holds could not be read: nothing was sent
        PlanEnded,            // the caller's plan ended it with its own last word
        ValueRefused,         // a value of a block to send cannot be written: nothing was sent
        JournalNotWritable,   // before the first byte: nothing was sent
        Device,               // an exchange of the Write or of its read-back failed: see `device`
        VerifyDifference,     // read back, the modem holds other values
    };

    bool succeeded = false;
    QString lastWord;                 // empty when stopped
    Failure failure = Failure::None;
    DeviceProcedures::Outcome device{};   // of the failed exchange, for Failure::Device
    DeviceSettings held;              // what the modem held before
    DeviceSettings record;            // what was to be written
    DeviceSettings::Blocks blocks;    // the blocks sent (none when nothing was)
    QList<int> differing;             // for VerifyDifference: the entries read back otherwise
    DeviceSettings readBack;          // for VerifyDifference
    std::optional<JournalEntry> entry;   // when one was begun
    // The journal could not be written: before the Write, or its outcome after it.
    bool journalFailed = false;
};

// The Write every front end uses, on a link that is open: read what the
// modem holds on this port, let the caller's plan decide what to write,
// check the values, keep both in the journal before the first byte, write
// the blocks and, when asked, read them back. Reading first means the
// journal never keeps another modem's settings, nor a Read from before a
// modem was swapped.
class GuardedWrite {
    Q_DECLARE_TR_FUNCTIONS(GuardedWrite)
public:
    using Plan = std::function<WritePlan(const DeviceSettings &held)>;
    // What the job holds as the modem's settings: the record being written,
    // then the one read back.
    using Commit = DeviceProcedures::Commit;

    struct Request {
        QString connection;        // as the journal names it
        bool withKeepCon = true;
        QString journalFolder{};   // empty: none
        Plan plan{};               // none: `record` and `blocks` as they are
        DeviceSettings record{};
        DeviceSettings::Blocks blocks = DeviceSettings::allBlocks();
        bool verify = false;
    };

    GuardedWrite(DeviceProcedures &procedures, DeviceProcedures::Report report, Commit commit);

    WriteOutcome run(const Request &request);

private:
    WriteOutcome verify(WriteOutcome outcome, bool withKeepCon);
    WriteOutcome exchanged(WriteOutcome outcome, const DeviceProcedures::Outcome &done,
                           const QString &readBefore = QString()) const;
    WriteOutcome ended(WriteOutcome outcome, WriteOutcome::Failure failure, const QString &lastWord,
                       bool succeeded = false) const;

    DeviceProcedures &procedures;
    DeviceProcedures::Report report;
    Commit commit;
};

#endif // GUARDEDWRITE_H
