#include "modbusframe.h"
#include "ptypeer.h"
#include "seriallink.h"

#include <QEventLoop>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

const QByteArray ReadSettings = QByteArray::fromHex("40 03 00 00 00 46 CB 29");
const QByteArray ReadEntry0 = QByteArray::fromHex("40 03 01 00 00 0D 8A E2");

QByteArray filler(int length, int seed = 0)
{
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return data;
}

QByteArray connectionTo(const PtyPeer &peer)
{
    return "dev=" + peer.portName().toLocal8Bit() + ";baud=9600";
}

// Starts the peer's script and opens the link on its line.
bool openOn(SerialLink &link, PtyPeer &peer)
{
    if (!peer.start())
        return false;
    link.configure(connectionTo(peer));
    return link.open() == 0;
}

QByteArray answerOf(const SerialLink &link, int length)
{
    return QByteArray(link.answer(), length);
}

// Runs a whole job (configure, open, exchanges) on a thread of its own, the
// way the worker does, so that the test thread can ask it to stop. A plain
// std::thread keeps the hand-over visible to ThreadSanitizer, which cannot
// see into Qt's own locks; Qt adopts the thread, so the link's interruption
// check works on it as on a QThread.
class LinkJob {
public:
    template <typename Body>
    explicit LinkJob(Body body)
        : thread([this, body] {
            // Gives the adopted thread the event dispatcher that the port's
            // socket notifiers insist on; nothing ever runs the loop.
            QEventLoop dispatcherOwner;
            setThread(QThread::currentThread());
            body();
            // The adopted QThread goes away with the thread: nobody may
            // reach it after this.
            setThread(nullptr);
        })
    {
    }
    ~LinkJob()
    {
        requestInterruption();
        thread.join();
    }
    bool isFinished() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return finished;
    }
    void requestInterruption()
    {
        std::lock_guard<std::mutex> guard(lock);
        if (qtThread)
            qtThread->requestInterruption();
    }

private:
    void setThread(QThread *current)
    {
        std::lock_guard<std::mutex> guard(lock);
        finished = qtThread && !current;
        qtThread = current;
    }

    mutable std::mutex lock;
    QThread *qtThread = nullptr;
    bool finished = false;
    std::thread thread;
};

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT

private slots:
    void configure_data();
    void configure();
    void open_data();
    void open();
    void normalExchange_data();
    void normalExchange();
    void zeroLengthRequestOnlyCollects();
    void timeouts_data();
    void timeouts();
    void interruptionEndsTheWait_data();
    void interruptionEndsTheWait();
};

void TestSerialLink::configure_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("portName");
    QTest::addColumn<int>("baudRate");

    const QString com1 = QStringLiteral("\\\\.\\COM1");

    QTest::newRow("empty text") << QByteArray() << com1 << 9600;
    QTest::newRow("baud first") << QByteArray("baud=4800;dev=/dev/ttyUSB0") << "/dev/ttyUSB0" << 4800;
    QTest::newRow("baud=abc") << QByteArray("baud=abc") << com1 << 0;
    QTest::newRow("dev= empty") << QByteArray("dev=") << QString() << 9600;
    QTest::newRow("bare name beside a key") << QByteArray("COM5;baud=1200") << com1 << 1200;
    QTest::newRow("dev=A=B names A") << QByteArray("dev=A=B") << "A" << 9600;
    QTest::newRow("key twice takes the last") << QByteArray("dev=A;baud=1200;dev=B;baud=2400") << "B" << 2400;
    QTest::newRow("Dev= ignored") << QByteArray("Dev=COM2") << com1 << 9600;
    QTest::newRow("leading blank ignored") << QByteArray(" dev=COM2; baud=1200") << com1 << 9600;
    QTest::newRow("empty parts and unknown keys ignored") << QByteArray(";;parity=E;dev=COM9;;") << "COM9" << 9600;
}

void TestSerialLink::configure()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, portName);
    QFETCH(int, baudRate);

    SerialLink link;
    link.configure(config);
    QCOMPARE(link.portName(), portName);
    QCOMPARE(link.baudRate(), baudRate);
}

