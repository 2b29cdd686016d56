// The bytes on the wire: frames, check sums, the answer check and the trace,
// then SerialLink moving them over real pseudo-terminals.

#include "connectiontext.h"
#include "doorrecognition.h"
#include "golden.h"
#include "heldconnections.h"
#include "modbusframe.h"
#include "modbustcpframing.h"
#include "rfc2217carrier.h"
#include "rtuframing.h"
#include "ser2netserver.h"
#include "seriallink.h"
#include "simulatedmodem.h"
#include "traffic.h"

#include <QNetworkDatagram>
#include <QScopeGuard>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <future>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SimulatedModemOptions)

namespace {

QByteArray counting(int length)
{
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char(i);
    return data;
}

// The modem's serial line, or the server the options ask for.
QByteArray connectionOf(const SimulatedModem &modem)
{
    for (const Door door : {Door::RtuOverTcp, Door::ModbusTcp, Door::RtuOverUdp}) {
        if (modem.serverPort(door) >= 0)
            return modem.networkConnectionText(door).toLatin1();
    }
    return modem.connectionText().toLatin1();
}

QByteArray mbap(quint16 transaction, const char *pdu)
{
    return ModbusTcpFraming::frame(transaction, Modbus::DeviceAddress, hex(pdu));
}

// The bytes sent on a TCP connection that its peer has not acknowledged.
int unacknowledged(int fd)
{
    int bytes = -1;
    return ::ioctl(fd, SIOCOUTQ, &bytes) == 0 ? bytes : -1;
}

const QByteArray readTwo = hex("40 03 00 00 00 02 CB 1A");
const QByteArray readTwoAnswer = hex("40 03 04 37 2B 31 39 00 C9");   // registers 0 and 1 of the golden modem

} // namespace

class TestLink : public QObject {
    Q_OBJECT

private slots:
    void crc()
    {
        QCOMPARE(crc16("123456789", 9), quint16(0x4B37));
        QCOMPARE(crc16("123", 0), quint16(0xFFFF));
    }

