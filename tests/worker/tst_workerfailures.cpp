// Every way a job ends early: no port, a silent line, a bad check sum on any
// of the five exchanges, an exception, a stranger's answer, old firmware.
// Each must say why, send nothing more, and leave the record (Read) or the
// later blocks (Write) alone.
#include "workertestsupport.h"

using namespace WorkerTest;

namespace {

SimulatedModemOptions wrongCrcOn(int firstRegister)
{
    SimulatedModemOptions options;
    options.wrongCrcBlock = firstRegister;
    return options;
}

SimulatedModemOptions exceptionOn(int firstRegister, quint8 code)
{
    SimulatedModemOptions options;
    options.exceptionBlock = firstRegister;
    options.exceptionCode = code;
    return options;
}

} // namespace

class TestWorkerFailures : public QObject {
    Q_OBJECT
private slots:
    void jobEndsEarly_data();
    void jobEndsEarly();
};

void TestWorkerFailures::jobEndsEarly_data()
{
    QTest::addColumn<int>("job");
    QTest::addColumn<int>("keepConEnabled");
    QTest::addColumn<SimulatedModemOptions>("options");
    QTest::addColumn<QString>("portConfig");    // empty: the modem's own
    QTest::addColumn<int>("framesSent");        // the job's normal messages for all but the last come first
    QTest::addColumn<QString>("lastMessage");

    const int read = MyThread::JobRead;
    const int write = MyThread::JobWrite;
    SimulatedModemOptions normal;
    SimulatedModemOptions silent;
    silent.silent = true;
    SimulatedModemOptions oldFirmware;
    oldFirmware.oldFirmware = true;
    SimulatedModemOptions stranger;
    stranger.answerAddress = 0x41;
    const QString noPort = "dev=/nonexistent/ttyGPRS0;baud=9600";
    const QString accented = QString::fromUtf8("dev=/nonexistent/caf\xC3\xA9;baud=9600");

    QTest::newRow("read: no such port") << read << 0 << normal << noPort << 0
        << "The Port " + noPort + " was not open";
    QTest::newRow("write: no such port") << write << 0 << normal << noPort << 0
        << "The Port " + noPort + " was not open";
    QTest::newRow("read: accented port name shown as typed") << read << 0 << normal << accented << 0
        << "The Port " + accented + " was not open";
    QTest::newRow("read: port name beyond Latin-1") << read << 0 << normal
        << QString::fromUtf8("dev=/nonexistent/\xD0\xB6;baud=9600") << 0
        << "The Port dev=/nonexistent/?;baud=9600 was not open";

    QTest::newRow("read: silence") << read << 0 << silent << QString() << 1 << "There is bad CRC16 sum of 0 bytes";
    QTest::newRow("write: silence") << write << 0 << silent << QString() << 1 << "There is bad CRC16 sum of 0 bytes";

    QTest::newRow("read: bad CRC, settings block") << read << 0 << wrongCrcOn(0) << QString() << 1
        << "There is bad CRC16 sum of 145 bytes";
    QTest::newRow("read: bad CRC, settings block with KeepCon") << read << 1 << wrongCrcOn(0) << QString() << 1
        << "There is bad CRC16 sum of 147 bytes";
    QTest::newRow("read: bad CRC, entry 0") << read << 0 << wrongCrcOn(0x100) << QString() << 2
        << "There is bad CRC16 sum of 31 bytes";
    QTest::newRow("read: bad CRC, entry 3") << read << 0 << wrongCrcOn(0x1C0) << QString() << 5
        << "There is bad CRC16 sum of 31 bytes";
    QTest::newRow("write: bad CRC, settings block") << write << 0 << wrongCrcOn(0) << QString() << 1
        << "There is bad CRC16 sum of 8 bytes";
    QTest::newRow("write: bad CRC, entry 0") << write << 0 << wrongCrcOn(0x100) << QString() << 2
        << "There is bad CRC16 sum of 8 bytes on 1 step";
    QTest::newRow("write: bad CRC, entry 3") << write << 0 << wrongCrcOn(0x1C0) << QString() << 5
        << "There is bad CRC16 sum of 8 bytes on 4 step";

    QTest::newRow("read: exception on the settings block") << read << 0 << exceptionOn(0, 4) << QString() << 1
        << "The device answered with exception 4";
    QTest::newRow("read: exception on entry 1") << read << 0 << exceptionOn(0x140, 6) << QString() << 3
        << "The device answered with exception 6";
    QTest::newRow("write: exception on the settings block") << write << 0 << exceptionOn(0, 4) << QString() << 1
        << "The device answered with exception 4";
    QTest::newRow("write: exception on entry 2") << write << 0 << exceptionOn(0x180, 3) << QString() << 4
        << "The device answered with exception 3 on 3 step";

    QTest::newRow("read: old firmware refuses KeepCon") << read << 1 << oldFirmware << QString() << 1
        << "The device answered with exception 2";
    QTest::newRow("write: old firmware refuses KeepCon") << write << 1 << oldFirmware << QString() << 1
        << "The device answered with exception 2";

    QTest::newRow("read: answer from another address") << read << 0 << stranger << QString() << 1
        << "The answer of 145 bytes does not match the request";
    QTest::newRow("write: answer from another address") << write << 0 << stranger << QString() << 1
        << "The answer of 8 bytes does not match the request";
}

