#ifndef WORKERTESTSUPPORT_H
#define WORKERTESTSUPPORT_H

#include "devicesettings.h"
#include "modbusframe.h"
#include "mythread.h"
#include "simulatedmodem.h"

#include <QCoreApplication>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

// QSignalSpy appends on the emitting thread, which would race with the test
// thread reading it. The relay lives on the test thread and re-emits the
// worker's messages queued, as the window receives them.
class ResponseRelay : public QObject {
    Q_OBJECT
signals:
    void response(QString s);
};

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace WorkerTest {

// Link time-outs that keep a normal job well under a second on a pty.
constexpr int QuickAnswerTimeout = 2000;
constexpr int QuickByteGap = 200;
constexpr int JobLimit = 30000;   // ms; generous, only a hung job reaches it

inline const int EntryFirstRegister[DeviceSettings::EntryBlockCount] = {0x100, 0x140, 0x180, 0x1C0};

// A record whose every entry differs from the others and survives the trip
// through the device blocks unchanged.
inline DeviceSettings handMadeRecord()
{
    const char *texts[DeviceSettings::Count] = {
        "internet.gprs.example", "gprsuser", "p\xC3\xA4sswort", "+79001234567", "+79009876543",
        "+79005550101", "10.20.30.40", "8.8.8.8", "192.168.1.254", "247",
        "19200,8,1,N,0,0", "9600,8,1,N,0,0", "300", "1200", "3600",
        "86", "65535", "50", "20", "1024",
        "3", "7", "2",
        "+70000000001", "+70000000002", "+70000000003", "+70000000004",
        "192.168.0.1", "10.0.0.2", "172.16.5.3", "1.2.3.4",
        "502", "8080", "0", "65535"};
    DeviceSettings record;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        record.setValue(i, QString::fromUtf8(texts[i]));
    return record;
}

// Stands for what the worker held before a job; shares no value with the
// hand-made record.
inline DeviceSettings staleRecord()
{
    DeviceSettings record;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        record.setValue(i, QStringLiteral("stale %1").arg(i));
    return record;
}

inline QVector<quint16> registersOf(const QByteArray &hostOrderBlock)
{
    QVector<quint16> registers;
    for (int i = 0; i + 1 < hostOrderBlock.size(); i += 2)
        registers.append(quint16(quint8(hostOrderBlock[i]) | quint8(hostOrderBlock[i + 1]) << 8));
    return registers;
}

// Puts the record into the modem, KeepCon included.
inline void loadModem(SimulatedModem &modem, const DeviceSettings &record)
{
    modem.setRegisters(0, registersOf(record.encodeSettingsBlock(true)));
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
        modem.setRegisters(EntryFirstRegister[k], registersOf(record.encodeEntryBlock(k)));
}

inline void fillModem(SimulatedModem &modem, quint16 pattern)
{
    modem.setRegisters(0, QVector<quint16>(71, pattern));
    for (int first : EntryFirstRegister)
        modem.setRegisters(first, QVector<quint16>(13, pattern));
}

// What a whole Read says after "Start process whith ...".
inline QStringList readMessages(const QString &settingsMessage = QStringLiteral("Recieved 145 bytes"))
{
    return {settingsMessage, "Recieved 0[31] bytes", "Recieved 1[31] bytes", "Recieved 2[31] bytes",
            "Recieved 3[31] bytes", "It is Readed 31"};
}

inline const QStringList writeMessages{"Recieved 20%", "Recieved 40%", "Recieved 60%", "Recieved 80%",
                                       "Recieved 100%", "It is Ready 100%"};

// The five requests of a Read, as they go on the wire.
inline QList<QByteArray> readRequests(bool withKeepCon)
{
    return {QByteArray::fromHex(withKeepCon ? "4003000000470AE9" : "400300000046CB29"),
            QByteArray::fromHex("40030100000D8AE2"), QByteArray::fromHex("40030140000D8B36"),
            QByteArray::fromHex("40030180000D8B0A"), QByteArray::fromHex("400301C0000D8ADE")};
}

// The five requests of a Write of `record`.
inline QList<QByteArray> writeRequests(const DeviceSettings &record, bool withKeepCon)
{
    QList<QByteArray> frames{writeRequest(0, record.encodeSettingsBlock(withKeepCon))};
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
        frames.append(writeRequest(quint16(EntryFirstRegister[k]), record.encodeEntryBlock(k)));
    return frames;
}

// Owns the modem and the worker in the order that lets the worker finish
// (and close the port) before the modem goes away.
struct Bench {
    explicit Bench(const SimulatedModemOptions &options = {})
        : modem(options)
    {
        QObject::connect(&worker, &MyThread::response, &relay, &ResponseRelay::response, Qt::QueuedConnection);
        worker.setLinkTimeouts(QuickAnswerTimeout, QuickAnswerTimeout, QuickByteGap);
    }

    QString startMessage() const { return QStringLiteral("Start process whith ") + modem.connectionText(); }

    QStringList messages() const
    {
        QStringList texts;
        for (const QList<QVariant> &arguments : spy)
            texts.append(arguments.at(0).toString());
        return texts;
    }

    // True once the job's thread run is over and all its messages are in.
    bool waitForJobEnd()
    {
        const bool ended = QTest::qWaitFor([this] { return worker.isFinished(); }, JobLimit);
        QCoreApplication::sendPostedEvents();
        return ended;
    }

    JobRequest request(int keepConEnabled = 0) const
    {
        JobRequest request;
        request.portConfig = modem.connectionText();
        request.keepConEnabled = keepConEnabled;
        return request;
    }

    SimulatedModem modem;
    MyThread worker;
    ResponseRelay relay;
    QSignalSpy spy{&relay, &ResponseRelay::response};
};

} // namespace WorkerTest

#endif // WORKERTESTSUPPORT_H
