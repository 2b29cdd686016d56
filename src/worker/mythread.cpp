#include "mythread.h"

#include <QDateTime>

#include "deviceprocedures.h"
#include "modbusframe.h"
#include "modemdetector.h"
#include "seriallink.h"

namespace {

// The messages show the connection text as the link was given it (Latin-1).
// asprintf reads %s as UTF-8, so the Latin-1 bytes are turned back into
// UTF-8 first; otherwise an accented port name would come out garbled.
QByteArray asMessageArgument(const QString &portConfig)
{
    return QString::fromLatin1(portConfig.toLatin1()).toUtf8();
}

} // namespace

MyThread::MyThread(QObject *parent)
    : MyThread(parent, LinkTimeouts())
{
}

MyThread::MyThread(QObject *parent, LinkTimeouts linkTimeouts)
    : QThread(parent)
    , linkTimeouts(linkTimeouts)
{
    // Listeners on other threads get the entries queued.
    qRegisterMetaType<TrafficEntry>();
}

MyThread::~MyThread()
{
    // A Write that stopped between two blocks, or inside an exchange, would
    // leave the modem with a mix of old and new settings; it runs to its end.
    if (job() != JobWrite)
        requestInterruption();
    wait();
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
    shared.succeeded = false;
    shared.lastWord.clear();
    shared.blocks = request.blocks;
    shared.detectPorts = request.detectPorts;
    shared.frontend = request.frontend;
    shared.portConfig = request.portConfig;
    shared.keepConEnabled = request.keepConEnabled;
    shared.journalFolder = request.journalFolder;
    shared.plan = request.plan;
    shared.verify = request.verify;
    shared.journalEntry = JournalEntry();
    shared.journalFailed = false;
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
    return shared.portConfig;
}

int MyThread::keepConEnabled() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.keepConEnabled;
}

int MyThread::job() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.job;
}

bool MyThread::isLastWord(const QString &message) const
{
    std::lock_guard<std::mutex> locker(mutex);
    return (!isRunning() || lastWordSaid) && message == shared.lastWord;
}

QString MyThread::lastWord() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.lastWord;
}

QString MyThread::detectedConnection() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.detected;
}

JournalEntry MyThread::journalEntry() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.journalEntry;
}

bool MyThread::journalFailed() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.journalFailed;
}

bool MyThread::busy() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return isRunning() && !lastWordSaid;
}

bool MyThread::lastJobSucceeded() const
{
    std::lock_guard<std::mutex> locker(mutex);
    return shared.succeeded;
}

void MyThread::commitReadSettings(const DeviceSettings &record)
{
    std::lock_guard<std::mutex> locker(mutex);
    shared.settings = record;
}

// The port is closed before the job's last message goes out, so whoever
// hears it finds the port free and the worker ready for the next job.
void MyThread::finishJob(const QString &lastMessage, bool succeeded)
{
    // A job asked to stop says no last word.
    emit traffic({QDateTime::currentDateTime(), TrafficEntry::JobEnded, QByteArray(),
                  lastMessage.isEmpty() ? tr("stopped") : lastMessage, !succeeded});
    {
        std::lock_guard<std::mutex> locker(mutex);
        lastWordSaid = true;
        shared.succeeded = succeeded;
        shared.lastWord = lastMessage;
    }
    if (!lastMessage.isEmpty())
        emit response(lastMessage);
}

void MyThread::run()
{
    trace("run\n");

    // The job works on its own copy of the request, so the GUI thread is
    // free to change the members (under the lock) while it runs.
    Shared request;
    {
        std::lock_guard<std::mutex> locker(mutex);
        request = shared;
    }

    static const char *const jobNames[] = {QT_TR_NOOP("Job"), QT_TR_NOOP("Read"), QT_TR_NOOP("Write"),
                                           QT_TR_NOOP("Upload"), QT_TR_NOOP("Detect modem")};
    const char *jobName = jobNames[request.job >= JobRead && request.job <= JobDetect ? request.job : 0];
    emit traffic({QDateTime::currentDateTime(), TrafficEntry::JobStarted, QByteArray(),
                  request.job == JobDetect ? tr(jobName) : tr(jobName) + QLatin1String(", ") + request.portConfig,
                  false});
    if (request.job == JobDetect) {
        detect(request);
        return;
    }

    SerialLink link(linkTimeouts.answer, linkTimeouts.next, linkTimeouts.byteGap);
    // A mistyped connection is named before any port is touched.
    const QString connectionProblem = DeviceProcedures::configureLink(link, request.portConfig);
    if (!connectionProblem.isEmpty()) {
        finishJob(connectionProblem);
        return;
    }
    const QByteArray shownConfig = asMessageArgument(request.portConfig);
    if (link.open() < 0) {
        link.close();
        // The port's own error says why, in a second sentence.
        finishJob(QString::asprintf("The Port %s was not open", shownConfig.constData()) + QLatin1String(". ")
                  + link.openFailure());
        return;
    }
    emit response(QString::asprintf("Start process whith %s", shownConfig.constData()));

    DeviceProcedures procedures(
        link, request.keepConEnabled != 0, request.frontend, [this](const QString &message) { emit response(message); },
        [this] { return isInterruptionRequested(); }, [this](const TrafficEntry &entry) { emit traffic(entry); });
    DeviceProcedures::Outcome outcome;
    switch (request.job) {
    case JobRead:
        outcome = procedures.read([this](const DeviceSettings &record) { commitReadSettings(record); },
                                  request.blocks);
        break;
    case JobWrite:
        outcome = write(procedures, request);
        break;
    case JobUpload:
        // The upload only proves that the port opens; nothing is sent.
        outcome.succeeded = true;
        break;
    default:
        outcome.lastMessage = QString::asprintf("There is onknowed thread %d", request.job);
        break;
    }
    link.close();
    finishJob(outcome.lastMessage, outcome.succeeded);
}

