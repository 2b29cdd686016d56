// The slave's reply logic, frame in and frame out, with every expected
// answer written out byte for byte, CRC included.

#include "modbusframe.h"
#include "modbusslave.h"
#include "simtestsupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

using Options = SimulatedModemOptions;

// Long requests (a whole block of registers) are a hand-written header,
// zero data and the CRC the sender would append.
QByteArray zeroFilledRequest(const char *header, int dataBytes)
{
    QByteArray frame = hex(header) + QByteArray(dataBytes + 2, '\0');
    appendCrc16(frame.data(), frame.size());
    return frame;
}

} // namespace

class TestModbusSlave : public QObject {
    Q_OBJECT

private slots:
    void init();
    void replies_data();
    void replies();
    void writeEffects_data();
    void writeEffects();
    void largestReadCarriesEveryRegister();

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
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    const Options none;

    QTest::newRow("read of 2 registers") << none << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD 51 24");
    QTest::newRow("read of register 70") << none << hex("40 03 00 46 00 01 6A CE") << hex("40 03 02 00 00 84 4B");
    QTest::newRow("write of 2 registers") << none
        << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51") << hex("40 10 01 00 00 02 4F 25");
    QTest::newRow("largest write")
        << none << zeroFilledRequest("40 10 00 00 00 7B F6", 246) << hex("40 10 00 00 00 7B 8F 3B");

    QTest::newRow("ex. 1, for function 6") << none << hex("40 06 00 01 00 03 97 1A") << hex("40 86 01 D3 B4");
    QTest::newRow("ex. 2, reading past the map") << none << hex("40 03 02 00 00 01 8A A3") << hex("40 83 02 90 E5");
    QTest::newRow("ex. 2, reading across the end") << none << hex("40 03 01 FF 00 02 FA D6") << hex("40 83 02 90 E5");
    QTest::newRow("ex. 2, writing across the end") << none
        << hex("40 10 01 FF 00 02 04 00 01 00 02 30 07") << hex("40 90 02 9D D5");
    QTest::newRow("ex. 3, reading 0 registers") << none << hex("40 03 00 00 00 00 4A DB") << hex("40 83 03 51 25");
    QTest::newRow("ex. 3, reading 126 registers") << none << hex("40 03 00 00 00 7E CA FB") << hex("40 83 03 51 25");
    QTest::newRow("ex. 3, before 2: 126 from 511") << none << hex("40 03 01 FF 00 7E FB 37") << hex("40 83 03 51 25");
    QTest::newRow("ex. 3, writing 0 registers") << none << hex("40 10 00 00 00 00 00 58 54") << hex("40 90 03 5C 15");
    QTest::newRow("ex. 3, writing 124 registers") << none
        << zeroFilledRequest("40 10 00 00 00 7C F8", 248) << hex("40 90 03 5C 15");
    QTest::newRow("ex. 3, byte count not twice the count") << none
        << hex("40 10 00 00 00 02 02 00 01 5B 87") << hex("40 90 03 5C 15");

    QTest::newRow("silent to another address") << none << hex("41 03 00 00 00 02 CA CB") << QByteArray();
    QTest::newRow("silent to a bad CRC") << none << hex("40 03 00 00 00 02 CB 1B") << QByteArray();
    QTest::newRow("silent to a broadcast read") << none << hex("00 03 00 00 00 02 C5 DA") << QByteArray();
    QTest::newRow("silent to a broadcast write") << none << hex("00 10 00 00 00 01 02 BE EF 9B EC") << QByteArray();
    QTest::newRow("silent to a read one byte short") << none << hex("40 03 02 00 00 84 4B") << QByteArray();
    QTest::newRow("silent to a write shorter than its byte count") << none
        << hex("40 10 00 00 00 01 04 00 07 3B C0") << QByteArray();
    QTest::newRow("silent to two bytes") << none << hex("40 03") << QByteArray();

    const auto exceptionForEntryBlock1 = with(&Options::exceptionBlock, 0x140);
    QTest::newRow("exception block, read of that block")
        << exceptionForEntryBlock1 << hex("40 03 01 40 00 0D 8B 36") << hex("40 83 04 10 E7");
    QTest::newRow("exception block, write of that block")
        << exceptionForEntryBlock1 << hex("40 10 01 40 00 01 02 00 01 45 C3") << hex("40 90 04 1D D7");
    QTest::newRow("exception block, another block")
        << exceptionForEntryBlock1 << hex("40 03 01 00 00 01 8A E7") << hex("40 03 02 01 02 04 1A");
    QTest::newRow("exception block with code 5")
        << with(&Options::exceptionCode, 5, with(&Options::exceptionBlock, 0))
        << hex("40 10 00 00 00 01 02 00 07 DB C1") << hex("40 90 05 DC 17");

