// The simulated modem, a tool of the other tests, as a user runs it: the
// answers of gprs-modem-sim on the pseudo-terminal it names, with every fault
// it can play, its exit statuses, its settings files and its end on a signal.

#include "golden.h"
#include "modbusframe.h"
#include "rtuframing.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using Frames = QList<QByteArray>;

namespace {

constexpr int ArrivalLimitMs = 10000;   // only reached when something is broken
const QString program = GPRS_TEST_BUILD_DIR "/gprs-modem-sim";

Frames frames(std::initializer_list<const char *> texts)
{
    Frames list;
    for (const char *text : texts)
        list.append(hex(text));
    return list;
}

// What has come once at least `length` bytes are there, or by the limit.
QByteArray readAtLeast(QSerialPort &port, int length)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray received = port.readAll();
    while (received.size() < length && timer.elapsed() < ArrivalLimitMs) {
        port.waitForReadyRead(50);
        received += port.readAll();
    }
    return received;
}

// gprs-modem-sim running, with its line opened as its first line names it.
struct RunningSimulator {
    explicit RunningSimulator(const QStringList &arguments)
    {
        process.start(program, arguments);
        QElapsedTimer timer;
        timer.start();
        // The servers' connection texts come first.
        for (int line = 0; line < 4 && !firstLine.startsWith("dev=/"); ++line) {
            while (!process.canReadLine() && process.state() != QProcess::NotRunning && timer.elapsed() < ArrivalLimitMs)
                process.waitForReadyRead(50);
            const QString text = QString::fromLocal8Bit(process.readLine()).trimmed();
            if (text.startsWith("dev=/"))
                firstLine = text;
            else
                servers << text.left(text.lastIndexOf(':'));
        }
        const QRegularExpressionMatch match = QRegularExpression("^dev=(/dev/pts/\\d+);baud=(\\d+)$").match(firstLine);
        port.setPortName(match.captured(1));
        opened = match.hasMatch() && port.open(QIODevice::ReadWrite) && port.setBaudRate(match.captured(2).toInt());
    }
    ~RunningSimulator()
    {
        process.kill();
        process.waitForFinished(ArrivalLimitMs);
    }
    QByteArray exchange(const QByteArray &request, int answerLength)
    {
        port.write(request);
        return readAtLeast(port, answerLength);
    }
    QProcess process;
    QSerialPort port;
    QString firstLine;    // the serial line's connection text
    QStringList servers;  // the servers' connection texts without their ports
    bool opened = false;
};

} // namespace

class TestSim : public QObject {
    Q_OBJECT

private slots:
    // Requests sent one after the other, each answered (or not) before the next.
    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Frames>("requests");
        QTest::addColumn<Frames>("answers");
        QTest::addColumn<int>("leastMs");   // no answer comes sooner
        const char *readTwo = "40 03 00 00 00 02 CB 1A", *zeros = "40 03 04 00 00 00 00 AB 37";
        const char *read256 = "40 03 01 00 00 01 8A E7", *read71 = "40 03 00 00 00 47 0A E9";
        const char *writeBeef = "40 10 01 00 00 01 02 BE EF BA EF";

