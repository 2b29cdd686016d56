// gprs-modem-sim: a simulated GPRS modem to try the configurator without
// hardware. Prints the connection text as its first line and serves until
// SIGINT or SIGTERM (Ctrl+C or the console's closing on Windows).

#include "devicesettings.h"
#include "filesupport.h"
#include "modbusframe.h"
#include "settingsimage.h"
#include "simulatedmodem.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <atomic>
#include <windows.h>
#else
#include <csignal>

#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN

std::atomic<bool> finished{false};

// Called on a thread of the system's: the quit is posted to the main thread,
// which stops the modem and writes the last dump. Windows ends the process
// as soon as this returns from a closing console, so it waits for that.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        for (int waited = 0; !finished && waited < 4000; waited += 20)
            Sleep(20);
    }
    return TRUE;
}

bool installSignalHandlers()
{
    return SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}

#else

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 's';
    const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
    (void)ignored;
}

bool installSignalHandlers()
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

#endif

void fail(const QString &message)
{
    std::fprintf(stderr, "gprs-modem-sim: %s\n", qPrintable(message));
    std::fflush(stderr);
}

// Register numbers and addresses may be given in decimal or as 0x... hex.
bool parseNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int minimum,
                 int maximum, int *value)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int number = parser.value(option).toInt(&ok, 0);
    if (!ok || number < minimum || number > maximum) {
        fail(QStringLiteral("--%1 wants a number from %2 to %3, not \"%4\"")
                 .arg(option.names().constFirst())
                 .arg(minimum)
                 .arg(maximum)
                 .arg(parser.value(option)));
        return false;
    }
    *value = number;
    return true;
}

// "5020", "0.0.0.0:5020" or "[::1]:5020": the servers share their address.
bool parseListenAddress(const QString &text, SimulatedModemOptions *options, int *portNumber)
{
    QString address = options->tcpAddress;
    QString port = text;
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        address = text.left(colon);
        port = text.mid(colon + 1);
        if (address.startsWith(QLatin1Char('[')) && address.endsWith(QLatin1Char(']')))
            address = address.mid(1, address.size() - 2);
    }
    bool ok = !port.isEmpty();
    for (const QChar c : port)
        ok = ok && c.isDigit();
    const int number = ok ? port.toInt(&ok) : -1;
    if (!ok || number > 65535 || address.isEmpty())
        return false;
    options->tcpAddress = address;
    *portNumber = number;
    return true;
}

void dump(const SimulatedModem &modem, const QString &fileName)
{
    const SaveOutcome outcome = dumpModemSettings(modem, fileName);
    if (!outcome.saved)
        fail(QStringLiteral("cannot write %1: %2").arg(fileName, outcome.errorString));
}

void traceFrame(const char *direction, const QByteArray &frame)
{
    const QByteArray dump = hexDumpText(frame.constData(), frame.size());
    std::printf("%s%s", direction, dump.constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gprs-modem-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GPRS_VERSION));
    // Before anything else, so that a SIGTERM that comes early still ends
    // the program through its orderly exit.
    if (!installSignalHandlers()) {
        fail(QStringLiteral("cannot install the signal handlers"));
        return 1;
    }

    QCommandLineParser parser;
#ifdef Q_OS_WIN
    parser.setApplicationDescription(QStringLiteral(
        "Simulated GPRS modem: a Modbus RTU slave at address 0x40 with 512 holding registers,\n"
        "behind a serial device server that passes Modbus RTU over TCP (--tcp), a Modbus TCP\n"
        "gateway (--modbus-tcp) or a data unit that passes Modbus RTU in UDP datagrams (--udp):\n"
        "at least one of them. Each server's connection text comes first, in that order: the\n"
        "text to type into the configurator's \"Connection\" field. Runs until Ctrl+C.\n"
        "\n"
        "Exit status: 0 after Ctrl+C; 1 a port or settings file that cannot be opened,\n"
        "read or written; 2 a bad command line."));
#else
    parser.setApplicationDescription(QStringLiteral(
        "Simulated GPRS modem: a Modbus RTU slave at address 0x40 with 512 holding registers.\n"
        "Without --port it opens a pseudo-terminal. The first line on standard output is the\n"
        "text to type into the configurator's \"Connection\" field. With --tcp the modem also sits\n"
        "behind a serial device server that passes Modbus RTU over TCP, with --modbus-tcp behind a\n"
        "Modbus TCP gateway, with --udp behind a data unit that passes Modbus RTU in UDP datagrams:\n"
        "each server's connection text comes first, in that order, and the serial line's follows.\n"
        "Runs until SIGINT or SIGTERM.\n"
        "\n"
        "Exit status: 0 after SIGINT or SIGTERM; 1 a port or settings file that cannot be opened,\n"
        "read or written; 2 a bad command line."));
