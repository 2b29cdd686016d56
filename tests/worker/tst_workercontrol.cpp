// Job control: requests while a job runs, the next job right after one, job codes without
// exchanges, and destroying the worker in the middle of an exchange.
#include "workertestsupport.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <memory>
#include <optional>

using namespace WorkerTest;

class TestWorkerControl : public QObject {
    Q_OBJECT
private slots:
    void requestWhileRunningChangesNothing_data();
    void requestWhileRunningChangesNothing();
    void requestAnsweringTheLastMessageIsAccepted_data();
    void requestAnsweringTheLastMessageIsAccepted();
    void jobWithoutExchanges_data();
    void jobWithoutExchanges();
    void destroyingDuringAnExchangeReturnsPromptly();
};

void TestWorkerControl::requestWhileRunningChangesNothing_data()
{
    QTest::addColumn<int>("runningJob");
    QTest::addColumn<int>("requestedJob");

    QTest::newRow("read during a write") << int(MyThread::JobRead) << int(MyThread::JobWrite);
    QTest::newRow("write during a read") << int(MyThread::JobWrite) << int(MyThread::JobRead);
    QTest::newRow("upload during a write") << int(MyThread::JobWrite) << int(MyThread::JobUpload);
}

void TestWorkerControl::requestWhileRunningChangesNothing()
{
    QFETCH(int, runningJob);
    QFETCH(int, requestedJob);

    // Slow answers keep the first job busy for about two seconds.
    SimulatedModemOptions options;
    options.answerDelayMs = 400;
    Bench bench(options);
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    const DeviceSettings record = handMadeRecord();
    loadModem(bench.modem, record);
    const QStringList files{"first.py"};
    JobRequest upload = bench.request();
    upload.uploadFiles = files;
    QVERIFY(bench.worker.startJob(MyThread::JobUpload, upload));
    QVERIFY(bench.waitForJobEnd());
    bench.spy.clear();

    JobRequest first = bench.request(0);
    if (runningJob == MyThread::JobWrite)
        first.settings = record;
    QVERIFY(bench.worker.startJob(runningJob, first));

    JobRequest second;
    second.portConfig = "dev=/nonexistent/other;baud=19200";
    second.keepConEnabled = 1;
    second.settings = staleRecord();
    second.uploadFiles = QStringList{"second.py"};
    QVERIFY(!bench.worker.startJob(requestedJob, second));
    QCOMPARE(bench.worker.job(), runningJob);
    QCOMPARE(bench.worker.portConfig(), first.portConfig);
    QCOMPARE(bench.worker.keepConEnabled(), 0);

    QVERIFY(bench.waitForJobEnd());
    QCOMPARE(bench.messages(),
             QStringList{bench.startMessage()} + (runningJob == MyThread::JobRead ? readMessages() : writeMessages));
    QCOMPARE(bench.modem.receivedFrames().size(), 5);
    QCOMPARE(bench.worker.job(), runningJob);
    QCOMPARE(bench.worker.portConfig(), first.portConfig);
    QCOMPARE(bench.worker.keepConEnabled(), 0);
    QCOMPARE(bench.worker.uploadFiles(), files);
    DeviceSettings expected = record;
    expected.setValue(DeviceSettings::KeepCon, "0");   // a 70-register read
    QCOMPARE(bench.worker.settings(), runningJob == MyThread::JobRead ? expected : record);
}

void TestWorkerControl::requestAnsweringTheLastMessageIsAccepted_data()
{
    QTest::addColumn<int>("job");
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QString>("portConfig");    // empty: the modem's own
    QTest::addColumn<QString>("lastMessage");

    SimulatedModemOptions normal;
    SimulatedModemOptions wrongCrc;
    wrongCrc.wrongCrc = true;
    QTest::newRow("after a Read") << int(MyThread::JobRead) << normal << QString() << "It is Readed 31";
    QTest::newRow("after a Write") << int(MyThread::JobWrite) << normal << QString() << "It is Ready 100%";
    QTest::newRow("after a bad CRC") << int(MyThread::JobRead) << wrongCrc << QString()
                                     << "There is bad CRC16 sum of 145 bytes";
    QTest::newRow("after a port that did not open") << int(MyThread::JobRead) << normal << "dev=/nonexistent/tty0"
                                                    << "The Port dev=/nonexistent/tty0 was not open";
    QTest::newRow("after an unknown job") << 7 << normal << QString() << "There is onknowed thread 7";
}