    void requests_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("read settings, 70") << readRequest(0, 70) << hex("40 03 00 00 00 46 CB 29");
        QTest::newRow("read settings, 71") << readRequest(0, 71) << hex("40 03 00 00 00 47 0A E9");
        QTest::newRow("read entry 0") << readRequest(0x100, 13) << hex("40 03 01 00 00 0D 8A E2");
        QTest::newRow("read entry 1") << readRequest(0x140, 13) << hex("40 03 01 40 00 0D 8B 36");
        QTest::newRow("read entry 2") << readRequest(0x180, 13) << hex("40 03 01 80 00 0D 8B 0A");
        QTest::newRow("read entry 3") << readRequest(0x1C0, 13) << hex("40 03 01 C0 00 0D 8A DE");
        QTest::newRow("write entry 1") << writeRequest(0x140, Golden::entryBlocks[1])
            << hex("40 10 01 40 00 0D 1A 37 2B 31 39 30 36 30 30 30 30 32 30 00 00 00 00 00 00 00 00 00 0A 02 00 1F 90 43 00");
        QTest::newRow("write settings, 71") << writeRequest(0, Golden::settingsBlock)
            << hex("40 10 00 00 00 47 8E") + Golden::wireOf(Golden::settingsBlock) + hex("22 2D");
        QTest::newRow("write settings, 70") << writeRequest(0, Golden::settingsBlock.left(140))
            << hex("40 10 00 00 00 46 8C") + Golden::wireOf(Golden::settingsBlock.left(140)) + hex("0A 10");
        // The serving side: a request opened down to its unit and function, an answer closed around them.
        const RtuFraming rtu;
        const Framing::ServedRequest served = rtu.unwrapRequest(readTwo).value_or(Framing::ServedRequest{});
        QTest::newRow("request unwrapped") << QByteArray(1, char(served.unit)) + served.pdu << hex("40 03 00 00 00 02");
        QTest::newRow("answer wrapped") << rtu.wrapAnswer(readTwo, 0x40, hex("03 04 37 2B 31 39")) << readTwoAnswer;
        // Modbus TCP: the MBAP header instead of the address and the check sum, a new transaction each time.
        ModbusTcpFraming tcp;
        QTest::newRow("Modbus TCP, read") << tcp.readRegisters(0, 2).frame << hex("00 01 00 00 00 06 40 03 00 00 00 02");
        const Framing::Request write = tcp.writeRegisters(0x140, hex("2B 37 39 31"));
        QTest::newRow("Modbus TCP, write, the next transaction") << write.frame
            << hex("00 02 00 00 00 0B 40 10 01 40 00 02 04 37 2B 31 39");
        QTest::newRow("Modbus TCP, a write's answer length") << QByteArray::number(write.answerLength) << QByteArray("12");
        QTest::newRow("Modbus TCP, a read's answer length") << QByteArray::number(tcp.readRegisters(0, 71).answerLength)
                                                            << QByteArray("151");
        const QByteArray request = hex("12 34 00 00 00 06 40 03 00 00 00 02");
        const Framing::ServedRequest opened = tcp.unwrapRequest(request).value_or(Framing::ServedRequest{});
        QTest::newRow("Modbus TCP, request unwrapped") << QByteArray(1, char(opened.unit)) + opened.pdu
                                                       << hex("40 03 00 00 00 02");
        QTest::newRow("Modbus TCP, a header that lies") << QByteArray(tcp.unwrapRequest(request.left(11)) ? "opened" : "")
                                                        << QByteArray();
        QTest::newRow("Modbus TCP, answer wrapped") << tcp.wrapAnswer(request, 0x40, hex("03 04 37 2B 31 39"))
                                                    << hex("12 34 00 00 00 07 40 03 04 37 2B 31 39");
    }

    void requests()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, wire);
        QCOMPARE(frame.toHex(' '), wire.toHex(' '));
    }

    // Every way an answer can be right or wrong, judged as the jobs judge it.
    void answers_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("modbusTcp");   // else RTU
        const QByteArray readSettings = hex("40 03 00 00 00 46 CB 29");
        const QByteArray settings = Golden::wireOf(Golden::settingsBlock.left(140));
        const QByteArray goodRead = hex("40 03 8C") + settings + hex("68 95");
        const QByteArray writeEntry = writeRequest(0x140, Golden::entryBlocks[1]);

        QTest::newRow("read, the golden answer") << readSettings << goodRead << "accepted" << false;
        QTest::newRow("write, acknowledged") << writeEntry << hex("40 10 01 40 00 0D 0E F5") << "accepted" << false;
        QTest::newRow("silence") << readSettings << QByteArray() << "bad CRC" << false;
        QTest::newRow("two bytes whose CRC is 0") << readSettings << hex("FF FF") << "bad CRC" << false;
        QTest::newRow("check sum bytes swapped") << readSettings << goodRead.left(143) + hex("95 68") << "bad CRC" << false;
        QTest::newRow("read, exception 2") << readSettings << withCrc(hex("40 83 02")) << "exception 2" << false;
        QTest::newRow("write, exception 4") << writeEntry << withCrc(hex("40 90 04")) << "exception 4" << false;
        QTest::newRow("exception of another function") << readSettings << withCrc(hex("40 90 02")) << "mismatch" << false;
        QTest::newRow("exception from another address") << readSettings << withCrc(hex("41 83 02")) << "mismatch" << false;
        QTest::newRow("exception with a trailing byte") << readSettings << withCrc(hex("40 83 02 00")) << "mismatch" << false;
        QTest::newRow("read, another address") << readSettings << withCrc(hex("41 03 8C") + settings) << "mismatch" << false;
        QTest::newRow("read, another function") << readSettings << withCrc(hex("40 04 8C") + settings) << "mismatch" << false;
        QTest::newRow("read, short") << readSettings << withCrc(hex("40 03 8C") + settings.left(138)) << "mismatch" << false;
        QTest::newRow("read, long") << readSettings << withCrc(hex("40 03 8C") + settings + hex("00 00")) << "mismatch" << false;
        QTest::newRow("read, wrong byte count") << readSettings << withCrc(hex("40 03 8E") + settings) << "mismatch" << false;
        QTest::newRow("read, echo of the request") << readSettings << readSettings << "mismatch" << false;
        QTest::newRow("write, other first register") << writeEntry << withCrc(hex("40 10 01 41 00 0D")) << "mismatch" << false;
        QTest::newRow("write, other count") << writeEntry << withCrc(hex("40 10 01 40 00 0C")) << "mismatch" << false;
        QTest::newRow("write, one byte too many") << writeEntry << withCrc(hex("40 10 01 40 00 0D 00")) << "mismatch" << false;
        // Over a gateway: no check sum; the transaction and the unit must be the request's.
        const QByteArray readTwoTcp = mbap(7, "03 00 00 00 02");
        QTest::newRow("Modbus TCP, read") << readTwoTcp << mbap(7, "03 04 37 2B 31 39") << "accepted" << true;
        QTest::newRow("Modbus TCP, write") << mbap(8, "10 01 40 00 0D 1A") << mbap(8, "10 01 40 00 0D") << "accepted"
                                           << true;
        QTest::newRow("Modbus TCP, no path to the modem") << readTwoTcp << mbap(7, "83 0A") << "exception 10" << true;
        QTest::newRow("Modbus TCP, the modem did not answer") << readTwoTcp << mbap(7, "83 0B") << "exception 11"
                                                              << true;
        QTest::newRow("Modbus TCP, another transaction") << readTwoTcp << mbap(6, "03 04 37 2B 31 39") << "mismatch"
                                                         << true;
        QTest::newRow("Modbus TCP, another unit") << readTwoTcp << ModbusTcpFraming::frame(7, 1, hex("03 04 37 2B 31 39"))
                                                  << "mismatch" << true;
        QTest::newRow("Modbus TCP, a header alone") << readTwoTcp << hex("00 07 00 00 00 01 40") << "bad CRC" << true;
    }

    void answers()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        QFETCH(QString, verdict);
        QFETCH(bool, modbusTcp);
        RtuFraming rtu;
        ModbusTcpFraming tcp;
        const Framing &framing = modbusTcp ? static_cast<Framing &>(tcp) : rtu;
        const AnswerCheck check = framing.check(request.constData(), request.size(), answer.constData(), answer.size());
        const QString judged = check.outcome == AnswerCheck::Accepted ? "accepted"
            : check.outcome == AnswerCheck::Exception                  ? QString("exception %1").arg(check.exceptionCode)
            : check.outcome == AnswerCheck::Damaged                    ? "bad CRC"
                                                                       : "mismatch";
        QCOMPARE(judged, verdict);
    }

    // What a server's bytes say about the framing it speaks.
    void framingHeard_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("door");   // -1: none
        QTest::newRow("telnet's options first") << hex("FF FB 01 FF FD 2C") + readTwoAnswer << int(Door::Rfc2217);
        QTest::newRow("an MBAP answer") << mbap(1, "03 04 37 2B 31 39") << int(Door::ModbusTcp);
        QTest::newRow("an MBAP answer from another unit") << ModbusTcpFraming::frame(1, 7, hex("03 02 00 00")) << -1;
        QTest::newRow("an RTU answer") << readTwoAnswer << int(Door::RtuOverTcp);
        QTest::newRow("an RTU exception") << withCrc(hex("40 83 02")) << int(Door::RtuOverTcp);
        QTest::newRow("an RTU answer cut short") << readTwoAnswer.left(7) << -1;
        QTest::newRow("two escaped 0xFF") << hex("FF FF") << -1;
        QTest::newRow("nothing") << QByteArray() << -1;
    }

    void framingHeard()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, door);
        const std::optional<Door> heard = doorSpeaking(bytes);
        QCOMPARE(heard ? int(*heard) : -1, door);
    }

    void dump_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("text");
        QByteArray line;
        for (int i = 0; i < 64; ++i)
            line += ' ' + QByteArray::number(i, 16).rightJustified(2, '0').toUpper();
        QTest::newRow("empty") << QByteArray() << QByteArray(" enddamp\n");
        QTest::newRow("high and low nibbles") << hex("00 0F F0 FF 40") << QByteArray(" 00 0F F0 FF 40 enddamp\n");
        QTest::newRow("exactly 64 bytes") << counting(64) << line + "\n enddamp\n";
        QTest::newRow("65 bytes") << counting(65) << line + "\n 40 enddamp\n";
    }

    void dump()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, text);
        QCOMPARE(hexDumpText(data.constData(), data.size()), text);
    }

    // The traffic's lines, as --trace prints them.
    void trafficLines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("line");
        QTest::newRow("request") << int(TrafficEntry::Sent) << readTwo << "read settings block, 2 registers"
                                 << "09:05:03.007 >> 40 03 00 00 00 02 CB 1A  read settings block, 2 registers";
        QTest::newRow("exception answer") << int(TrafficEntry::Received) << hex("40 83 02 90 e5")
                                          << "exception " + QString::number(2) + ": " + exceptionName(2)
                                          << "09:05:03.007 << 40 83 02 90 E5  exception 2: illegal data address";
        QTest::newRow("no answer") << int(TrafficEntry::Received) << QByteArray() << "no answer within 6000 ms"
                                   << "09:05:03.007 << no answer within 6000 ms";
        QTest::newRow("a job's end") << int(TrafficEntry::JobEnded) << QByteArray() << "It is Readed 31"
                                     << "09:05:03.007 -- It is Readed 31";
    }

    void trafficLines()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        QFETCH(QString, line);
        const QDateTime at(QDate(2026, 12, 7), QTime(9, 5, 3, 7));
        QCOMPARE((TrafficEntry{at, TrafficEntry::Kind(kind), bytes, words, false}.line()), line);
    }

    // Telnet's stream taken apart, however the segments cut it; data alone
    // is the stream of its own escaping.
    void telnetStream_data()
    {
        QTest::addColumn<QByteArrayList>("segments");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::newRow("plain data") << QByteArrayList{hex("40 03 00 0D")} << hex("40 03 00 0D") << QByteArrayList{};
        QTest::newRow("0xFF doubled") << QByteArrayList{hex("40 FF FF 01 FF FF")} << hex("40 FF 01 FF")
                                      << QByteArrayList{};
        QTest::newRow("0xFF doubled, cut between the two") << QByteArrayList{hex("40 FF"), hex("FF 01")}
                                                           << hex("40 FF 01") << QByteArrayList{};
        QTest::newRow("a no-operation between data") << QByteArrayList{hex("40 FF F1 03")} << hex("40 03")
                                                     << QByteArrayList{hex("F1")};
        QTest::newRow("a negotiation cut after IAC and after its verb")
            << QByteArrayList{hex("40 FF"), hex("FD"), hex("2C 03")} << hex("40 03") << QByteArrayList{hex("FD 2C")};
        QTest::newRow("a subnegotiation cut, a doubled 0xFF in it")
            << QByteArrayList{hex("40 FF FA 2C 6B"), hex("FF FF FF"), hex("F0 03")} << hex("40 03")
            << QByteArrayList{hex("FA 2C 6B FF")};
        QTest::newRow("a command ends a subnegotiation without SE") << QByteArrayList{hex("FF FA 2C 65 FF F1 40")}
                                                                     << hex("40") << QByteArrayList{hex("FA 2C 65"), hex("F1")};
    }

    void telnetStream()
    {
        QFETCH(QByteArrayList, segments);
        QFETCH(QByteArray, data);
        QFETCH(QByteArrayList, commands);
        TelnetReader reader;
        QByteArray taken;
        QVector<QByteArray> found;
        for (const QByteArray &segment : segments)
            reader.take(segment.constData(), segment.size(), &taken, &found);
        QCOMPARE(taken.toHex(' '), data.toHex(' '));
        QStringList foundShown, commandsShown;
        for (const QByteArray &command : found)
            foundShown << command.toHex(' ');
        for (const QByteArray &command : commands)
            commandsShown << command.toHex(' ');
        QCOMPARE(foundShown, commandsShown);
        if (commands.isEmpty())
            QCOMPARE(TelnetReader::escaped(data).toHex(' '), segments.join().toHex(' '));
    }

    // Picking a port or a rate rewrites its part of the connection text and keeps the rest.
    void connectionParts_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("rewritten");
        QTest::newRow("empty, a port") << "" << "dev" << "COM3" << "dev=COM3";
        QTest::newRow("empty, a rate") << "" << "baud" << "19200" << "baud=19200";
        QTest::newRow("a port in place") << "dev=COM1;baud=9600" << "dev" << "COM12" << "dev=COM12;baud=9600";
        QTest::newRow("a rate in place, blanks") << " dev = /dev/ttyS0 ; baud = 9600" << "baud" << "115200"
                                                 << " dev = /dev/ttyS0 ;baud=115200";
        QTest::newRow("a port before the rate") << "baud=1200" << "dev" << "/dev/ttyUSB0" << "dev=/dev/ttyUSB0;baud=1200";
        QTest::newRow("a rate after the port, no empty part") << "dev=COM3;" << "baud" << "4800" << "dev=COM3;baud=4800";
        QTest::newRow("a key given twice") << "dev=A;dev=B" << "dev" << "C" << "dev=C;dev=C";
        QTest::newRow("other letter case is another part") << "Dev=A" << "dev" << "B" << "dev=B;Dev=A";
    }

    void connectionParts()
    {
        QFETCH(QString, connection);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, rewritten);
        QCOMPARE(ConnectionText::withPart(connection, key, value), rewritten);
        QCOMPARE(ConnectionText::part(rewritten, key), value);
    }

    // What is read from a connection text builds the text that reads the same.
    void connectionRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("baudRate");   // -1: none given
        QTest::addColumn<QString>("host");   // of a server; empty for a serial port
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("door");
        QTest::addColumn<QString>("built");
        const int rtu = int(Door::RtuOverTcp);
        QTest::newRow("a port and its rate") << QByteArray("dev=/dev/ttyUSB0;baud=9600") << "/dev/ttyUSB0" << 9600 << ""
                                             << 0 << rtu << "dev=/dev/ttyUSB0;baud=9600";
        QTest::newRow("a port alone, blanks") << QByteArray(" dev = COM3 ;") << "COM3" << -1 << "" << 0 << rtu
                                              << "dev=COM3";
        QTest::newRow("a rate first, the last of two") << QByteArray("baud=1200;dev=COM1;baud=19200") << "COM1" << 19200
                                                       << "" << 0 << rtu << "dev=COM1;baud=19200";
        QTest::newRow("a Windows device path") << QByteArray("dev=\\\\.\\COM12") << "\\\\.\\COM12" << -1 << ""
                                               << 0 << rtu << "dev=\\\\.\\COM12";
        QTest::newRow("a server by IPv4") << QByteArray("dev=tcp://192.168.1.50:4001") << "tcp://192.168.1.50:4001"
                                          << -1 << "192.168.1.50" << 4001 << rtu << "dev=tcp://192.168.1.50:4001";
        QTest::newRow("a server by name, a rate") << QByteArray("dev=tcp://gprs-server.local:502;baud=115200")
            << "tcp://gprs-server.local:502" << 115200 << "gprs-server.local" << 502 << rtu
            << "dev=tcp://gprs-server.local:502;baud=115200";
        QTest::newRow("a server by bracketed IPv6") << QByteArray("dev=tcp://[fe80::1]:65535")
            << "tcp://[fe80::1]:65535" << -1 << "fe80::1" << 65535 << rtu << "dev=tcp://[fe80::1]:65535";
        QTest::newRow("RTU over TCP by its long name") << QByteArray("dev=RtuOverTcp://10.0.0.7:4001")
            << "RtuOverTcp://10.0.0.7:4001" << -1 << "10.0.0.7" << 4001 << rtu << "dev=RtuOverTcp://10.0.0.7:4001";
        QTest::newRow("a gateway on Modbus's port") << QByteArray("dev=modbustcp://plc-gw") << "modbustcp://plc-gw"
            << -1 << "plc-gw" << 502 << int(Door::ModbusTcp) << "dev=modbustcp://plc-gw";
        QTest::newRow("a gateway by IPv6, its own port") << QByteArray("dev=modbustcp://[::1]") << "modbustcp://[::1]"
            << -1 << "::1" << 502 << int(Door::ModbusTcp) << "dev=modbustcp://[::1]";
        QTest::newRow("an RFC 2217 server and its rate") << QByteArray("dev=rfc2217://10.0.0.9:2217;baud=19200")
            << "rfc2217://10.0.0.9:2217" << 19200 << "10.0.0.9" << 2217 << int(Door::Rfc2217)
            << "dev=rfc2217://10.0.0.9:2217;baud=19200";
        QTest::newRow("RTU in datagrams") << QByteArray("dev=rtuoverudp://10.0.0.3:4002") << "rtuoverudp://10.0.0.3:4002"
            << -1 << "10.0.0.3" << 4002 << int(Door::RtuOverUdp) << "dev=rtuoverudp://10.0.0.3:4002";
    }

    void connectionRoundTrip()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, device);
        QFETCH(int, baudRate);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(int, door);
        QFETCH(QString, built);
        const ConnectionText read = ConnectionText::parse(text);
        QCOMPARE(read.problem, QString());
        QCOMPARE(read.device, device);
        QCOMPARE(read.baudRate.value_or(-1), baudRate);
        QCOMPARE(read.server.has_value(), !host.isEmpty());
        if (read.server) {
            QCOMPARE(read.server->host, host);
            QCOMPARE(int(read.server->port), port);
            QCOMPARE(int(read.server->door), door);
            // Built from the address, the text names the same server by its shortest scheme.
            const ConnectionText rebuilt = ConnectionText::parse(ConnectionText::ofServer(*read.server).toLatin1());
            QCOMPARE(rebuilt.server->shown(), read.server->shown());
            QCOMPARE(int(rebuilt.server->door), door);
        }
        QCOMPARE(read.text(), built);
        const ConnectionText again = ConnectionText::parse(built.toLatin1());
        QCOMPARE(again.text(), built);
        QCOMPARE(again.server.has_value(), read.server.has_value());
        QCOMPARE(ConnectionText::part(built, "dev"), device);
    }

    void configureAndOpen_data()
    {
        QTest::addColumn<QString>("config");   // %1: the modem's pseudo-terminal, %2: its server's TCP port
        QTest::addColumn<QString>("portName");
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("opened");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("held");     // another program holds the port open first
        QTest::addColumn<QString>("why");   // the start of the reason a port did not open
        const QString com1 = "\\\\.\\COM1", modem = "%1", none, noSuchPort = "There is no such port";
        const QString noRate = "The connection \"%1\" has no baud rate: \"%2\" is not a rate such as 9600";
        const QString unknown = "The connection \"%1\" has an unknown part \"%2\"; it takes dev=PORT;baud=RATE";
        QTest::newRow("empty text: the default port named") << "" << com1 << 9600 << -1 << none << false
            << "The connection has no dev part, so the default port " + com1 + " was tried. " + noSuchPort;
        QTest::newRow("baud first") << "baud=115200;dev=%1" << modem << 115200 << 0 << none << false << none;
        QTest::newRow("dev= empty") << "dev=;baud=9600" << QString() << 9600 << -1 << none << false
                                    << "The connection names no port";
        QTest::newRow("no such port") << "dev=/dev/gprs-no-such-port" << "/dev/gprs-no-such-port" << 9600 << -1 << none
                                      << false << noSuchPort;
        QTest::newRow("port held by another program") << "dev=%1" << modem << 9600 << -1 << none << true
                                                      << "It is busy: another program holds it; close that program.";
        QTest::newRow("dev=A=B names A") << "dev=%1=B" << modem << 9600 << 0 << none << false << none;
        QTest::newRow("key twice takes the last") << "dev=A;baud=1200;dev=%1;baud=19200" << modem << 19200 << 0 << none
                                                  << false << none;
        QTest::newRow("blanks around parts and =") << " dev = %1 ;\tbaud= 1200;; " << modem << 1200 << 0 << none << false
                                                   << none;
        QTest::newRow("baud=abc named") << "dev=%1;baud=abc" << modem << 0 << 0 << noRate.arg("dev=%1;baud=abc", "abc")
                                        << false << none;
        QTest::newRow("baud=+1200 named") << "baud=+1200" << com1 << 0 << 0 << noRate.arg("baud=+1200", "+1200") << false
                                          << none;
        QTest::newRow("baud=0 named") << "baud = 0 ;dev=%1" << com1 << 0 << 0 << noRate.arg("baud = 0 ;dev=%1", "0")
                                      << false << none;
        QTest::newRow("Dev= named") << "Dev=%1" << com1 << 0 << 0 << unknown.arg("Dev=%1", "Dev=%1") << false << none;
        QTest::newRow("bare device name named") << "%1 ;baud=9600" << com1 << 0 << 0
                                                << unknown.arg("%1 ;baud=9600", "%1") << false << none;
        QTest::newRow("unknown key named") << "dev=%1; parity=E" << modem << 0 << 0
                                           << unknown.arg("dev=%1; parity=E", "parity=E") << false << none;
        // A server's serial side keeps its own rate: any baud is taken.
        QTest::newRow("server") << "dev=tcp://127.0.0.1:%2;baud=1" << "tcp://127.0.0.1:%2" << 1 << 0 << none << false
                                << none;
        // Refused, or unreachable where the machine has no IPv6: either names the port read.
        QTest::newRow("IPv6 server in brackets") << "dev=tcp://[::1]:10" << "tcp://[::1]:10" << 9600 << -1 << none << false
                                                 << "[::1]:10 ";
        QTest::newRow("server refuses") << "dev=tcp://127.0.0.1:1" << "tcp://127.0.0.1:1" << 9600 << -1 << none << false
            << "127.0.0.1:1 refused the connection: check the server's TCP port, and that no other program holds its "
               "connection.";
        const QString noServer = "The connection \"%1\" names no server: \"%2\" is not a server's address: ";
        QTest::newRow("server without its port") << "dev=tcp://gprs-server" << com1 << 0 << 0
            << noServer.arg("dev=tcp://gprs-server", "tcp://gprs-server") + "it takes tcp://HOST:PORT, a port from 1 "
               "to 65535" << false << none;
        QTest::newRow("server port out of range") << "dev=tcp://10.0.0.5:65536" << com1 << 0 << 0
            << noServer.arg("dev=tcp://10.0.0.5:65536", "tcp://10.0.0.5:65536") + "it takes tcp://HOST:PORT, a port "
               "from 1 to 65535" << false << none;
        QTest::newRow("IPv6 server without brackets") << "dev=tcp://fe80::1:502" << com1 << 0 << 0
            << noServer.arg("dev=tcp://fe80::1:502", "tcp://fe80::1:502") + "an IPv6 address goes in brackets, "
               "tcp://[ADDRESS]:PORT" << false << none;
        QTest::newRow("a bracket inside the brackets") << "dev=tcp://[[::1]:502" << com1 << 0 << 0
            << noServer.arg("dev=tcp://[[::1]:502", "tcp://[[::1]:502") + "it takes tcp://[IPv6 ADDRESS]:PORT" << false
            << none;
    }

    void configureAndOpen()
    {
        QFETCH(QString, config);
        QFETCH(QString, portName);
        QFETCH(int, baudRate);
        QFETCH(int, opened);
        QFETCH(QString, problem);
        QFETCH(bool, held);
        QFETCH(QString, why);
        SimulatedModemOptions atRate;   // the modem hears only a client at its own speed
        atRate.baudRate = baudRate > 1 ? baudRate : 9600;
        atRate.tcpPort = 0;
        SimulatedModem modem(atRate);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        const auto filled = [&](QString &text) {
            return text.replace("%1", modem.portName()).replace("%2", QString::number(modem.tcpPort()));
        };
        SerialLink link(2000, 2000, 200);
        QCOMPARE(link.configure(filled(config).toLocal8Bit()), filled(problem));
        if (!problem.isEmpty())
            return;   // the job ends here, before any port is opened
        QCOMPARE(link.portName(), filled(portName));
        QCOMPARE(link.baudRate(), baudRate);
        QSerialPort holder(modem.portName());
        QVERIFY(!held || holder.open(QIODevice::ReadWrite));
        QCOMPARE(link.open(), opened);
        QVERIFY2(link.openFailure().startsWith(why), qPrintable(link.openFailure()));
        // A link that did not open moves nothing and answers with nothing.
        const int n = link.exchange(readTwo.constData(), readTwo.size());
        QCOMPARE(QByteArray(link.answer(), n + 1).toHex(' '), ((opened ? QByteArray() : readTwoAnswer) + '\0').toHex(' '));
        QCOMPARE(modem.receivedFrames().size(), opened || held ? 0 : 1);
    }

    void exchangeLengths_data()
    {
        QTest::addColumn<QByteArray>("waiting");   // on the line before the exchange
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("length");           // of the answer; the next exchange gets the rest
        QTest::addColumn<bool>("network");         // the far end is a server's TCP connection, not a pty
        QTest::newRow("empty request only collects") << readTwoAnswer << QByteArray() << 9 << false;
        QTest::newRow("exactly 1023 bytes") << counting(1023) << QByteArray() << 1023 << false;
        QTest::newRow("overlong answer is cut") << counting(1100) << QByteArray() << 1023 << false;
        QTest::newRow("stray bytes before a request are discarded") << hex("FF 00 40 03 02") << readTwo << 0 << false;
        QTest::newRow("over TCP, overlong answer is cut") << counting(1100) << QByteArray() << 1023 << true;
        QTest::newRow("over TCP, stray bytes are discarded") << hex("FF 00 40 03 02") << readTwo << 0 << true;
    }

    void exchangeLengths()
    {
        QFETCH(QByteArray, waiting);
        QFETCH(QByteArray, request);
        QFETCH(int, length);
        QFETCH(bool, network);
        // The far end, worked by hand: a raw pseudo-terminal, whose slave the
        // test holds too so that the master stays readable while the link has
        // it closed; or a TCP connection the test accepts.
        int farEnd = -1, held = -1;
        QByteArray connection;
        const auto closeAll = qScopeGuard([&] { ::close(farEnd), ::close(held); });
        QTcpServer server;
        SerialLink link(300, 300, 100);
        if (network) {
            QVERIFY(server.listen(QHostAddress::LocalHost));
            link.configure(ConnectionText::ofServer({"127.0.0.1", server.serverPort()}).toLatin1());
            QCOMPARE(link.open(), 0);
            QVERIFY(server.waitForNewConnection(5000));
            // The socket's own copy of the descriptor goes with it.
            QTcpSocket *accepted = server.nextPendingConnection();
            farEnd = ::dup(int(accepted->socketDescriptor()));
            delete accepted;
            QCOMPARE(::write(farEnd, waiting.constData(), size_t(waiting.size())), ssize_t(waiting.size()));
            // Acknowledged: in the link's buffers before its exchange.
            QTRY_COMPARE_WITH_TIMEOUT(unacknowledged(farEnd), 0, 5000);
        } else {
            char name[256];
            termios raw;
            cfmakeraw(&raw);
            QCOMPARE(openpty(&farEnd, &held, name, &raw, nullptr), 0);
            QCOMPARE(::write(farEnd, waiting.constData(), size_t(waiting.size())), ssize_t(waiting.size()));
            pollfd arrived{held, POLLIN, 0};
            QCOMPARE(::poll(&arrived, 1, 5000), 1);
            link.configure(ConnectionText::of(name).toLatin1());
            QCOMPARE(link.open(), 0);
        }
        const int n = link.exchange(request.constData(), request.size());
        QCOMPARE(QByteArray(link.answer(), n + 1).toHex(' '), (waiting.left(length) + '\0').toHex(' '));
        // What waited on a socket goes, but is heard: it may tell what the server speaks.
        QCOMPARE(link.droppedBytes().toHex(' '), (network && length == 0 ? waiting : QByteArray()).toHex(' '));
        char sent[64];
        pollfd readable{farEnd, POLLIN, 0};
        const ssize_t got = ::poll(&readable, 1, 0) > 0 ? ::read(farEnd, sent, sizeof sent) : 0;
        QCOMPARE(QByteArray(sent, int(got)).toHex(' '), request.toHex(' '));
        const int rest = link.exchange(nullptr, 0);
        QCOMPARE(QByteArray(link.answer(), rest).toHex(' '), (request.isEmpty() ? waiting.mid(length) : "").toHex(' '));
    }

    // The far end worked by hand: the test's socket takes the request and
    // learns the link's port from it, while the link waits on its own thread.
    void datagrams_data()
    {
        QTest::addColumn<bool>("listening");   // a program takes datagrams on the server's port
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("loss");     // %1: the server's port
        QTest::newRow("a stray datagram from another port dropped") << true << readTwoAnswer << QString();
        QTest::newRow("nobody on the port") << false << QByteArray()
            << "127.0.0.1:%1 refused the request: check the server's address and UDP port";
    }

    void datagrams()
    {
        QFETCH(bool, listening);
        QFETCH(QByteArray, answer);
        QFETCH(QString, loss);
        QUdpSocket server, stray;
        QVERIFY(server.bind(QHostAddress(QHostAddress::LocalHost)));
        const NetworkAddress address{"127.0.0.1", server.localPort(), Door::RtuOverUdp};
        if (!listening)
            server.close();
        auto exchanged = std::async(std::launch::async, [&address] {
            SerialLink link(5000, 5000, 200);
            link.configure(ConnectionText::ofServer(address).toLatin1());
            link.open();
            const int n = link.exchange(readTwo.constData(), readTwo.size(), readTwoAnswer.size());
            return std::make_pair(QByteArray(link.answer(), n), link.portLost() ? link.lossExplanation() : QString());
        });
        if (listening) {
            QVERIFY(server.waitForReadyRead(5000));
            const QNetworkDatagram request = server.receiveDatagram();
            QCOMPARE(request.data().toHex(' '), readTwo.toHex(' '));
            // A whole answer of its own: taken, it would be the exchange's.
            stray.writeDatagram(withCrc(hex("40 03 04 00 00 00 00")), request.senderAddress(),
                                quint16(request.senderPort()));
            server.writeDatagram(request.makeReply(answer));
        }
        const auto [got, lost] = exchanged.get();
        QCOMPARE(got.toHex(' '), answer.toHex(' '));
        QCOMPARE(lost, loss.replace("%1", QString::number(address.port)));
    }

    // An answer ends as soon as it is the frame the request expects, else
    // only after the byte gap of silence (1000 ms here).
    void answerCompletion_data()
    {
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("expectedLength");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<int>("after");   // bytes that came within the silence after a complete answer
        SimulatedModemOptions none, exception, echo, slowEcho, badCrc, trailing, cut, doubled, pacedDoubled;
        exception.exceptionBlock = 0;
        echo.echo = slowEcho.echo = true;
        echo.pacing = true;
        slowEcho.answerDelayMs = 1200;   // the echo's byte gap is over before the answer starts
        badCrc.wrongCrc = true;
        trailing.trailingBytes = 2;
        cut.cutBytes = 2;
        doubled.doubledAnswerMs = pacedDoubled.doubledAnswerMs = 0;
        pacedDoubled.pacing = true;
        const QByteArray writeTwo = writeRequest(0, hex("2B 37 39 31"));
        QTest::newRow("read answer") << none << readTwo << 9 << readTwoAnswer << true << 0;
        QTest::newRow("write answer") << none << writeTwo << 8 << withCrc(hex("40 10 00 00 00 02")) << true << 0;
        QTest::newRow("exception answer") << exception << readTwo << 9 << withCrc(hex("40 83 04")) << true << 0;
        QTest::newRow("echo dropped, then the answer") << echo << writeTwo << 8 << withCrc(hex("40 10 00 00 00 02"))
                                                       << true << 0;
        QTest::newRow("echo, then a slow answer") << slowEcho << writeTwo << 8 << withCrc(hex("40 10 00 00 00 02"))
                                                  << false << 0;
        QTest::newRow("incomplete frame") << cut << readTwo << 9 << readTwoAnswer.left(7) << false << 0;
        // An answer says by its header how long it is.
        QTest::newRow("complete by its header, not the length expected") << none << readTwo << 11 << readTwoAnswer
                                                                          << true << 0;
        QTest::newRow("full length, bad check sum") << badCrc << readTwo << 9 << readTwoAnswer.left(7) + hex("FF 36")
                                                    << false << 0;
        QTest::newRow("trailing bytes") << trailing << readTwo << 9 << readTwoAnswer + hex("FF FF") << true << 2;
        QTest::newRow("a second answer right behind") << doubled << readTwo << 9 << readTwoAnswer + readTwoAnswer << true
                                                      << 9;
        QTest::newRow("a second answer right behind, paced") << pacedDoubled << readTwo << 9
                                                             << readTwoAnswer + readTwoAnswer << true << 9;
        QTest::newRow("no expected length") << none << readTwo << 0 << readTwoAnswer << false << 0;
        SimulatedModemOptions server, byteWise, closing, doubledServer;
        server.tcpPort = byteWise.tcpPort = closing.tcpPort = doubledServer.tcpPort = 0;
        byteWise.byteGapMs = 5;
        closing.hangUp = true;
        doubledServer.doubledAnswerMs = 0;
        QTest::newRow("over TCP") << server << writeTwo << 8 << withCrc(hex("40 10 00 00 00 02")) << true << 0;
        QTest::newRow("over TCP, one byte at a time") << byteWise << readTwo << 9 << readTwoAnswer << true << 0;
        QTest::newRow("over TCP, closed mid-answer") << closing << readTwo << 9 << readTwoAnswer.left(4) << true << 0;
        QTest::newRow("over TCP, a second answer right behind") << doubledServer << readTwo << 9
                                                                << readTwoAnswer + readTwoAnswer << true << 9;
        SimulatedModemOptions gateway, gatewayAlone;
        gateway.modbusTcpPort = gatewayAlone.modbusTcpPort = 0;
        gateway.pacing = true;
        gatewayAlone.exceptionBlock = 0;
        gatewayAlone.exceptionCode = 0x0B;
        QTest::newRow("over Modbus TCP, paced") << gateway << mbap(1, "03 00 00 00 02") << 13
                                                << mbap(1, "03 04 37 2B 31 39") << true << 0;
        QTest::newRow("over Modbus TCP, a write") << gateway << mbap(9, "10 00 00 00 02 04 37 2B 31 39") << 12
                                                  << mbap(9, "10 00 00 00 02") << true << 0;
        QTest::newRow("over Modbus TCP, the modem behind did not answer") << gatewayAlone << mbap(1, "03 00 00 00 02")
                                                                          << 13 << mbap(1, "83 0B") << true << 0;
        SimulatedModemOptions datagrams, twoDatagrams;
        datagrams.udpPort = twoDatagrams.udpPort = 0;
        twoDatagrams.splitPauseMs = 50;
        QTest::newRow("over UDP, a read") << datagrams << readTwo << 9 << readTwoAnswer << true << 0;
        QTest::newRow("over UDP, a write") << datagrams << writeTwo << 8 << withCrc(hex("40 10 00 00 00 02")) << true
                                           << 0;
        QTest::newRow("over UDP, an answer in two datagrams") << twoDatagrams << readTwo << 9 << readTwoAnswer << true
                                                              << 0;
    }

    void answerCompletion()
    {
        QFETCH(SimulatedModemOptions, options);
        QFETCH(QByteArray, request);
        QFETCH(int, expectedLength);
        QFETCH(QByteArray, answer);
        QFETCH(bool, atOnce);
        QFETCH(int, after);
        SimulatedModem modem(options);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        SerialLink link(5000, 5000, 1000);
        link.configure(connectionOf(modem));
        QCOMPARE(link.open(), 0);
        QElapsedTimer timer;
        timer.start();
        const int n = link.exchange(request.constData(), request.size(), expectedLength);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(QByteArray(link.answer(), n).toHex(' '), answer.toHex(' '));
        QVERIFY2(atOnce ? elapsed < 500 : elapsed >= 1000, qPrintable(QString::number(elapsed)));
        QCOMPARE(link.portLost(), options.hangUp);
        QCOMPARE(link.bytesAfterAnswer(), after);
    }

    // A gateway's answer names its request: one for another request, or
    // bytes no frame starts with, are dropped while the wait for ours goes on.
    void lateAnswers_data()
    {
        QTest::addColumn<QList<QByteArray>>("replies");   // the server's writes, 50 ms apart
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("dropped");
        const QByteArray ours = mbap(1, "03 04 37 2B 31 39"), late = mbap(0xFFFF, "03 04 00 00 00 00");
        const QByteArray otherProtocol = hex("00 01 00 01 00 07 40 03 04 37 2B 31 39");
        const QByteArray lengthMisfit = hex("00 01 00 00 00 08 40 03 04 37 2B 31 39 00");
        QTest::newRow("a late answer and ours at once") << QList<QByteArray>{late + ours} << ours << late;
        QTest::newRow("a late answer, then ours") << QList<QByteArray>{late, ours} << ours << late;
        QTest::newRow("another protocol, then ours") << QList<QByteArray>{otherProtocol, ours} << ours << otherProtocol;
        QTest::newRow("a length that does not fit, then ours") << QList<QByteArray>{lengthMisfit, ours} << ours
                                                               << lengthMisfit;
        QTest::newRow("a late answer alone") << QList<QByteArray>{late} << QByteArray() << late;
        // Eight seconds of them: the exchange ends at its time all the same,
        // some 4 s here, with part of the stream dropped.
        QList<QByteArray> endless;
        for (int i = 0; i < 160; ++i)
            endless << late;
        QTest::newRow("late answers without end") << endless << QByteArray() << late.repeated(160);
    }

    void lateAnswers()
    {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, dropped);
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0 && ::listen(listener, 1) == 0);
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        std::thread server([listener, replies] {
            const int peer = ::accept(listener, nullptr, nullptr);
            char request[64];
            if (::read(peer, request, sizeof request) > 0) {
                for (const QByteArray &reply : replies) {
                    if (::write(peer, reply.constData(), size_t(reply.size())) != reply.size())
                        break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            // Open until the link closes it.
            char rest;
            while (::read(peer, &rest, 1) > 0) {
            }
            ::close(peer);
        });
        const auto joined = qScopeGuard([&] { server.join(), ::close(listener); });
        SerialLink link(1000, 1000, 200);
        link.configure(QByteArray("dev=modbustcp://127.0.0.1:") + QByteArray::number(ntohs(address.sin_port)));
        QCOMPARE(link.open(), 0);
        const Framing::Request request = link.framing().readRegisters(0, 2);
        const int n = link.exchange(request.frame.constData(), request.frame.size(), request.answerLength);
        link.close();
        QCOMPARE(QByteArray(link.answer(), n).toHex(' '), answer.toHex(' '));
        if (replies.size() > 10) {
            QVERIFY(dropped.startsWith(link.droppedBytes()));
            QVERIFY2(link.droppedBytes().size() < dropped.size() * 3 / 4, qPrintable(QString::number(link.droppedBytes().size())));
        } else {
            QCOMPARE(link.droppedBytes().toHex(' '), dropped.toHex(' '));
        }
    }

    // A thread that holds its connections connects to a server once for
    // many jobs, and anew once the server has dropped the connection.
    void heldConnections_data()
    {
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("dropped");   // by the server between the jobs
        QTest::addColumn<int>("connections");
        QTest::newRow("held: one connection for both jobs") << true << false << 1;
        QTest::newRow("held: a dropped connection made anew") << true << true << 2;
        QTest::newRow("not held: each job connects") << false << false << 2;
    }

    void heldConnections()
    {
        QFETCH(bool, held);
        QFETCH(bool, dropped);
        QFETCH(int, connections);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        std::optional<HeldConnections::Scope> scope;
        if (held)
            scope.emplace();
        for (int job = 0; job < 2; ++job) {
            SerialLink link;
            link.configure(ConnectionText::ofServer({"127.0.0.1", server.serverPort()}).toLatin1());
            QCOMPARE(link.open(), 0);
            if (job == 0 || connections == 2) {
                QVERIFY(server.waitForNewConnection(5000));
                QTcpSocket *peer = server.nextPendingConnection();
                if (dropped) {
                    peer->disconnectFromHost();
                    // Gone before the next job looks at the connection it holds.
                    QTRY_VERIFY(peer->state() == QAbstractSocket::UnconnectedState);
                }
            }
            link.close();
        }
        QVERIFY(!server.waitForNewConnection(300));
    }

    void exchangeTimings_data()
    {
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<int>("answerTimeout");
        QTest::addColumn<int>("nextTimeout");
        QTest::addColumn<bool>("reopen");     // between the two exchanges
        QTest::addColumn<bool>("askAgain");   // the second exchange sends the request too
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("leastMs");     // before the second answer is in
        QTest::addColumn<int>("unasked");     // bytes waiting before the second request, which is then not sent
        SimulatedModemOptions shortPause, longPause, slow, slowLine;
        slowLine.baudRate = 300;
        shortPause.splitPauseMs = 50;
        longPause.splitPauseMs = 1000;
        slow.answerDelayMs = 1000;
        // A byte gap of 200 ms ends an answer after about 300 ms of silence.
        QTest::newRow("pause within the byte gap") << shortPause << 5000 << 300 << false << false << readTwoAnswer
                                                   << QByteArray() << 0 << 0;
        QTest::newRow("pause beyond the byte gap") << longPause << 5000 << 5000 << false << false << readTwoAnswer.left(4)
                                                   << readTwoAnswer.mid(4) << 0 << 0;
        // Answers a second late: only a long wait sees them.
        QTest::newRow("first waits answerTimeout, then nextTimeout") << slow << 5000 << 200 << false << true
                                                                     << readTwoAnswer << QByteArray() << 0 << 0;
        QTest::newRow("open starts a new first exchange") << slow << 5000 << 200 << true << true << readTwoAnswer
                                                          << readTwoAnswer << 0 << 0;
        QTest::newRow("after a timed-out first, nextTimeout") << slow << 200 << 5000 << false << true << QByteArray()
                                                              << readTwoAnswer << 0 << 0;
        // 3.5 characters at 300 baud (117 ms) between an answer and the next request.
        QTest::newRow("Modbus gap before the next request") << slowLine << 5000 << 5000 << false << true << readTwoAnswer
                                                            << readTwoAnswer << 100 << 0;
        // Over a network every wait allows a round trip more (2.2 s here), and
        // the byte gap the spread of the segments (1.2 s).
        SimulatedModemOptions slowServer = slow, silentServer, pausingServer = longPause;
        slowServer.tcpPort = silentServer.tcpPort = pausingServer.tcpPort = 0;
        silentServer.silent = true;
        QTest::newRow("over TCP, a pause within the segments' spread") << pausingServer << 5000 << 300 << false << false
                                                                       << readTwoAnswer << QByteArray() << 0 << 0;
        QTest::newRow("over TCP, the wait allows a round trip") << slowServer << 200 << 200 << false << true
                                                                << readTwoAnswer << readTwoAnswer << 900 << 0;
        QTest::newRow("over TCP, a silent server") << silentServer << 200 << 200 << false << true << QByteArray()
                                                   << QByteArray() << 2000 << 0;
        // A second answer that comes after the silence: once the link has had
        // an answer, bytes before the next request are nobody's answer.
        SimulatedModemOptions lateCopy, lateCopyServer;
        lateCopy.doubledAnswerMs = lateCopyServer.doubledAnswerMs = 30;
        lateCopyServer.tcpPort = 0;
        QTest::newRow("a second answer 30 ms late") << lateCopy << 5000 << 5000 << false << true << readTwoAnswer
                                                    << readTwoAnswer << 0 << 9;
        QTest::newRow("over TCP, a second answer 30 ms late") << lateCopyServer << 5000 << 5000 << false << true
                                                              << readTwoAnswer << readTwoAnswer << 0 << 9;
        // A network may deliver a datagram twice: a late copy is only stale.
        SimulatedModemOptions silentDatagrams = silentServer, lateDatagram = lateCopy;
        silentDatagrams.udpPort = lateDatagram.udpPort = 0;
        QTest::newRow("over UDP, a silent server") << silentDatagrams << 200 << 200 << false << true << QByteArray()
                                                   << QByteArray() << 2000 << 0;
        QTest::newRow("over UDP, a late copy of the answer dropped") << lateDatagram << 5000 << 5000 << false << true
                                                                     << readTwoAnswer << readTwoAnswer << 0 << 0;
    }

    void exchangeTimings()
    {
        QFETCH(SimulatedModemOptions, options);
        QFETCH(int, answerTimeout);
        QFETCH(int, nextTimeout);
        QFETCH(bool, reopen);
        QFETCH(bool, askAgain);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(int, leastMs);
        QFETCH(int, unasked);
        SimulatedModem modem(options);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        SerialLink link(answerTimeout, nextTimeout, 200);
        link.configure(connectionOf(modem));
        QCOMPARE(link.open(), 0);
        int n = link.exchange(readTwo.constData(), readTwo.size(), readTwoAnswer.size());
        QCOMPARE(QByteArray(link.answer(), n + 1).toHex(' '), (first + '\0').toHex(' '));
        if (reopen) {
            link.close();
            QCOMPARE(link.open(), 0);
        }
        // The copy has gone out before the next request.
        if (options.doubledAnswerMs >= 0)
            QTRY_COMPARE_WITH_TIMEOUT(modem.answersSent(), 2, 5000);
        QElapsedTimer timer;
        timer.start();
        n = link.exchange(readTwo.constData(), askAgain ? readTwo.size() : 0, readTwoAnswer.size());
        QCOMPARE(QByteArray(link.answer(), n + 1).toHex(' '), (second + '\0').toHex(' '));
        QVERIFY2(timer.elapsed() >= leastMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(link.unaskedBytes(), unasked);
        QCOMPARE(modem.receivedFrames().size(), askAgain && !unasked ? 2 : 1);
    }

    // An RFC 2217 server played by the test: what it says on the
    // connection, its answers to the port's settings (none: it stays silent;
    // "close": it closes the connection) in pieces, each but the first sent
    // only once the one before is acknowledged, as ser2net does, then the
    // answer to the request in pieces. What the client sent is pinned whole.
    void rfc2217Server_data()
    {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArrayList>("settingsAnswers");
        QTest::addColumn<QByteArrayList>("answerPieces");
        QTest::addColumn<QByteArray>("answer");   // as the link gives it
        QTest::addColumn<QString>("why");         // %1: the server's port
        QTest::addColumn<QByteArray>("heard");    // what the client sent
        const QByteArray asks = hex("FF FB 00 FF FD 00 FF FB 2C");   // binary both ways, COM-PORT-OPTION
        const QByteArray settings = hex("FF FA 2C 01 00 00 4B 00 FF F0 FF FA 2C 02 08 FF F0 FF FA 2C 03 01 FF F0"
                                        "FF FA 2C 04 01 FF F0");   // 19200 baud, 8 bits, no parity, 1 stop bit
        const QByteArray doComPort = hex("FF FD 2C");
        const QByteArray setAsAsked = hex("FF FA 2C 65 00 00 4B 00 FF F0 FF FA 2C 66 08 FF F0 FF FA 2C 67 01 FF F0"
                                          "FF FA 2C 68 01 FF F0");
        QTest::newRow("COM-PORT-OPTION refused") << hex("FF FE 2C") << QByteArrayList() << QByteArrayList() << QByteArray()
            << "127.0.0.1:%1 does not let its serial port be set (it refuses RFC 2217's COM-PORT-OPTION): turn RFC "
               "2217 on for that port, or set the port's rate in the server and connect with tcp://127.0.0.1:%1."
            << asks;
        QTest::newRow("another rate set") << doComPort << QByteArrayList{QByteArray(setAsAsked).replace(4, 4, hex("00 00 25 80"))}
            << QByteArrayList() << QByteArray()
            << "127.0.0.1:%1 set its serial port to 9600 baud instead of 19200: the port does not take that rate; "
               "choose a rate that both the port and the modem take." << asks + settings;
        QTest::newRow("odd parity set") << doComPort << QByteArrayList{QByteArray(setAsAsked).replace(21, 1, hex("02"))}
            << QByteArrayList() << QByteArray()
            << "127.0.0.1:%1 did not set its serial port to 19200 baud, 8 data bits, no parity and 1 stop bit, as the "
               "modem's frames need: check the port's settings in the server." << asks + settings;
        QTest::newRow("the settings unanswered") << doComPort << QByteArrayList() << QByteArrayList() << QByteArray()
            << "127.0.0.1:%1 did not answer the settings of its serial port within 3 s: check that it is an RFC 2217 "
               "server." << asks + settings;
        QTest::newRow("closed before answering") << doComPort << QByteArrayList{"close"} << QByteArrayList() << QByteArray()
            << "127.0.0.1:%1 closed the connection: check that no other program took it over, and try again"
            << asks + settings;
        // What it offers and this side needs not is refused with the settings;
        // a notice of the modem lines' state, acknowledged by a no-operation,
        // comes before their answers, and another between the bytes of the
        // answer with a no-operation, cut across its pieces.
        const QByteArray answer = withCrc(hex("40 03 04 FF FF FF 01"));
        QTest::newRow("commands within the answer") << hex("FF FB 01 FF FD 03 FF FD 00 FF FB 00") + doComPort
            << QByteArrayList{hex("FF FA 2C 6B 00 FF F0"), setAsAsked}
            << QByteArrayList{hex("40 03 04 FF FF FF F1 FF FF FF"), hex("FA 2C 6B 10 FF"), hex("F0 FF"),
                              hex("FF 01") + answer.right(2)}
            << answer << QString() << asks + hex("FF FE 01 FF FC 03") + settings + hex("FF F1") + readTwo;
    }

    void rfc2217Server()
    {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArrayList, settingsAnswers);
        QFETCH(QByteArrayList, answerPieces);
        QFETCH(QByteArray, answer);
        QFETCH(QString, why);
        QFETCH(QByteArray, heard);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        SerialLink link(2000, 2000, 200);
        link.configure(QString("dev=rfc2217://127.0.0.1:%1;baud=19200").arg(server.serverPort()).toLatin1());
        // The link blocks while it waits for the server: it works on a thread of its own.
        int opened = -2;
        QByteArray answered;
        std::thread client([&] {
            opened = link.open();
            if (opened == 0)
                answered = QByteArray(link.answer(), link.exchange(readTwo.constData(), readTwo.size(), 9));
            link.close();
        });
        const auto joined = qScopeGuard([&] {
            if (client.joinable())
                client.join();
        });
        QVERIFY(server.waitForNewConnection(5000));
        std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
        QByteArray got;
        const auto hear = [&](const QByteArray &end) {
            do
                got += peer->readAll();
            while (!got.endsWith(end) && got.size() < heard.size() && peer->waitForReadyRead(5000));
        };
        const auto say = [&](const QByteArray &bytes) {
            peer->write(bytes);
            peer->waitForBytesWritten(5000);
        };
        say(greeting);
        const bool closes = settingsAnswers == QByteArrayList{"close"};
        if (!settingsAnswers.isEmpty())
            hear(hex("FF FA 2C 04 01 FF F0"));
        if (closes)
            peer->close();
        for (int i = 0; i < settingsAnswers.size() && !closes; ++i) {
            if (i > 0)
                hear(hex("FF F1"));
            say(settingsAnswers[i]);
        }
        if (!answerPieces.isEmpty()) {
            hear(readTwo);
            // A moment apart, so that the link reads each piece on its own.
            for (const QByteArray &piece : answerPieces) {
                say(piece);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        if (!closes)
            hear(heard);
        client.join();
        // Each piece of the answer read may be acknowledged by a no-operation.
        const QByteArray acknowledgements = got.mid(heard.size());
        QCOMPARE(acknowledgements, hex("FF F1").repeated(acknowledgements.size() / 2));
        QCOMPARE(got.left(heard.size()).toHex(' '), heard.toHex(' '));
        QCOMPARE(link.openFailure(), why.isEmpty() ? why : why.arg(server.serverPort()));
        QCOMPARE(opened, why.isEmpty() ? 0 : -1);
        QCOMPARE(answered.toHex(' '), answer.toHex(' '));
    }

    // Through ser2net in front of the modem's pseudo-terminal. The port's
    // own rate is 9600, and the modem hears only a client at its own rate:
    // a read at 19200 passes only when the connection set the port's rate.
    void throughSer2net_data()
    {
        QTest::addColumn<int>("rate");             // the modem's and the connection's
        QTest::addColumn<QByteArray>("written");   // before the read, from register 0, in host order
        QTest::addColumn<QByteArray>("answer");    // to the read of registers 0 and 1
        QTest::newRow("a read at 19200") << 19200 << QByteArray() << readTwoAnswer;
        QTest::newRow("0xFF bytes written and read back") << 9600 << hex("FF FF 00 FF")
                                                          << withCrc(hex("40 03 04 FF FF FF 00"));
    }

    void throughSer2net()
    {
        QFETCH(int, rate);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, answer);
        if (Ser2NetServer::program().isEmpty())
            QSKIP("ser2net is not installed (scripts/test installs it)");
        SimulatedModemOptions options;
        options.baudRate = rate;
        SimulatedModem modem(options);
        QVERIFY2(modem.start(), qPrintable(modem.errorString()));
        Golden::loadInto(modem);
        Ser2NetServer server(modem.portName());
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
        SerialLink link(5000, 5000, 200);
        QCOMPARE(link.configure(server.connectionText(rate)), QString());
        QVERIFY2(link.open() == 0, qPrintable(link.openFailure()));
        if (!written.isEmpty()) {
            const QByteArray write = writeRequest(0, written);
            const int n = link.exchange(write.constData(), write.size(), 8);
            QCOMPARE(QByteArray(link.answer(), n).toHex(' '), withCrc(hex("40 10 00 00 00 02")).toHex(' '));
        }
        const int n = link.exchange(readTwo.constData(), readTwo.size(), 9);
        QCOMPARE(QByteArray(link.answer(), n).toHex(' '), answer.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
