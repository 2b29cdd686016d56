// diff CONNECTION FILE.xml: the settings in which the modem and a settings
// file differ. Its exit status is diff(1)'s: 0 nothing differs, 1 something
// does, 2 trouble.

#include "console.h"
#include "modemcommand.h"
#include "settingsfile.h"
#include "settingsvalues.h"

namespace {

class DiffCommand : public ModemCommand {
public:
    using ModemCommand::ModemCommand;

    QString synopsis() const override { return QStringLiteral("CONNECTION FILE.xml"); }
    QStringList summary() const override
    {
        return {QStringLiteral("list the settings that differ: \"key: modem value -> file value\";"),
                QStringLiteral("the settings the file lacks are named on standard error")};
    }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Compare the modem with a settings file"),
                 QStringLiteral("diff \"dev=/dev/ttyUSB0;baud=9600\" modem.xml")}};
    }
    QList<QPair<QString, QString>> arguments() const override
    {
        return connectionAndFileHelp(QStringLiteral("The settings file to compare; \"-\": standard input."));
    }

    std::optional<int> checkArguments(const QCommandLineParser &, const QStringList &arguments) override
    {
        return takeConnectionAndFile(arguments);
    }

    int execute() override;
};

int DiffCommand::execute()
{
    SettingsValues file;
    if (!loadFile(fileName, &file))
        return BadInput;
    chooseKeepCon(&file);
    // What write would refuse is no difference to show but trouble.
    if (const QList<SettingProblem> problems = file.problems(); !problems.isEmpty()) {
        for (const SettingProblem &problem : problems)
            console.say(problem.message());
        return BadInput;
    }
    const std::optional<DeviceSettings> held = readModem(connection);
    if (!held)
        return BadInput;
    const QStringList missing = file.missingKeys();
    if (!missing.isEmpty())
        console.inform(QStringLiteral("%1 lacks %2 of the modem's %3 settings, which were not compared: %4")
                           .arg(shownName(fileName))
                           .arg(missing.size())
                           .arg(DeviceSettings::Count)
                           .arg(missing.join(QStringLiteral(", "))));
    // The registers the modem answered with against those a write of the
    // file would send: "007" and "7" are no difference, a text in other
    // bytes is one.
    int differences = 0;
    for (const QString &key : settingsFileKeys()) {
        const int index = DeviceSettings::indexOfKey(key);
        if (index < 0 || !file.present[size_t(index)] || !compared(index))
            continue;
        const QByteArray wanted = file.settings.fieldImage(index);
        if (held->fieldImage(index) == wanted)
            continue;
        const QStringList shown =
            shownDifference(held->value(index), held->fieldImage(index), file.settings.value(index), wanted);
        console.print(QStringLiteral("%1: %2 -> %3").arg(key, shown.at(0), shown.at(1)));
        ++differences;
    }
    return differences == 0 ? Success : DeviceFailed;
}

} // namespace

std::unique_ptr<Command> makeDiffCommand(const QString &name, Console &console)
{
    return std::make_unique<DiffCommand>(name, console);
}
