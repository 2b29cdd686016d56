// The command-line tool as a script runs it, against the simulated modem on
// a pseudo-terminal: each command's exit status, its output, its last word
// on standard error, and what the modem and the files hold afterwards.

#include "commandline.h"
#include "connectiontext.h"
#include "csvtable.h"
#include "golden.h"
#include "modemdetector.h"
#include "provisionreport.h"
#include "simulatedmodemoptions.h"
#ifdef GPRS_SIMULATED_MODEM
#include "ser2netserver.h"
#include "settingsimage.h"
#include "simulatedmodem.h"
#endif

#include <QBuffer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <future>
#include <mutex>

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

DeviceSettings goldenWith(int index, const QString &value)
{
    DeviceSettings record = Golden::record();
    record.setValue(index, value);
    return record;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    // The journal of Writes goes to a folder of the test's own.
    void initTestCase()
    {
        QVERIFY(dataHome.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    }

    // %c: the modem's connection text, %p: its port, %t: its server's
    // connection text, %g: its Modbus TCP gateway's, %u: its UDP door's,
    // %r: ser2net's in front of its line, at 9600 (%T, %G, %U and %R: their
    // plain HOST:PORT), %q: a port on which nothing answers, %d: a scratch
    // folder (%n: its folder "no", as the system writes it) holding in.xml
    // (the input, when given); saved.xml is checked when given.
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");      // "<full disk>": standard output is a disk that is full; "^…": a pattern
        QTest::addColumn<QString>("lastMessage");   // its start, after the program's name; "…": its end; empty: nothing said;
                                                    // of two lines: all that is said
        QTest::addColumn<DeviceSettings>("modemHolds");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<int>("frames");            // the requests the modem heard; -1: not counted
        const QByteArray none, newPhone = "+70000000000", asRead = Golden::fileWith({{"ComPort", "%c"}, {"KeepCon", "0"}});
        const QByteArray changed = Golden::fileWith({{"PhNum1", newPhone}, {"TryNum", "003"}});
        const QByteArray partial = "<conf><prm><apnServer name=\"new.apn\"/><PhNum3 name=\"+70000000003\"/>"
                                   "<DNS1 name=\"1.1.1.1\"/></prm></conf>";
        const DeviceSettings golden = Golden::record(), written = goldenWith(DeviceSettings::PhNum1, newPhone);
        DeviceSettings merged = goldenWith(DeviceSettings::apnServer, "new.apn");
        merged.setValue(DeviceSettings::DNS1, "1.1.1.1");
        merged.setValue(DeviceSettings::PhNum3, "+70000000003");
        SimulatedModemOptions plain, at19200, dropping, failingEntry, oldFirmware;
        oldFirmware.oldFirmware = true;
        at19200.baudRate = 19200;
        dropping.droppedRegister = 0x101;   // characters 3 and 4 of PhNum1
        failingEntry.wrongCrcBlock = 0x100;
        const QStringList read{"read", "%c", "%d/saved.xml"}, write{"write", "%c", "%d/in.xml"};
        const QStringList backupVerify = QStringList{"--backup", "%d/saved.xml", "--verify"} + write;
        // A command's own help: its synopsis first, an option of its own, none of another command's.
        const auto usage = [](const QString &synopsis, const QString &own, const QString &others = {}) {
            return QStringLiteral("^Usage: gprs-configurator-cli %1\\n(?=.*%2)%3")
                .arg(QRegularExpression::escape(synopsis), QRegularExpression::escape(own),
                     others.isEmpty() ? QString() : QStringLiteral("(?!.*%1)").arg(QRegularExpression::escape(others)))
                .toUtf8();
        };

        QTest::newRow("read, standard output") << QStringList{"read", "%c", "-"} << plain << none << 0
            << Golden::fileWith({{"ComPort", "%c"}, {"EnableKeepCon", "1"}}) << "It is Readed 31" << golden << none << 5;
        QTest::newRow("read, 70 registers") << QStringList{"--no-keep-con"} + read << plain << none << 0 << none
                                           << "It is Readed 31" << golden << asRead << 5;
        QTest::newRow("write, the file's form") << write << plain << changed << 0 << none << "It is Ready 100%" << written
                                               << none << 6;
        QTest::newRow("write --verify, a value dropped") << QStringList{"--verify"} + write << dropping << changed << 1
            << none << "Verify: PhNum1 is \"+79100000000\" on the modem, not \"+70000000000\""
            << goldenWith(DeviceSettings::PhNum1, "+79100000000") << none << 7;
        // Having read the modem, a write sends only the blocks that differ and verifies those.
        QTest::newRow("write --backup --verify, one block differs") << backupVerify << plain << changed << 0 << none
            << "Verified: the modem holds what was written" << written << asRead << 7;
        QTest::newRow("write --backup --verify, nothing differs") << backupVerify << plain << Golden::file << 0 << none
            << "The modem already holds the settings of %d/in.xml: nothing was written" << golden << asRead << 5;
        QTest::newRow("write --backup, the read fails") << QStringList{"--backup", "%d/saved.xml"} + write << failingEntry
            << Golden::fileWith({{"apnServer", "changed"}}) << 1 << none << "Nothing was written: There is bad CRC16 sum of 31 bytes" << golden
            << none << 2;
        QTest::newRow("write, a partial file") << write << plain << partial << 2 << none
            << "%d/in.xml lacks 32 of the modem's 35 settings: apnLogin, apnPassword, TxSetting, " << golden << none << 0;
        QTest::newRow("write --merge --verify, a partial file") << QStringList{"--merge", "--verify"} + write << plain
            << partial << 0 << none << "Verified: the modem holds what was written" << merged << none << 9;
        QTest::newRow("diff, a value differs") << QStringList{"diff", "%c", "%d/in.xml"} << plain << changed << 1
            << QByteArray("PhNum1: +79160000001 -> +70000000000\n") << "It is Readed 31" << golden << none << 5;
        QTest::newRow("diff, none differs") << QStringList{"diff", "%c", "%d/in.xml"} << plain << Golden::file << 0 << none
                                           << "It is Readed 31" << golden << none << 5;
        QTest::newRow("diff, a partial file") << QStringList{"diff", "%c", "%d/in.xml"} << plain << partial << 1
            << QByteArray("apnServer: internet.beeline.ru -> new.apn\nPhNum3: Дежурный -> +70000000003\n"
                          "DNS1: 195.34.32.116 -> 1.1.1.1\n")
            << "%d/in.xml lacks 32 of the modem's 35 settings, which were not compared: apnLogin, " << golden << none << 5;
        QTest::newRow("detect at 19200") << QStringList{"detect", "/nonexistent/ttyGPRS", "%p"} << at19200 << none << 0
            << QByteArray("dev=%p;baud=19200\n") << "The modem answers on dev=%p;baud=19200" << golden << none << -1;
        QTest::newRow("damaged file: the element left open") << write << plain
            << QByteArray(Golden::file).replace("<ToutWaitAnsw name=\"5000\"/>", "<ToutWaitAnsw name=\"5000\">") << 2 << none
            << "The configuration file is damaged at line 10: %d/in.xml: <ToutWaitAnsw> starts on this line and is never "
               "closed (noticed at line 41: Opening and ending tag mismatch.)" << golden << none << 0;
        QTest::newRow("write --merge, only a misspelt key") << QStringList{"--merge"} + write << plain
            << QByteArray("<conf><prm><APNServer name=\"x\"/></prm></conf>") << 2 << none
            << "%d/in.xml gives none of the modem's 35 settings: nothing was done" << golden << none << 0;
        QTest::newRow("diff -q names a misspelt key") << QStringList{"-q", "diff", "%c", "%d/in.xml"} << plain
            << QByteArray(Golden::file).replace("</prm>", "<APNServer name=\"x\"/></prm>") << 0 << none
            << "%d/in.xml has keys that are not settings, which were ignored: APNServer" << golden << none << 5;
        QTest::newRow("diff of a value write refuses") << QStringList{"diff", "%c", "%d/in.xml"} << plain
            << Golden::fileWith({{"ToutWaitAnsw", "5009"}}) << 2 << none
            << "Cannot write Timeout answer (ToutWaitAnsw): the modem keeps this time in steps of 10, so \"5009\" would "
               "read back as 5000" << golden << none << 0;
        QTest::newRow("a baud rate the modem lacks") << QStringList{"read", "dev=%p;baud=1", "-"} << plain << none << 2 << none
            << "The connection \"dev=%p;baud=1\" asks for 1 baud, which the modem does not have; it takes 300, 600, 1200, "
               "2400, 4800, 9600, 14400, 19200, 38400, 57600, 76800, 115200" << golden << none << 0;
        QTest::newRow("invalid value") << write << plain << Golden::fileWith({{"MirrPort1", "70000"}}) << 2 << none
            << "Cannot write Mirror port 1 (MirrPort1): \"70000\" is not a whole number from 0 to 65535" << golden << none
            << 0;
        QTest::newRow("read, old firmware") << QStringList{"read", "%c", "-"} << oldFirmware << none << 1 << none
            << "The device answered with exception 2. The modem may lack the keep-connection register: use "
               "--no-keep-con and try again" << golden << none << 1;
        QTest::newRow("read over TCP") << QStringList{"read", "%t", "-"} << plain << none << 0
            << Golden::fileWith({{"ComPort", "%t"}, {"EnableKeepCon", "1"}}) << "It is Readed 31" << golden << none << 5;
        QTest::newRow("read through a Modbus TCP gateway") << QStringList{"read", "%g", "-"} << plain << none << 0
            << Golden::fileWith({{"ComPort", "%g"}, {"EnableKeepCon", "1"}}) << "It is Readed 35" << golden << none << 5;
        QTest::newRow("write through a Modbus TCP gateway") << QStringList{"write", "%g", "%d/in.xml"} << plain << changed
            << 0 << none << "It is Ready 100%" << written << none << 6;
        SimulatedModemOptions gatewayAlone;
        gatewayAlone.exceptionBlock = 0;
        gatewayAlone.exceptionCode = 0x0B;
        QTest::newRow("a gateway whose modem is silent") << QStringList{"read", "%g", "-"} << gatewayAlone << none << 1
            << none << "The device answered with exception 11. The modem behind the gateway did not answer: check the "
               "gateway's serial side" << golden << none << 1;
        QTest::newRow("detect: the first answer stops the other ports' searches") << QStringList{"detect", "%p", "%q"}
            << plain << none << 0 << QByteArray("dev=%p;baud=9600\n") << "The modem answers on dev=%p;baud=9600" << golden
            << none << -1;
        // Given a plain address, detect finds the framing: RTU over TCP first, and
        // a gateway that closes the connection on RTU's bytes speaks Modbus TCP.
        QTest::newRow("detect, RTU over TCP from HOST:PORT") << QStringList{"detect", "%T"} << plain << none << 0
            << QByteArray("%t\n") << "The modem answers on %t" << golden << none << 1;
        QTest::newRow("detect, a gateway from HOST:PORT") << QStringList{"detect", "%G"} << plain << none << 0
            << QByteArray("%g\n") << "The modem answers on %g" << golden << none << 2;
        QTest::newRow("detect, RTU over UDP from HOST:PORT") << QStringList{"detect", "%U"} << plain << none << 0
            << QByteArray("%u\n") << "The modem answers on %u" << golden << none << 1;
        QTest::newRow("read over UDP") << QStringList{"read", "%u", "-"} << plain << none << 0
            << Golden::fileWith({{"ComPort", "%u"}, {"EnableKeepCon", "1"}}) << "It is Readed 31" << golden << none << 5;
        // Telnet's negotiation tells an RFC 2217 server, whose port detect then sets.
        QTest::newRow("detect, RFC 2217 from HOST:PORT") << QStringList{"detect", "%R"} << plain << none << 0
            << QByteArray("%r\n") << "The modem answers on %r" << golden << none << -1;
        QTest::newRow("read through RFC 2217") << QStringList{"read", "%r", "-"} << plain << none << 0
            << Golden::fileWith({{"ComPort", "%r"}, {"EnableKeepCon", "1"}}) << "It is Readed 31" << golden << none << 5;
        QTest::newRow("RTU over TCP to an RFC 2217 server") << QStringList{"read", "dev=tcp://%R", "-"} << plain << none
            << 1 << none << "…%R speaks RFC 2217 (telnet): connect with %r" << golden << none << -1;
        QTest::newRow("detect over TCP") << QStringList{"detect", "%t"} << plain << none << 0 << QByteArray("%t\n")
                                         << "The modem answers on %t" << golden << none << 1;
        QTest::newRow("a server that refuses") << QStringList{"read", "dev=tcp://127.0.0.1:1", "-"} << plain << none << 1
            << none << "The Port dev=tcp://127.0.0.1:1 was not open. 127.0.0.1:1 refused the connection" << golden << none
            << 0;
        QTest::newRow("missing port") << QStringList{"read", "dev=/nonexistent/ttyGPRS", "-"} << plain << none << 1 << none
                                      << "The Port dev=/nonexistent/ttyGPRS was not open" << golden << none << 0;
        QTest::newRow("mistyped connection") << QStringList{"read", "COM3", "-"} << plain << none << 2 << none
                                             << "The connection \"COM3\" has an unknown part \"COM3\"" << golden << none << 0;
        QTest::newRow("read --help") << QStringList{"read", "--help"} << plain << none << 0
            << usage("read [options] CONNECTION FILE.xml", "--trace", "--verify") << "" << golden << none << 0;
        QTest::newRow("write -h") << QStringList{"write", "-h"} << plain << none << 0
            << usage("write [options] CONNECTION FILE.xml", "--backup <OLD.xml>", "--json") << "" << golden << none << 0;
        QTest::newRow("--help before diff") << QStringList{"--help", "diff", "%c"} << plain << none << 0
            << usage("diff [options] CONNECTION FILE.xml", "--no-keep-con", "--merge") << "" << golden << none << 0;
        QTest::newRow("-q ports --help") << QStringList{"-q", "ports", "--help"} << plain << none << 0
            << usage("ports [options]", "--quiet", "--keep-con") << "" << golden << none << 0;
        QTest::newRow("detect --help") << QStringList{"detect", "--help"} << plain << none << 0
            << usage("detect [options] [PORT...]", "--trace", "--port") << "" << golden << none << 0;
        QTest::newRow("history --help") << QStringList{"history", "--help", "--json"} << plain << none << 0
            << usage("history [options]", "--json", "--wait") << "" << golden << none << 0;
        QTest::newRow("provision --help") << QStringList{"provision", "--help"} << plain << none << 0
            << usage("provision [options] TEMPLATE.xml TABLE.csv --port PORT...", "--match <KEY>", "--verify") << ""
            << golden << none << 0;
        // The manual page is made from it, exit status included.
        QTest::newRow("--help of an unknown command: the program's") << QStringList{"frobnicate", "--help"} << plain << none
            << 0 << usage("[options] command [arguments...]", "diff: 0 no difference, 1 some, 2 trouble") << "" << golden
            << none << 0;
        QTest::newRow("help: the program's") << QStringList{"help"} << plain << none << 0
            << usage("[options] command [arguments...]", "\n  help [COMMAND] ") << "" << golden << none << 0;
        QTest::newRow("help read") << QStringList{"help", "read"} << plain << none << 0
            << usage("read [options] CONNECTION FILE.xml", "Examples:\n  Save", "--verify") << "" << golden << none << 0;
        QTest::newRow("help provision") << QStringList{"help", "provision"} << plain << none << 0
            << usage("provision [options] TEMPLATE.xml TABLE.csv --port PORT...", "cli provision template.xml", "--trace")
            << "" << golden << none << 0;
        QTest::newRow("help of an unknown command") << QStringList{"help", "nosuch"} << plain << none << 2 << none
            << "unknown command 'nosuch'\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("help of two commands") << QStringList{"help", "read", "write"} << plain << none << 2 << none
            << "help takes one COMMAND\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("write's options given to diff") << QStringList{"diff", "%c", "%d/in.xml", "--verify"} << plain << none
            << 2 << none << "--verify, --backup and --merge belong to write\nTry 'gprs-configurator-cli diff --help'.\n"
            << golden << none << 0;
        QTest::newRow("history's option given to read") << QStringList{"--json", "read", "%c", "-"} << plain << none << 2
            << none << "--json belongs to history\nTry 'gprs-configurator-cli read --help'.\n" << golden << none << 0;
        QTest::newRow("provision's option given to history") << QStringList{"history", "--wait"} << plain << none << 2
            << none << "--port, --report, --wait and --match belong to provision\nTry 'gprs-configurator-cli history --help'.\n"
            << golden << none << 0;
        QTest::newRow("missing argument") << QStringList{"read", "%c"} << plain << none << 2 << none
            << "read takes CONNECTION and FILE.xml\nTry 'gprs-configurator-cli read --help'.\n" << golden << none << 0;
        QTest::newRow("unknown option") << QStringList{"--bogus", "ports"} << plain << none << 2 << none
            << "unknown option '--bogus'\nTry 'gprs-configurator-cli ports --help'.\n" << golden << none << 0;
        QTest::newRow("a flag given a value") << QStringList{"read", "-q.xml", "%c"} << plain << none << 2 << none
            << "option '-q' takes no value\nTry 'gprs-configurator-cli read --help'.\n" << golden << none << 0;
        QTest::newRow("a long flag given a value") << QStringList{"--quiet=yes"} << plain << none << 2 << none
            << "option '--quiet' takes no value\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("an option without its value") << QStringList{"provision", "t.xml", "t.csv", "--report"} << plain
            << none << 2 << none << "option '--report' needs a value\nTry 'gprs-configurator-cli provision --help'.\n"
            << golden << none << 0;
        QTest::newRow("an unknown letter among flags") << QStringList{"-qx", "ports"} << plain << none << 2 << none
            << "unknown option '-x'\nTry 'gprs-configurator-cli ports --help'.\n" << golden << none << 0;
        QTest::newRow("a cluster of flags") << QStringList{"-qv"} << plain << none << 0
            << QByteArray("^gprs-configurator-cli \\d+\\.\\d+\\.\\d+\\n") << "" << golden << none << 0;
        QTest::newRow("a command mistyped") << QStringList{"raed", "%c", "-"} << plain << none << 2 << none
            << "unknown command 'raed'; did you mean 'read'?\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("a command mistyped by two keys") << QStringList{"porvison"} << plain << none << 2 << none
            << "unknown command 'porvison'; did you mean 'provision'?\nTry 'gprs-configurator-cli --help'.\n" << golden
            << none << 0;
        QTest::newRow("an unknown command") << QStringList{"frobnicate"} << plain << none << 2 << none
            << "unknown command 'frobnicate'\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("no command") << QStringList{"-q"} << plain << none << 2 << none
            << "no command given\nTry 'gprs-configurator-cli --help'.\n" << golden << none << 0;
        QTest::newRow("read into a missing folder") << QStringList{"read", "%c", "%d/no/saved.xml"} << plain << none << 2
            << none << "The configuration file cannot be saved: The folder \"%n\" does not exist." << golden << none
            << 0;
        QTest::newRow("read to a full disk") << QStringList{"read", "%c", "-"} << plain << none << 2
                                             << QByteArray("<full disk>") << "standard output: " << golden << none << 5;
        QTest::newRow("write from standard input") << QStringList{"write", "%c", "-"} << plain << changed << 0 << none
                                                   << "It is Ready 100%" << written << none << 6;
        QTest::newRow("--quiet says nothing of success") << QStringList{"--quiet"} + write << plain << changed << 0
                                                         << none << "" << written << none << 6;
        QTest::newRow("--quiet still tells a failure") << QStringList{"-q", "read", "dev=/nonexistent/ttyGPRS", "-"}
            << plain << none << 1 << none << "The Port dev=/nonexistent/ttyGPRS was not open" << golden << none << 0;
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(SimulatedModemOptions, options);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QString, lastMessage);
        QFETCH(DeviceSettings, modemHolds);
        QFETCH(QByteArray, saved);
        QFETCH(int, frames);
#ifdef GPRS_SIMULATED_MODEM
        options.tcpPort = options.modbusTcpPort = options.udpPort = 0;
        SimulatedModem modem(options);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        const QString connection = modem.connectionText(), port = modem.portName(), server = modem.networkConnectionText();
        const QString gateway = modem.networkConnectionText(Door::ModbusTcp);
        const QString datagrams = modem.networkConnectionText(Door::RtuOverUdp);
        // ser2net only for the rows that name it: it takes the modem's line.
        std::optional<Ser2NetServer> ser2net;
        if (arguments.join(' ').contains("%r", Qt::CaseInsensitive)) {
            if (Ser2NetServer::program().isEmpty())
                QSKIP("ser2net is not installed (scripts/test installs it)");
            QString why;
            QVERIFY2(ser2net.emplace(modem.portName()).start(&why), qPrintable(why));
        }
        const QString rfc2217 = ser2net ? QString::fromLatin1(ser2net->connectionText(9600)) : QString();
        SimulatedModemOptions silent;
        silent.silent = true;
        SimulatedModem quiet(silent);
        QVERIFY2(quiet.start(), qPrintable(quiet.errorString()));
        const QString quietPort = quiet.portName();
#else
        // Without pseudo-terminals there is no modem: only the rows in which it hears nothing run.
        Q_UNUSED(options)
        Q_UNUSED(modemHolds)
        if (frames != 0)
            QSKIP("needs the simulated modem on a pseudo-terminal");
        const QString connection = "dev=COM200;baud=9600", port = "COM200", server = "dev=tcp://127.0.0.1:1";
        const QString gateway = "dev=modbustcp://127.0.0.1:1", datagrams = "dev=rtuoverudp://127.0.0.1:1";
        const QString rfc2217 = "dev=rfc2217://127.0.0.1:1;baud=9600";
        const QString quietPort = "COM201";
#endif
        QTemporaryDir dir;
        const auto filled = [&](QString text) {
            return text.replace("%c", connection).replace("%p", port).replace("%t", server).replace("%g", gateway)
                .replace("%u", datagrams).replace("%r", rfc2217).replace("%T", server.section("//", 1))
                .replace("%R", rfc2217.section("//", 1).section(';', 0, 0))
                .replace("%G", gateway.section("//", 1)).replace("%U", datagrams.section("//", 1))
                .replace("%q", quietPort)
                .replace("%d", dir.path())
                .replace("%n", QDir::toNativeSeparators(dir.filePath("no")));
        };
        QVERIFY(input.isEmpty() || writeFile(dir.filePath("in.xml"), input));
        for (QString &argument : arguments)
            argument = filled(argument);

        QBuffer in(&input), out, err;
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        QFile fullDisk("/dev/full");
        const bool toFullDisk = output == "<full disk>";
        QVERIFY(!toFullDisk || fullDisk.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(runCommandLine(arguments, toFullDisk ? static_cast<QIODevice &>(fullDisk) : out, err, &in), exitCode);
        const QString shown = QString::fromUtf8(out.data());
        if (output.startsWith('^'))
            QVERIFY2(QRegularExpression(QString::fromUtf8(output), QRegularExpression::DotMatchesEverythingOption).match(shown).hasMatch(),
                     qPrintable(shown));
        else
            QCOMPARE(shown, toFullDisk ? QString() : filled(QString::fromUtf8(output)));
        const QString said = QString::fromUtf8(err.data()).trimmed().section('\n', -1);
        // A port that does not open is named once, not once for every rate.
        if (arguments.constFirst() == "detect") {
            QCOMPARE(QString::fromUtf8(err.data()).count("/nonexistent/"), arguments.join(' ').count("/nonexistent/"));
            // Nor is a silent port tried at every rate once another answered.
            QVERIFY(QString::fromUtf8(err.data()).count("Trying dev=" + quietPort + ";") < ModemDetector::ratesInOrder().size());
        }
        if (lastMessage.isEmpty())
            QCOMPARE(said, QString());
        else if (lastMessage.contains('\n'))
            QCOMPARE(QString::fromUtf8(err.data()), "gprs-configurator-cli: " + lastMessage);
        else if (lastMessage.startsWith("…"))
            QVERIFY2(said.endsWith(filled(lastMessage.mid(1))), qPrintable(said));
        else
            QVERIFY2(said.startsWith("gprs-configurator-cli: " + filled(lastMessage)), qPrintable(said));
#ifdef GPRS_SIMULATED_MODEM
        QCOMPARE(storedSettings(modem), modemHolds);
        if (frames >= 0)
            QCOMPARE(modem.receivedFrames().size(), frames);
#endif
        if (!saved.isEmpty())
            QCOMPARE(QString::fromUtf8(readFile(dir.filePath("saved.xml"))), filled(QString::fromUtf8(onDisk(saved))));
    }

    // The window's program answers --help and --version on standard output
    // and ends, with no display to open a window on.
    void windowAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");   // a pattern
        QTest::newRow("--help") << QStringList{"--help"}
                                << "^Usage: gprs-configurator \\[options\\]\\n.*\\n  --version  Output version";
        QTest::newRow("--version among Qt's options") << QStringList{"-style", "fusion", "--version"}
                                                      << "^gprs-configurator " GPRS_VERSION "\\nCopyright";
    }

    void windowAnswersWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(GPRS_TEST_BUILD_DIR "/gprs-configurator", arguments);
        // A window would wait for its user.
        QVERIFY2(window.waitForFinished(60000), qPrintable(window.errorString()));
        QCOMPARE(window.exitStatus(), QProcess::NormalExit);
        QCOMPARE(window.exitCode(), 0);
        // Windows ends its console's lines with CR LF.
        const QString shown = QString::fromUtf8(window.readAllStandardOutput()).remove(QLatin1Char('\r'));
        QVERIFY2(QRegularExpression(output, QRegularExpression::DotMatchesEverythingOption).match(shown).hasMatch(),
                 qPrintable(shown));
    }