void TestSerialLink::open_data()
{
    // %1 stands for the pseudo-terminal's name.
    QTest::addColumn<QString>("config");
    QTest::addColumn<int>("result");

    QTest::newRow("pty at the default rate") << "dev=%1" << 0;
    QTest::newRow("pty at 115200") << "baud=115200;dev=%1" << 0;
    QTest::newRow("baud=abc refused") << "dev=%1;baud=abc" << -1;
    QTest::newRow("baud=0 refused") << "dev=%1;baud=0" << -1;
    QTest::newRow("empty device name") << "dev=;baud=9600" << -1;
    QTest::newRow("nonexistent port") << "dev=/dev/gprs-no-such-port;baud=9600" << -1;
}

void TestSerialLink::open()
{
    QFETCH(QString, config);
    QFETCH(int, result);

    PtyPeer peer;
    peer.expect(ReadSettings.size()).send(QByteArray::fromHex("40 83 02 F1 31"));
    QVERIFY(peer.start());

    SerialLink link(2000, 2000, 200);
    link.configure(QString(config).replace(QLatin1String("%1"), peer.portName()).toLocal8Bit());
    QCOMPARE(link.open(), result);

    // A link that did not open moves nothing and answers with nothing.
    const int n = link.exchange(ReadSettings.constData(), ReadSettings.size());
    if (result == 0) {
        QCOMPARE(answerOf(link, n).toHex(' '), QByteArray::fromHex("40 83 02 F1 31").toHex(' '));
        QCOMPARE(peer.received().toHex(' '), ReadSettings.toHex(' '));
    } else {
        QCOMPARE(n, 0);
        QCOMPARE(link.answer()[0], '\0');
        QCOMPARE(peer.received(), QByteArray());
    }
}

void TestSerialLink::normalExchange_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("pauseAt");   // the peer pauses after this many bytes
    QTest::addColumn<int>("pause");
    QTest::addColumn<int>("answerLength");

    const QByteArray writeSettings = writeRequest(0, filler(142, 3));
    const QByteArray written = QByteArray::fromHex("40 10 00 00 00 47 D5 C1");
    QTest::newRow("write of 151 bytes") << writeSettings << written << 8 << 0 << 8;
    QTest::newRow("one byte") << ReadSettings << QByteArray::fromHex("40") << 1 << 0 << 1;
    QTest::newRow("exactly 1023 bytes") << ReadSettings << filler(1023, 5) << 1023 << 0 << 1023;
    // The rest stays in the port for whoever reads next.
    QTest::newRow("overlong answer is cut") << ReadSettings << filler(1100, 1) << 1100 << 0 << 1023;
    // A 200 ms gap means three idle polls, about 300 ms of silence.
    const QByteArray entry = QByteArray::fromHex("40 03 1A 00 01 02 03") + filler(24, 9);
    QTest::newRow("pause well within the gap") << ReadEntry0 << entry << 7 << 50 << entry.size();
    QTest::newRow("pause far beyond the gap") << ReadEntry0 << entry << 7 << 1000 << 7;
}

void TestSerialLink::normalExchange()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, sent);
    QFETCH(int, pauseAt);
    QFETCH(int, pause);
    QFETCH(int, answerLength);

    PtyPeer peer;
    peer.expect(request.size()).send(sent.left(pauseAt)).pause(pause).send(sent.mid(pauseAt));
    SerialLink link(5000, 5000, 200);
    QVERIFY(openOn(link, peer));

    const int n = link.exchange(request.constData(), request.size());
    QCOMPARE(answerOf(link, n).toHex(' '), sent.left(answerLength).toHex(' '));
    QCOMPARE(link.answer()[n], '\0');
    QCOMPARE(peer.received().toHex(' '), request.toHex(' '));

    if (answerLength < sent.size()) {
        const int rest = link.exchange(nullptr, 0);
        QCOMPARE(answerOf(link, rest).toHex(' '), sent.mid(answerLength).toHex(' '));
    }
}

