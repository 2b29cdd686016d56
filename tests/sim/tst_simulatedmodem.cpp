// The simulated modem on a real pseudo-terminal, driven through QSerialPort
// (and SerialLink) exactly as the configurator drives a modem.

#include "modbusframe.h"
#include "seriallink.h"
#include "simtestsupport.h"
#include "simulatedmodem.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

using Options = SimulatedModemOptions;

const QByteArray readTwoRegisters = hex("40 03 00 00 00 02 CB 1A");
const QByteArray twoRegistersAnswer = hex("40 03 04 12 34 AB CD 51 24");
// A read whose answer tells that the modem is answering again.
const QByteArray probeRequest = hex("40 03 01 00 00 01 8A E7");
const QByteArray probeAnswer = hex("40 03 02 01 02 04 1A");

} // namespace

class TestSimulatedModem : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsEverySettingsRegisterThroughTheLink();
    void writeIsStoredAndReported();
    void framing_data();
    void framing();
    void delayHoldsTheAnswerBack();
    void answerComesInPieces_data();
    void answerComesInPieces();
    void pacingSpreadsTheAnswerOverItsLineTime();
    void lineSpeedIsTheClients_data();
    void lineSpeedIsTheClients();
    void reopenedPortIsStillServed();
    void servesAGivenPort();
    void refusesAMissingPortAndASecondStart();

private:
    std::unique_ptr<SimulatedModem> modem;
};

void TestSimulatedModem::init()
{
    modem = std::make_unique<SimulatedModem>();
    QVERIFY2(modem->start(), qPrintable(modem->errorString()));
    modem->setReg(0, 0x1234);
    modem->setReg(1, 0xABCD);
    modem->setReg(256, 0x0102);
}

void TestSimulatedModem::cleanup()
{
    modem.reset();
}

void TestSimulatedModem::readsEverySettingsRegisterThroughTheLink()
{
    QVector<quint16> values;
    for (int j = 0; j < 71; ++j)
        values.append(static_cast<quint16>(0x0101 * j + 0x8000));
    modem->setRegisters(0, values);
    QCOMPARE(modem->connectionText(), QStringLiteral("dev=%1;baud=9600").arg(modem->portName()));

    SerialLink link(ArrivalLimitMs, ArrivalLimitMs, 200);
    link.configure(modem->connectionText().toLatin1());
    QCOMPARE(link.open(), 0);
    const QByteArray request = hex("40 03 00 00 00 47 0A E9");
    const int length = link.exchange(request.constData(), request.size());

    QCOMPARE(length, 3 + 2 * 71 + 2);
    const QByteArray answer(link.answer(), length);
    QCOMPARE(answer.left(3), hex("40 03 8E"));
    QVERIFY(answerPassesCrc(answer.constData(), answer.size()));
    // High byte first on the wire.
    for (int j = 0; j < 71; ++j)
        QCOMPARE(answer.mid(3 + 2 * j, 2).toHex(), QByteArray::number(values.at(j), 16));
    QCOMPARE(modem->receivedFrames(), QList<QByteArray>{request});
}

void TestSimulatedModem::writeIsStoredAndReported()
{
    std::mutex mutex;
    QList<QPair<int, int>> writes;
    modem->setWriteObserver([&](int first, int count) {
        std::lock_guard<std::mutex> lock(mutex);
        writes.append({first, count});
    });
    QByteArray image;
    for (int i = 0; i < 26; ++i)
        image.append(static_cast<char>(i + 1));
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName()));

    QCOMPARE(exchange(port, writeRequest(0x180, image), 8).toHex(' '), hex("40 10 01 80 00 0D 0E C9").toHex(' '));
    QVector<quint16> expected;
    for (int j = 0; j < 13; ++j)
        expected.append(static_cast<quint16>((2 * j + 1) | ((2 * j + 2) << 8)));
    QCOMPARE(modem->registers(0x180, 13), expected);
    std::lock_guard<std::mutex> lock(mutex);
    QCOMPARE(writes, (QList<QPair<int, int>>{{0x180, 13}}));
}