#ifdef GPRS_SIMULATED_MODEM
    // --trace: every request and every answer once, in the order they crossed
    // the wire, between the job's start and end, among the messages.
    void traceShowsEachFrameOnce()
    {
        SimulatedModem modem;
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        QCOMPARE(runCommandLine({"--trace", "-q", "read", modem.connectionText(), "-"}, out, err), 0);
        QString trace = QString::fromUtf8(err.data());
        trace.replace(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d ", QRegularExpression::MultilineOption), "")
            .replace(QRegularExpression("<< [0-9A-F ]+  answer accepted in \\d+ ms"), "<< accepted");
        QCOMPARE(trace.split('\n', Qt::SkipEmptyParts), QStringList({
            "-- Read, " + modem.connectionText(),
            ">> 40 03 00 00 00 47 0A E9  read settings block, 71 registers", "<< accepted",
            ">> 40 03 01 00 00 0D 8A E2  read entry block 1 (phone number 1), 13 registers", "<< accepted",
            ">> 40 03 01 40 00 0D 8B 36  read entry block 2 (phone number 2), 13 registers", "<< accepted",
            ">> 40 03 01 80 00 0D 8B 0A  read entry block 3 (phone number 3), 13 registers", "<< accepted",
            ">> 40 03 01 C0 00 0D 8A DE  read entry block 4 (phone number 4), 13 registers", "<< accepted",
            "-- It is Readed 31"}));
    }

    // A modem whose registers hold what their texts do not show: diff names
    // it, a write of a file without those bytes rewrites its block, and the
    // backup made on the way puts every byte back.
    void backupRestoresEveryByte_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");        // over the golden image there
        QTest::addColumn<QByteArray>("difference");   // diff's output for the golden file
        QTest::newRow("Latin-1 at full width") << 0 << 74 << QByteArray("K\xF6nig-M\xFCller-1")
                                               << QByteArray("apnLogin: König-Müller-1 -> beeline&co\n");
        QTest::newRow("control bytes") << 0 << 0 << QByteArray("+7\x1B[1m\0", 7)
                                       << QByteArray("own_Ph: +7\\x1B[1m -> +79161234567\n");
        QTest::newRow("bytes after a NUL") << 1 << 18 << QByteArray("\x01")
            << QByteArray("PhNum1: +79160000001 [2B 37 39 31 36 30 30 30 30 30 30 31 00 00 00 00 00 00 01 00] -> "
                          "+79160000001 [2B 37 39 31 36 30 30 30 30 30 30 31 00 00 00 00 00 00 00 00]\n");
        QTest::newRow("reserved bits of a serial word") << 0 << 119 << hex("3A")
            << QByteArray("TxSetting: 115200,7,2,E,1,1 [AB 3A] -> 115200,7,2,E,1,1 [AB 1A]\n");
    }

    void backupRestoresEveryByte()
    {
        QFETCH(int, block);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, difference);
        SimulatedModem modem;
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        const QByteArray golden = block == 0 ? Golden::settingsBlock.left(140) : Golden::entryBlocks[block - 1];
        const QByteArray held = QByteArray(golden).replace(offset, bytes.size(), bytes);
        const int first = DeviceSettings::firstRegister(block);
        modem.setRegisters(first, Golden::registersOf(held));
        QTemporaryDir dir;
        const QString goldenFile = dir.filePath("golden.xml"), backup = dir.filePath("before.xml");
        QVERIFY(writeFile(goldenFile, Golden::file));
        const auto run = [&](const QStringList &arguments, QByteArray *output = nullptr) {
            QBuffer out, err;
            out.open(QIODevice::WriteOnly);
            err.open(QIODevice::WriteOnly);
            const int status = runCommandLine(arguments, out, err);
            if (output)
                *output = out.data();
            return status;
        };
        QByteArray output;
        QCOMPARE(run({"diff", modem.connectionText(), goldenFile}, &output), 1);
        QCOMPARE(QString(output), QString(difference));
        modem.clearReceivedFrames();
        QCOMPARE(run({"write", "--backup", backup, "--verify", modem.connectionText(), goldenFile}), 0);
        QCOMPARE(modem.receivedFrames().size(), 7);   // the Read, then one block written and read back
        QCOMPARE(modem.registers(first, held.size() / 2), Golden::registersOf(golden));
        // The journal kept the same file; written back, it restores every byte.
        const QString previous = journalNewest("previous");
        QCOMPARE(readFile(previous), readFile(backup));
        QCOMPARE(run({"write", modem.connectionText(), previous}), 0);
        QCOMPARE(modem.registers(first, held.size() / 2), Golden::registersOf(held));
        QCOMPARE(run({"diff", modem.connectionText(), backup}, &output), 0);
        QCOMPARE(output, QByteArray());
    }

    // Every write leaves an entry, on the disk before its first block goes
    // out: what the modem held, what was sent, what changed and how it
    // ended; history lists it newest first, the modem's texts escaped. A
    // journal that cannot be written stops the write before a block goes.
    void journalKeepsEachWrite_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<SimulatedModemOptions>("modemOptions");
        QTest::addColumn<bool>("journalBlocked");   // a file stands where the journal's folder would be
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("changed");
        SimulatedModemOptions plain, dropping;
        dropping.droppedRegister = 0x181;   // characters 3 and 4 of PhNum3
        const QStringList changed{"apnServer: internet.beeline.ru → new.apn", "DNS1: 195.34.32.116 → 1.1.1.1",
                                  "PhNum3: Дежурный → +70000000003"};
        QTest::newRow("merged") << QStringList{"--merge"} << plain << false << "written" << changed;
        QTest::newRow("merged and verified") << QStringList{"--merge", "--verify"} << plain << false << "verified" << changed;
        QTest::newRow("verify fails at the third entry block") << QStringList{"--merge", "--verify"} << dropping << false
                                                               << "failed at entry block 3" << changed;
        QTest::newRow("the journal cannot be written") << QStringList{"--merge"} << plain << true << "" << QStringList();
    }

    void journalKeepsEachWrite()
    {
        QFETCH(QStringList, options);
        QFETCH(SimulatedModemOptions, modemOptions);
        QFETCH(bool, journalBlocked);
        QFETCH(QString, outcome);
        QFETCH(QStringList, changed);
        // What the journal holds when the first block arrives; declared
        // first, so that it outlives the modem's thread.
        std::mutex firstMutex;
        QStringList atFirstBlock;
        SimulatedModem modem(modemOptions);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        DeviceSettings held = Golden::record();
        held.setValue(DeviceSettings::own_Ph, "+7\x1B[2J");
        storeSettings(modem, held);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("in.xml"), "<conf><prm><apnServer name=\"new.apn\"/><PhNum3 name=\"+70000000003\"/>"
                                                  "<DNS1 name=\"1.1.1.1\"/></prm></conf>"));
        const QByteArray dataFolder = qgetenv("XDG_DATA_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", dataFolder); });
        if (journalBlocked) {
            QVERIFY(writeFile(dir.filePath("gprs-configurator"), "not a folder"));
            qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
        }
        modem.setWriteObserver([&](int, int) {
            std::lock_guard<std::mutex> lock(firstMutex);
            if (atFirstBlock.isEmpty())
                atFirstBlock = QDir(journalNewestFolder()).entryList(QDir::Files) << "(first block)";
        });
        QBuffer out, err, history;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        history.open(QIODevice::WriteOnly);
        const int status = runCommandLine(options + QStringList{"write", modem.connectionText(), dir.filePath("in.xml")},
                                          out, err);
        if (journalBlocked) {
            QCOMPARE(status, 2);
            QVERIFY2(err.data().contains("Nothing was written: what the modem holds could not be kept in the journal: "),
                     err.data().constData());
            QCOMPARE(storedSettings(modem), held);
            return;
        }
        {
            std::lock_guard<std::mutex> lock(firstMutex);
            QCOMPARE(atFirstBlock, QStringList({"begun.json", "previous.xml", "written.xml", "(first block)"}));
        }
        QCOMPARE(runCommandLine({"history", "--json"}, history, err), 0);
        const QJsonObject entry = QJsonDocument::fromJson(history.data().split('\n').first()).object();
        QCOMPARE(entry.value("connection").toString(), modem.connectionText());
        QCOMPARE(entry.value("own_Ph").toString(), QString("+7\x1B[2J"));
        QCOMPARE(entry.value("outcome").toString(), outcome.section(' ', 0, 0));
        QCOMPARE(entry.value("changed").toVariant().toStringList(), changed);
        QCOMPARE(QString::fromUtf8(readFile(entry.value("previous").toString())),
                 QString::fromUtf8(onDisk(Golden::fileWith({{"ComPort", modem.connectionText().toUtf8()}, {"EnableKeepCon", "1"},
                                                            {"own_Ph", "+7[2J\" bytes=\"2B 37 1B 5B 32 4A 00 00 00 00 00 00 00 00"}}))));
        QBuffer listed;
        listed.open(QIODevice::WriteOnly);
        QCOMPARE(runCommandLine({"history"}, listed, err), 0);
        QCOMPARE(QString::fromUtf8(listed.data()).section('\n', 0, 0).section('\t', 1, 4),
                 modem.connectionText() + "\t+7\\x1B[2J\t" + outcome + "\t" + changed.join("; "));
    }

    // A fleet against two modems, A and B (whose own phone number is +7002):
    // each port reads its modem, takes a row, writes and verifies it; the
    // report has a line for each modem tried, with what changed and its
    // journal entry. %a, %b: the modems' connections, %s: A's server, %S: the
    // same server by its name, %l: A's port through a link; rows are
    // "id,MbsAdr..." under a template that sets the APN.
    void provisionFleet_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QByteArray>("reportBefore");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("modbusAddresses");   // patterns of what A and B hold afterwards; 17: untouched
        QTest::addColumn<QStringList>("reported");          // "id: result", in report order
        QTest::addColumn<QString>("said");                  // a line on standard error, after the program's name
        const QStringList both{"--port", "%a", "--port", "%b"};
        const QByteArray twoRows = "id,MbsAdr\nfirst,11\nsecond,12\n";
        const QByteArray header = "id,line,port,time,result,changed,journal,message\r\n";
        const QByteArray earlier = header + "first,2,/dev/x,2026-12-08T10:00:00+03:00,verified,,,\r\n";
        const QStringList untouched{"17", "17"};
        QTest::newRow("in table order, a row each") << both << twoRows << QByteArray() << 0 << QStringList{"1[12]", "1[12]"}
            << QStringList{"first: verified", "second: verified"} << "2 of 2 rows verified";
        QTest::newRow("--match sms_Ph") << QStringList{"--match", "sms_Ph"} + both
            << QByteArray("id;sms_Ph;MbsAdr\nfirst;+7002;11\nsecond;+7001;12\n") << QByteArray() << 0
            << QStringList{"12", "11"} << QStringList{"first: verified", "second: verified"} << "";
        // What the modem holds (a byte-order mark, a terminal's commands)
    // reaches the terminal and the report escaped, so that the report reads
    // back whole.
        QTest::newRow("--match: a modem no row matches is left alone") << QStringList{"--match", "own_Ph"} + both
            << QByteArray("own_Ph,MbsAdr\n+7002,11\n") << QByteArray() << 1 << QStringList{"17", "11"}
            << QStringList{": no row matched", ": verified"}
            << ": no row matched: No row has own_Ph \\xFEFF\\x1B]0;x\\x07\\x1B[2J: the modem was left untouched";
        QTest::newRow("resumed: the verified row is left out") << QStringList{"--port", "%a"} << twoRows << earlier << 0
            << QStringList{"12", "17"} << QStringList{"first: verified", "second: verified"}
            << "1 of 2 rows were verified in an earlier run and are left out";
        QTest::newRow("resumed: a failed row is done again") << QStringList{"--port", "%a"} << twoRows
            << QByteArray(earlier).replace("verified", "failed") << 0 << QStringList{"11", "17"}
            << QStringList{"first: failed", "first: verified"} << "";
        QTest::newRow("a port that fails does not stop the other") << QStringList{"--port", "dev=/nonexistent/tty;baud=9600",
                                                                                "--port", "%b"}
            << twoRows << QByteArray() << 1 << QStringList{"17", "11"} << QStringList{": failed", "first: verified"}
            << "";
        // Nothing is touched when the run cannot be trusted to end as it says.
        QTest::newRow("a bad row: no port is opened") << both << QByteArray("id,MbsAdr\nfirst,70000\n") << QByteArray() << 2
            << untouched << QStringList() << "%d/table.csv: line 2: Cannot write Modbus address (MbsAdr)";
        QTest::newRow("a report cut inside a quoted cell") << both << twoRows
            << header + "first,2,/dev/x,2026-12-08T10:00:00+03:00,verified,\"apnServer: a → b" << 2 << untouched
            << QStringList() << "The report %d/report.csv is damaged at line 2: a quoted field is never "
               "closed. Nothing was written: mend it, or name another report";
        QTest::newRow("a report whose last line is cut") << both << twoRows
            << header + "first,2,/dev/x,2026-12-08T10:00:00+03:00,verified,,," << 2 << untouched
            << QStringList{"first: verified"} << "The report %d/report.csv is damaged at line 2: the last line is cut short";
        QTest::newRow("a report that is no file") << both + QStringList{"--report", "/dev/full"} << twoRows << QByteArray()
            << 2 << untouched << QStringList() << "The report cannot be read: /dev/full is not a file. Nothing was written";
        QTest::newRow("one server named twice") << QStringList{"--port", "%s", "--port", "%S"} << twoRows << QByteArray() << 2
            << untouched << QStringList() << "--port %s and --port %S name the same server (127.0.0.1:";
        QTest::newRow("one port named twice, once through a link") << QStringList{"--port", "%a", "--port", "%l"} << twoRows
            << QByteArray() << 2 << untouched << QStringList() << "--port %a and --port %l name the same port (";
    }

    void provisionFleet()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, table);
        QFETCH(QByteArray, reportBefore);
        QFETCH(int, exitCode);
        QFETCH(QStringList, modbusAddresses);
        QFETCH(QStringList, reported);
        QFETCH(QString, said);
        SimulatedModemOptions withServer;
        withServer.tcpPort = 0;
        SimulatedModem a(withServer), b;
        QVERIFY2(a.start() && b.start(), qPrintable(a.errorString() + b.errorString()));
        DeviceSettings aHolds = Golden::record(), bHolds = Golden::record();
        aHolds.setValue(DeviceSettings::own_Ph, QString(QChar(0xFEFF)) + "\x1B]0;x\x07\x1B[2J");
        aHolds.setValue(DeviceSettings::sms_Ph, "+7001");
        storeSettings(a, aHolds);
        bHolds.setValue(DeviceSettings::own_Ph, "+7002");
        bHolds.setValue(DeviceSettings::sms_Ph, "+7002");
        storeSettings(b, bHolds);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("template.xml"), "<conf><prm><apnServer name=\"fleet.apn\"/></prm></conf>"));
        QVERIFY(writeFile(dir.filePath("table.csv"), table));
        QVERIFY(reportBefore.isEmpty() || writeFile(dir.filePath("report.csv"), reportBefore));
        QVERIFY(QFile::link(a.portName(), dir.filePath("modem-link")));
        const auto filled = [&](QString text) {
            return text.replace("%a", a.connectionText()).replace("%b", b.connectionText())
                .replace("%s", a.networkConnectionText())
                .replace("%S", QString(a.networkConnectionText()).replace("127.0.0.1", "localhost"))
                .replace("%l", ConnectionText::of(dir.filePath("modem-link"), 9600)).replace("%d", dir.path());
        };
        for (QString &argument : arguments)
            argument = filled(argument);
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        QCOMPARE(runCommandLine(QStringList{"provision", dir.filePath("template.xml"), dir.filePath("table.csv"), "--report",
                                            dir.filePath("report.csv")} + arguments, out, err),
                 exitCode);
        const DeviceSettings held[] = {storedSettings(a), storedSettings(b)};
        for (int modem = 0; modem < 2; ++modem) {
            const QString address = held[modem].value(DeviceSettings::MbsAdr);
            QVERIFY2(QRegularExpression("^" + modbusAddresses.at(modem) + "$").match(address).hasMatch(), qPrintable(address));
            QCOMPARE(held[modem].value(DeviceSettings::apnServer),
                     address == "17" ? Golden::record().value(DeviceSettings::apnServer) : QString("fleet.apn"));
        }
        if (exitCode == 2)
            QCOMPARE(a.receivedFrames().size() + b.receivedFrames().size(), 0);
        const QStringList lines = QString::fromUtf8(err.data()).split('\n');
        QVERIFY2(said.isEmpty() || std::any_of(lines.begin(), lines.end(), [&](const QString &line) {
                     return line.startsWith("gprs-configurator-cli: ") && line.contains(filled(said));
                 }), err.data().constData());
        // Each verified modem's line says what changed and where its journal
        // entry is; a report this run wrote resumes the next one.
        const CsvContent report = parseCsv(readFile(dir.filePath("report.csv")));
        if (exitCode != 2)
            QCOMPARE(ProvisionReport::read(readFile(dir.filePath("report.csv"))).error, QString());
        QStringList results;
        for (const CsvRecord &record : report.records.mid(1)) {
            const QStringList &cells = record.cells;
            results << cells.at(ProvisionReport::Id) + ": " + cells.at(ProvisionReport::Result);
            if (cells.at(ProvisionReport::Result) == "verified" && cells.at(ProvisionReport::Port) != "/dev/x") {
                QVERIFY2(cells.at(ProvisionReport::Changed).contains("MbsAdr: 17 → 1"), qPrintable(cells.join('|')));
                QVERIFY(QFile::exists(cells.at(ProvisionReport::Journal) + "/previous.xml"));
            }
            QVERIFY(!cells.at(ProvisionReport::Message).contains('\x1B'));
        }