void TestSerialLink::zeroLengthRequestOnlyCollects()
{
    const QByteArray unsolicited = QByteArray::fromHex("40 03 02 12 34 B5 33");
    PtyPeer peer;
    peer.pause(300).send(unsolicited).expect(ReadEntry0.size()).send("ok");
    SerialLink link(6000, 6000, 200);
    QVERIFY(openOn(link, peer));

    const int n = link.exchange(nullptr, 0);
    QCOMPARE(answerOf(link, n).toHex(' '), unsolicited.toHex(' '));

    // Had the empty exchange sent anything, it would stand before this request.
    QCOMPARE(link.exchange(ReadEntry0.constData(), ReadEntry0.size()), 2);
    QCOMPARE(QByteArray(link.answer()), QByteArray("ok"));
    QCOMPARE(peer.received().toHex(' '), ReadEntry0.toHex(' '));
}

void TestSerialLink::timeouts_data()
{
    // The peer answers each request after a second: only a long wait sees it.
    QTest::addColumn<int>("answerTimeout");
    QTest::addColumn<int>("nextTimeout");
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<QByteArray>("firstAnswer");
    QTest::addColumn<QByteArray>("secondAnswer");

    QTest::newRow("first waits answerTimeout, second nextTimeout")
        << 5000 << 200 << false << QByteArray("first") << QByteArray();
    QTest::newRow("open starts a new first exchange")
        << 5000 << 200 << true << QByteArray("first") << QByteArray("second");
    QTest::newRow("after a timed-out first, nextTimeout")
        << 200 << 5000 << false << QByteArray() << QByteArray("first");
}

void TestSerialLink::timeouts()
{
    QFETCH(int, answerTimeout);
    QFETCH(int, nextTimeout);
    QFETCH(bool, reopen);
    QFETCH(QByteArray, firstAnswer);
    QFETCH(QByteArray, secondAnswer);

    PtyPeer peer;
    peer.expect(8).pause(1000).send("first").expect(16).pause(1000).send("second");
    SerialLink link(answerTimeout, nextTimeout, 200);
    QVERIFY(openOn(link, peer));

    const int first = link.exchange(ReadSettings.constData(), ReadSettings.size());
    QCOMPARE(answerOf(link, first), firstAnswer);
    QCOMPARE(link.answer()[first], '\0');

    if (reopen) {
        link.close();
        QCOMPARE(link.open(), 0);
    }
    const int second = link.exchange(ReadEntry0.constData(), ReadEntry0.size());
    QCOMPARE(answerOf(link, second), secondAnswer);
    QCOMPARE(link.answer()[second], '\0');
    QCOMPARE(peer.received().toHex(' '), (ReadSettings + ReadEntry0).toHex(' '));
}

void TestSerialLink::interruptionEndsTheWait_data()
{
    QTest::addColumn<QByteArray>("waiting");

    QTest::newRow("silent line") << QByteArray();
    QTest::newRow("part of an answer") << QByteArray::fromHex("40 03 8C");
}

void TestSerialLink::interruptionEndsTheWait()
{
    QFETCH(QByteArray, waiting);

    // The bytes are on the line before the link opens, so once the port has
    // taken them they are surely in the answer.
    PtyPeer peer;
    peer.send(waiting);
    QVERIFY(peer.start());
    QTRY_VERIFY(peer.scriptDone());
    QTRY_COMPARE(peer.bytesWaitingForLink(), waiting.size());

    const QByteArray config = connectionTo(peer);
    std::atomic<int> opened{1};
    std::atomic<int> length{-1};
    QByteArray collected;
    LinkJob job([&] {
        SerialLink link(60000, 60000, 60000);
        link.configure(config);
        opened = link.open();
        const int n = link.exchange(ReadSettings.constData(), ReadSettings.size());
        collected = answerOf(link, n + 1);
        length = n;
    });

    QTRY_COMPARE(peer.received().size(), ReadSettings.size());
    QTRY_COMPARE(peer.bytesWaitingForLink(), 0);
    QCOMPARE(opened.load(), 0);
    QVERIFY2(!job.isFinished(), "the exchange ended before its time-out");

    job.requestInterruption();
    QTRY_VERIFY_WITH_TIMEOUT(job.isFinished(), 10000);
    QCOMPARE(length.load(), waiting.size());
    QCOMPARE(collected.toHex(' '), (waiting + '\0').toHex(' '));
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
