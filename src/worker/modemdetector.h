#ifndef MODEMDETECTOR_H
#define MODEMDETECTOR_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Finds the port and the rate a modem answers on: on every port at once,
// every rate of the modem's table, its factory rate of 9600 first, with a
// read of register 0. A server (SCHEME://HOST:PORT, or a plain HOST:PORT)
// is tried in each framing in turn, the one named first: RTU over TCP,
// Modbus TCP, RFC 2217 at each rate, RTU over UDP; what a try hears in
// another framing sends the search there next. The first answer, an
// exception answer included, settles it. The window and the command-line
// tool both search this way.
class ModemDetector {
public:
    using Report = std::function<void(const QString &)>;
    using StopRequested = std::function<bool()>;

    struct Outcome {
        std::optional<QString> connection;   // "dev=PORT;baud=RATE" (or "dev=tcp://HOST:PORT") of the modem found
        QString lastMessage;                 // empty when asked to stop
    };

    // The rates in the order they are tried.
    static QList<int> ratesInOrder();

    // Searches `ports`, each on a thread of its own; reports each try and
    // each port that does not open through `report`, which may therefore be
    // called from several threads at once.
    static Outcome detect(const QStringList &ports, const Report &report, const StopRequested &stopRequested);

    // One try: whether a modem answers on `connection` ("dev=...;baud=...").
    enum Try { NotOpened, Answered, Silent };
    struct Attempt {
        Try result = NotOpened;
        QString problem;      // why the port did not open
        QByteArray heard;     // what came that was no answer, and what waited before the request
        bool closed = false;  // the port or the server's connection went away
    };
    static Attempt attempt(const QString &connection, const std::function<void()> &opened = {});
    // `opened` is called once the port is open, before the request goes out.
    static Try tryConnection(const QString &connection, QString *problem = nullptr,
                             const std::function<void()> &opened = {});
    // Every rate on one port, in order; the connection of the first answer.
    static std::optional<QString> searchPort(const QString &portName, const Report &report,
                                             const StopRequested &stopRequested);

private:
    static std::optional<QString> searchServer(const QString &given, const Report &report,
                                               const StopRequested &stopRequested);
};

#endif // MODEMDETECTOR_H
