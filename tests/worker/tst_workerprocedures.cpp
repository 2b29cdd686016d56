// The Read and Write jobs against the simulated modem on a pseudo-terminal:
// what each sends, what it stores, what it says and what it traces.
#include "workertestsupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <fcntl.h>
#include <unistd.h>

using namespace WorkerTest;

namespace {

// Runs `job` with standard output sent into a file, so that its trace can be
// compared byte for byte.
QByteArray captureStdout(const QString &fileName, const std::function<void()> &job)
{
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    job();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    QFile trace(fileName);
    return trace.open(QIODevice::ReadOnly) ? trace.readAll() : QByteArray();
}

// A normal read answer for the given host-order block.
QByteArray readAnswer(const QByteArray &hostOrderBlock)
{
    QByteArray answer;
    answer.append(char(0x40)).append(char(0x03)).append(char(hostOrderBlock.size()));
    for (quint16 value : registersOf(hostOrderBlock))
        answer.append(char(value >> 8)).append(char(value & 0xFF));
    answer.append(2, '\0');
    appendCrc16(answer.data(), answer.size());
    return answer;
}

QByteArray dump(const QByteArray &bytes)
{
    return hexDumpText(bytes.constData(), bytes.size());
}

} // namespace

class TestWorkerProcedures : public QObject {
    Q_OBJECT
private slots:
    void normalRead_data();
    void normalRead();
    void normalWrite_data();
    void normalWrite();
    void writeOfAReadRecordSendsTheSameRegisters();
    void traces_data();
    void traces();
};

void TestWorkerProcedures::normalRead_data()
{
    QTest::addColumn<int>("keepConEnabled");
    QTest::addColumn<bool>("oldFirmware");
    QTest::addColumn<QString>("firstMessage");
    QTest::addColumn<QString>("keepCon");

    QTest::newRow("70 registers, KeepCon ignored") << 0 << false << "Recieved 145 bytes" << "0";
    QTest::newRow("71 registers, KeepCon read") << 1 << false << "Recieved 147 bytes" << "2";
    QTest::newRow("70 registers on old firmware") << 0 << true << "Recieved 145 bytes" << "0";
}

void TestWorkerProcedures::normalRead()
{
    QFETCH(int, keepConEnabled);
    QFETCH(bool, oldFirmware);
    QFETCH(QString, firstMessage);
    QFETCH(QString, keepCon);

    SimulatedModemOptions options;
    options.oldFirmware = oldFirmware;
    Bench bench(options);
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    loadModem(bench.modem, handMadeRecord());
    bench.worker.setSettings(staleRecord());

    QVERIFY(bench.worker.startJob(MyThread::JobRead, bench.request(keepConEnabled)));
    QVERIFY(bench.waitForJobEnd());

    QCOMPARE(bench.messages(), QStringList{bench.startMessage()} + readMessages(firstMessage));
    DeviceSettings expected = handMadeRecord();
    expected.setValue(DeviceSettings::KeepCon, keepCon);
    QCOMPARE(bench.worker.settings(), expected);
    QCOMPARE(bench.modem.receivedFrames(), readRequests(keepConEnabled != 0));
    QCOMPARE(bench.worker.job(), int(MyThread::JobRead));
}

void TestWorkerProcedures::normalWrite_data()
{
    QTest::addColumn<int>("keepConEnabled");
    QTest::addColumn<quint16>("register70");
    QTest::addColumn<QByteArray>("settingsHeader");

    QTest::newRow("70 registers") << 0 << quint16(0xBEEF) << QByteArray::fromHex("4010000000468C");
    QTest::newRow("71 registers") << 1 << quint16(2) << QByteArray::fromHex("4010000000478E");
}

