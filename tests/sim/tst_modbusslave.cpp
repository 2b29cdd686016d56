// The slave's reply logic, frame in and frame out, with every expected
// answer written out byte for byte, CRC included.

#include "modbusframe.h"
#include "modbusslave.h"

#include <QtTest>

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Long requests (a whole block of registers) are a hand-written header,
// zero data and the CRC the sender would append.
QByteArray zeroFilledRequest(const char *header, int dataBytes)
{
    QByteArray frame = hex(header) + QByteArray(dataBytes + 2, '\0');
    appendCrc16(frame.data(), frame.size());
    return frame;
}

SimulatedModemOptions faults(void (*change)(SimulatedModemOptions &))
{
    SimulatedModemOptions options;
    change(options);
    return options;
}

} // namespace

class TestModbusSlave : public QObject {
    Q_OBJECT

private slots:
    void init();
    void replies_data();
    void replies();
    void faultReplies_data();
    void faultReplies();
    void writeEffects_data();
    void writeEffects();
    void largestReadCarriesEveryRegister();
    void oldFirmwareMap_data();
    void oldFirmwareMap();

private:
    ModbusSlave slave{Modbus::DeviceAddress};
};

void TestModbusSlave::init()
{
    slave = ModbusSlave(Modbus::DeviceAddress);
    slave.setReg(0, 0x1234);
    slave.setReg(1, 0xABCD);
    slave.setReg(69, 0x5678);
    slave.setReg(256, 0x0102);
    slave.setReg(257, 0x0304);
}

void TestModbusSlave::replies_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("read of 2 registers") << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD 51 24");
    QTest::newRow("read in entry block 0") << hex("40 03 01 00 00 02 CA E6") << hex("40 03 04 01 02 03 04 0A 38");
    QTest::newRow("read of register 70") << hex("40 03 00 46 00 01 6A CE") << hex("40 03 02 00 00 84 4B");
    QTest::newRow("write of 2 registers")
        << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51") << hex("40 10 01 00 00 02 4F 25");
    QTest::newRow("largest write") << zeroFilledRequest("40 10 00 00 00 7B F6", 246) << hex("40 10 00 00 00 7B 8F 3B");

    QTest::newRow("exception 1 for function 6") << hex("40 06 00 01 00 03 97 1A") << hex("40 86 01 D3 B4");
    QTest::newRow("exception 1 for function 43") << hex("40 2B 0E 01 00 4C 78") << hex("40 AB 01 CE E4");
    QTest::newRow("exception 2 reading past the map") << hex("40 03 02 00 00 01 8A A3") << hex("40 83 02 90 E5");
    QTest::newRow("exception 2 reading across the end") << hex("40 03 01 FF 00 02 FA D6") << hex("40 83 02 90 E5");
    QTest::newRow("exception 2 writing across the end")
        << hex("40 10 01 FF 00 02 04 00 01 00 02 30 07") << hex("40 90 02 9D D5");
    QTest::newRow("exception 3 reading 0 registers") << hex("40 03 00 00 00 00 4A DB") << hex("40 83 03 51 25");
    QTest::newRow("exception 3 reading 126 registers") << hex("40 03 00 00 00 7E CA FB") << hex("40 83 03 51 25");
    QTest::newRow("exception 3 before 2: 126 from 511") << hex("40 03 01 FF 00 7E FB 37") << hex("40 83 03 51 25");
    QTest::newRow("exception 3 writing 0 registers") << hex("40 10 00 00 00 00 00 58 54") << hex("40 90 03 5C 15");
    QTest::newRow("exception 3 writing 124 registers")
        << zeroFilledRequest("40 10 00 00 00 7C F8", 248) << hex("40 90 03 5C 15");
    QTest::newRow("exception 3 byte count not twice the count")
        << hex("40 10 00 00 00 02 02 00 01 5B 87") << hex("40 90 03 5C 15");
    QTest::newRow("exception 3 odd byte count")
        << hex("40 10 00 00 00 01 03 00 07 00 80 A7") << hex("40 90 03 5C 15");

    QTest::newRow("silent to another address") << hex("41 03 00 00 00 02 CA CB") << QByteArray();
    QTest::newRow("silent to a bad CRC") << hex("40 03 00 00 00 02 CB 1B") << QByteArray();
    QTest::newRow("silent to a bad CRC on an unknown function") << hex("40 06 00 01 00 03 97 1B") << QByteArray();
    QTest::newRow("silent to a broadcast read") << hex("00 03 00 00 00 02 C5 DA") << QByteArray();
    QTest::newRow("silent to a broadcast write") << hex("00 10 00 00 00 01 02 BE EF 9B EC") << QByteArray();
    QTest::newRow("silent to a read one byte short") << hex("40 03 02 00 00 84 4B") << QByteArray();
    QTest::newRow("silent to a write shorter than its byte count")
        << hex("40 10 00 00 00 01 04 00 07 3B C0") << QByteArray();
    QTest::newRow("silent to two bytes") << hex("40 03") << QByteArray();
    QTest::newRow("silent to nothing") << QByteArray() << QByteArray();
}

