#include "mythread.h"

MyThread::MyThread(QObject *parent)
    : MyThread(parent, LinkTimeouts())
{
}

MyThread::MyThread(QObject *parent, LinkTimeouts linkTimeouts)
    : QThread(parent)
    , linkTimeouts(linkTimeouts)
{
    // Listeners on other threads get these queued.
    qRegisterMetaType<TrafficEntry>();
    qRegisterMetaType<JobOutcome>();
}

MyThread::~MyThread()
{
    stop();
    wait();
}

// A Write that stopped between two blocks, or inside an exchange, would
// leave the modem with a mix of old and new settings; it runs to its end.
void MyThread::stop()
{
    if (job() != JobWrite)
        requestInterruption();
}

bool MyThread::startJob(int job, const JobRequest &request)
{
    std::unique_lock<std::mutex> locker(mutex);
    if (isRunning()) {
        if (!lastWordSaid)
            return false;
        // Unlocked, so that a slot connected directly to `response` can
        // still use the getters while the run returns.
        locker.unlock();
        wait();
        locker.lock();
        if (isRunning())
            return false;
    }
    lastWordSaid = false;
    shared.request = request;
    shared.outcome = JobOutcome();
    if (request.settings)
        shared.settings = *request.settings;
    if (request.uploadFiles)
        shared.uploadFiles = *request.uploadFiles;
    shared.job = job;
    start(QThread::InheritPriority);
    return true;
}

DeviceSettings MyThread::settings() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.settings;
}

QStringList MyThread::uploadFiles() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.uploadFiles;
}

void MyThread::clearUploadFiles()
{
    std::lock_guard<std::mutex> locker(mutex);
    shared.uploadFiles.clear();
}

QString MyThread::portConfig() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.request.portConfig;
}

int MyThread::keepConEnabled() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.request.keepConEnabled;
}

int MyThread::job() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.job;
}

bool MyThread::isLastWord(const QString &message) const
{
    std::lock_guard<std::mutex> locker(mutex);
    return (!isRunning() || lastWordSaid) && message == shared.outcome.lastWord;
}

QString MyThread::lastWord() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.outcome.lastWord;
}

bool MyThread::busy() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return isRunning() && !lastWordSaid;
}

bool MyThread::lastJobSucceeded() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.outcome.succeeded;
}

void MyThread::commitSettings(const DeviceSettings &record)
{
    std::lock_guard<std::mutex> locker(mutex);
    shared.settings = record;
}

// The job has closed its port before its last word goes out, so whoever
// hears it finds the port free and the worker ready for the next job.
void MyThread::finishJob(const JobOutcome &outcome)
{
    {
        std::lock_guard<std::mutex> locker(mutex);
        lastWordSaid = true;
        shared.outcome = outcome;
    }
    if (!outcome.lastWord.isEmpty())
        emit response(outcome.lastWord);
    emit jobEnded(outcome);
}

void MyThread::run()
{
    // The job works on its own copy of the request, so the GUI thread is
    // free to change the members (under the lock) while it runs.
    int job = 0;
    JobRequest request;
    {
        std::lock_guard<std::mutex> locker(mutex);
        job = shared.job;
        request = shared.request;
        if (job == JobWrite)
            request.settings = shared.settings;
    }
    ModemJob::Hooks hooks;
    hooks.report = [this](const QString &message) { emit response(message); };
    hooks.traffic = [this](const TrafficEntry &entry) { emit traffic(entry); };
    hooks.stopRequested = [this] { return isInterruptionRequested(); };
    hooks.commit = [this](const DeviceSettings &record) { commitSettings(record); };
    finishJob(ModemJob(hooks, linkTimeouts).run(job, request));
}
