#ifndef SIMULATEDMODEM_H
#define SIMULATEDMODEM_H

#include "modbusslave.h"
#include "networkaddress.h"
#include "servedline.h"
#include "simulatedmodemoptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A GPRS modem on a serial line: the Modbus slave at 0x40 behind the master
// side of a pseudo-terminal (or behind a given tty), served on its own
// thread, and when asked also behind servers on the network: a serial
// device server's TCP port, a Modbus TCP gateway, a data unit's UDP port.
// Clients open portName() like any serial port, or connect to serverPort().
// Everything public but start() and stop() (which belong to the owner) is
// thread-safe.
class SimulatedModem {
public:
    // Called on the modem's thread after registers [first, first + count)
    // were written, before the answer goes out.
    using WriteObserver = std::function<void(int first, int count)>;
    // Called on the modem's thread for every frame, with the answer about to
    // go out (empty when the modem stays silent).
    using ExchangeObserver = std::function<void(const QByteArray &request, const QByteArray &answer)>;

    explicit SimulatedModem(const SimulatedModemOptions &options = {});
    ~SimulatedModem();
    SimulatedModem(const SimulatedModem &) = delete;
    SimulatedModem &operator=(const SimulatedModem &) = delete;

    // Opens the line and starts serving; false (with errorString()) when the
    // pseudo-terminal or the port cannot be set up, or when already started.
    bool start();
    void stop();
    bool isRunning() const;
    QString errorString() const;

    QString portName() const;                    // e.g. "/dev/pts/5"
    QString connectionText() const;              // "dev=/dev/pts/5;baud=9600"
    // The port the server of `door` listens on; -1 without.
    int serverPort(Door door) const;
    int tcpPort() const { return serverPort(Door::RtuOverTcp); }
    // "dev=tcp://127.0.0.1:5020" for the server of `door`; empty without.
    QString networkConnectionText(Door door = Door::RtuOverTcp) const;

    quint16 reg(int index) const;
    void setReg(int index, quint16 value);
    QVector<quint16> registers(int first, int count) const;
    void setRegisters(int first, const QVector<quint16> &values);

    // How many answers have gone out whole; a copy sent later counts once more.
    int answersSent() const { return m_answersSent.load(); }
    // Every frame the modem delimited on the line, good or bad, in order.
    QList<QByteArray> receivedFrames() const;
    void clearReceivedFrames();

    SimulatedModemOptions options() const;
    void setOptions(const SimulatedModemOptions &options);
    void setWriteObserver(WriteObserver observer);
    void setExchangeObserver(ExchangeObserver observer);

private:
    using Clock = std::chrono::steady_clock;

    bool openLine();
    bool listen();
    void serve();
    bool receive(ServedLine &line);
    void takeFrames(ServedLine &line);
    void handleFrame(ServedLine &line, const QByteArray &frame, Clock::time_point firstByteAt);
    void sendAnswer(ServedLine &line, const QByteArray &answer, const SimulatedModemOptions &options,
                    Clock::time_point earliestStart);
    void hangUp(ServedLine &line);
    int rateOf(const ServedLine &line) const;
    std::chrono::nanoseconds characterTime(const ServedLine &line) const;
    std::chrono::milliseconds frameGap(const ServedLine &line) const;
    bool waitUntil(Clock::time_point deadline);
    void closeAll();

    mutable std::mutex m_mutex;                  // guards everything below up to m_thread
    ModbusSlave m_slave;
    QList<QByteArray> m_frames;
    WriteObserver m_writeObserver;
    ExchangeObserver m_exchangeObserver;
    QString m_portName;
    QString m_error;
    std::vector<std::pair<Door, int>> m_serverPorts;

    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<int> m_answersSent{0};
    std::unique_ptr<ServedLine> m_line;         // the pty or the given port; none on Windows
    std::vector<std::unique_ptr<ServedLine>> m_servers;   // when asked for
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
};

#endif // SIMULATEDMODEM_H
