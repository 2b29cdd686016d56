#include "modbusframe.h"

#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace {

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// An answer body with its check sum appended, as the device would send it.
QByteArray withCrc(QByteArray frame)
{
    frame.append(2, '\0');
    appendCrc16(frame.data(), frame.size());
    return frame;
}

QByteArray counting(int length)
{
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = static_cast<char>(i);
    return data;
}

} // namespace

Q_DECLARE_METATYPE(AnswerCheck::Outcome)

class TestModbusFrame : public QObject {
    Q_OBJECT

private slots:
    void crcOfRange_data();
    void crcOfRange();
    void readRequestOnTheWire_data();
    void readRequestOnTheWire();
    void writeRequestOfSettingsBlock_data();
    void writeRequestOfSettingsBlock();
    void writeRequestOfEntryBlockByteForByte();
    void swapPairsLeavesOddTail();
    void dumpText_data();
    void dumpText();
    void dumpGoesToStdoutFlushed();
    void answerCheck_data();
    void answerCheck();
};

void TestModbusFrame::crcOfRange_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("crc");
    QTest::addColumn<bool>("accepted");   // as an answer of that length

    QTest::newRow("check value 123456789") << QByteArray("123456789") << 9 << 0x4B37 << false;
    QTest::newRow("empty range") << QByteArray("123") << 0 << 0xFFFF << false;
    QTest::newRow("negative length") << QByteArray("123") << -4 << 0xFFFF << false;
    QTest::newRow("request with its own crc") << bytes("40 03 00 00 00 46 CB 29") << 8 << 0 << true;
    QTest::newRow("one bit flipped") << bytes("40 03 00 00 00 47 CB 29") << 8 << 0xC051 << false;
    QTest::newRow("high bytes") << bytes("FF 80 81") << 3 << 0x50E0 << false;
    // FF FF closes the empty frame, so its CRC is 0: the length rule alone rejects it.
    QTest::newRow("two bytes with crc 0") << bytes("FF FF") << 2 << 0 << false;
    QTest::newRow("three bytes, matching crc") << bytes("40 BE B0") << 3 << 0 << true;
    QTest::newRow("three bytes, wrong crc") << bytes("40 B0 BE") << 3 << 0xA485 << false;
}

void TestModbusFrame::crcOfRange()
{
    QFETCH(QByteArray, data);
    QFETCH(int, length);
    QFETCH(int, crc);
    QFETCH(bool, accepted);
    QCOMPARE(int(crc16(data.constData(), length)), crc);
    QCOMPARE(answerPassesCrc(data.constData(), length), accepted);
}

void TestModbusFrame::readRequestOnTheWire_data()
{
    QTest::addColumn<int>("firstRegister");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("wire");

    QTest::newRow("settings block, 70 registers") << 0 << 70 << bytes("40 03 00 00 00 46 CB 29");
    QTest::newRow("settings block, 71 registers") << 0 << 71 << bytes("40 03 00 00 00 47 0A E9");
    QTest::newRow("entry block 0") << 0x0100 << 13 << bytes("40 03 01 00 00 0D 8A E2");
    QTest::newRow("entry block 3") << 0x01C0 << 13 << bytes("40 03 01 C0 00 0D 8A DE");
}

void TestModbusFrame::readRequestOnTheWire()
{
    QFETCH(int, firstRegister);
    QFETCH(int, count);
    QFETCH(QByteArray, wire);

    QCOMPARE(readRequest(quint16(firstRegister), quint16(count)).toHex(' '), wire.toHex(' '));
}

void TestModbusFrame::writeRequestOfSettingsBlock_data()
{
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("crcBytes");

    // The check sum is over the swapped data, so it also guards the swap.
    QTest::newRow("without KeepCon") << 140 << bytes("40 10 00 00 00 46 8C") << bytes("A1 BF");
    QTest::newRow("with KeepCon") << 142 << bytes("40 10 00 00 00 47 8E") << bytes("B8 54");
}

void TestModbusFrame::writeRequestOfSettingsBlock()
{
    QFETCH(int, dataLength);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, crcBytes);

    const QByteArray frame = writeRequest(0, counting(dataLength));
    QCOMPARE(frame.size(), 9 + dataLength);
    QCOMPARE(frame.left(7).toHex(' '), header.toHex(' '));
    QCOMPARE(frame.right(2).toHex(' '), crcBytes.toHex(' '));
}

void TestModbusFrame::writeRequestOfEntryBlockByteForByte()
{
    const QByteArray wire = bytes("40 10 01 40 00 0D 1A"
                                  " 42 41 44 43 46 45 48 47 4A 49 4C 4B 4E 4D 50 4F 52 51 54 53 56 55 58 57 5A 59"
                                  " AB 73");
    QCOMPARE(writeRequest(0x0140, "ABCDEFGHIJKLMNOPQRSTUVWXYZ").toHex(' '), wire.toHex(' '));
}

void TestModbusFrame::swapPairsLeavesOddTail()
{
    QByteArray data("abcde");
    swapPairs(data.data(), data.size());
    QCOMPARE(data, QByteArray("badce"));
    swapPairs(data.data(), 4);
    QCOMPARE(data, QByteArray("abcde"));
}

