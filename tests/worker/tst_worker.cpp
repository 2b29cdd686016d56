// The worker's jobs against the simulated modem on a pseudo-terminal: what
// each sends, stores, says and traces, how every fault ends it, and how jobs
// follow one another.

#include "golden.h"
#include "modbusframe.h"
#include "mythread.h"
#include "simulatedmodem.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QtTest>


Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

constexpr int JobLimit = 30000;   // ms; only a hung job reaches it
constexpr quint16 Untouched = 0xBEEF;

QStringList readMessages(int settingsAnswer = 145)
{
    return {QString("Recieved %1 bytes").arg(settingsAnswer), "Recieved 0[31] bytes", "Recieved 1[31] bytes",
            "Recieved 2[31] bytes", "Recieved 3[31] bytes", "It is Readed 31"};
}

const QStringList writeMessages{"Recieved 20%", "Recieved 40%", "Recieved 60%", "Recieved 80%", "Recieved 100%",
                                "It is Ready 100%"};

QByteArray settingsOf(bool withKeepCon)
{
    return Golden::settingsBlock.left(withKeepCon ? 142 : 140);
}

// The five requests of a Read or of a Write of the golden record.
QList<QByteArray> requestsOf(bool read, bool withKeepCon)
{
    QList<QByteArray> frames{read ? readRequest(0, withKeepCon ? 71 : 70) : writeRequest(0, settingsOf(withKeepCon))};
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k) {
        const auto first = quint16(Golden::entryFirstRegister[k]);
        frames.append(read ? readRequest(first, 13) : writeRequest(first, Golden::entryBlocks[k]));
    }
    return frames;
}

// The modem and the worker in the order that lets the worker finish (and
// close the port) before the modem goes away. The worker's messages arrive
// queued on the test thread, as the window gets them.
struct Bench {
    explicit Bench(const SimulatedModemOptions &options = {})
        : modem(options)
    {
        QObject::connect(&worker, &MyThread::response, &receiver, [this](const QString &s) { messages << s; });
        worker.setLinkTimeouts(2000, 2000, 200);
        started = modem.start();
    }
    QString startMessage() const { return "Start process whith " + modem.connectionText(); }
    // True once the job's run is over and all its messages are in.
    bool waitForJobEnd()
    {
        const bool ended = QTest::qWaitFor([this] { return worker.isFinished(); }, JobLimit);
        QCoreApplication::sendPostedEvents();
        return ended;
    }
    bool run(int job, const JobRequest &request) { return worker.startJob(job, request) && waitForJobEnd(); }
    JobRequest request(int keepConEnabled = 0, const std::optional<DeviceSettings> &settings = {}) const
    {
        return JobRequest{modem.connectionText(), keepConEnabled, settings, std::nullopt};
    }

    SimulatedModem modem;
    bool started = false;
    QObject receiver;
    QStringList messages;
    MyThread worker;
};

} // namespace

class TestWorker : public QObject {
    Q_OBJECT

private slots:
    // Every way a job ends, once each: its messages, frames and traces, and
    // what it leaves in the record and the modem.
    void jobs_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("keepConEnabled");
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<QString>("portConfig");   // empty: the modem's own; %1: its port
        QTest::addColumn<int>("failingFrame");     // 6 for none; the job's messages for the frames before it come first
        QTest::addColumn<QString>("lastMessage");
        const int read = MyThread::JobRead, write = MyThread::JobWrite;
        const auto fault = [](int SimulatedModemOptions::*field, int value, int code = 4) {
            SimulatedModemOptions options;
            options.*field = value;
            options.exceptionCode = quint8(code);
            return options;
        };
        const auto badCrc = [&](int first) { return fault(&SimulatedModemOptions::wrongCrcBlock, first); };
        const auto exception = [&](int first, int code) { return fault(&SimulatedModemOptions::exceptionBlock, first, code); };
        const auto stranger = fault(&SimulatedModemOptions::answerAddress, 0x41);
        SimulatedModemOptions none, silent, oldFirmware, echo;
        silent.silent = true;
        oldFirmware.oldFirmware = true;
        echo.echo = true;
        const QString own;

