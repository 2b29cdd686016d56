// ports: the serial ports of this machine, one a line, with what is known
// of each after a tab.

#include "command.h"
#include "console.h"
#include "serialports.h"

namespace {

class PortsCommand : public Command {
public:
    using Command::Command;

    QString synopsis() const override { return {}; }
    QStringList summary() const override { return {QStringLiteral("list the serial ports of this machine")}; }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("List the serial ports"),
                 QStringLiteral("ports")}};
    }

    std::optional<int> check(const QCommandLineParser &, const QStringList &arguments) override
    {
        if (!arguments.isEmpty())
            return usageError(QStringLiteral("%1 takes no arguments").arg(name()));
        return std::nullopt;
    }

    int execute() override
    {
        const QList<SerialPorts::Port> available = SerialPorts::available();
        for (const SerialPorts::Port &port : available) {
            QStringList about;
            for (const QString &fact : {port.description, port.manufacturer, port.identity}) {
                if (!fact.isEmpty())
                    about << fact;
            }
            console.print(about.isEmpty() ? port.name
                                          : QStringLiteral("%1\t%2").arg(port.name, about.join(QStringLiteral(", "))));
        }
        if (available.isEmpty())
            console.inform(QStringLiteral("No serial ports found"));
        return Success;
    }
};

} // namespace

std::unique_ptr<Command> makePortsCommand(const QString &name, Console &console)
{
    return std::make_unique<PortsCommand>(name, console);
}
