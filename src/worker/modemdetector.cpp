#include "modemdetector.h"

#include "connectiontext.h"
#include "devicesettings.h"
#include "doorrecognition.h"
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

ModemDetector::Attempt ModemDetector::attempt(const QString &connection, const std::function<void()> &opened)
{
    Attempt attempt;
    SerialLink link(AnswerTimeout, AnswerTimeout, ByteGap);
    attempt.problem = link.configure(connection.toLatin1());
    if (attempt.problem.isEmpty() && link.open() < 0)
        attempt.problem = link.openFailure();
    if (!attempt.problem.isEmpty())
        return attempt;
    if (opened)
        opened();
    const Framing::Request request = link.framing().readRegisters(0, 1);
    const QByteArray &frame = request.frame;
    const int length = link.exchange(frame.constData(), frame.size(), request.answerLength);
    // An exception answer is a modem too, one that knows no register 0.
    const AnswerCheck check = link.framing().check(frame.constData(), frame.size(), link.answer(), length);
    const bool answered = check.outcome == AnswerCheck::Accepted || check.outcome == AnswerCheck::Exception;
    attempt.result = answered ? Answered : Silent;
    attempt.heard = link.droppedBytes();
    if (!answered)
        attempt.heard += QByteArray(link.answer(), length);
    attempt.closed = link.portLost();
    return attempt;
}

ModemDetector::Try ModemDetector::tryConnection(const QString &connection, QString *problem,
                                                const std::function<void()> &opened)
{
    const Attempt tried = attempt(connection, opened);
    if (problem)
        *problem = tried.problem;
    return tried.result;
}

std::optional<QString> ModemDetector::searchPort(const QString &portName, const Report &report,
                                                 const StopRequested &stopRequested)
{
    if (NetworkAddress::namesServer(portName))
        return searchServer(portName, report, stopRequested);
    for (int rate : ratesInOrder()) {
        if (stopRequested())
            return std::nullopt;
        const QString connection = ConnectionText::of(portName, rate);
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

// A server's own serial side keeps its rate, so one try a framing says it
// all but for RFC 2217, whose rate this side sets. A server that takes no
// TCP connection is left to UDP.
std::optional<QString> ModemDetector::searchServer(const QString &given, const Report &report,
                                                   const StopRequested &stopRequested)
{
    QString problem;
    const bool named = NetworkAddress::isNetworkDevice(given);
    const std::optional<NetworkAddress> address =
        named ? NetworkAddress::parse(given, &problem) : NetworkAddress::parseBare(given);
    if (!address) {
        report(QCoreApplication::translate("ModemDetector", "The Port %1 was not open. %2").arg(given, problem));
        return std::nullopt;
    }
    NetworkAddress server = *address;
    QList<Door> left{Door::RtuOverTcp, Door::ModbusTcp, Door::Rfc2217, Door::RtuOverUdp};
    if (named) {
        left.removeAll(server.door);
        left.prepend(server.door);
    }
    bool takesTcp = true;
    while (!left.isEmpty()) {
        server.door = left.takeFirst();
        if (server.door != Door::RtuOverUdp && !takesTcp)
            continue;
        const QList<int> rates = server.door == Door::Rfc2217 ? ratesInOrder() : QList<int>{0};
        for (int rate : rates) {
            if (stopRequested())
                return std::nullopt;
            const QString connection =
                rate > 0 ? ConnectionText::of(server.device(), rate) : ConnectionText::ofServer(server);
            const Attempt tried = attempt(connection, [&] {
                report(QCoreApplication::translate("ModemDetector", "Trying %1").arg(connection));
            });
            // A telnet server's options come before the answer it passes
            // on: it answers, but its framing doubles 0xFF in both ways.
            const std::optional<Door> speaking = doorSpeaking(tried.heard);
            const bool otherFraming = speaking && !sameFraming(*speaking, server.door);
            if (tried.result == Answered && !otherFraming)
                return connection;
            if (tried.result == NotOpened) {
                report(QCoreApplication::translate("ModemDetector", "The Port %1 was not open. %2")
                           .arg(connection, tried.problem));
                // RFC 2217's own refusal comes over a connection that was taken.
                if (server.door == Door::RtuOverTcp || server.door == Door::ModbusTcp)
                    takesTcp = false;
                break;   // another rate opens it no better
            }
            if (otherFraming) {
                report(QCoreApplication::translate("ModemDetector", "%1: the server speaks %2")
                           .arg(connection, doorName(*speaking)));
                // Heard there, tried next.
                if (left.removeAll(*speaking) > 0)
                    left.prepend(*speaking);
                break;
            }
            report(tried.closed ? QCoreApplication::translate("ModemDetector", "%1: the server closed the connection")
                                      .arg(connection)
                                : QCoreApplication::translate("ModemDetector", "%1: no answer").arg(connection));
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
    else if (ports.size() == 1 && NetworkAddress::namesServer(ports.constFirst()))
        outcome.lastMessage = QCoreApplication::translate("ModemDetector",
                "No modem answered behind %1: check the server's serial side (its baud rate and the line to the "
                "modem)").arg(ports.constFirst());
    else
        outcome.lastMessage = QCoreApplication::translate("ModemDetector", "No modem answered on %1")
                                  .arg(ports.join(QLatin1String(", ")));
    return outcome;
}
