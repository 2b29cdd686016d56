// read CONNECTION FILE.xml: what the modem holds, as a settings file.

#include "console.h"
#include "modemcommand.h"

namespace {

class ReadCommand : public ModemCommand {
public:
    using ModemCommand::ModemCommand;

    QString synopsis() const override { return QStringLiteral("CONNECTION FILE.xml"); }
    QStringList summary() const override
    {
        return {QStringLiteral("save the modem's settings as a settings file (\"-\": standard output)")};
    }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Save the settings of the modem on the first USB serial adapter"),
                 QStringLiteral("read \"dev=/dev/ttyUSB0;baud=9600\" modem.xml")},
                {QStringLiteral("Show those of the modem on COM3"),
                 QStringLiteral("read \"dev=COM3;baud=9600\" -")}};
    }
    QList<QPair<QString, QString>> arguments() const override
    {
        return connectionAndFileHelp(QStringLiteral("The settings file to save; \"-\": standard output."));
    }

    std::optional<int> checkArguments(const QCommandLineParser &, const QStringList &arguments) override
    {
        return takeConnectionAndFile(arguments);
    }

    int execute() override
    {
        // Known before the modem is read: a folder that is not there, a file
        // that may not be written.
        if (!canSaveTo(fileName))
            return BadInput;
        chooseKeepCon(nullptr);
        const std::optional<DeviceSettings> held = readModem(connection);
        if (!held)
            return DeviceFailed;
        return saveFile(fileName, *held, connection) ? Success : BadInput;
    }
};

} // namespace

std::unique_ptr<Command> makeReadCommand(const QString &name, Console &console)
{
    return std::make_unique<ReadCommand>(name, console);
}