        QTest::newRow("read, 70 registers") << read << 0 << none << own << 6 << "It is Readed 31";
        QTest::newRow("read, 71 registers") << read << 1 << none << own << 6 << "It is Readed 31";
        QTest::newRow("write, 70 registers") << write << 0 << none << own << 6 << "It is Ready 100%";
        QTest::newRow("write, 71 registers") << write << 1 << none << own << 6 << "It is Ready 100%";
        QTest::newRow("read, echoing adapter") << read << 1 << echo << own << 6 << "It is Readed 31";
        QTest::newRow("write, echoing adapter") << write << 0 << echo << own << 6 << "It is Ready 100%";
        QTest::newRow("write: accented port name") << write << 0 << none << "dev=/nonexistent/café" << 0
                                                   << "The Port dev=/nonexistent/café was not open";
        QTest::newRow("read: a mistyped connection") << read << 0 << none << "dev=%1;baud=fast" << 0
                                                     << "The connection \"dev=%1;baud=fast\" has no baud rate: "
                                                        "\"fast\" is not a rate such as 9600";
        QTest::newRow("read: silence") << read << 0 << silent << own << 1
                                       << "There is bad CRC16 sum of 0 bytes. Nothing was received: check the cable, "
                                          "the port and its baud rate, and for firmware without the keep-connection "
                                          "register clear \"Enable Keep Connection\"";
        QTest::newRow("read: bad CRC, settings") << read << 1 << badCrc(0) << own << 1
                                                 << "There is bad CRC16 sum of 147 bytes";
        QTest::newRow("read: bad CRC, entry 3") << read << 0 << badCrc(0x1C0) << own << 5
                                                << "There is bad CRC16 sum of 31 bytes";
        QTest::newRow("read: exception, entry 1") << read << 0 << exception(0x140, 6) << own << 3
                                                  << "The device answered with exception 6";
        QTest::newRow("read: old firmware, KeepCon") << read << 1 << oldFirmware << own << 1
                                                     << "The device answered with exception 2";
        QTest::newRow("write: bad CRC, entry 0") << write << 0 << badCrc(0x100) << own << 2
                                                 << "There is bad CRC16 sum of 8 bytes on 1 step";
        QTest::newRow("write: bad CRC, entry 3") << write << 1 << badCrc(0x1C0) << own << 5
                                                 << "There is bad CRC16 sum of 8 bytes on 4 step";
        QTest::newRow("write: exception, entry 2") << write << 0 << exception(0x180, 3) << own << 4
                                                   << "The device answered with exception 3 on 3 step";
        QTest::newRow("write: another address") << write << 0 << stranger << own << 1
                                                << "The answer of 8 bytes does not match the request";
    }

    void jobs()
    {
        QFETCH(int, job);
        QFETCH(int, keepConEnabled);
        QFETCH(SimulatedModemOptions, options);
        QFETCH(QString, portConfig);
        QFETCH(int, failingFrame);
        QFETCH(QString, lastMessage);
        Bench bench(options);
        QVERIFY(bench.started);
        if (options.silent)
            bench.worker.setLinkTimeouts(300, 300, 100);
        const bool read = job == MyThread::JobRead;
        read ? Golden::loadInto(bench.modem) : bench.modem.setRegisters(0, QVector<quint16>(512, Untouched));
        JobRequest request = bench.request(keepConEnabled, read ? std::nullopt : std::optional(Golden::record()));
        if (!portConfig.isEmpty())
            request.portConfig = portConfig.replace("%1", bench.modem.portName());
        lastMessage.replace("%1", bench.modem.portName());
        bool ran = false;
        const QByteArray traced = stdoutOf([&] { ran = bench.run(job, request); });
        QVERIFY(ran);

        QStringList messages = (read ? readMessages(keepConEnabled ? 147 : 145) : writeMessages).mid(0, qMax(0, failingFrame - 1));
        if (portConfig.isEmpty())
            messages.prepend(bench.startMessage());
        QCOMPARE(bench.messages, messages << lastMessage);
        const QList<QByteArray> requests = requestsOf(read, keepConEnabled).mid(0, failingFrame);
        QCOMPARE(bench.modem.receivedFrames(), requests);
        // Requests as they go out; accepted read answers as received, the
        // settings answer again with its registers in memory order.
        const auto dump = [](const QByteArray &bytes) { return hexDumpText(bytes.constData(), bytes.size()); };
        QByteArray trace = "run\n";
        for (int i = 0; i < requests.size(); ++i) {
            trace += dump(requests.at(i));
            const QByteArray block = i ? Golden::entryBlocks[i - 1] : settingsOf(keepConEnabled);
            QByteArray answer = withCrc(hex("40 03") + char(block.size()) + Golden::wireOf(block));
            if (read && i < failingFrame - 1)
                trace += dump(answer);
            if (read && i == 0 && failingFrame > 1)
                trace += dump(answer.replace(3, block.size(), block));
        }
        QCOMPARE(traced, trace);

        // A failed Read leaves the record as it was, empty. A failed Write leaves the
        // blocks after the failing one alone; those before it hold the record.
        DeviceSettings expected = Golden::record();
        if (read && !keepConEnabled)
            expected.setValue(DeviceSettings::KeepCon, "0");
        QCOMPARE(bench.worker.settings(), read && failingFrame < 6 ? DeviceSettings() : expected);
        QCOMPARE(bench.worker.job(), job);
        for (int block = 0; !read && block <= DeviceSettings::EntryBlockCount; ++block) {
            const QByteArray image = block ? Golden::entryBlocks[block - 1] : settingsOf(keepConEnabled);
            const QVector<quint16> now =
                bench.modem.registers(block ? Golden::entryFirstRegister[block - 1] : 0, image.size() / 2);
            if (block != failingFrame - 1)
                QCOMPARE(now, block < failingFrame - 1 ? Golden::registersOf(image) : QVector<quint16>(now.size(), Untouched));
        }
    }

    void requestWhileRunningChangesNothing()
    {
        // Slow answers keep the Read busy for about two seconds.
        SimulatedModemOptions options;
        options.answerDelayMs = 400;
        Bench bench(options);
        QVERIFY(bench.started);
        Golden::loadInto(bench.modem);
        JobRequest upload = bench.request();
        upload.uploadFiles = QStringList{"first.py"};
        QVERIFY(bench.run(MyThread::JobUpload, upload));
        QCOMPARE(bench.messages, QStringList{bench.startMessage()});
        QCOMPARE(bench.modem.receivedFrames(), QList<QByteArray>());
        bench.messages.clear();

        QVERIFY(bench.worker.startJob(MyThread::JobRead, bench.request(1)));
        QVERIFY(!bench.worker.startJob(MyThread::JobWrite,
                                       JobRequest{"dev=/nonexistent/other", 0, Golden::record(), QStringList{"second.py"}}));
        // Read while the job runs, the record is still the one from before it.
        QTRY_VERIFY(!bench.modem.receivedFrames().isEmpty());
        QCOMPARE(bench.worker.settings(), DeviceSettings());
        QVERIFY(bench.waitForJobEnd());
        QCOMPARE(bench.messages, QStringList{bench.startMessage()} + readMessages(147));
        QCOMPARE(bench.modem.receivedFrames(), requestsOf(true, true));
        QCOMPARE(bench.worker.job(), int(MyThread::JobRead));
        QCOMPARE(bench.worker.portConfig(), bench.modem.connectionText());
        QCOMPARE(bench.worker.keepConEnabled(), 1);
        QCOMPARE(bench.worker.uploadFiles(), QStringList{"first.py"});
        QCOMPARE(bench.worker.settings(), Golden::record());
    }

    void requestAnsweringTheLastMessageIsAccepted_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<QString>("portConfig");   // empty: the modem's own; %1: its port
        QTest::addColumn<QString>("lastMessage");
        QTest::newRow("after a Read") << int(MyThread::JobRead) << QString() << "It is Readed 31";
        QTest::newRow("after a port that did not open") << int(MyThread::JobWrite) << "dev=/nonexistent/tty0"
                                                        << "The Port dev=/nonexistent/tty0 was not open";
        QTest::newRow("after an unknown job") << 7 << QString() << "There is onknowed thread 7";
    }

    // The window starts the next job as soon as it shows the last message;
    // the worker must not count as busy then.
    void requestAnsweringTheLastMessageIsAccepted()
    {
        QFETCH(int, job);
        QFETCH(QString, portConfig);
        QFETCH(QString, lastMessage);
        Bench bench;
        QVERIFY(bench.started);
        Golden::loadInto(bench.modem);
        std::optional<bool> accepted;
        QObject::connect(&bench.worker, &MyThread::response, &bench.receiver, [&](const QString &message) {
            if (message == lastMessage && !accepted)
                accepted = bench.worker.startJob(MyThread::JobRead, bench.request());
        });
        // The worker is held at its last word for a moment, as a slow thread
        // may be, so that the request surely comes while it still runs.
        QSemaphore never;
        QObject::connect(&bench.worker, &MyThread::response, &bench.worker, [&](const QString &message) {
            if (message == lastMessage)
                never.tryAcquire(1, 300);
        }, Qt::DirectConnection);
        JobRequest request = bench.request();
        if (!portConfig.isEmpty())
            request.portConfig = portConfig.replace("%1", bench.modem.portName());
        lastMessage.replace("%1", bench.modem.portName());
        QVERIFY(bench.worker.startJob(job, request));
        // Events are handled without the pauses of QTRY_*, so the message is
        // taken up the moment it arrives, as a busy window would.
        QElapsedTimer clock;
        clock.start();
        while (!accepted && clock.elapsed() < JobLimit)
            QCoreApplication::processEvents();
        QVERIFY(accepted.value_or(false));
        QVERIFY(bench.waitForJobEnd());
        QCOMPARE(bench.messages.mid(bench.messages.indexOf(lastMessage) + 1), QStringList{bench.startMessage()} + readMessages());
    }
};

QTEST_GUILESS_MAIN(TestWorker)
#include "tst_worker.moc"
