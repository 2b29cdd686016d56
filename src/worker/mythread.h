#ifndef MYTHREAD_H
#define MYTHREAD_H

#include "devicesettings.h"
#include "modemjob.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <mutex>

// The one worker thread of the window: each start runs one job (open the
// port, the job's exchanges, close the port) through ModemJob, and reports
// its messages through `response` and how it ended through `jobEnded`.
//
// Every member the GUI thread also touches sits behind one mutex. The
// request is copied in by startJob, a job works on its own copies, and a
// Read puts its record into `settings` in one step just before it says so.
class MyThread : public QThread {
    Q_OBJECT
public:
    // A detection looks for the port and rate a modem answers on.
    enum Job { JobRead = ModemJob::JobRead, JobWrite = ModemJob::JobWrite, JobUpload = ModemJob::JobUpload,
               JobDetect = ModemJob::JobDetect };
    using LinkTimeouts = ModemJob::LinkTimeouts;

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
    // Asks a running Read or detection to stop; it ends within one poll of
    // the link, with no last word. A Write is never cut in half.
    void stop();

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

signals:
    void response(QString s);
    // Each job's start and end, and every frame it sends and receives,
    // judged, on the worker's thread.
    void traffic(const TrafficEntry &entry);
    // Each job's outcome, on the worker's thread, once its last word has
    // gone out through `response` (a job asked to stop says none).
    void jobEnded(const JobOutcome &outcome);

protected:
    void run() override;

private:
    struct Shared {
        DeviceSettings settings;
        QStringList uploadFiles;
        int job = 0;
        JobRequest request;
        JobOutcome outcome;
    };

    void commitSettings(const DeviceSettings &record);
    void finishJob(const JobOutcome &outcome);

    // A std::mutex rather than a QMutex: Qt's futex-based lock is invisible
    // to ThreadSanitizer, which then could not check this class at all.
    const LinkTimeouts linkTimeouts;
    mutable std::mutex mutex;
    Shared shared;
    bool lastWordSaid = false;   // the running job has closed the port and only returns
};

#endif // MYTHREAD_H
