// The gprs-modem-sim program as a user runs it: its first line, its
// options, its answers on the pseudo-terminal it names, its settings files
// and its orderly end on a signal.

#include "devicesettings.h"
#include "modbusframe.h"
#include "settingsfile.h"
#include "simtestsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <sys/types.h>

namespace {

const QString program = QStringLiteral(GPRS_TEST_BUILD_DIR "/gprs-modem-sim");

// A running simulator with the serial port its first line names.
class RunningSimulator {
public:
    explicit RunningSimulator(const QStringList &arguments)
    {
        process.start(program, arguments);
        if (!process.waitForStarted(ArrivalLimitMs))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && timer.elapsed() < ArrivalLimitMs
               && process.state() == QProcess::Running)
            process.waitForReadyRead(100);
        firstLine = QString::fromLocal8Bit(process.readLine()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^dev=(/dev/pts/\\d+);baud=(\\d+)$")).match(firstLine);
        opened = match.hasMatch() && openClient(port, match.captured(1), match.captured(2).toInt());
    }

    ~RunningSimulator()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(ArrivalLimitMs);
        }
    }

    // Ends it with the signal a user's Ctrl+C or a service manager sends.
    bool endWith(int signalNumber)
    {
        port.close();
        return ::kill(static_cast<pid_t>(process.processId()), signalNumber) == 0
            && process.waitForFinished(ArrivalLimitMs);
    }

    QProcess process;
    QSerialPort port;
    QString firstLine;
    bool opened = false;
};

// Out of the file's own order and with only some of the keys, as a user's
// hand-edited file may be; one key of each kind of register image.
const char *const settingsDocumentText = R"(<?xml version="1.0" encoding="UTF-8"?>
<conf>
    <prm>
        <ComPort name="dev=COM7;baud=9600"/>
        <apnServer name="internet.example"/>
        <RxSetting name="19200,8,1,E,0,0"/>
        <MirrServ4 name="192.168.1.4"/>
        <MirrPort4 name="65535"/>
        <MirrServ2 name="10.0.0.2"/>
        <MirrPort2 name="5002"/>
        <PhNum1 name="+79001112233"/>
        <PhNum2 name=""/>
        <KeepCon name="1"/>
        <EnableKeepCon name="0"/>
        <IP name="10.20.30.40"/>
        <MbsAdr name="17"/>
        <ToutWaitNext name="100"/>
    </prm>
</conf>
)";

} // namespace

class TestGprsModemSim : public QObject {
    Q_OBJECT

private slots:
    void helpListsEveryOption();
    void answersAsItsOptionsSay_data();
    void answersAsItsOptionsSay();
    void silentModemHearsButNeverAnswers();
    void endsCleanlyOnASignal_data();
    void endsCleanlyOnASignal();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void loadAndDumpRoundTrip();
};

void TestGprsModemSim::helpListsEveryOption()
{
    QProcess process;
    process.start(program, {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(ArrivalLimitMs));
    QCOMPARE(process.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(process.readAllStandardOutput());
    for (const char *option : {"--port", "--baud", "--load", "--dump", "--trace", "--silent", "--bad-crc",
                               "--bad-crc-block", "--exception-block", "--exception-code", "--old-firmware",
                               "--delay", "--byte-gap", "--split", "--answer-address", "--pacing", "--help"})
        QVERIFY2(help.contains(QRegularExpression(QStringLiteral("(^|[ ,])%1[ ,=<\\n]").arg(option),
                                                  QRegularExpression::MultilineOption)),
                 option);
}

void TestGprsModemSim::answersAsItsOptionsSay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    const QByteArray readTwo = hex("40 03 00 00 00 02 CB 1A");
    const QByteArray zeroAnswer = hex("40 03 04 00 00 00 00 AB 37");
    QTest::newRow("other speed") << QStringList{"--baud", "19200"} << "19200" << readTwo << zeroAnswer;
    QTest::newRow("old firmware") << QStringList{"--old-firmware"} << "9600" << hex("40 03 00 00 00 47 0A E9")
                                  << hex("40 83 02 90 E5");
    QTest::newRow("exception for entry block 0") << QStringList{"--exception-block", "0x100", "--exception-code", "6"}
                                                 << "9600" << hex("40 03 01 00 00 0D 8A E2") << hex("40 83 06 91 26");
    QTest::newRow("bad CRC") << QStringList{"--bad-crc"} << "9600" << readTwo << hex("40 03 04 00 00 00 00 54 C8");
    QTest::newRow("bad CRC for the settings block")
        << QStringList{"--bad-crc-block", "0"} << "9600" << readTwo << hex("40 03 04 00 00 00 00 54 C8");
    QTest::newRow("other address") << QStringList{"--answer-address", "65"} << "9600" << readTwo
                                   << hex("41 03 04 00 00 00 00 BB F7");
    QTest::newRow("delay, gap, split and pacing")
        << QStringList{"--delay", "50", "--byte-gap", "5", "--split", "50", "--pacing"} << "9600" << readTwo
        << zeroAnswer;
}

void TestGprsModemSim::answersAsItsOptionsSay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, baud);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);

    RunningSimulator simulator(arguments);
    QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));
    QVERIFY(simulator.firstLine.endsWith(QStringLiteral(";baud=") + baud));

    QCOMPARE(exchange(simulator.port, request, answer.size()).toHex(' '), answer.toHex(' '));
}