void TestSimulatedModem::framing_data()
{
    QTest::addColumn<SimulatedModemOptions>("options");   // for the first frame only
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<int>("framesAfterFirst");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QList<QByteArray>>("frames");

    // Faults change between exchanges; the probe's answer, coming after the
    // one (if any) to the first frame, shows that nothing else was sent.
    const auto probed = [](const char *name, const Options &options, const QByteArray &request,
                           const QByteArray &answer) {
        QTest::newRow(name) << options << request << 1 << probeRequest << answer + probeAnswer
                            << QList<QByteArray>{request, probeRequest};
    };
    const Options none;
    probed("unknown function, framed by silence", none, hex("40 06 00 01 00 03 97 1A"), hex("40 86 01 D3 B4"));
    probed("silent", with(&Options::silent, true), readTwoRegisters, QByteArray());
    probed("exception for the settings block", with(&Options::exceptionBlock, 0), readTwoRegisters,
           hex("40 83 04 10 E7"));
    probed("noise dropped at the next silence", none, hex("FF FF FF"), QByteArray());

    QTest::newRow("two reads in one write") << none << readTwoRegisters + probeRequest << 2 << QByteArray()
                                            << twoRegistersAnswer + probeAnswer
                                            << QList<QByteArray>{readTwoRegisters, probeRequest};
    const QByteArray badRead = hex("40 03 00 00 00 02 CB 1B");
    QTest::newRow("bad CRC then a good read in one write") << none << badRead + probeRequest << 2 << QByteArray()
                                                           << probeAnswer << QList<QByteArray>{badRead, probeRequest};
    const QByteArray write = hex("40 10 01 00 00 02 04 00 0A 01 02 0F 51");
    probed("write cut short dropped at the next silence", none, write.left(10), QByteArray());
    QTest::newRow("write in two pieces") << none << write.left(5) << 0 << write.mid(5)
                                         << hex("40 10 01 00 00 02 4F 25") << QList<QByteArray>{write};
}

void TestSimulatedModem::framing()
{
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QByteArray, first);
    QFETCH(int, framesAfterFirst);
    QFETCH(QByteArray, second);
    QFETCH(QByteArray, answers);
    QFETCH(QList<QByteArray>, frames);
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName()));

    modem->setOptions(options);
    send(port, first);
    if (framesAfterFirst > 0)
        QTRY_COMPARE_WITH_TIMEOUT(modem->receivedFrames().size(), framesAfterFirst, ArrivalLimitMs);
    modem->setOptions({});
    if (!second.isEmpty())
        send(port, second);

    QCOMPARE(readAtLeast(port, answers.size()).toHex(' '), answers.toHex(' '));
    QTRY_COMPARE_WITH_TIMEOUT(modem->receivedFrames(), frames, ArrivalLimitMs);
    modem->clearReceivedFrames();
    QVERIFY(modem->receivedFrames().isEmpty());
}

void TestSimulatedModem::delayHoldsTheAnswerBack()
{
    modem->setOptions(with(&Options::answerDelayMs, 3000));
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName()));

    send(port, readTwoRegisters);
    QTRY_COMPARE_WITH_TIMEOUT(modem->receivedFrames().size(), 1, ArrivalLimitMs);
    // The modem has the request; a short look finds nothing yet, while the
    // same look right after a prompt answer would find all of it.
    QVERIFY(!port.waitForReadyRead(300));
    QCOMPARE(port.bytesAvailable(), qint64(0));

    QCOMPARE(readAtLeast(port, twoRegistersAnswer.size()).toHex(' '), twoRegistersAnswer.toHex(' '));
}

void TestSimulatedModem::answerComesInPieces_data()
{
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QVector<int>>("pieces");

    QTest::newRow("gap between bytes")
        << with(&Options::byteGapMs, 400) << probeRequest << probeAnswer << QVector<int>{1, 1, 5};
    QTest::newRow("split in two halves")
        << with(&Options::splitPauseMs, 1500) << readTwoRegisters << twoRegistersAnswer << QVector<int>{4, 5};
}

void TestSimulatedModem::answerComesInPieces()
{
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QFETCH(QVector<int>, pieces);
    modem->setOptions(options);
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName()));

    send(port, request);

    // Each read returns as soon as something is there, and the next piece
    // is still a pause away.
    int at = 0;
    for (int length : pieces) {
        QCOMPARE(readAtLeast(port, length).toHex(' '), answer.mid(at, length).toHex(' '));
        at += length;
    }
}