        QTest::newRow("defaults") << QStringList() << frames({readTwo}) << frames({zeros}) << 0;
        QTest::newRow("exception 1: function 6") << QStringList() << frames({"40 06 00 01 00 03 97 1A"})
                                                 << frames({"40 86 01 D3 B4"}) << 0;
        QTest::newRow("largest read; exception 3 before 2") << QStringList()
            << frames({"40 03 00 00 00 7D 8A FA", "40 03 01 FF 00 7E FB 37"})
            << Frames{hex("40 03 FA") + QByteArray(250, 0) + hex("34 D8"), hex("40 83 03 51 25")} << 0;
        QTest::newRow("silent to frames not its own") << QStringList()
            << frames({"41 03 00 00 00 02 CA CB", "40 03 00 00 00 02 CB 1B", "40 03", readTwo})
            << frames({"", "", "", zeros}) << 0;
        QTest::newRow("broadcast write done, not answered") << QStringList()
            << frames({"00 10 01 00 00 01 02 BE EF 8B 2C", read256}) << frames({"", "40 03 02 BE EF B4 67"}) << 0;
        QTest::newRow("exception block and code") << QStringList{"--exception-block", "0x100", "--exception-code", "6"}
            << frames({"40 03 01 00 00 0D 8A E2", writeBeef, readTwo}) << frames({"40 83 06 91 26", "40 90 06 9C 16", zeros})
            << 0;
        QTest::newRow("old firmware") << QStringList{"--old-firmware"}
            << (frames({read71, "40 03 00 45 00 02 DA CF", "40 03 00 45 00 01 9A CE", "40 03 01 00 00 0D 8A E2"})
                << withCrc(hex("40 10 00 00 00 47 8E") + QByteArray(142, 0)))
            << (frames({"40 83 02 90 E5", "40 83 02 90 E5", "40 03 02 00 00 84 4B"})
                << hex("40 03 1A") + QByteArray(26, 0) + hex("13 B3") << hex("40 90 02 9D D5")) << 0;
        QTest::newRow("bad CRC, writes still done") << QStringList{"--bad-crc"} << frames({readTwo, writeBeef, read256})
            << frames({"40 03 04 00 00 00 00 54 C8", "40 10 01 00 00 01 F0 DB", "40 03 02 BE EF 4B 98"}) << 0;
        QTest::newRow("bad CRC for one block") << QStringList{"--bad-crc-block", "0"} << frames({readTwo, read256})
                                               << frames({"40 03 04 00 00 00 00 54 C8", "40 03 02 00 00 84 4B"}) << 0;
        QTest::newRow("other address") << QStringList{"--answer-address", "65"} << frames({readTwo, "41 03 00 00 00 02 CA CB"})
                                       << frames({"41 03 04 00 00 00 00 BB F7", ""}) << 0;
        QTest::newRow("silent modem") << QStringList{"--silent"} << frames({readTwo, writeBeef}) << frames({"", ""}) << 0;
        QTest::newRow("delay") << QStringList{"--delay", "300"} << frames({readTwo}) << frames({zeros}) << 300;
        QTest::newRow("split") << QStringList{"--split", "300"} << frames({readTwo}) << frames({zeros}) << 300;
        QTest::newRow("byte gap") << QStringList{"--byte-gap", "40"} << frames({readTwo}) << frames({zeros}) << 8 * 40;
        // The 8-byte request, then the 147-byte answer, at 2400 baud.
        QTest::newRow("pacing") << QStringList{"--pacing", "--baud", "2400"} << frames({read71})
                                << Frames{hex("40 03 8E") + QByteArray(142, 0) + hex("D5 A3")} << (8 + 147) * 10 * 1000 / 2400;
        QTest::newRow("the line beside a server") << QStringList{"--tcp", "0"} << frames({readTwo}) << frames({zeros}) << 0;
        QTest::newRow("the line beside three servers") << QStringList{"--udp", "0", "--modbus-tcp", "0", "--tcp", "0"}
                                                       << frames({readTwo}) << frames({zeros}) << 0;
        QTest::newRow("echo comes first") << QStringList{"--echo"} << frames({readTwo, "40 03"}) << frames({zeros, ""}) << 0;
    }

    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Frames, requests);
        QFETCH(Frames, answers);
        QFETCH(int, leastMs);
        RunningSimulator simulator(arguments + QStringList{"--trace"});
        QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));
        const int baud = arguments.indexOf("--baud");
        QVERIFY(simulator.firstLine.endsWith(";baud=" + (baud < 0 ? "9600" : arguments.at(baud + 1))));
        // In this order, whatever the order of the options.
        const std::pair<QString, QString> doors[] = {{"--tcp", "tcp"}, {"--modbus-tcp", "modbustcp"},
                                                     {"--udp", "rtuoverudp"}};
        QStringList servers;
        for (const auto &[option, scheme] : doors) {
            if (arguments.contains(option))
                servers << "dev=" + scheme + "://127.0.0.1";
        }
        QCOMPARE(simulator.servers, servers);
        // The trace shows each frame heard and its answer, if any, before that goes out.
        const auto dump = [](const QByteArray &frame) { return hexDumpText(frame.constData(), frame.size()); };
        QByteArray trace, traced;
        for (int i = 0; i < requests.size(); ++i) {
            trace += "<<" + dump(requests.at(i)) + (answers.at(i).isEmpty() ? QByteArray() : ">>" + dump(answers.at(i)));
            QElapsedTimer timer;
            timer.start();
            simulator.port.write(requests.at(i));
            QTRY_VERIFY_WITH_TIMEOUT((traced += simulator.process.readAllStandardOutput()).count("<<") > i, ArrivalLimitMs);
            const QByteArray heard = (arguments.contains("--echo") ? requests.at(i) : QByteArray()) + answers.at(i);
            QCOMPARE(readAtLeast(simulator.port, heard.size()).toHex(' '), heard.toHex(' '));
            QVERIFY2(timer.elapsed() >= leastMs, qPrintable(QString::number(timer.elapsed())));
        }
        QTRY_COMPARE_WITH_TIMEOUT(traced += simulator.process.readAllStandardOutput(), trace, ArrivalLimitMs);
        QCOMPARE(simulator.port.bytesAvailable(), qint64(0));
    }

    // %f: a settings file with a port the modem cannot hold.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");   // its start
        QTest::addColumn<QByteArray>("said");     // on standard error, after the program's name; empty: nothing
        QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("gprs-modem-sim 0.1.0\n") << QByteArray();
        QTest::newRow("help names the program") << QStringList{"--help"} << 0
                                                << QByteArray("Usage: gprs-modem-sim [options]\n") << QByteArray();
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QByteArray()
                                        << QByteArray("Unknown option 'bogus'; try --help");
        QTest::newRow("delay not a number") << QStringList{"--delay", "soon"} << 2 << QByteArray()
                                            << QByteArray("--delay wants a number");
        QTest::newRow("address above 255") << QStringList{"--answer-address", "256"} << 2 << QByteArray()
                                           << QByteArray("--answer-address wants a number from 0 to 255");
        QTest::newRow("baud rate the modem lacks") << QStringList{"--baud", "12345"} << 2 << QByteArray()
            << QByteArray("the modem has no baud rate 12345 (it takes 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, "
                          "38400, 57600, 76800, 115200)\n");
        QTest::newRow("TCP port out of range") << QStringList{"--tcp", "65536"} << 2 << QByteArray()
                                               << QByteArray("--tcp wants [address:]port, a port from 0 to 65535");
        QTest::newRow("TCP address not of this machine") << QStringList{"--tcp", "192.0.2.1:5020"} << 1 << QByteArray()
                                                         << QByteArray("TCP port 5020 on 192.0.2.1: ");
        QTest::newRow("stray argument") << QStringList{"/dev/ttyS0"} << 2 << QByteArray()
                                        << QByteArray("unexpected argument");
        QTest::newRow("missing port") << QStringList{"--port", "/nonexistent/ttyGPRS0"} << 1 << QByteArray()
                                      << QByteArray("/nonexistent/ttyGPRS0");
        QTest::newRow("missing settings file") << QStringList{"--load", "/nonexistent/simconf.xml"} << 1 << QByteArray()
                                               << QByteArray("cannot open /nonexistent/simconf.xml");
        QTest::newRow("a value the modem cannot hold") << QStringList{"--load", "%f"} << 1 << QByteArray()
            << QByteArray("%f: Cannot write Mirror port 1 (MirrPort1): \"70000\" is not a whole number");
        QTest::newRow("dump into a missing folder") << QStringList{"--dump", "/nonexistent/out.xml"} << 1 << QByteArray()
                                                    << QByteArray("cannot write /nonexistent/out.xml: The folder");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, said);
        QTemporaryDir dir;
        const QString file = dir.filePath("in.xml");
        QVERIFY(writeFile(file, Golden::fileWith({{"MirrPort1", "70000"}})));
        arguments.replaceInStrings("%f", file);
        QProcess process;
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(ArrivalLimitMs));
        QCOMPARE(process.exitCode(), exitCode);
        QVERIFY(process.readAllStandardOutput().startsWith(output));
        const QByteArray error = process.readAllStandardError();
        QVERIFY2(said.isEmpty() ? error.isEmpty() : error.startsWith("gprs-modem-sim: " + said.replace("%f", file.toUtf8())),
                 error.constData());
    }

    void loadDumpAndSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void loadDumpAndSignals()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString input = dir.filePath("in.xml"), output = dir.filePath("out.xml");
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Golden::file) == Golden::file.size());
        file.close();
        RunningSimulator simulator({"--load", input, "--dump", output});
        QVERIFY2(simulator.opened, qPrintable(simulator.firstLine));
        // The registers hold the file's settings.
        QCOMPARE(simulator.exchange(hex("40 03 00 00 00 47 0A E9"), 147).toHex(' '),
                 (hex("40 03 8E") + Golden::wireOf(Golden::settingsBlock) + hex("97 17")).toHex(' '));
        QCOMPARE(simulator.exchange(hex("40 03 01 80 00 0D 8B 0A"), 31).toHex(' '),
                 (hex("40 03 1A") + Golden::wireOf(Golden::entryBlocks[2]) + hex("BA A5")).toHex(' '));
        // Entry block 0's settings written into block 1 are dumped at once, and again on exit.
        QCOMPARE(simulator.exchange(writeRequest(0x140, Golden::entryBlocks[0]), 8).toHex(' '),
                 hex("40 10 01 40 00 0D 0E F5").toHex(' '));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output), ArrivalLimitMs);
        QVERIFY(QFile::remove(output));
        simulator.port.close();
        QCOMPARE(::kill(pid_t(simulator.process.processId()), signalNumber), 0);
        QVERIFY(simulator.process.waitForFinished(ArrivalLimitMs));
        QCOMPARE(simulator.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(simulator.process.exitCode(), 0);
        QCOMPARE(simulator.process.readAllStandardError(), QByteArray());
        file.setFileName(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString(file.readAll()), QString(Golden::fileWith({{"ComPort", simulator.firstLine.toUtf8()}, {"EnableKeepCon", "1"},
                                                                  {"PhNum2", "+79160000001"},
                                                                  {"MirrServ2", "192.168.1.10"}, {"MirrPort2", "502"}})));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