#endif
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("Serve this existing serial device instead of a new pseudo-terminal."),
        QStringLiteral("device"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
        QStringLiteral("Baud rate of the line (default 9600)."), QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption loadOption(QStringLiteral("load"),
        QStringLiteral("Start with the settings of this settings file (the configurator's XML format)."),
        QStringLiteral("file"));
    const QCommandLineOption dumpOption(QStringLiteral("dump"),
        QStringLiteral("Write the modem's settings to this settings file after every write and on exit."),
        QStringLiteral("file"));
    const QCommandLineOption traceOption(QStringLiteral("trace"),
        QStringLiteral("Print every received frame and every answer in hexadecimal."));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
        QStringLiteral("Never answer (and perform no write)."));
    const QCommandLineOption badCrcOption(QStringLiteral("bad-crc"),
        QStringLiteral("Send every answer with a wrong CRC."));
    const QCommandLineOption badCrcBlockOption(QStringLiteral("bad-crc-block"),
        QStringLiteral("Send a wrong CRC only in answers to requests that start at this register."),
        QStringLiteral("register"));
    const QCommandLineOption exceptionBlockOption(QStringLiteral("exception-block"),
        QStringLiteral("Answer requests that start at this register with an exception."),
        QStringLiteral("register"));
    const QCommandLineOption exceptionCodeOption(QStringLiteral("exception-code"),
        QStringLiteral("Exception code for --exception-block (default 4)."), QStringLiteral("code"),
        QStringLiteral("4"));
    const QCommandLineOption oldFirmwareOption(QStringLiteral("old-firmware"),
        QStringLiteral("Old firmware without register 70 (KeepCon): touching it gives exception 2."));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
        QStringLiteral("Wait this long before answering."), QStringLiteral("ms"));
    const QCommandLineOption byteGapOption(QStringLiteral("byte-gap"),
        QStringLiteral("Pause this long between two bytes of an answer."), QStringLiteral("ms"));
    const QCommandLineOption splitOption(QStringLiteral("split"),
        QStringLiteral("Send every answer in two halves with this pause between them."), QStringLiteral("ms"));
    const QCommandLineOption answerAddressOption(QStringLiteral("answer-address"),
        QStringLiteral("Answer with this slave address instead of 0x40."), QStringLiteral("address"));
    const QCommandLineOption pacingOption(QStringLiteral("pacing"),
        QStringLiteral("Keep the line's timing: answer no sooner than the request's wire time after its "
                       "start, and send every byte one character time (10 bits) after the last."));
    const QCommandLineOption dropOption(QStringLiteral("drop-register"),
        QStringLiteral("Acknowledge writes to this register but keep its old value."), QStringLiteral("register"));
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
        QStringLiteral("Also serve Modbus RTU over TCP on this port (0: any free one), of 127.0.0.1 unless an "
                       "address is given: 5020, 0.0.0.0:5020, [::1]:5020. The serial side runs at --baud."),
        QStringLiteral("[address:]port"));
    const QCommandLineOption modbusTcpOption(QStringLiteral("modbus-tcp"),
        QStringLiteral("Also serve Modbus TCP as a gateway to the serial line on this port (0: any free one), "
                       "on the address of --tcp or as given here. The serial side runs at --baud."),
        QStringLiteral("[address:]port"));
    const QCommandLineOption udpOption(QStringLiteral("udp"),
        QStringLiteral("Also serve Modbus RTU in UDP datagrams on this port (0: any free one), on the address of "
                       "--tcp or as given here, answering whoever sent the last datagram. The serial side runs "
                       "at --baud."),
        QStringLiteral("[address:]port"));
    const QCommandLineOption echoOption(QStringLiteral("echo"),
        QStringLiteral("Echo every received byte, as a two-wire RS-485 adapter does."));
    const QCommandLineOption doubleOption(QStringLiteral("double-answer"),
        QStringLiteral("Send every answer a second time this long after the first, as a device server that "
                       "replays or a second master would."), QStringLiteral("ms"));
#ifdef Q_OS_UNIX
    // Windows has no pseudo-terminal, and its serial ports are the configurator's.
    parser.addOption(portOption);