void TestWorkerFailures::jobEndsEarly()
{
    QFETCH(int, job);
    QFETCH(int, keepConEnabled);
    QFETCH(SimulatedModemOptions, options);
    QFETCH(QString, portConfig);
    QFETCH(int, framesSent);
    QFETCH(QString, lastMessage);

    Bench bench(options);
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    if (options.silent)
        bench.worker.setLinkTimeouts(300, 300, 100);
    const DeviceSettings record = handMadeRecord();
    constexpr quint16 untouched = 0x5A5A;
    if (job == MyThread::JobRead)
        loadModem(bench.modem, record);
    else
        fillModem(bench.modem, untouched);
    bench.worker.setSettings(staleRecord());

    JobRequest request = bench.request(keepConEnabled);
    if (!portConfig.isEmpty())
        request.portConfig = portConfig;
    if (job == MyThread::JobWrite)
        request.settings = record;
    QVERIFY(bench.worker.startJob(job, request));
    QVERIFY(bench.waitForJobEnd());

    QStringList messages = (job == MyThread::JobRead ? readMessages() : writeMessages).mid(0, qMax(0, framesSent - 1));
    if (portConfig.isEmpty())
        messages.prepend(bench.startMessage());
    QCOMPARE(bench.messages(), messages << lastMessage);

    const QList<QByteArray> allRequests =
        job == MyThread::JobRead ? readRequests(keepConEnabled != 0) : writeRequests(record, keepConEnabled != 0);
    QCOMPARE(bench.modem.receivedFrames(), allRequests.mid(0, framesSent));

    if (job == MyThread::JobRead) {
        QCOMPARE(bench.worker.settings(), staleRecord());
        return;
    }
    QCOMPARE(bench.worker.settings(), record);
    // Blocks acknowledged before the failure hold the record; blocks after
    // it were never sent. The failing block itself depends on the fault.
    const int failedBlock = framesSent - 1;
    for (int block = 0; block <= DeviceSettings::EntryBlockCount; ++block) {
        const int first = block == 0 ? 0 : EntryFirstRegister[block - 1];
        const QByteArray image = block == 0 ? record.encodeSettingsBlock(keepConEnabled != 0)
                                            : record.encodeEntryBlock(block - 1);
        const QVector<quint16> registers = bench.modem.registers(first, image.size() / 2);
        if (block < failedBlock)
            QCOMPARE(registers, registersOf(image));
        else if (block > failedBlock)
            QCOMPARE(registers, QVector<quint16>(image.size() / 2, untouched));
    }
}

QTEST_GUILESS_MAIN(TestWorkerFailures)
#include "tst_workerfailures.moc"
