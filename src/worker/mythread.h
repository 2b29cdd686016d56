#ifndef MYTHREAD_H
#define MYTHREAD_H

#include "deviceprocedures.h"
#include "devicesettings.h"
#include "seriallink.h"
#include "writejournal.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <mutex>
#include <optional>

// What a journalled Write sends, decided by its caller once the job has
// read what the modem holds.
struct WritePlan {
    DeviceSettings record;
    DeviceSettings::Blocks blocks = DeviceSettings::allBlocks();
    // When set, nothing is sent and this is the job's last word.
    std::optional<QString> lastWord{};
    bool succeeded = false;   // of a job that ends with `lastWord`
};

// What the window hands over with a job. Only the parts that are set reach
// the worker, and only when the job is accepted.
struct JobRequest {
    QString portConfig;                        // the connection text, as typed
    int keepConEnabled = 0;                    // 0 or 1
    std::optional<DeviceSettings> settings;    // for a Write: the record to put into `settings`
    std::optional<QStringList> uploadFiles;    // for an upload request
    // The blocks a Read or Write moves; all five unless the caller knows
    // that the modem already holds the others.
    DeviceSettings::Blocks blocks = DeviceSettings::allBlocks();
    // For a detection: the ports to try, in order.
    QStringList detectPorts{};
    // Whose controls the messages' advice names.
    DeviceProcedures::Frontend frontend = DeviceProcedures::Frontend::Window;

    // For a Write that goes into the journal of Writes (its folder; empty:
    // none): the job reads what the modem holds first, on the same open
    // port, so that the journal never keeps another modem's settings, and a
    // failed read stops it with nothing sent. The entry is made before a
    // byte of the Write goes out.
    QString journalFolder{};
    // Called on the worker's thread with what the job has just read (it
    // reads first whenever a plan is given, journal or not): what to write.
    // Without it `settings` and `blocks` go as they are.
    std::function<WritePlan(const DeviceSettings &held)> plan{};
    // For a Write: read the written blocks back and compare them; the
    // record read back is then `settings`.
    bool verify = false;
};

// The one worker thread: each start runs one job (open the port, the job's
// exchanges, close the port) and reports through `response` only.
//
// Every member the GUI thread also touches sits behind one mutex. The
// request is copied in by startJob, a job works on its own copies, and a
// Read puts its record into `settings` in one step just before it says so.
class MyThread : public QThread {
    Q_OBJECT
public:
    // A detection looks for the port and rate a modem answers on.
    enum Job { JobRead = 1, JobWrite = 2, JobUpload = 3, JobDetect = 4 };

    // How long the link waits (ms): the link's own defaults, which the
    // system keeps; tests and the soak run give shorter ones.
    struct LinkTimeouts {
        int answer = SerialLink::DefaultAnswerTimeout;
        int next = SerialLink::DefaultNextTimeout;
        int byteGap = SerialLink::DefaultByteGapTimeout;
    };

    explicit MyThread(QObject *parent = nullptr);
    MyThread(QObject *parent, LinkTimeouts linkTimeouts);
    // Asks a running Read to stop and waits for it: the link gives up its
    // wait within one poll, so this is quick even in the middle of an
    // exchange. A Write is never cut in half: it is waited for to its end,
    // which the link's time-outs bound.
    ~MyThread() override;

    // Starts `job` with the request copied in, or returns false, changing
    // nothing at all, while a job is still running. A job that has said its
    // last word counts as over: the request waits the moment it needs to
    // return, so a request made in answer to that word is never lost.
    bool startJob(int job, const JobRequest &request = {});

    DeviceSettings settings() const;
    QStringList uploadFiles() const;
    // No job reads the list, so it may be cleared at any time.
    void clearUploadFiles();
    QString portConfig() const;
    int keepConEnabled() const;
    int job() const;
    // Whether a job runs that has not said its last word yet.
    bool busy() const;
    // Whether the last job that ended reached its message of success.
    bool lastJobSucceeded() const;
    // Whether `message` is the last word of a job that has ended.
    bool isLastWord(const QString &message) const;
    // The last word of the last job that ended.
    QString lastWord() const;
    // The connection text of the modem the last detection found, or empty.
    QString detectedConnection() const;
    // The journal entry of the last Write, once it has ended; an empty
    // folder when it made none.
    JournalEntry journalEntry() const;
    // Whether the last Write's journal could not be written: before the
    // Write (nothing was sent) or after it (its outcome is not kept).
    bool journalFailed() const;

signals:
    void response(QString s);
    // Each job's start and end, and every frame it sends and receives,
    // judged, on the worker's thread.
    void traffic(const TrafficEntry &entry);

protected:
    void run() override;

private:
    struct Shared {
        DeviceSettings settings;
        QStringList uploadFiles;
        QString portConfig;
        int keepConEnabled = 0;
        int job = 0;
        DeviceSettings::Blocks blocks;
        QStringList detectPorts;
        DeviceProcedures::Frontend frontend = DeviceProcedures::Frontend::Window;
        bool succeeded = false;
        QString lastWord;
        QString detected;
        QString journalFolder;
        std::function<WritePlan(const DeviceSettings &)> plan;
        bool verify = false;
        JournalEntry journalEntry;
        bool journalFailed = false;
    };

    void commitReadSettings(const DeviceSettings &record);
    void detect(const Shared &request);
    DeviceProcedures::Outcome write(DeviceProcedures &procedures, const Shared &request);
    DeviceProcedures::Outcome verify(DeviceProcedures &procedures, const WritePlan &plan, bool withKeepCon);
    void finishJob(const QString &lastMessage, bool succeeded = false);

    // A std::mutex rather than a QMutex: Qt's futex-based lock is invisible
    // to ThreadSanitizer, which then could not check this class at all.
    const LinkTimeouts linkTimeouts;
    mutable std::mutex mutex;
    Shared shared;
    bool lastWordSaid = false;   // the running job has closed the port and only returns
};

#endif // MYTHREAD_H
