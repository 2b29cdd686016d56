// write CONNECTION FILE.xml: a settings file sent to the modem, as the
// guarded Write does it: the modem read first, what it held journalled,
// only the blocks that differ sent, and with --verify read back.

#include "console.h"
#include "modemcommand.h"
#include "mythread.h"
#include "settingsvalues.h"
#include "userfolders.h"

#include <QCommandLineParser>

#include <mutex>

namespace {

QCommandLineOption verifyOption()
{
    return QCommandLineOption(QStringLiteral("verify"),
        QStringLiteral("Read the modem back afterwards and fail, naming each setting that differs."));
}

QCommandLineOption backupOption()
{
    return QCommandLineOption(QStringLiteral("backup"),
        QStringLiteral("Also save what the modem holds to OLD.xml (the journal keeps it in any case); write nothing "
                       "if that cannot be done."),
        QStringLiteral("OLD.xml"));
}

QCommandLineOption mergeOption()
{
    return QCommandLineOption(QStringLiteral("merge"),
        QStringLiteral("Write the file's settings over what the modem holds, keeping its own values for the "
                       "settings the file lacks."));
}

class WriteCommand : public ModemCommand {
public:
    using ModemCommand::ModemCommand;

    QString synopsis() const override { return QStringLiteral("CONNECTION FILE.xml"); }
    QStringList summary() const override
    {
        return {QStringLiteral("send the 35 settings of a settings file to the modem; a file"),
                QStringLiteral("that lacks any is refused unless --merge. The modem is read"),
                QStringLiteral("first, only the blocks that differ are sent, and the journal"),
                QStringLiteral("keeps what it held (see history)")};
    }
    QList<QCommandLineOption> options() const override { return {verifyOption(), backupOption(), mergeOption()}; }
    QList<QPair<QString, QString>> arguments() const override
    {
        return connectionAndFileHelp(QStringLiteral("The settings file to send; \"-\": standard input."));
    }

    std::optional<int> checkArguments(const QCommandLineParser &parser, const QStringList &arguments) override
    {
        verify = parser.isSet(verifyOption());
        merge = parser.isSet(mergeOption());
        if (parser.isSet(backupOption()))
            backupFile = parser.value(backupOption());
        return takeConnectionAndFile(arguments);
    }

    int execute() override;

private:
    void sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack, DeviceSettings::Blocks blocks);

    bool verify = false;
    bool merge = false;
    std::optional<QString> backupFile;
};

int WriteCommand::execute()
{
    const QString journalFolder = UserFolders::journalFolder();
    SettingsValues file;
    if (!loadFile(fileName, &file))
        return BadInput;
    chooseKeepCon(&file);
    // A setting the file does not give would go to the modem as an empty
    // text or a zero: an IP address of 0.0.0.0, a Modbus address of 0.
    const QStringList missing = file.missingKeys();
    if (!missing.isEmpty() && !merge) {
        console.say(QStringLiteral("%1 lacks %2 of the modem's %3 settings: %4. Nothing was written: complete the "
                                   "file, or use --merge to keep the modem's own values for them")
                        .arg(shownName(fileName))
                        .arg(missing.size())
                        .arg(DeviceSettings::Count)
                        .arg(missing.join(QStringLiteral(", "))));
        return BadInput;
    }
    // The file's own values are checked before the modem is touched.
    if (const QList<SettingProblem> problems = file.problems(); !problems.isEmpty()) {
        console.say(problems.constFirst().message());
        return BadInput;
    }

    if (backupFile && !canSaveTo(*backupFile))
        return BadInput;
    // One job reads what the modem holds, keeps it in the journal before
    // anything is sent, and sends only what it does not hold yet. Its plan
    // runs on the worker's thread; what it decides is read back under the
    // lock once the job has ended.
    std::mutex planMutex;
    int refusal = Success;
    DeviceSettings wanted;
    DeviceSettings::Blocks blocks;
    JobRequest request{connection, keepCon ? 1 : 0, std::nullopt, std::nullopt};
    request.journalFolder = journalFolder;
    request.verify = verify;
    request.plan = [&](const DeviceSettings &held) {
        std::lock_guard<std::mutex> locker(planMutex);
        WritePlan plan;
        if (backupFile && !saveFile(*backupFile, held, connection)) {
            refusal = BadInput;
            plan.lastWord = QStringLiteral("Nothing was written: the backup could not be saved");
            return plan;
        }
        // The file is complete unless merging, and then it goes over the modem's own.
        wanted = file.over(held);
        // The registers the modem answered with against those the write
        // would send, so that nothing the texts do not show is taken for held.
        blocks = held.blocksDifferingFrom(wanted, keepCon);
        if (blocks.none()) {
            plan.lastWord = QStringLiteral("The modem already holds the settings of %1: nothing was written")
                                .arg(shownName(fileName));
            plan.succeeded = true;
            return plan;
        }
        // What the modem holds is written back unchanged beside the file's
        // values, so it must be writable as well.
        if (const SettingProblem problem = wanted.firstProblem(blocks); problem.exists()) {
            refusal = BadInput;
            plan.lastWord = problem.message();
            return plan;
        }
        if (blocks.count() < DeviceSettings::BlockCount)
            console.inform(QStringLiteral("Writing %1 of the %2 blocks; the modem holds the others already")
                               .arg(blocks.count())
                               .arg(DeviceSettings::BlockCount));
        plan.record = wanted;
        plan.blocks = blocks;
        return plan;
    };
    MyThread worker;
    const bool written = runJob(worker, MyThread::JobWrite, request);
    std::lock_guard<std::mutex> locker(planMutex);
    if (refusal != Success)
        return refusal;
    // A journal that cannot be written is a file that cannot be written.
    if (worker.journalFailed())
        return BadInput;
    if (!written && verify && blocks.any())
        sayDifferences(wanted, worker.settings(), blocks);
    return written ? Success : DeviceFailed;
}

// Names every setting of `blocks` whose registers, read back, differ from
// what the modem should hold now.
void WriteCommand::sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack,
                                  DeviceSettings::Blocks blocks)
{
    for (int index : readBack.entriesDifferingFrom(wanted, blocks, keepCon)) {
        const QByteArray expected = wanted.fieldImage(index);
        const QStringList shown = shownDifference(readBack.value(index), readBack.fieldImage(index),
                                                  DeviceSettings::textOf(index, expected), expected);
        console.say(QStringLiteral("Verify: %1 is \"%2\" on the modem, not \"%3\"")
                        .arg(DeviceSettings::key(index), shown.at(0), shown.at(1)));
    }
}

} // namespace

std::unique_ptr<Command> makeWriteCommand(const QString &name, Console &console)
{
    return std::make_unique<WriteCommand>(name, console);
}