void TestSimulatedModem::pacingSpreadsTheAnswerOverItsLineTime()
{
    modem->setOptions(with(&Options::baudRate, 2400, with(&Options::pacing, true)));
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName(), 2400));
    QSignalSpy readyRead(&port, &QIODevice::readyRead);
    QVERIFY(readyRead.isValid());
    const QByteArray request = hex("40 03 00 00 00 47 0A E9");
    const int answerLength = 3 + 2 * 71 + 2;

    QElapsedTimer timer;
    timer.start();
    send(port, request);
    const QByteArray answer = readAtLeast(port, answerLength);
    const qint64 elapsed = timer.elapsed();

    QCOMPARE(answer.size(), answerLength);
    QVERIFY(answerPassesCrc(answer.constData(), answer.size()));
    // 4.2 ms a byte: the answer trickles in over many reads, and it cannot
    // arrive sooner than its bytes take on a 2400 baud line (147 bytes after
    // the first one's start: over 600 ms).
    QVERIFY2(readyRead.count() >= 8, qPrintable(QString::number(readyRead.count())));
    QVERIFY2(elapsed >= (answerLength - 1) * 10 * 1000 / 2400, qPrintable(QString::number(elapsed)));
}

void TestSimulatedModem::lineSpeedIsTheClients_data()
{
    QTest::addColumn<int>("baudRate");
    QTest::newRow("1200") << 1200;
    QTest::newRow("115200") << 115200;
}

void TestSimulatedModem::lineSpeedIsTheClients()
{
    QFETCH(int, baudRate);
    QSerialPort port;
    QVERIFY(openClient(port, modem->portName(), baudRate));
    QCOMPARE(modem->lineBaudRate(), baudRate);
}

void TestSimulatedModem::reopenedPortIsStillServed()
{
    for (int round = 0; round < 2; ++round) {
        QSerialPort port;
        QVERIFY(openClient(port, modem->portName()));
        QCOMPARE(exchange(port, readTwoRegisters, twoRegistersAnswer.size()).toHex(' '), twoRegistersAnswer.toHex(' '));
    }
    QVERIFY(modem->isRunning());
    QCOMPARE(modem->receivedFrames(), (QList<QByteArray>{readTwoRegisters, readTwoRegisters}));
}

void TestSimulatedModem::servesAGivenPort()
{
    // The test holds the master of a pseudo-terminal of its own and lets the
    // modem serve the slave as it would serve a USB adapter.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[256];
    termios raw;
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0
            && ptsname_r(master, name, sizeof name) == 0 && tcgetattr(master, &raw) == 0);
    cfmakeraw(&raw);
    QCOMPARE(tcsetattr(master, TCSANOW, &raw), 0);

    const QString port = QString::fromLocal8Bit(name);
    SimulatedModem served(with(&Options::baudRate, 19200, with(&Options::port, port)));
    served.setRegisters(0, {0x1234, 0xABCD});
    QVERIFY2(served.start(), qPrintable(served.errorString()));
    QCOMPARE(served.connectionText(), QStringLiteral("dev=%1;baud=19200").arg(port));
    QCOMPARE(served.lineBaudRate(), 19200);

    QCOMPARE(::write(master, readTwoRegisters.constData(), readTwoRegisters.size()), ssize_t(readTwoRegisters.size()));
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    pollfd readable{master, POLLIN, 0};
    char buffer[64];
    while (answer.size() < twoRegistersAnswer.size() && timer.elapsed() < ArrivalLimitMs) {
        const ssize_t got = ::poll(&readable, 1, 100) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
        answer.append(buffer, int(qMax<ssize_t>(got, 0)));
    }
    served.stop();
    ::close(master);
    QCOMPARE(answer.toHex(' '), twoRegistersAnswer.toHex(' '));
}

void TestSimulatedModem::refusesAMissingPortAndASecondStart()
{
    const QString port = QStringLiteral("/nonexistent/ttyGPRS0");
    SimulatedModem missing(with(&Options::port, port));
    QVERIFY(!missing.start());
    QVERIFY(missing.errorString().contains(port));
    QVERIFY(!missing.isRunning());

    QVERIFY(!modem->start());
    QVERIFY(modem->isRunning());
    modem->stop();
    QVERIFY(!modem->isRunning());
}

QTEST_GUILESS_MAIN(TestSimulatedModem)
#include "tst_simulatedmodem.moc"