#endif
    parser.addOptions({baudOption, loadOption, dumpOption, traceOption, silentOption, badCrcOption, badCrcBlockOption,
                       exceptionBlockOption, exceptionCodeOption, oldFirmwareOption, delayOption, byteGapOption,
                       splitOption, answerAddressOption, pacingOption, dropOption, echoOption, doubleOption, tcpOption,
                       modbusTcpOption, udpOption});
    // Not process(): it ends a bad command line with status 1, which here
    // means a port or a file that failed.
    if (!parser.parse(QCoreApplication::arguments())) {
        QString problem = parser.errorText();
        if (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        fail(QStringLiteral("%1; try --help").arg(problem));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        const int usageEnd = help.indexOf(QLatin1String(" [options]"));
        if (usageEnd > 0)
            help.replace(0, usageEnd, QStringLiteral("Usage: gprs-modem-sim"));
        std::fputs(help.toUtf8().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (parser.isSet(versionOption)) {
        std::printf("gprs-modem-sim %s\n", GPRS_VERSION);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }

    if (!parser.positionalArguments().isEmpty()) {
        fail(QStringLiteral("unexpected argument \"%1\"; try --help").arg(parser.positionalArguments().constFirst()));
        return 2;
    }

    SimulatedModemOptions options;
#ifdef Q_OS_UNIX
    options.port = parser.value(portOption);
#endif
    int exceptionCode = options.exceptionCode;
    const int lastRegister = ModbusSlave::RegisterCount - 1;
    const int longestPause = 600000;
    if (!parseNumber(parser, baudOption, 1, 4000000, &options.baudRate)
        || !parseNumber(parser, badCrcBlockOption, 0, lastRegister, &options.wrongCrcBlock)
        || !parseNumber(parser, exceptionBlockOption, 0, lastRegister, &options.exceptionBlock)
        || !parseNumber(parser, exceptionCodeOption, 1, 255, &exceptionCode)
        || !parseNumber(parser, delayOption, 0, longestPause, &options.answerDelayMs)
        || !parseNumber(parser, byteGapOption, 0, longestPause, &options.byteGapMs)
        || !parseNumber(parser, splitOption, 0, longestPause, &options.splitPauseMs)
        || !parseNumber(parser, answerAddressOption, 0, 255, &options.answerAddress)
        || !parseNumber(parser, dropOption, 0, lastRegister, &options.droppedRegister)
        || !parseNumber(parser, doubleOption, 0, longestPause, &options.doubledAnswerMs))
        return 2;
    // A rate the modem cannot be set to would let the configurator reach a
    // modem that no real line could.
    if (!DeviceSettings::baudRates().contains(options.baudRate)) {
        QStringList rates;
        for (const int rate : DeviceSettings::baudRates())
            rates << QString::number(rate);
        fail(QStringLiteral("the modem has no baud rate %1 (it takes %2)")
                 .arg(parser.value(baudOption), rates.join(QStringLiteral(", "))));
        return 2;
    }
    options.exceptionCode = static_cast<quint8>(exceptionCode);
    options.silent = parser.isSet(silentOption);
    options.wrongCrc = parser.isSet(badCrcOption);
    options.oldFirmware = parser.isSet(oldFirmwareOption);
    options.pacing = parser.isSet(pacingOption);
    options.echo = parser.isSet(echoOption);
    const std::pair<const QCommandLineOption *, int *> servers[] = {
        {&tcpOption, &options.tcpPort},
        {&modbusTcpOption, &options.modbusTcpPort},
        {&udpOption, &options.udpPort},
    };
    for (const auto &[option, port] : servers) {
        if (parser.isSet(*option) && !parseListenAddress(parser.value(*option), &options, port)) {
            fail(QStringLiteral("--%1 wants [address:]port, a port from 0 to 65535, not \"%2\"")
                     .arg(option->names().constFirst(), parser.value(*option)));
            return 2;
        }
    }
#ifndef Q_OS_UNIX
    if (options.tcpPort < 0 && options.modbusTcpPort < 0 && options.udpPort < 0) {
        fail(QStringLiteral("give --tcp, --modbus-tcp or --udp: on this system the modem is served on the network "
                            "only; try --help"));
        return 2;
    }
#endif

    SimulatedModem modem(options);
    if (parser.isSet(loadOption)) {
        const SettingsLoad load = loadSettingsIntoModem(modem, parser.value(loadOption));
        if (!load.loaded) {
            fail(load.errorString);
            return 1;
        }
    }
    const QString dumpFile = parser.value(dumpOption);
    // Known at once, not when the first dump fails after the run.
    if (const QString problem = dumpFile.isEmpty() ? QString() : FileSupport::writeProblem(dumpFile);
        !problem.isEmpty()) {
        fail(QStringLiteral("cannot write %1: %2").arg(dumpFile, problem));
        return 1;
    }
    if (!dumpFile.isEmpty()) {
        // Dumps run on the main thread, one after the other, never beside
        // the final one at exit.
        modem.setWriteObserver([&app, &modem, dumpFile](int, int) {
            QMetaObject::invokeMethod(&app, [&modem, dumpFile] { dump(modem, dumpFile); }, Qt::QueuedConnection);
        });
    }
    if (parser.isSet(traceOption)) {
        modem.setExchangeObserver([](const QByteArray &request, const QByteArray &answer) {
            traceFrame("<<", request);
            if (!answer.isEmpty())
                traceFrame(">>", answer);
        });
    }

    if (!modem.start()) {
        fail(modem.errorString());
        return 1;
    }
    for (const Door door : {Door::RtuOverTcp, Door::ModbusTcp, Door::RtuOverUdp}) {
        if (modem.serverPort(door) >= 0)
            std::printf("%s\n", qPrintable(modem.networkConnectionText(door)));
    }
    if (!modem.portName().isEmpty())
        std::printf("%s\n", qPrintable(modem.connectionText()));
    std::fflush(stdout);

#ifdef Q_OS_UNIX
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
#endif
    app.exec();

    modem.stop();
    if (!dumpFile.isEmpty())
        dump(modem, dumpFile);
#ifdef Q_OS_WIN
    finished = true;
#endif
    return 0;
}