// No port of its own: every port of the request, at every rate, until a
// modem answers.
void MyThread::detect(const Shared &request)
{
    const ModemDetector::Outcome outcome = ModemDetector::detect(
        request.detectPorts, [this](const QString &message) { emit response(message); },
        [this] { return isInterruptionRequested(); });
    {
        std::lock_guard<std::mutex> locker(mutex);
        shared.detected = outcome.connection.value_or(QString());
    }
    finishJob(outcome.lastMessage, outcome.connection.has_value());
}

// The Write, with its journal entry around it when it has one: what the
// modem holds is read on this open port and kept before the first byte goes
// out, so that no other modem's settings, and no Read from before a modem
// was swapped, can stand for it.
DeviceProcedures::Outcome MyThread::write(DeviceProcedures &procedures, const Shared &request)
{
    if (request.journalFolder.isEmpty() && !request.plan)
        return procedures.write(request.settings, request.blocks);

    emit response(tr("Reading the modem before writing…"));
    DeviceSettings held;
    const DeviceProcedures::Outcome read = procedures.read([&held](const DeviceSettings &record) { held = record; });
    if (!read.succeeded)
        return {read.lastMessage.isEmpty() ? QString() : tr("Nothing was written: %1").arg(read.lastMessage), false};
    const WritePlan plan = request.plan ? request.plan(held) : WritePlan{request.settings, request.blocks};
    if (plan.lastWord)
        return {*plan.lastWord, plan.succeeded};
    // What the job writes is the record until a read-back replaces it.
    commitReadSettings(plan.record);

    const bool withKeepCon = request.keepConEnabled != 0;
    const WriteJournal journal(request.journalFolder);
    const bool journalled = !request.journalFolder.isEmpty();
    QString problem;
    std::optional<JournalEntry> entry;
    if (journalled) {
        entry = journal.begin({request.portConfig, withKeepCon, held, plan.record}, &problem);
        if (!entry) {
            std::lock_guard<std::mutex> locker(mutex);
            shared.journalFailed = true;
            return {tr("Nothing was written: what the modem holds could not be kept in the journal: %1").arg(problem),
                    false};
        }
    }

    DeviceProcedures::Outcome outcome = procedures.write(plan.record, plan.blocks);
    JournalEntry::Outcome kept = outcome.succeeded ? JournalEntry::Written : JournalEntry::Failed;
    if (outcome.succeeded && request.verify) {
        outcome = verify(procedures, plan, withKeepCon);
        kept = outcome.succeeded ? JournalEntry::Verified : JournalEntry::Failed;
    }
    if (!journalled)
        return outcome;
    // A Write asked to stop has no last word; the journal says so.
    const bool finished = journal.finish(*entry, kept,
                                         outcome.lastMessage.isEmpty() ? tr("stopped") : outcome.lastMessage,
                                         outcome.failedBlock, &problem);
    if (!finished)
        outcome.lastMessage += QLatin1String(". ") + tr("Its outcome could not be kept in the journal: %1").arg(problem);
    std::lock_guard<std::mutex> locker(mutex);
    shared.journalEntry = *entry;
    shared.journalFailed = !finished;
    return outcome;
}

// Reads back what was written; the record read back becomes `settings`.
DeviceProcedures::Outcome MyThread::verify(DeviceProcedures &procedures, const WritePlan &plan, bool withKeepCon)
{
    DeviceSettings readBack;
    DeviceProcedures::Outcome outcome =
        procedures.read([&readBack](const DeviceSettings &record) { readBack = record; }, plan.blocks);
    if (!outcome.succeeded)
        return outcome;
    commitReadSettings(readBack);
    const QList<int> differing = readBack.entriesDifferingFrom(plan.record, plan.blocks, withKeepCon);
    if (differing.isEmpty())
        return {tr("Verified: the modem holds what was written"), true};
    QStringList keys;
    for (int index : differing)
        keys << DeviceSettings::key(index);
    return {tr("Verify: the modem holds other values for %1").arg(keys.join(QLatin1String(", "))), false,
            DeviceSettings::blockOf(differing.first())};
}
