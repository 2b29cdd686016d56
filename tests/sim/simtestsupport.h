#ifndef SIMTESTSUPPORT_H
#define SIMTESTSUPPORT_H

// What the simulator's tests share: hand-written byte images, fault sets
// for table rows, and a client's side of the line.

#include "simulatedmodemoptions.h"

#include <QElapsedTimer>
#include <QSerialPort>

// Generous: these limits only matter when something is broken.
constexpr int ArrivalLimitMs = 10000;

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// One fault on top of `options`: with(&SimulatedModemOptions::silent, true).
template <typename T, typename V>
SimulatedModemOptions with(T SimulatedModemOptions::*field, V value, SimulatedModemOptions options = {})
{
    options.*field = static_cast<T>(value);
    return options;
}

inline bool openClient(QSerialPort &port, const QString &name, qint32 baudRate = 9600)
{
    port.setPortName(name);
    return port.open(QIODevice::ReadWrite) && port.setBaudRate(baudRate) && port.setDataBits(QSerialPort::Data8)
        && port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop)
        && port.setFlowControl(QSerialPort::NoFlowControl);
}

// Whatever has arrived once at least `length` bytes are there (more if more
// came in the same read), or what came before the limit.
inline QByteArray readAtLeast(QSerialPort &port, int length)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray received = port.readAll();
    while (received.size() < length && timer.elapsed() < ArrivalLimitMs) {
        port.waitForReadyRead(100);
        received += port.readAll();
    }
    return received;
}

inline void send(QSerialPort &port, const QByteArray &bytes)
{
    port.write(bytes);
    port.waitForBytesWritten(ArrivalLimitMs);
}

inline QByteArray exchange(QSerialPort &port, const QByteArray &request, int answerLength)
{
    send(port, request);
    return readAtLeast(port, answerLength);
}

#endif // SIMTESTSUPPORT_H