    const auto oldFirmware = with(&Options::oldFirmware, true);
    QTest::newRow("old firmware, read of 71") << oldFirmware << hex("40 03 00 00 00 47 0A E9") << hex("40 83 02 90 E5");
    QTest::newRow("old firmware, write of register 70")
        << oldFirmware << hex("40 10 00 46 00 01 02 00 01 55 65") << hex("40 90 02 9D D5");
    QTest::newRow("old firmware, read of register 69")
        << oldFirmware << hex("40 03 00 45 00 01 9A CE") << hex("40 03 02 56 78 BB C9");
    QTest::newRow("old firmware, read of 69 and 70")
        << oldFirmware << hex("40 03 00 45 00 02 DA CF") << hex("40 83 02 90 E5");
    QTest::newRow("old firmware, entry block 0")
        << oldFirmware << hex("40 03 01 00 00 01 8A E7") << hex("40 03 02 01 02 04 1A");

    const auto wrongCrc = with(&Options::wrongCrc, true);
    QTest::newRow("wrong CRC, read") << wrongCrc << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD AE DB");
    QTest::newRow("wrong CRC on an exception") << wrongCrc << hex("40 06 00 01 00 03 97 1A") << hex("40 86 01 2C 4B");

    const auto wrongCrcForEntryBlock0 = with(&Options::wrongCrcBlock, 0x100);
    QTest::newRow("wrong CRC for a block, that block")
        << wrongCrcForEntryBlock0 << hex("40 03 01 00 00 02 CA E6") << hex("40 03 04 01 02 03 04 F5 C7");
    QTest::newRow("wrong CRC for a block, another block")
        << wrongCrcForEntryBlock0 << hex("40 03 00 00 00 02 CB 1A") << hex("40 03 04 12 34 AB CD 51 24");

    const auto otherAddress = with(&Options::answerAddress, 0x41);
    QTest::newRow("answer from 0x41")
        << otherAddress << hex("40 03 00 00 00 02 CB 1A") << hex("41 03 04 12 34 AB CD 41 E4");
    QTest::newRow("answer from 0x41 to a request for 0x41")
        << otherAddress << hex("41 03 00 00 00 02 CA CB") << QByteArray();

    QTest::newRow("silent modem, read") << with(&Options::silent, true)
                                        << hex("40 03 00 00 00 02 CB 1A") << QByteArray();
    QTest::newRow("silent modem, unknown function") << with(&Options::silent, true)
                                                    << hex("40 06 00 01 00 03 97 1A") << QByteArray();
}

void TestModbusSlave::replies()
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

    const Options none;
    const QByteArray write256 = hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51");
    const QVector<quint16> written{0x000A, 0x0102};
    const QVector<quint16> untouched{0x0102, 0x0304};
    QTest::newRow("write of 2 registers") << none << write256 << 256 << written << true;
    QTest::newRow("broadcast write is performed") << none << hex("00 10 00 00 00 01 02 BE EF 9B EC") << 0
                                                  << QVector<quint16>{0xBEEF, 0xABCD} << true;
    QTest::newRow("write with a wrong answer CRC is performed")
        << with(&Options::wrongCrc, true) << write256 << 256 << written << true;
    QTest::newRow("write to another address is not")
        << none << hex("41 10 01 00 00 02 04 00 0A 01 02 0B AD") << 256 << untouched << false;
    QTest::newRow("write with a bad CRC is not")
        << none << hex("40 10 01 00 00 02 04 00 0A 01 02 0F 52") << 256 << untouched << false;
    QTest::newRow("silent modem performs nothing") << with(&Options::silent, true) << write256 << 256 << untouched
                                                   << false;
    QTest::newRow("write refused with an exception is not performed")
        << with(&Options::exceptionBlock, 256) << write256 << 256 << untouched << false;
    QTest::newRow("old firmware refuses the whole write touching 70")
        << with(&Options::oldFirmware, true)
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
    for (int i = 0; i < registersAfter.size(); ++i)
        QCOMPARE(slave.reg(firstRegister + i), registersAfter.at(i));
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

QTEST_APPLESS_MAIN(TestModbusSlave)
#include "tst_modbusslave.moc"
