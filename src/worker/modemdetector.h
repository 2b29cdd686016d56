#ifndef MODEMDETECTOR_H
#define MODEMDETECTOR_H

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Finds the port and the rate a modem answers on: on each port in turn,
// every rate of the modem's table, its factory rate of 9600 first, with a
// read of register 0; a serial device server (tcp://HOST:PORT) with one
// read, since its serial side keeps its own rate. The first answer, an
// exception answer included, settles it. The window and the command-line tool both search this way.
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

    // Tries `ports` in their order; reports each try and each port that
    // does not open through `report`.
    static Outcome detect(const QStringList &ports, const Report &report, const StopRequested &stopRequested);
};

#endif // MODEMDETECTOR_H
