// detect [PORT...]: the connection on which the modem answers, found by
// trying the ports at every rate the modem has, and a server in each framing.

#include "connectiontext.h"
#include "console.h"
#include "modemcommand.h"
#include "modemjob.h"
#include "programoptions.h"
#include "serialports.h"

namespace {

class DetectCommand : public ModemCommand {
public:
    using ModemCommand::ModemCommand;

    QString synopsis() const override { return QStringLiteral("[PORT...]"); }
    QStringList summary() const override
    {
        return {QStringLiteral("find the port and baud rate the modem answers on (all ports by default);"),
                QStringLiteral("a PORT may be a connection text, or a server, HOST:PORT, tried in each framing")};
    }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Find the modem on any serial port"),
                 QStringLiteral("detect")},
                {QStringLiteral("Find the framing a serial device server speaks"),
                 QStringLiteral("detect 192.168.1.50:4001")}};
    }
    // The rate is what it finds: the form of the settings block is no matter.
    QList<QCommandLineOption> sharedOptions() const override
    {
        return {ProgramOptions::quiet(), ProgramOptions::trace()};
    }
    QList<QPair<QString, QString>> arguments() const override
    {
        return {{QStringLiteral("PORT"),
                 QStringLiteral("A port's name, a connection text, or a server: HOST:PORT is tried as RTU over TCP, "
                                "Modbus TCP, RFC 2217 at each rate and RTU over UDP; SCHEME://HOST:PORT in its own "
                                "framing first.")}};
    }

    std::optional<int> checkArguments(const QCommandLineParser &, const QStringList &arguments) override
    {
        portNames = arguments;
        return std::nullopt;
    }

    int execute() override
    {
        JobRequest request;
        // A connection text, as the simulated modem prints it, names its port
        // by its dev part.
        for (const QString &name : qAsConst(portNames))
            request.detectPorts << (name.contains(QLatin1Char('=')) ? ConnectionText::part(name, QStringLiteral("dev")) : name);
        if (portNames.isEmpty())
            request.detectPorts = SerialPorts::availableNames();
        const JobOutcome outcome = runJob(ModemJob::JobDetect, request);
        if (!outcome.succeeded)
            return DeviceFailed;
        console.print(outcome.detectedConnection.value_or(QString()));
        return Success;
    }

private:
    QStringList portNames;
};

} // namespace

std::unique_ptr<Command> makeDetectCommand(const QString &name, Console &console)
{
    return std::make_unique<DetectCommand>(name, console);
}