void TestGprsModemSim::silentModemHearsButNeverAnswers()
{
    RunningSimulator simulator({QStringLiteral("--silent"), QStringLiteral("--trace")});
    QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));
    const QByteArray request = hex("40 03 00 00 00 02 CB 1A");
    send(simulator.port, request + request);

    // The trace shows each frame as it is heard, and an answer right after
    // the frame it belongs to, so two frames without answers in between
    // mean the first one got none.
    QByteArray trace;
    QTRY_VERIFY_WITH_TIMEOUT((trace += simulator.process.readAllStandardOutput()).count("<<") >= 2, ArrivalLimitMs);
    QCOMPARE(trace, QByteArray("<< 40 03 00 00 00 02 CB 1A enddamp\n<< 40 03 00 00 00 02 CB 1A enddamp\n"));
    QCOMPARE(simulator.port.bytesAvailable(), qint64(0));
}

void TestGprsModemSim::endsCleanlyOnASignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestGprsModemSim::endsCleanlyOnASignal()
{
    QFETCH(int, signalNumber);
    RunningSimulator simulator({});
    QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));
    QVERIFY(simulator.endWith(signalNumber));
    QCOMPARE(simulator.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.process.exitCode(), 0);
    QVERIFY(simulator.process.readAllStandardError().isEmpty());
}

void TestGprsModemSim::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("delay not a number") << QStringList{"--delay", "soon"} << 2;
    QTest::newRow("exception code 0") << QStringList{"--exception-code", "0"} << 2;
    QTest::newRow("register past the map") << QStringList{"--exception-block", "512"} << 2;
    QTest::newRow("address above 255") << QStringList{"--answer-address", "256"} << 2;
    QTest::newRow("stray argument") << QStringList{"/dev/ttyS0"} << 2;
    QTest::newRow("missing port") << QStringList{"--port", "/nonexistent/ttyGPRS0"} << 1;
    QTest::newRow("missing settings file") << QStringList{"--load", "/nonexistent/simconf.xml"} << 1;
}

void TestGprsModemSim::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QProcess process;
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(ArrivalLimitMs));
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().startsWith("gprs-modem-sim: "));
}

void TestGprsModemSim::loadAndDumpRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString input = dir.filePath(QStringLiteral("in.xml"));
    const QString output = dir.filePath(QStringLiteral("out.xml"));
    QFile file(input);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(settingsDocumentText);
    file.close();

    RunningSimulator simulator({QStringLiteral("--load"), input, QStringLiteral("--dump"), output});
    QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));

    // The loaded settings are in the registers: register 21 begins apnServer
    // ("in", low byte first, so "n" goes first on the wire), 57 is MbsAdr,
    // 58 RxSetting, 70 KeepCon.
    const QByteArray block = exchange(simulator.port, hex("40 03 00 00 00 47 0A E9"), 147);
    QCOMPARE(block.size(), 147);
    QCOMPARE(block.mid(3 + 2 * 21, 2), QByteArray("ni"));
    QCOMPARE(block.mid(3 + 2 * 57, 2).toHex(' '), QByteArray("00 11"));
    QCOMPARE(block.mid(3 + 2 * 70, 2).toHex(' '), QByteArray("00 01"));

    // A write of entry block 1 is dumped at once.
    DeviceSettings written;
    written.setValue(DeviceSettings::PhNum2, QStringLiteral("+79009998877"));
    written.setValue(DeviceSettings::MirrServ2, QStringLiteral("172.16.0.9"));
    written.setValue(DeviceSettings::MirrPort2, QStringLiteral("7002"));
    QCOMPARE(exchange(simulator.port, writeRequest(0x140, written.encodeEntryBlock(1)), 8).toHex(' '),
             hex("40 10 01 40 00 0D 0E F5").toHex(' '));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output), ArrivalLimitMs);

    QVERIFY(simulator.endWith(SIGTERM));
    QCOMPARE(simulator.process.exitCode(), 0);

    const SettingsFileContent loaded = readSettingsFile(input, false);
    const SettingsFileContent dumped = readSettingsFile(output, false);
    QCOMPARE(dumped.status, SettingsFileContent::Loaded);
    const QHash<QString, QString> changed{{QStringLiteral("ComPort"), simulator.firstLine},
                                          {QStringLiteral("EnableKeepCon"), QStringLiteral("1")},
                                          {QStringLiteral("PhNum2"), QStringLiteral("+79009998877")},
                                          {QStringLiteral("MirrServ2"), QStringLiteral("172.16.0.9")},
                                          {QStringLiteral("MirrPort2"), QStringLiteral("7002")}};
    QStringList keys;
    QHash<QString, QString> values;
    for (const SettingsPair &pair : dumped.pairs) {
        keys.append(pair.first);
        values.insert(pair.first, pair.second);
    }
    QCOMPARE(keys, settingsFileKeys());
    for (const SettingsPair &pair : loaded.pairs)
        QCOMPARE(values.value(pair.first), changed.value(pair.first, pair.second));
}

QTEST_GUILESS_MAIN(TestGprsModemSim)
#include "tst_gprsmodemsim.moc"
