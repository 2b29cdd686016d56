// write CONNECTION FILE.xml: a settings file sent to the modem, as the
// guarded Write does it: the modem read first, what it held journalled,
// only the blocks that differ sent, and with --verify read back.

#include "console.h"
#include "modemcommand.h"
#include "modemjob.h"
#include "settingsvalues.h"
#include "userfolders.h"

#include <QCommandLineParser>

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
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Send a settings file and read the modem back to check it"),
                 QStringLiteral("write --verify \"dev=/dev/ttyUSB0;baud=9600\" modem.xml")},
                {QStringLiteral("Change only the settings a file gives, keeping the old ones in old.xml"),
                 QStringLiteral("write --merge --backup old.xml \"dev=COM3;baud=9600\" changes.xml")}};
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
    void sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack, const QList<int> &differing);

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
    // anything is sent, and sends only what it does not hold yet.
    bool backupFailed = false;
    JobRequest request{connection, keepCon ? 1 : 0, std::nullopt, std::nullopt};
    request.journalFolder = journalFolder;
    request.verify = verify;
    request.plan = [&](const DeviceSettings &held) {
        WritePlan plan;
        if (backupFile && !saveFile(*backupFile, held, connection)) {
            backupFailed = true;
            plan.lastWord = QStringLiteral("Nothing was written: the backup could not be saved");
            return plan;
        }
        // The file is complete unless merging, and then it goes over the modem's own.
        plan.record = file.over(held);
        plan.onlyDiffering = true;
        plan.alreadyHeld = QStringLiteral("The modem already holds the settings of %1: nothing was written")
                               .arg(shownName(fileName));
        return plan;
    };
    const JobOutcome job = runJob(ModemJob::JobWrite, request);
    const std::optional<WriteOutcome> &written = job.write;
    if (backupFailed || (written && written->failure == WriteOutcome::Failure::ValueRefused))
        return BadInput;
    // A journal that cannot be written is a file that cannot be written.
    if (written && written->journalFailed)
        return BadInput;
    if (written && written->failure == WriteOutcome::Failure::VerifyDifference)
        sayDifferences(written->record, written->readBack, written->differing);
    return job.succeeded ? Success : DeviceFailed;
}

// Names every setting whose registers, read back, differ from what the
// modem should hold now.
void WriteCommand::sayDifferences(const DeviceSettings &wanted, const DeviceSettings &readBack,
                                  const QList<int> &differing)
{
    for (int index : differing) {
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
