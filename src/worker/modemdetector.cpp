#include "modemdetector.h"

#include "devicesettings.h"
#include "modbusframe.h"
#include "networkaddress.h"
#include "seriallink.h"

#include <QCoreApplication>

namespace {

// A modem answers a one-register read at once; a port without one is left
// after this much silence, so that trying all rates of a port takes seconds.
constexpr int AnswerTimeout = 300;   // ms
constexpr int ByteGap = 100;         // ms
constexpr int FactoryRate = 9600;

} // namespace

QList<int> ModemDetector::ratesInOrder()
{
    QList<int> rates = DeviceSettings::baudRates();
    rates.removeAll(FactoryRate);
    rates.prepend(FactoryRate);
    return rates;
}

ModemDetector::Outcome ModemDetector::detect(const QStringList &ports, const Report &report,
                                             const StopRequested &stopRequested)
{
    Outcome outcome;
    const QByteArray request = readRequest(0, 1);
    const int answerLength = Modbus::readAnswerLength(1);
    for (const QString &portName : ports) {
        // A server's serial side keeps its own rate: one try says it all.
        const bool server = NetworkAddress::isNetworkDevice(portName);
        const QList<int> rates = server ? QList<int>{0} : ratesInOrder();
        for (int rate : rates) {
            if (stopRequested())
                return outcome;
            const QString connection = server ? QStringLiteral("dev=%1").arg(portName)
                                              : QStringLiteral("dev=%1;baud=%2").arg(portName).arg(rate);
            SerialLink link(AnswerTimeout, AnswerTimeout, ByteGap);
            const QString problem = link.configure(connection.toLatin1());
            if (!problem.isEmpty() || link.open() < 0) {
                report(QCoreApplication::translate("ModemDetector", "The Port %1 was not open. %2")
                           .arg(connection, problem.isEmpty() ? link.openFailure() : problem));
                break;   // another rate opens it no better
            }
            report(QCoreApplication::translate("ModemDetector", "Trying %1").arg(connection));
            const int length = link.exchange(request.constData(), request.size(), answerLength);
            // An exception answer is a modem too, one that knows no register 0.
            if (answerPassesCrc(link.answer(), length)
                && checkAnswer(request.constData(), request.size(), link.answer(), length).outcome
                    != AnswerCheck::Mismatch) {
                outcome.connection = connection;
                outcome.lastMessage = QCoreApplication::translate("ModemDetector", "The modem answers on %1")
                                          .arg(connection);
                return outcome;
            }
        }
    }
    if (ports.isEmpty())
        outcome.lastMessage =
            QCoreApplication::translate("ModemDetector", "No modem answered: this machine has no serial ports");
    else if (ports.size() == 1 && NetworkAddress::isNetworkDevice(ports.constFirst()))
        outcome.lastMessage = QCoreApplication::translate("ModemDetector",
                "No modem answered behind %1: check the server's serial side (its baud rate and the line to the "
                "modem)").arg(ports.constFirst());
    else
        outcome.lastMessage = QCoreApplication::translate("ModemDetector", "No modem answered on %1")
                                  .arg(ports.join(QLatin1String(", ")));
    return outcome;
}