// The window starts the next job as soon as the last message is shown; the
// worker must not still count as busy then.
void TestWorkerControl::requestAnsweringTheLastMessageIsAccepted()
{
    QFETCH(int, job);
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QString, portConfig);
    QFETCH(QString, lastMessage);

    Bench bench(options);
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    loadModem(bench.modem, handMadeRecord());
    std::optional<bool> accepted;
    QObject::connect(&bench.relay, &ResponseRelay::response, &bench.relay, [&](const QString &message) {
        if (message != lastMessage || accepted)
            return;
        bench.modem.setOptions({});
        accepted = bench.worker.startJob(MyThread::JobRead, bench.request());
    });

    JobRequest request = bench.request();
    if (!portConfig.isEmpty())
        request.portConfig = portConfig;
    QVERIFY(bench.worker.startJob(job, request));
    // Events are handled without the pauses of QTRY_*, so the message is
    // taken up the moment it arrives, as a busy window would.
    QElapsedTimer clock;
    clock.start();
    while (!accepted && clock.elapsed() < JobLimit)
        QCoreApplication::processEvents();
    QVERIFY(accepted.has_value());
    QVERIFY(*accepted);

    QVERIFY(bench.waitForJobEnd());
    const QStringList messages = bench.messages();
    const int last = messages.indexOf(lastMessage);
    QVERIFY(last >= 0);
    QCOMPARE(messages.mid(last + 1), QStringList{bench.startMessage()} + readMessages());
}

void TestWorkerControl::jobWithoutExchanges_data()
{
    QTest::addColumn<int>("job");
    QTest::addColumn<QString>("lastMessage");   // empty: none after "Start process whith ..."

    QTest::newRow("upload") << int(MyThread::JobUpload) << QString();
    QTest::newRow("code 0") << 0 << "There is onknowed thread 0";
    QTest::newRow("code -1") << -1 << "There is onknowed thread -1";
}

void TestWorkerControl::jobWithoutExchanges()
{
    QFETCH(int, job);
    QFETCH(QString, lastMessage);

    Bench bench;
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    JobRequest request = bench.request();
    request.uploadFiles = QStringList{"a.py", "b.py"};
    QVERIFY(bench.worker.startJob(job, request));
    QVERIFY(bench.waitForJobEnd());

    QStringList expected{bench.startMessage()};
    if (!lastMessage.isEmpty())
        expected.append(lastMessage);
    QCOMPARE(bench.messages(), expected);
    QCOMPARE(bench.modem.receivedFrames(), QList<QByteArray>());
    QCOMPARE(bench.worker.job(), job);
    QCOMPARE(bench.worker.uploadFiles(), QStringList({"a.py", "b.py"}));

    // The job closed the port behind it.
    QSerialPort port(bench.modem.portName());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
}

void TestWorkerControl::destroyingDuringAnExchangeReturnsPromptly()
{
    SimulatedModemOptions options;
    options.silent = true;
    SimulatedModem modem(options);
    QVERIFY2(modem.start(), qPrintable(modem.errorString()));
    ResponseRelay relay;
    QSignalSpy spy(&relay, &ResponseRelay::response);

    // The link keeps its six-second answer time-out here.
    auto worker = std::make_unique<MyThread>();
    QObject::connect(worker.get(), &MyThread::response, &relay, &ResponseRelay::response, Qt::QueuedConnection);
    JobRequest request;
    request.portConfig = modem.connectionText();
    QVERIFY(worker->startJob(MyThread::JobRead, request));
    QTRY_COMPARE_WITH_TIMEOUT(modem.receivedFrames().size(), 1, JobLimit);

    QElapsedTimer clock;
    clock.start();
    worker.reset();
    // Far below the six seconds a finished wait would take.
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

    QCoreApplication::sendPostedEvents();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Start process whith ") + modem.connectionText());
    QCOMPARE(modem.receivedFrames().size(), 1);
    QSerialPort port(modem.portName());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
}

QTEST_GUILESS_MAIN(TestWorkerControl)
#include "tst_workercontrol.moc"
