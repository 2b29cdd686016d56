#include "guardedwrite.h"

GuardedWrite::GuardedWrite(DeviceProcedures &procedures, DeviceProcedures::Report report, Commit commit)
    : procedures(procedures)
    , report(std::move(report))
    , commit(std::move(commit))
{
}

WriteOutcome GuardedWrite::ended(WriteOutcome outcome, WriteOutcome::Failure failure, const QString &lastWord,
                                 bool succeeded) const
{
    outcome.failure = failure;
    outcome.lastWord = lastWord;
    outcome.succeeded = succeeded;
    return outcome;
}

// The Write as its exchanges left it: done, stopped, or failed with the
// procedures' last word; a failed read before the Write says it inside
// `readBefore`'s words.
WriteOutcome GuardedWrite::exchanged(WriteOutcome outcome, const DeviceProcedures::Outcome &done,
                                     const QString &readBefore) const
{
    outcome.device = done;
    if (done.succeeded)
        return ended(outcome, WriteOutcome::Failure::None, done.lastMessage, true);
    if (done.lastMessage.isEmpty())
        return ended(outcome, WriteOutcome::Failure::Stopped, QString());
    if (!readBefore.isEmpty())
        return ended(outcome, WriteOutcome::Failure::ReadBeforeFailed, readBefore.arg(done.lastMessage));
    return ended(outcome, WriteOutcome::Failure::Device, done.lastMessage);
}

WriteOutcome GuardedWrite::run(const Request &request)
{
    WriteOutcome outcome;
    outcome.record = request.record;
    if (request.journalFolder.isEmpty() && !request.plan) {
        // Nothing to keep and nothing to decide: the record goes as it is.
        return exchanged(outcome, procedures.write(request.record, request.blocks));
    }

    report(tr("Reading the modem before writing…"));
    const DeviceProcedures::Outcome read =
        procedures.read([&outcome](const DeviceSettings &record) { outcome.held = record; });
    if (!read.succeeded)
        return exchanged(outcome, read, tr("Nothing was written: %1"));

    const WritePlan plan = request.plan ? request.plan(outcome.held) : WritePlan{request.record, request.blocks};
    if (plan.lastWord)
        return ended(outcome, WriteOutcome::Failure::PlanEnded, *plan.lastWord, plan.succeeded);
    outcome.record = plan.record;
    DeviceSettings::Blocks blocks = plan.blocks;
    if (plan.onlyDiffering) {
        // The registers the modem answered with against those the Write
        // would send, so that nothing the texts do not show is taken for held.
        blocks = outcome.held.blocksDifferingFrom(plan.record, request.withKeepCon);
        if (blocks.none())
            return ended(outcome, WriteOutcome::Failure::None, plan.alreadyHeld, true);
        // What the modem holds goes back unchanged beside the new values,
        // so it must be writable as well.
        if (const SettingProblem problem = plan.record.firstProblem(blocks); problem.exists())
            return ended(outcome, WriteOutcome::Failure::ValueRefused, problem.message());
        if (blocks.count() < DeviceSettings::BlockCount)
            report(tr("Writing %1 of the %2 blocks; the modem holds the others already")
                       .arg(blocks.count())
                       .arg(DeviceSettings::BlockCount));
    }
    // What the job writes is the modem's record until a read-back replaces it.
    commit(plan.record);

    const WriteJournal journal(request.journalFolder);
    const bool journalled = !request.journalFolder.isEmpty();
    QString problem;
    if (journalled) {
        outcome.entry = journal.begin({request.connection, request.withKeepCon, outcome.held, plan.record}, &problem);
        if (!outcome.entry) {
            outcome.journalFailed = true;
            return ended(outcome, WriteOutcome::Failure::JournalNotWritable,
                         tr("Nothing was written: what the modem holds could not be kept in the journal: %1")
                             .arg(problem));
        }
    }

    outcome.blocks = blocks;
    outcome = exchanged(outcome, procedures.write(plan.record, blocks));
    JournalEntry::Outcome kept = outcome.succeeded ? JournalEntry::Written : JournalEntry::Failed;
    if (outcome.succeeded && request.verify) {
        outcome = verify(outcome, request.withKeepCon);
        kept = outcome.succeeded ? JournalEntry::Verified : JournalEntry::Failed;
    }
    if (!journalled)
        return outcome;
    // A Write asked to stop has no last word; the journal says so.
    const int failedBlock = outcome.failure == WriteOutcome::Failure::None ? -1 : outcome.device.failedBlock;
    if (!journal.finish(*outcome.entry, kept, outcome.lastWord.isEmpty() ? tr("stopped") : outcome.lastWord,
                        failedBlock, &problem)) {
        outcome.journalFailed = true;
        outcome.lastWord += QLatin1String(". ") + tr("Its outcome could not be kept in the journal: %1").arg(problem);
    }
    return outcome;
}

// Reads back what was written; the record read back becomes the job's.
WriteOutcome GuardedWrite::verify(WriteOutcome outcome, bool withKeepCon)
{
    DeviceSettings readBack;
    const DeviceProcedures::Outcome read =
        procedures.read([&readBack](const DeviceSettings &record) { readBack = record; }, outcome.blocks);
    if (!read.succeeded)
        return exchanged(outcome, read);
    commit(readBack);
    outcome.differing = readBack.entriesDifferingFrom(outcome.record, outcome.blocks, withKeepCon);
    if (outcome.differing.isEmpty())
        return ended(outcome, WriteOutcome::Failure::None, tr("Verified: the modem holds what was written"), true);
    QStringList keys;
    for (int index : qAsConst(outcome.differing))
        keys << DeviceSettings::key(index);
    outcome.readBack = readBack;
    outcome.device.failedBlock = DeviceSettings::blockOf(outcome.differing.first());
    return ended(outcome, WriteOutcome::Failure::VerifyDifference,
                 tr("Verify: the modem holds other values for %1").arg(keys.join(QLatin1String(", "))));
}