void TestModbusFrame::dumpText_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("text");

    QByteArray line;
    for (int i = 0; i < 64; ++i)
        line += ' ' + QByteArray::number(i, 16).rightJustified(2, '0').toUpper();

    QTest::newRow("empty") << QByteArray() << QByteArray(" enddamp\n");
    QTest::newRow("high and low nibbles") << bytes("00 0F F0 FF 40") << QByteArray(" 00 0F F0 FF 40 enddamp\n");
    QTest::newRow("exactly 64 bytes") << counting(64) << line + "\n enddamp\n";
    QTest::newRow("65 bytes") << counting(65) << line + "\n 40 enddamp\n";
    QTest::newRow("128 bytes") << counting(64) + counting(64) << line + "\n" + line + "\n enddamp\n";
}

void TestModbusFrame::dumpText()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, text);
    QCOMPARE(hexDumpText(data.constData(), data.size()), text);
}

void TestModbusFrame::dumpGoesToStdoutFlushed()
{
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stdout);
    const int savedStdout = ::dup(STDOUT_FILENO);
    QVERIFY(savedStdout >= 0);
    QVERIFY(::dup2(capture.handle(), STDOUT_FILENO) >= 0);

    const QByteArray frame = bytes("40 03 00 00 00 46 CB 29");
    hexDump(frame.constData(), frame.size());

    // Whatever hexDump left in the stdio buffer would land on the real
    // stdout after this, not in the capture.
    ::dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);

    capture.seek(0);
    QCOMPARE(capture.readAll(), QByteArray(" 40 03 00 00 00 46 CB 29 enddamp\n"));
}

void TestModbusFrame::answerCheck_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answerBody");   // the check sum is appended
    QTest::addColumn<AnswerCheck::Outcome>("outcome");
    QTest::addColumn<int>("exceptionCode");

    const QByteArray readSettings = bytes("40 03 00 00 00 46 CB 29");
    const QByteArray writeEntry1 = writeRequest(0x0140, counting(26));
    const QByteArray data140 = counting(140);
    const auto accepted = AnswerCheck::Accepted;
    const auto mismatch = AnswerCheck::Mismatch;

    QTest::newRow("read, normal answer") << readSettings << bytes("40 03 8C") + data140 << accepted << 0;
    QTest::newRow("write entry, normal answer") << writeEntry1 << bytes("40 10 01 40 00 0D") << accepted << 0;

    QTest::newRow("read, exception 2") << readSettings << bytes("40 83 02") << AnswerCheck::Exception << 2;
    QTest::newRow("write, exception 4") << writeEntry1 << bytes("40 90 04") << AnswerCheck::Exception << 4;
    QTest::newRow("exception of another function") << readSettings << bytes("40 90 02") << mismatch << 0;
    QTest::newRow("exception from another address") << readSettings << bytes("41 83 02") << mismatch << 0;
    QTest::newRow("exception code with trailing byte") << readSettings << bytes("40 83 02 00") << mismatch << 0;

    QTest::newRow("read, another address") << readSettings << bytes("41 03 8C") + data140 << mismatch << 0;
    QTest::newRow("read, wrong function") << readSettings << bytes("40 04 8C") + data140 << mismatch << 0;
    QTest::newRow("read, short answer") << readSettings << bytes("40 03 8C") + data140.left(138) << mismatch << 0;
    QTest::newRow("read, long answer") << readSettings << bytes("40 03 8C") + data140 + bytes("00 00") << mismatch << 0;
    QTest::newRow("read, wrong byte count") << readSettings << bytes("40 03 8E") + data140 << mismatch << 0;
    QTest::newRow("read 70, answer of 71") << readSettings << bytes("40 03 8E") + counting(142) << mismatch << 0;
    QTest::newRow("read, echo of the request") << readSettings << readSettings.left(6) << mismatch << 0;

    QTest::newRow("write, wrong function") << writeEntry1 << bytes("40 03 01 40 00 0D") << mismatch << 0;
    QTest::newRow("write, low byte of register differs") << writeEntry1 << bytes("40 10 01 41 00 0D") << mismatch << 0;
    QTest::newRow("write, other register count") << writeEntry1 << bytes("40 10 01 40 00 0C") << mismatch << 0;
    QTest::newRow("write, one byte too many") << writeEntry1 << bytes("40 10 01 40 00 0D 00") << mismatch << 0;
    QTest::newRow("write, echo of the request") << writeEntry1 << writeEntry1.left(writeEntry1.size() - 2)
                                                << mismatch << 0;
}

void TestModbusFrame::answerCheck()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answerBody);
    QFETCH(AnswerCheck::Outcome, outcome);
    QFETCH(int, exceptionCode);

    const QByteArray answer = withCrc(answerBody);
    const AnswerCheck check = checkAnswer(request.constData(), request.size(), answer.constData(), answer.size());
    QCOMPARE(check.outcome, outcome);
    QCOMPARE(check.exceptionCode, exceptionCode);
}

QTEST_APPLESS_MAIN(TestModbusFrame)
#include "tst_modbusframe.moc"
