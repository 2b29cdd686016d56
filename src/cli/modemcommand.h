#ifndef MODEMCOMMAND_H
#define MODEMCOMMAND_H

#include "command.h"
#include "devicesettings.h"

#include <optional>

struct JobOutcome;
struct JobRequest;
struct SettingsValues;

// A command that talks to a modem through the worker's jobs and reads or
// saves settings files: the connection checked before anything is opened,
// the form of the settings block chosen once, the jobs run with their
// messages and traffic on the console.
class ModemCommand : public Command {
public:
    using Command::Command;

    QList<QCommandLineOption> sharedOptions() const override;
    // Takes the options every modem command heeds, then checkArguments().
    std::optional<int> check(const QCommandLineParser &parser, const QStringList &arguments) final;

protected:
    virtual std::optional<int> checkArguments(const QCommandLineParser &parser, const QStringList &arguments) = 0;

    // For the commands that take CONNECTION FILE.xml: both taken, the
    // connection checked.
    std::optional<int> takeConnectionAndFile(const QStringList &arguments);
    QList<QPair<QString, QString>> connectionAndFileHelp(const QString &fileIs) const;
    // False (having said why) when the connection text is mistyped.
    bool connectionIsValid(const QString &text);

    // The form of the settings block for this run: the command line's, else
    // the file's, else the one with KeepCon.
    void chooseKeepCon(const SettingsValues *file);
    // Whether entry `index` is compared with the modem in this run.
    bool compared(int index) const;

    // The modem's settings, or nothing when the job failed (it said why).
    // Only the entries of `blocks` are read; the others stay empty.
    std::optional<DeviceSettings> readModem(const QString &connection,
                                            DeviceSettings::Blocks blocks = DeviceSettings::allBlocks());
    JobOutcome runJob(int job, JobRequest request);

    // The file's values; false (having said why) when it cannot be used.
    bool loadFile(const QString &fileName, SettingsValues *values);
    bool saveFile(const QString &fileName, const DeviceSettings &record, const QString &connection);
    // False (having said why) when a settings file cannot be written there.
    bool canSaveTo(const QString &fileName);
    static QString shownName(const QString &fileName);

    QString connection;   // of CONNECTION FILE.xml
    QString fileName;
    bool keepCon = true;

private:
    std::optional<bool> keepConChoice;   // from the command line
    bool traced = false;                 // --trace: the traffic on standard error
};

#endif // MODEMCOMMAND_H