void TestModbusSlave::replies()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QCOMPARE(slave.handle(request).frame.toHex(' '), answer.toHex(' '));
}

void TestModbusSlave::faultReplies_data()
{
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    const auto exceptionForEntryBlock1 = faults([](SimulatedModemOptions &o) { o.exceptionBlock = 0x140; });
    QTest::newRow("exception block, read of that block")
        << exceptionForEntryBlock1 << hex("40 03 01 40 00 0D 8B 36") << hex("40 83 04 10 E7");
    QTest::newRow("exception block, write of that block")
        << exceptionForEntryBlock1 << hex("40 10 01 40 00 01 02 00 01 45 C3") << hex("40 90 04 1D D7");
    QTest::newRow("exception block, another block")
        << exceptionForEntryBlock1 << hex("40 03 01 00 00 01 8A E7") << hex("40 03 02 01 02 04 1A");
    QTest::newRow("exception block with code 5")
        << faults([](SimulatedModemOptions &o) { o.exceptionBlock = 0; o.exceptionCode = 5; })
        << hex("40 10 00 00 00 01 02 00 07 DB C1") << hex("40 90 05 DC 17");

    const auto oldFirmware = faults([](SimulatedModemOptions &o) { o.oldFirmware = true; });
    QTest::newRow("old firmware, read of 71") << oldFirmware << hex("40 03 00 00 00 47 0A E9") << hex("40 83 02 90 E5");
    QTest::newRow("old firmware, read of register 70")
        << oldFirmware << hex("40 03 00 46 00 01 6A CE") << hex("40 83 02 90 E5");
    QTest::newRow("old firmware, write of register 70")
        << oldFirmware << hex("40 10 00 46 00 01 02 00 01 55 65") << hex("40 90 02 9D D5");
    QTest::newRow("old firmware, read of register 69")
        << oldFirmware << hex("40 03 00 45 00 01 9A CE") << hex("40 03 02 56 78 BB C9");
    QTest::newRow("old firmware, read of 69 and 70")
        << oldFirmware << hex("40 03 00 45 00 02 DA CF") << hex("40 83 02 90 E5");
    QTest::newRow("old firmware, entry block 0")
        << oldFirmware << hex("40 03 01 00 00 01 8A E7") << hex("40 03 02 01 02 04 1A");

    const auto wrongCrc = faults([](SimulatedModemOptions &o) { o.wrongCrc = true; });
    QTest::newRow("wrong CRC on a read") << wrongCrc << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD AE DB");
    QTest::newRow("wrong CRC on an exception") << wrongCrc << hex("40 06 00 01 00 03 97 1A") << hex("40 86 01 2C 4B");
    QTest::newRow("wrong CRC on a write")
        << wrongCrc << hex("40 10 01 40 00 01 02 00 01 45 C3") << hex("40 10 01 40 00 01 F1 0F");

    const auto wrongCrcForEntryBlock0 = faults([](SimulatedModemOptions &o) { o.wrongCrcBlock = 0x100; });
    QTest::newRow("wrong CRC for a block, that block")
        << wrongCrcForEntryBlock0 << hex("40 03 01 00 00 02 CA E6") << hex("40 03 04 01 02 03 04 F5 C7");
    QTest::newRow("wrong CRC for a block, another block")
        << wrongCrcForEntryBlock0 << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD 51 24");

    const auto otherAddress = faults([](SimulatedModemOptions &o) { o.answerAddress = 0x41; });
    QTest::newRow("answer from 0x41") << otherAddress << hex("40 03 00 00 00 02 CB 1A") << hex("41 03 04 12 34 AB CD 41 E4");
    QTest::newRow("answer from 0x41 to a request for 0x41")
        << otherAddress << hex("41 03 00 00 00 02 CA CB") << QByteArray();

    QTest::newRow("silent modem, read") << faults([](SimulatedModemOptions &o) { o.silent = true; })
                                        << hex("40 03 00 00 00 02 CB 1A") << QByteArray();
    QTest::newRow("silent modem, unknown function") << faults([](SimulatedModemOptions &o) { o.silent = true; })
                                                    << hex("40 06 00 01 00 03 97 1A") << QByteArray();
}

void TestModbusSlave::faultReplies()
{
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    slave.setOptions(options);
    QCOMPARE(slave.handle(request).frame.toHex(' '), answer.toHex(' '));
}