void TestWorkerProcedures::normalWrite()
{
    QFETCH(int, keepConEnabled);
    QFETCH(quint16, register70);
    QFETCH(QByteArray, settingsHeader);

    Bench bench;
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    fillModem(bench.modem, 0xBEEF);
    const DeviceSettings record = handMadeRecord();
    JobRequest request = bench.request(keepConEnabled);
    request.settings = record;

    QVERIFY(bench.worker.startJob(MyThread::JobWrite, request));
    QVERIFY(bench.waitForJobEnd());

    QCOMPARE(bench.messages(), QStringList{bench.startMessage()} + writeMessages);
    QCOMPARE(bench.worker.settings(), record);
    // Register 70 only with KeepCon; a few others by hand: MbsAdr, TryNum, the start of apnServer, MirrPort1.
    QCOMPARE(bench.modem.reg(70), register70);
    QCOMPARE(bench.modem.reg(57), quint16(247));
    QCOMPARE(bench.modem.reg(68), quint16(3));
    QCOMPARE(bench.modem.reg(21), quint16('i' | 'n' << 8));
    QCOMPARE(bench.modem.reg(0x100 + 12), quint16(502));

    const QList<QByteArray> frames = bench.modem.receivedFrames();
    QCOMPARE(frames, writeRequests(record, keepConEnabled != 0));
    QCOMPARE(frames.at(0).left(7), settingsHeader);
    QCOMPARE(frames.at(0).size(), keepConEnabled ? 151 : 149);
    const char *entryHeaders[] = {"40100100000D1A", "40100140000D1A", "40100180000D1A", "401001C0000D1A"};
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k) {
        QCOMPARE(frames.at(k + 1).left(7), QByteArray::fromHex(entryHeaders[k]));
        QCOMPARE(frames.at(k + 1).size(), 35);
    }
}

void TestWorkerProcedures::writeOfAReadRecordSendsTheSameRegisters()
{
    Bench bench;
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    loadModem(bench.modem, handMadeRecord());
    const QVector<quint16> settingsBefore = bench.modem.registers(0, 71);
    QVector<QVector<quint16>> entriesBefore;
    for (int first : EntryFirstRegister)
        entriesBefore.append(bench.modem.registers(first, 13));

    QVERIFY(bench.worker.startJob(MyThread::JobRead, bench.request(1)));
    QVERIFY(bench.waitForJobEnd());
    QCOMPARE(bench.messages().last(), QString("It is Readed 31"));

    // Wipe the modem so that only what the Write sends can bring the values back.
    fillModem(bench.modem, 0);
    QVERIFY(bench.worker.startJob(MyThread::JobWrite, bench.request(1)));
    QVERIFY(bench.waitForJobEnd());
    QCOMPARE(bench.messages().last(), QString("It is Ready 100%"));

    QCOMPARE(bench.modem.registers(0, 71), settingsBefore);
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
        QCOMPARE(bench.modem.registers(EntryFirstRegister[k], 13), entriesBefore.at(k));
}

void TestWorkerProcedures::traces_data()
{
    QTest::addColumn<int>("job");
    QTest::newRow("read") << int(MyThread::JobRead);
    QTest::newRow("write") << int(MyThread::JobWrite);
}

void TestWorkerProcedures::traces()
{
    QFETCH(int, job);

    Bench bench;
    QVERIFY2(bench.modem.start(), qPrintable(bench.modem.errorString()));
    const DeviceSettings record = handMadeRecord();
    loadModem(bench.modem, record);
    JobRequest request = bench.request(0);
    request.settings = record;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    bool ran = false;
    const QByteArray trace = captureStdout(dir.filePath("stdout"), [&] {
        ran = bench.worker.startJob(job, request) && bench.waitForJobEnd();
    });
    QVERIFY(ran);

    QByteArray expected = "run\n";
    if (job == MyThread::JobRead) {
        // Requests before they go out; the settings answer as received and
        // again with its register bytes in memory order; entry answers as received.
        const QList<QByteArray> requests = readRequests(false);
        const QByteArray settingsAnswer = readAnswer(record.encodeSettingsBlock(false));
        QByteArray inMemoryOrder = settingsAnswer;
        inMemoryOrder.replace(3, 140, record.encodeSettingsBlock(false));
        expected += dump(requests.at(0)) + dump(settingsAnswer) + dump(inMemoryOrder);
        for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
            expected += dump(requests.at(k + 1)) + dump(readAnswer(record.encodeEntryBlock(k)));
    } else {
        // Write answers are not traced.
        for (const QByteArray &frame : writeRequests(record, false))
            expected += dump(frame);
    }
    QCOMPARE(trace, expected);
}

QTEST_GUILESS_MAIN(TestWorkerProcedures)
#include "tst_workerprocedures.moc"
