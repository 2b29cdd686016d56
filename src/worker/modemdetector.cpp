#include "modemdetector.h"

#include "connectiontext.h"
#include "devicesettings.h"
#include "networkaddress.h"
#include "seriallink.h"

#include <QCoreApplication>

#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

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

ModemDetector::Try ModemDetector::tryConnection(const QString &connection, QString *problem,
                                                const std::function<void()> &opened)
{
    SerialLink link(AnswerTimeout, AnswerTimeout, ByteGap);
    QString failure = link.configure(connection.toLatin1());
    if (failure.isEmpty() && link.open() < 0)
        failure = link.openFailure();
    if (!failure.isEmpty()) {
        if (problem)
            *problem = failure;
        return NotOpened;
    }
    if (opened)
        opened();
    const Framing::Request request = link.framing().readRegisters(0, 1);
    const QByteArray &frame = request.frame;
    const int length = link.exchange(frame.constData(), frame.size(), request.answerLength);
    // An exception answer is a modem too, one that knows no register 0.
    const AnswerCheck check = link.framing().check(frame.constData(), frame.size(), link.answer(), length);
    return check.outcome == AnswerCheck::Accepted || check.outcome == AnswerCheck::Exception ? Answered : Silent;
}

std::optional<QString> ModemDetector::searchPort(const QString &portName, const Report &report,
                                                 const StopRequested &stopRequested)
{
    // A server's serial side keeps its own rate: one try says it all.
    const bool server = NetworkAddress::isNetworkDevice(portName);
    const QList<int> rates = server ? QList<int>{0} : ratesInOrder();
    for (int rate : rates) {
        if (stopRequested())
            return std::nullopt;
        const QString connection = server ? ConnectionText::of(portName) : ConnectionText::of(portName, rate);
        QString problem;
        switch (tryConnection(connection, &problem, [&] {
            report(QCoreApplication::translate("ModemDetector", "Trying %1").arg(connection));
        })) {
        case NotOpened:
            report(QCoreApplication::translate("ModemDetector", "The Port %1 was not open. %2").arg(connection, problem));
            return std::nullopt;   // another rate opens it no better
        case Answered:
            return connection;
        case Silent:
            break;
        }
    }
    return std::nullopt;
}

ModemDetector::Outcome ModemDetector::detect(const QStringList &ports, const Report &report,
                                             const StopRequested &stopRequested)
{
    // Every port at once, each on a thread of its own: a machine with many
    // ports finds the modem as soon as one with only the modem's port. The
    // first port to answer settles it; the others stop at their next try.
    Outcome outcome;
    std::atomic<bool> found{false};
    std::mutex foundMutex;
    const auto search = [&](const QString &portName) {
        const std::optional<QString> connection =
            searchPort(portName, report, [&] { return found.load() || stopRequested(); });
        std::lock_guard<std::mutex> locker(foundMutex);
        if (connection && !outcome.connection) {
            outcome.connection = connection;
            found = true;
        }
    };
    // Qt's threads: a serial port needs one to watch its descriptor.
    std::vector<std::unique_ptr<QThread>> searches;
    for (int i = 1; i < ports.size(); ++i) {
        searches.emplace_back(QThread::create(search, ports.at(i)));
        searches.back()->start();
    }
    if (!ports.isEmpty())
        search(ports.constFirst());
    for (const auto &thread : searches)
        thread->wait();
    // Read under the searches' own lock: ThreadSanitizer does not see the
    // ordering that Qt's wait gives.
    std::lock_guard<std::mutex> locker(foundMutex);
    if (outcome.connection) {
        outcome.lastMessage = QCoreApplication::translate("ModemDetector", "The modem answers on %1").arg(*outcome.connection);
        return outcome;
    }
    if (stopRequested())
        return outcome;
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