void TestModbusSlave::writeEffects_data()
{
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("firstRegister");
    QTest::addColumn<QVector<quint16>>("registersAfter");
    QTest::addColumn<bool>("reportedWritten");

    const SimulatedModemOptions none;
    QTest::newRow("write of 2 registers") << none << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51") << 256
                                          << QVector<quint16>{0x000A, 0x0102} << true;
    QTest::newRow("broadcast write is performed") << none << hex("00 10 00 00 00 01 02 BE EF 9B EC") << 0
                                                  << QVector<quint16>{0xBEEF, 0xABCD} << true;
    QTest::newRow("write with a wrong answer CRC is performed")
        << faults([](SimulatedModemOptions &o) { o.wrongCrc = true; }) << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51")
        << 256 << QVector<quint16>{0x000A, 0x0102} << true;
    QTest::newRow("write answered from another address is performed")
        << faults([](SimulatedModemOptions &o) { o.answerAddress = 0x41; })
        << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51") << 256 << QVector<quint16>{0x000A, 0x0102} << true;
    QTest::newRow("write to another address is not")
        << none << hex("41 10 01 00 00 02 04 00 0A 01 02 0B AD") << 256 << QVector<quint16>{0x0102, 0x0304} << false;
    QTest::newRow("write with a bad CRC is not")
        << none << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 52") << 256 << QVector<quint16>{0x0102, 0x0304} << false;
    QTest::newRow("silent modem performs nothing")
        << faults([](SimulatedModemOptions &o) { o.silent = true; }) << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51")
        << 256 << QVector<quint16>{0x0102, 0x0304} << false;
    QTest::newRow("write refused with an exception is not performed")
        << faults([](SimulatedModemOptions &o) { o.exceptionBlock = 256; })
        << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51") << 256 << QVector<quint16>{0x0102, 0x0304} << false;
    QTest::newRow("old firmware refuses the whole write touching 70")
        << faults([](SimulatedModemOptions &o) { o.oldFirmware = true; })
        << zeroFilledRequest("40 10 00 00 00 47 8E", 142) << 0 << QVector<quint16>{0x1234, 0xABCD} << false;
}

void TestModbusSlave::writeEffects()
{
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QByteArray, request);
    QFETCH(int, firstRegister);
    QFETCH(QVector<quint16>, registersAfter);
    QFETCH(bool, reportedWritten);
    slave.setOptions(options);

    const ModbusSlave::Reply reply = slave.handle(request);

    QCOMPARE(reply.registersWritten, reportedWritten);
    QVector<quint16> registers;
    for (int i = 0; i < registersAfter.size(); ++i)
        registers.append(slave.reg(firstRegister + i));
    QCOMPARE(registers, registersAfter);
}

void TestModbusSlave::largestReadCarriesEveryRegister()
{
    for (int i = 0; i < ModbusSlave::MaxReadCount; ++i)
        slave.setReg(300 + i, static_cast<quint16>(0x0100 * i + 0x11));
    QByteArray request = hex("40 03 01 2C 00 7D 00 00");
    appendCrc16(request.data(), request.size());

    const QByteArray answer = slave.handle(request).frame;

    QCOMPARE(answer.size(), 3 + 2 * 125 + 2);
    QCOMPARE(answer.left(3).toHex(' '), QByteArray("40 03 fa"));
    QCOMPARE(crc16(answer.constData(), answer.size()), quint16(0));
    // Every register high byte first: register 300 + i holds i in its high
    // byte and 0x11 in its low one.
    for (int i = 0; i < 125; ++i) {
        QCOMPARE(static_cast<quint8>(answer.at(3 + 2 * i)), static_cast<quint8>(i));
        QCOMPARE(static_cast<quint8>(answer.at(4 + 2 * i)), quint8(0x11));
    }
}

void TestModbusSlave::oldFirmwareMap_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("normalFirmware");
    QTest::addColumn<bool>("oldFirmware");

    QTest::newRow("settings block without KeepCon") << 0 << 70 << true << true;
    QTest::newRow("settings block with KeepCon") << 0 << 71 << true << false;
    QTest::newRow("register 70 alone") << 70 << 1 << true << false;
    QTest::newRow("gap between the blocks") << 100 << 1 << true << false;
    QTest::newRow("last register before the entry blocks") << 255 << 1 << true << false;
    QTest::newRow("across into the entry blocks") << 255 << 2 << true << false;
    QTest::newRow("entry block 0") << 256 << 13 << true << true;
    QTest::newRow("entry block 3") << 448 << 13 << true << true;
    QTest::newRow("last register") << 511 << 1 << true << true;
    QTest::newRow("past the last register") << 511 << 2 << false << false;
}

void TestModbusSlave::oldFirmwareMap()
{
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(bool, normalFirmware);
    QFETCH(bool, oldFirmware);

    QCOMPARE(slave.inMap(first, count), normalFirmware);
    SimulatedModemOptions options;
    options.oldFirmware = true;
    slave.setOptions(options);
    QCOMPARE(slave.inMap(first, count), oldFirmware);
}

QTEST_APPLESS_MAIN(TestModbusSlave)
#include "tst_modbusslave.moc"
