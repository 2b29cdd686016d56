#ifndef GOLDEN_H
#define GOLDEN_H

// The one sample every area's tests start from: a modem holding all 35
// settings (texts beyond ASCII, a text of exactly its field's width, every
// serial field set, addresses, ×10 time-outs), the five register blocks it
// keeps them in, written out byte for byte, and the settings file that
// stores them.

#include "devicesettings.h"
#include "modbusframe.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QTemporaryFile>
#include <QVector>

#include <cstdio>
#include <unistd.h>

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A frame with its check sum appended, as the sender would send it.
inline QByteArray withCrc(QByteArray frame)
{
    frame.append(2, '\0');
    appendCrc16(frame.data(), frame.size());
    return frame;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A settings file as it stands on disk once saved, in text mode: on Windows
// every line break is CR LF.
inline QByteArray onDisk(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// What `job` writes to standard output. Nothing is flushed before it comes
// back, so a trace left in a buffer would be missing.
template <typename Job>
QByteArray stdoutOf(Job job)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "<no capture>";
    std::fflush(stdout);
    const int console = ::dup(STDOUT_FILENO);
    ::dup2(capture.handle(), STDOUT_FILENO);
    job();
    ::dup2(console, STDOUT_FILENO);
    ::close(console);
    capture.seek(0);
    return capture.readAll();
}

namespace Golden {

inline DeviceSettings record()
{
    static const char *const values[DeviceSettings::Count] = {
        "internet.beeline.ru", "beeline&co", "пароль", "+79161234567", "+79037011111", "+79169876543",
        "10.20.30.40", "195.34.32.116", "8.8.4.4", "17", "115200,7,2,E,1,1", "57600,6,1,O,0,1",
        "3000", "5000", "3600", "7200", "600", "150", "20", "1024", "3", "260", "1",
        "+79160000001", "+79160000002", "Дежурный", "+7916123456789012345",
        "192.168.1.10", "10.0.0.2", "172.16.0.3", "212.45.7.254", "502", "8080", "4001", "65535"};
    DeviceSettings settings;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        settings.setValue(i, QString::fromUtf8(values[i]));
    return settings;
}

// The settings block in host order (the 140-byte form is its first 140 bytes).
inline const QByteArray settingsBlock = QByteArray::fromHex(
    /*   0 own_Ph      */ "2B 37 39 31 36 31 32 33 34 35 36 37 00 00"
    /*  14 sc_Ph       */ "2B 37 39 30 33 37 30 31 31 31 31 31 00 00"
    /*  28 sms_Ph      */ "2B 37 39 31 36 39 38 37 36 35 34 33 00 00"
    /*  42 apnServer   */ "69 6E 74 65 72 6E 65 74 2E 62 65 65 6C 69 6E 65 2E 72 75 00 00 00 00 00 00 00 00 00 00 00 00 00"
    /*  74 apnLogin    */ "62 65 65 6C 69 6E 65 26 63 6F 00 00 00 00"
    /*  88 apnPassword */ "D0 BF D0 B0 D1 80 D0 BE D0 BB D1 8C 00 00"
    /* 102 IP, DNS1, DNS2 */ "0A 14 1E 28  C3 22 20 74  08 08 04 04"
    /* 114 MbsAdr 17   */ "11 00"
    /* 116 RxSetting 57600,6,1,O,0,1 = 0x1319   */ "19 13"
    /* 118 TxSetting 115200,7,2,E,1,1 = 0x1AAB  */ "AB 1A"
    /* 120 ToutWaitNext 3000/10, ToutWaitAnsw 5000/10 */ "2C 01  F4 01"
    /* 124 RestartTimeSrv 3600, RestartTimeMdm 7200, DisconnectTime 600 */ "10 0E  20 1C  58 02"
    /* 130 ToutWaitNextPacket 150/10, ToutBetwenBytes 20/10 */ "0F 00  02 00"
    /* 134 MaxNumBytes 1024, TryNum 3, AnswersNum 260 */ "00 04  03 00  04 01"
    /* 140 KeepCon 1   */ "01 00");

// Entry block k: phone number (20 bytes), mirror server, mirror port.
inline const QByteArray entryBlocks[DeviceSettings::EntryBlockCount] = {
    QByteArray::fromHex("2B 37 39 31 36 30 30 30 30 30 30 31 00 00 00 00 00 00 00 00  C0 A8 01 0A  F6 01"),
    QByteArray::fromHex("2B 37 39 31 36 30 30 30 30 30 30 32 00 00 00 00 00 00 00 00  0A 00 00 02  90 1F"),
    QByteArray::fromHex("D0 94 D0 B5 D0 B6 D1 83 D1 80 D0 BD D1 8B D0 B9 00 00 00 00  AC 10 00 03  A1 0F"),
    // Exactly 20 bytes of phone number: no NUL.
    QByteArray::fromHex("2B 37 39 31 36 31 32 33 34 35 36 37 38 39 30 31 32 33 34 35  D4 2D 07 FE  FF FF"),
};

inline const int entryFirstRegister[DeviceSettings::EntryBlockCount] = {0x100, 0x140, 0x180, 0x1C0};

inline const QByteArray file =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<conf>\n"
    "    <prm>\n"
    "        <ComPort name=\"dev=/dev/ttyUSB0;baud=9600\"/>\n"
    "        <apnServer name=\"internet.beeline.ru\"/>\n"
    "        <apnLogin name=\"beeline&amp;co\"/>\n"
    "        <apnPassword name=\"пароль\"/>\n"
    "        <TxSetting name=\"115200,7,2,E,1,1\"/>\n"
    "        <RxSetting name=\"57600,6,1,O,0,1\"/>\n"
    "        <ToutWaitAnsw name=\"5000\"/>\n"
    "        <ToutWaitNextPacket name=\"150\"/>\n"
    "        <ToutBetwenBytes name=\"20\"/>\n"
    "        <TryNum name=\"3\"/>\n"
    "        <MirrServ1 name=\"192.168.1.10\"/>\n"
    "        <MirrServ2 name=\"10.0.0.2\"/>\n"
    "        <MirrServ3 name=\"172.16.0.3\"/>\n"
    "        <MirrServ4 name=\"212.45.7.254\"/>\n"
    "        <MirrPort1 name=\"502\"/>\n"
    "        <MirrPort2 name=\"8080\"/>\n"
    "        <MirrPort3 name=\"4001\"/>\n"
    "        <MirrPort4 name=\"65535\"/>\n"
    "        <PhNum1 name=\"+79160000001\"/>\n"
    "        <PhNum2 name=\"+79160000002\"/>\n"
    "        <PhNum3 name=\"Дежурный\"/>\n"
    "        <PhNum4 name=\"+7916123456789012345\"/>\n"
    "        <KeepCon name=\"1\"/>\n"
    "        <EnableKeepCon name=\"0\"/>\n"
    "        <own_Ph name=\"+79161234567\"/>\n"
    "        <sc_Ph name=\"+79037011111\"/>\n"
    "        <sms_Ph name=\"+79169876543\"/>\n"
    "        <IP name=\"10.20.30.40\"/>\n"
    "        <DNS1 name=\"195.34.32.116\"/>\n"
    "        <DNS2 name=\"8.8.4.4\"/>\n"
    "        <MbsAdr name=\"17\"/>\n"
    "        <RestartTimeSrv name=\"3600\"/>\n"
    "        <RestartTimeMdm name=\"7200\"/>\n"
    "        <DisconnectTime name=\"600\"/>\n"
    "        <ToutWaitNext name=\"3000\"/>\n"
    "        <MaxNumBytes name=\"1024\"/>\n"
    "        <AnswersNum name=\"260\"/>\n"
    "    </prm>\n"
    "</conf>\n";

// The file with some values replaced: {{"ComPort", "dev=..."}, ...}.
inline QByteArray fileWith(const QList<QPair<QByteArray, QByteArray>> &changes)
{
    QByteArray text = file;
    for (const auto &change : changes) {
        const int value = text.indexOf("<" + change.first + " name=\"") + change.first.size() + 8;
        text.replace(value, text.indexOf('"', value) - value, change.second);
    }
    return text;
}

// Register j of a host-order block is the little-endian word at bytes 2j, 2j+1.
inline QVector<quint16> registersOf(const QByteArray &block)
{
    QVector<quint16> registers;
    for (int i = 0; i + 1 < block.size(); i += 2)
        registers.append(quint16(quint8(block[i]) | quint8(block[i + 1]) << 8));
    return registers;
}

// Puts the sample into a simulated modem's registers, KeepCon included.
template <typename Modem>
void loadInto(Modem &modem)
{
    modem.setRegisters(0, registersOf(settingsBlock));
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
        modem.setRegisters(entryFirstRegister[k], registersOf(entryBlocks[k]));
}

// The block as it travels on the wire: every register high byte first.
inline QByteArray wireOf(const QByteArray &block)
{
    QByteArray wire;
    for (int i = 0; i + 1 < block.size(); i += 2)
        wire.append(block[i + 1]).append(block[i]);
    return wire;
}

} // namespace Golden

#endif // GOLDEN_H