#ifndef Q_OS_WIN
        // It holds the APN's password: the owner's alone.
        if (QFile::exists(dir.filePath("report.csv")) && reportBefore.isEmpty())
            QCOMPARE(int(QFile::permissions(dir.filePath("report.csv")) & 0x00FF), 0);
#endif
        // Two ports at once end in either order.
        if (arguments.count("--port") == 2)
            std::sort(results.begin(), results.end());
        QCOMPARE(results, reported);
    }

    // --wait: a port serves one modem after another, each once the one
    // before has gone (silent), until the table is done. A modem whose
    // Write fails leaves its row to the next; one that drops out for a
    // moment, as a modem restarting with its new settings does, comes back
    // holding its row and gets no other.
    void provisionWaitsForEachModem()
    {
        // What the modem heard, in order: a waiting port asks for register 0
        // alone. Declared first, so that it outlives the modem's thread.
        std::mutex heardMutex;
        QStringList heard;
        SimulatedModemOptions dropping;
        dropping.droppedRegister = 57;   // MbsAdr
        SimulatedModem modem(dropping);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("template.xml"), "<conf><prm><apnServer name=\"fleet.apn\"/></prm></conf>"));
        QVERIFY(writeFile(dir.filePath("table.csv"), "MbsAdr\n11\n12\n"));
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        modem.setExchangeObserver([&](const QByteArray &request, const QByteArray &) {
            std::lock_guard<std::mutex> lock(heardMutex);
            heard << (request.startsWith(QByteArray::fromHex("400300000001")) ? "probe"
                      : request.at(1) == 0x10                                  ? "write"
                                                                               : "read");
        });
        const auto count = [&](const QString &kind) {
            std::lock_guard<std::mutex> lock(heardMutex);
            return int(heard.count(kind));
        };
        // Once a modem is done, the port asks whether it is still there.
        const auto doneWithModem = [&] {
            std::lock_guard<std::mutex> lock(heardMutex);
            return heard.size() > 1 && heard.constLast() == "probe" && heard.at(heard.size() - 2) != "probe";
        };
        // Gone once the port has asked in vain.
        const auto unplug = [&] {
            SimulatedModemOptions silent;
            silent.silent = true;
            modem.setOptions(silent);
            const int asked = count("probe");
            QTRY_VERIFY_WITH_TIMEOUT(count("probe") >= asked + 2, 20000);
        };
        std::future<int> run = std::async(std::launch::async, [&] {
            return runCommandLine({"provision", "--wait", "--port", modem.connectionText(), dir.filePath("template.xml"),
                                   dir.filePath("table.csv")}, out, err);
        });
        QTRY_VERIFY_WITH_TIMEOUT(count("write") > 0 && doneWithModem(), 20000);
        QCOMPARE(storedSettings(modem).value(DeviceSettings::MbsAdr), QString("17"));
        unplug();
        modem.setOptions({});
        QTRY_COMPARE_WITH_TIMEOUT(storedSettings(modem).value(DeviceSettings::MbsAdr), QString("11"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(doneWithModem(), 20000);
        // Restarted: the same modem, its row on it.
        const int writes = count("write"), reads = count("read");
        unplug();
        modem.setOptions({});
        QTRY_VERIFY_WITH_TIMEOUT(count("read") > reads && doneWithModem(), 20000);
        QCOMPARE(count("write"), writes);
        unplug();
        Golden::loadInto(modem);
        modem.setOptions({});
        QTRY_COMPARE_WITH_TIMEOUT(storedSettings(modem).value(DeviceSettings::MbsAdr), QString("12"), 20000);
        // The failed Write leaves its word in the status.
        QCOMPARE(run.get(), 1);
        QVERIFY2(err.data().contains(": holds a verified row: The modem holds line 2 already, which was verified: it "
                                     "was given no other row\n"), err.data().constData());
        QVERIFY2(err.data().endsWith("gprs-configurator-cli: 2 of 2 rows verified\n"), err.data().constData());
    }
#endif

private:
    // The newest journal entry's folder, and its file `name`.xml, under the data folder.
    static QString journalNewestFolder()
    {
        const QDir journal(dataHome.filePath("gprs-configurator/journal"));
        const QStringList names = journal.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        return names.isEmpty() ? QString() : journal.filePath(names.last());
    }
    static QString journalNewest(const QString &name) { return journalNewestFolder() + "/" + name + ".xml"; }

    static QTemporaryDir dataHome;
};

QTemporaryDir TestCli::dataHome;

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
