#include "modemjob.h"

#include "modbusframe.h"
#include "modemdetector.h"
#include "workermessages.h"

#include <QDateTime>

namespace {

// The messages show the connection text as the link was given it (Latin-1).
// asprintf reads %s as UTF-8, so the Latin-1 bytes are turned back into
// UTF-8 first; otherwise an accented port name would come out garbled.
QByteArray asMessageArgument(const QString &portConfig)
{
    return QString::fromLatin1(portConfig.toLatin1()).toUtf8();
}

} // namespace

ModemJob::ModemJob(Hooks hooks, LinkTimeouts linkTimeouts)
    : hooks(std::move(hooks))
    , linkTimeouts(linkTimeouts)
{
}

JobOutcome ModemJob::run(int job, const JobRequest &request) const
{
    trace("run\n");
    static const char *const jobNames[] = {QT_TR_NOOP("Job"), QT_TR_NOOP("Read"), QT_TR_NOOP("Write"),
                                           QT_TR_NOOP("Upload"), QT_TR_NOOP("Detect modem")};
    const char *jobName = jobNames[job >= JobRead && job <= JobDetect ? job : 0];
    hooks.traffic({QDateTime::currentDateTime(), TrafficEntry::JobStarted, QByteArray(),
                   job == JobDetect ? tr(jobName) : tr(jobName) + QLatin1String(", ") + request.portConfig, false});

    JobOutcome outcome = job == JobDetect ? detect(request) : runOnLink(job, request);
    outcome.job = job;
    if (job != JobDetect)
        outcome.connection = request.portConfig;
    // A job asked to stop says no last word.
    hooks.traffic({QDateTime::currentDateTime(), TrafficEntry::JobEnded, QByteArray(),
                   outcome.lastWord.isEmpty() ? tr("stopped") : outcome.lastWord, !outcome.succeeded});
    return outcome;
}

JobOutcome ModemJob::runOnLink(int job, const JobRequest &request) const
{
    JobOutcome outcome;
    SerialLink link(linkTimeouts.answer, linkTimeouts.next, linkTimeouts.byteGap);
    // A mistyped connection is named before any port is touched.
    const QString connectionProblem = DeviceProcedures::configureLink(link, request.portConfig);
    if (!connectionProblem.isEmpty()) {
        outcome.lastWord = connectionProblem;
        return outcome;
    }
    const QByteArray shownConfig = asMessageArgument(request.portConfig);
    if (link.open() < 0) {
        link.close();
        // The port's own error says why, in a second sentence.
        outcome.lastWord = WorkerMessages::say(WorkerMessages::Kind::PortNotOpen, shownConfig.constData())
            + QLatin1String(". ") + link.openFailure();
        return outcome;
    }
    hooks.report(WorkerMessages::say(WorkerMessages::Kind::Started, shownConfig.constData()));

    const auto commit = [this, &outcome](const DeviceSettings &record) {
        outcome.settings = record;
        hooks.commit(record);
    };
    DeviceProcedures procedures(link, request.keepConEnabled != 0, request.advise, hooks.report,
                                hooks.stopRequested, hooks.traffic, hooks.step);
    DeviceProcedures::Outcome done;
    switch (job) {
    case JobRead:
        done = procedures.read(commit, request.blocks);
        break;
    case JobWrite: {
        GuardedWrite::Request write{request.portConfig, request.keepConEnabled != 0, request.journalFolder,
                                    request.plan, request.settings.value_or(DeviceSettings()), request.blocks,
                                    request.verify};
        outcome.write = GuardedWrite(procedures, hooks.report, commit).run(write);
        done = outcome.write->device;
        done.lastMessage = outcome.write->lastWord;
        done.succeeded = outcome.write->succeeded;
        break;
    }
    case JobUpload:
        // The upload only proves that the port opens; nothing is sent.
        done.succeeded = true;
        break;
    default:
        done.lastMessage = WorkerMessages::say(WorkerMessages::Kind::UnknownJob, job);
        break;
    }
    // The port is closed before the job's last word goes out, so whoever
    // hears it finds the port free.
    link.close();
    outcome.succeeded = done.succeeded;
    outcome.lastWord = done.lastMessage;
    outcome.exchange = done;
    return outcome;
}

// No port of its own: every port of the request, at every rate, until a
// modem answers.
JobOutcome ModemJob::detect(const JobRequest &request) const
{
    const ModemDetector::Outcome found = ModemDetector::detect(request.detectPorts, hooks.report, hooks.stopRequested);
    JobOutcome outcome;
    outcome.succeeded = found.connection.has_value();
    outcome.lastWord = found.lastMessage;
    outcome.detectedConnection = found.connection;
    return outcome;
}
