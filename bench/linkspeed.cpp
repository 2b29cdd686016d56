// gprs-bench: how close a Read and a Write come to the time their bytes need
// on the wire, against the simulated modem with the line's timing kept in
// both directions (9600 and 115200 baud) and with no pacing at all; through
// each door over loopback (the modem's serial device server, its Modbus TCP
// gateway, its UDP data unit, ser2net's RFC 2217 in front of its line),
// against the same job on the pseudo-terminal, paced, and unpaced; beside
// each, the same exchanges ended by silence alone, as a plain serial link
// without frame completion ends them, and the longest stall of the window's
// event loop while it runs the job. Then RFC 2217's negotiation, and detect
// naming each door from a plain address. Then what the traffic page open costs
// the window's Read, and a Write's journal entry. Last, what the
// command-line tool's `write --backup --verify` costs when it has little or
// nothing to write.

#include "benchfigures.h"
#include "commandline.h"
#include "devicesettings.h"
#include "mainwindow.h"
#include "modemdetector.h"
#include "modbusframe.h"
#include "mythread.h"
#include "ser2netserver.h"
#include "seriallink.h"
#include "settingsfile.h"
#include "settingsimage.h"
#include "settingsvalues.h"
#include "simulatedmodem.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// What stands between the bench and the modem's line.
enum class Through { Line, RtuOverTcp, ModbusTcp, RtuOverUdp, Rfc2217 };

struct LineCase {
    const char *name;
    int baudRate;
    bool paced;
    double goalRatio;      // of the bound; 0 when the goal is a time
    double goalMs;         // for the unpaced line
    Through through = Through::Line;
    // A network line's bound: the same job's median on this line before it.
    const char *versus = nullptr;
};

const LineCase lineCases[] = {
    {"9600, paced", 9600, true, 1.10, 0},
    {"115200, paced", 115200, true, 1.5, 0},
    {"unpaced", 9600, false, 0, 25},
    {"TCP, 9600, paced", 9600, true, 1.05, 0, Through::RtuOverTcp, "9600, paced"},
    {"TCP, unpaced", 9600, false, 0, 25, Through::RtuOverTcp},
    {"Modbus TCP gateway, 9600, paced", 9600, true, 1.05, 0, Through::ModbusTcp, "9600, paced"},
    {"RTU over UDP, 9600, paced", 9600, true, 1.05, 0, Through::RtuOverUdp, "9600, paced"},
    {"RFC 2217 (ser2net), 9600, paced", 9600, true, 1.05, 0, Through::Rfc2217, "9600, paced"},
};

// The connection of the line case being measured: ser2net's, a door of the
// modem's, or its line.
QString ser2netConnection;

QString connectionOf(const SimulatedModem &modem)
{
    if (!ser2netConnection.isEmpty())
        return ser2netConnection;
    for (const Door door : {Door::RtuOverTcp, Door::ModbusTcp, Door::RtuOverUdp}) {
        if (modem.serverPort(door) >= 0)
            return modem.networkConnectionText(door);
    }
    return modem.connectionText();
}

struct JobCase {
    const char *name;
    int job;
};

const JobCase jobCases[] = {{"Read", MyThread::JobRead}, {"Write", MyThread::JobWrite}};

constexpr int FramesPerJob = 10;          // five requests, five answers
constexpr double StallGoalMs = 10;
constexpr double PageGoalRatio = 1.02;   // the traffic page open, against closed
constexpr double JournalGoalMs = 20;     // a Write's journal entry
constexpr double ToolGoalRatio = 1.10;   // of one Read, plus one block when one differs
constexpr int TickIntervalMs = 5;
constexpr int JobLimitMs = 60000;

// A record of the modem's real kind, every field set.
DeviceSettings demoRecord()
{
    const char *const values[DeviceSettings::Count] = {
        "internet.beeline.ru", "beeline", "beeline", "+79161234567", "+79037011111", "+79160000000",
        "10.0.0.2", "8.8.8.8", "8.8.4.4", "1", "115200,8,1,N,0,0", "9600,8,1,N,0,0", "50", "120", "3600",
        "7200", "600", "20", "10", "256", "3", "1", "1", "+79161111111", "+79162222222", "+79163333333",
        "+79164444444", "192.168.1.10", "192.168.1.11", "192.168.1.12", "192.168.1.13", "502", "503", "504",
        "505"};
    DeviceSettings record;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        record.setValue(i, QString::fromLatin1(values[i]));
    return record;
}

// What the bytes of one job need on the line: 10 bits each, and the Modbus
// silence of 3.5 characters (1.75 ms above 19200 baud) around every frame.
double wireTimeMs(long long bytes, int baudRate, int frames = FramesPerJob)
{
    const double gapMs = baudRate > Modbus::FixedFrameGapAbove ? Modbus::FixedFrameGapMicroseconds / 1000.0
                                                               : Modbus::FrameGapBits * 1000.0 / baudRate;
    return bytes * Modbus::BitsPerCharacter * 1000.0 / baudRate + frames * gapMs;
}

// The frames' hexadecimal trace goes to standard output, as in the tool;
// while measuring it goes nowhere, so that the table stays readable.
class QuietStdout {
public:
    QuietStdout()
    {
        std::fflush(stdout);
        saved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
    }

private:
    int saved = -1;
};

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > JobLimitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct JobRun {
    double ms = 0;
    long long bytes = 0;
    QList<QByteArray> requests;
    bool ok = false;
    QString failure;   // why not ok
};

// One job through the worker, timed from the request to its last message.
JobRun runJob(SimulatedModem &modem, const JobCase &job, std::atomic<long long> &bytes)
{
    MyThread worker;
    JobRequest request{connectionOf(modem), 1, std::nullopt, std::nullopt};
    if (job.job == MyThread::JobWrite)
        request.settings = demoRecord();
    modem.clearReceivedFrames();
    bytes = 0;
    JobRun run;
    QElapsedTimer timer;
    timer.start();
    worker.startJob(job.job, request);
    // Its last word, of success or of failure.
    const bool ended = waitFor([&] { return !worker.busy(); });
    run.ms = timer.nsecsElapsed() / 1e6;
    run.ok = ended && worker.lastJobSucceeded();
    if (!ended)
        run.failure = QStringLiteral("no end within %1 s").arg(JobLimitMs / 1000);
    else if (!run.ok)
        run.failure = QStringLiteral("ended with \"%1\"").arg(worker.lastWord());
    run.bytes = bytes;
    run.requests = modem.receivedFrames();
    worker.wait();
    return run;
}

// The same requests with no expected length: each answer ends only after
// the link's byte gap of silence, as on a link that does not know frames.
double runSilenceOnly(SimulatedModem &modem, const QList<QByteArray> &requests)
{
    QElapsedTimer timer;
    timer.start();
    SerialLink link;
    link.configure(connectionOf(modem).toLatin1());
    if (link.open() < 0)
        return -1;
    for (const QByteArray &request : requests)
        link.exchange(request.constData(), request.size());
    link.close();
    return timer.nsecsElapsed() / 1e6;
}

struct WindowRun {
    double ms = 0;       // from the click to the last word in the status bar
    double stall = -1;   // -1: the job did not end with `lastWord`
};

// The longest time the window's event loop went without running a 5 ms
// timer, beyond the interval itself, while the window ran `button`'s job,
// and how long the job took.
WindowRun windowJob(MainWindow &window, SimulatedModem &modem, const char *button, const char *lastWord)
{
    window.findChild<QLineEdit *>(QStringLiteral("comPortLineEdit"))->setText(connectionOf(modem));
    window.findChild<QCheckBox *>(QStringLiteral("EnableKeepConncheckBox"))->setChecked(true);
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    window.statusBar()->clearMessage();
    sinceTick.start();
    ticker.start(TickIntervalMs);
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton *>(QString::fromLatin1(button))->click();
    // Until the window shows the job's last word, of success or of failure.
    const MyThread *worker = window.findChild<MyThread *>();
    const bool ended = waitFor([&] {
        return !worker->busy() && !worker->lastWord().isEmpty()
            && window.statusBar()->currentMessage() == worker->lastWord();
    });
    WindowRun run;
    run.ms = timer.nsecsElapsed() / 1e6;
    ticker.stop();
    if (ended && window.statusBar()->currentMessage().contains(QLatin1String(lastWord)))
        run.stall = std::max(0.0, longest / 1e6 - TickIntervalMs);
    return run;
}

// The Write's journal entry: a journalled Write through the worker, unpaced
// (its Read of the modem, the entry, the Write, on one open port), against
// the same Read and Write as two jobs without a journal.
double journalledWrite(SimulatedModem &modem, const QString &journalFolder)
{
    MyThread worker;
    JobRequest request{connectionOf(modem), 1, demoRecord(), std::nullopt};
    request.journalFolder = journalFolder;
    QElapsedTimer timer;
    timer.start();
    if (journalFolder.isEmpty()) {
        worker.startJob(MyThread::JobRead, JobRequest{connectionOf(modem), 1, std::nullopt, std::nullopt});
        worker.wait();
        if (!worker.lastJobSucceeded())
            return -1;
    }
    worker.startJob(MyThread::JobWrite, request);
    worker.wait();
    return worker.lastJobSucceeded() ? timer.nsecsElapsed() / 1e6 : -1;
}

struct DoorRow {
    QString expected;   // the connection text detect should name
    QString named;
    int runs = 0;
    double median = 0;
    bool ok = true;
};

constexpr double NegotiationGoalMs = 20;
constexpr double DoctorGoalMs = 2000;

struct Row {
    QString job, line;
    int runs = 0;
    double median = 0, bound = 0, silence = 0, stall = -1;
    double goalRatio = 0, goalMs = 0;
    bool ok = true;
    QStringList failures;   // one line each, so that a failed job is told from a missed goal
};

// `write --backup --verify` of a settings file to a modem that holds it
// already, or that differs from it in one entry block: the tool reads the
// modem once, then writes and reads back only what differs.
struct ToolCase {
    const char *name;
    bool oneBlockDiffers;
    int frames;            // requests: one Read, then one block written and read back
};

const ToolCase toolCases[] = {
    {"holds the file", false, 5},
    {"one entry block differs", true, 7},
};

struct ToolRow {
    QString name;
    int runs = 0;
    double median = 0, bound = 0;
    int frames = 0, expectedFrames = 0;
    bool ok = true;
    QStringList failures;
};

// One run of the tool, timed from its start to its exit status; `failure`
// says what went wrong, if anything.
double runTool(SimulatedModem &modem, const ToolCase &tool, const QString &fileName, const QString &backup,
               int *frames, QString *failure)
{
    DeviceSettings held = demoRecord();
    if (tool.oneBlockDiffers)
        held.setValue(DeviceSettings::PhNum2, QStringLiteral("+79160000000"));
    storeSettings(modem, held);
    modem.clearReceivedFrames();
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    const int status = runCommandLine({QStringLiteral("write"), QStringLiteral("--backup"), backup,
                                       QStringLiteral("--verify"), modem.connectionText(), fileName},
                                      out, err);
    const double ms = timer.nsecsElapsed() / 1e6;
    *frames = modem.receivedFrames().size();
    if (status != 0)
        *failure = QStringLiteral("exit status %1: %2")
                       .arg(status)
                       .arg(QString::fromUtf8(err.data()).trimmed().section(QLatin1Char('\n'), -1));
    else if (storedSettings(modem) != demoRecord())
        *failure = QStringLiteral("the modem does not hold the file afterwards");
    else if (*frames != tool.frames)
        *failure = QStringLiteral("%1 requests, not %2").arg(*frames).arg(tool.frames);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times Read and Write against the simulated modem."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each job (default 9)."),
                                        QStringLiteral("n"), QStringLiteral("9"));
    const QCommandLineOption silenceRunsOption(QStringLiteral("silence-runs"),
        QStringLiteral("Runs of each job under the silence rule (default 3)."), QStringLiteral("n"),
        QStringLiteral("3"));
    parser.addOptions({runsOption, silenceRunsOption});
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const int silenceRuns = std::max(1, parser.value(silenceRunsOption).toInt());

    // The window looks for its start-up file in the working directory; the
    // log, the journal and the remembered folder go to the scratch folder too.
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));

    std::vector<Row> rows;
    {
        QuietStdout quiet;
        MainWindow window;
        window.show();
        for (const LineCase &line : lineCases) {
            SimulatedModemOptions options;
            options.baudRate = line.baudRate;
            options.pacing = line.paced;
            options.tcpPort = line.through == Through::RtuOverTcp ? 0 : -1;
            options.modbusTcpPort = line.through == Through::ModbusTcp ? 0 : -1;
            options.udpPort = line.through == Through::RtuOverUdp ? 0 : -1;
            SimulatedModem modem(options);
            if (!modem.start()) {
                std::fprintf(stderr, "gprs-bench: %s\n", qPrintable(modem.errorString()));
                return 1;
            }
            std::optional<Ser2NetServer> ser2net;
            ser2netConnection.clear();
            if (line.through == Through::Rfc2217) {
                QString why;
                if (Ser2NetServer::program().isEmpty() || !ser2net.emplace(modem.portName()).start(&why)) {
                    std::fprintf(stderr, "gprs-bench: no ser2net: %s\n", qPrintable(why));
                    return 1;
                }
                ser2netConnection = QString::fromLatin1(ser2net->connectionText(line.baudRate));
            }
            std::atomic<long long> bytes{0};
            modem.setExchangeObserver([&bytes](const QByteArray &request, const QByteArray &answer) {
                bytes += request.size() + answer.size();
            });
            storeSettings(modem, demoRecord());
            for (const JobCase &job : jobCases) {
                Row row;
                row.job = QString::fromLatin1(job.name);
                row.line = QString::fromLatin1(line.name);
                row.runs = runs;
                row.goalRatio = line.goalRatio;
                row.goalMs = line.goalMs;
                std::vector<double> times, silences;
                QList<QByteArray> requests;
                long long jobBytes = 0;
                for (int i = 0; i < runs; ++i) {
                    const JobRun run = runJob(modem, job, bytes);
                    row.ok = row.ok && run.ok;
                    if (!run.ok)
                        row.failures << QStringLiteral("run %1: %2").arg(i + 1).arg(run.failure);
                    times.push_back(run.ms);
                    requests = run.requests;
                    jobBytes = run.bytes;
                }
                for (int i = 0; i < silenceRuns; ++i)
                    silences.push_back(runSilenceOnly(modem, requests));
                row.median = median(times);
                row.silence = median(silences);
                row.bound = line.paced ? wireTimeMs(jobBytes, line.baudRate) : 0;
                if (line.versus) {
                    const auto same = std::find_if(rows.begin(), rows.end(), [&](const Row &earlier) {
                        return earlier.job == row.job && earlier.line == QLatin1String(line.versus);
                    });
                    row.bound = same != rows.end() ? same->median : 0;
                }
                const char *lastWord = job.job == MyThread::JobRead ? "Readed" : "Ready";
                row.stall = windowJob(window, modem, job.job == MyThread::JobRead ? "pushButtonRead" : "pushButtonWrite",
                                      lastWord)
                                .stall;
                if (row.stall < 0)
                    row.failures << QStringLiteral("the window's job ended with \"%1\"")
                                        .arg(window.statusBar()->currentMessage());
                rows.push_back(row);
            }
        }
        ser2netConnection.clear();
    }

    // The doors: how long RFC 2217's negotiation takes (the link's open
    // against ser2net, connection included), and how long detect takes to
    // name each kind of server from its plain address.
    std::vector<double> opens;
    std::vector<DoorRow> doorRows;
    {
        QuietStdout quiet;
        SimulatedModemOptions options;
        options.pacing = true;
        options.tcpPort = options.modbusTcpPort = options.udpPort = 0;
        SimulatedModem modem(options);
        std::optional<Ser2NetServer> ser2net;
        QString why;
        if (!modem.start() || Ser2NetServer::program().isEmpty() || !ser2net.emplace(modem.portName()).start(&why)) {
            std::fprintf(stderr, "gprs-bench: %s\n", qPrintable(modem.errorString() + why));
            return 1;
        }
        storeSettings(modem, demoRecord());
        const QString rfc2217 = QString::fromLatin1(ser2net->connectionText(9600));
        for (int i = 0; i < runs; ++i) {
            SerialLink link;
            link.configure(rfc2217.toLatin1());
            QElapsedTimer timer;
            timer.start();
            const bool opened = link.open() == 0;
            opens.push_back(opened ? timer.nsecsElapsed() / 1e6 : -1);
        }
        const QString doors[] = {modem.networkConnectionText(Door::RtuOverTcp),
                                 modem.networkConnectionText(Door::ModbusTcp),
                                 modem.networkConnectionText(Door::RtuOverUdp), rfc2217};
        for (const QString &door : doors) {
            DoorRow row;
            row.expected = door;
            row.runs = runs;
            const QString plain = door.section(QStringLiteral("//"), 1).section(QLatin1Char(';'), 0, 0);
            std::vector<double> times;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer timer;
                timer.start();
                const ModemDetector::Outcome found =
                    ModemDetector::detect({plain}, [](const QString &) {}, [] { return false; });
                times.push_back(timer.nsecsElapsed() / 1e6);
                row.named = found.connection.value_or(QString());
                row.ok = row.ok && row.named == door;
            }
            row.median = median(times);
            doorRows.push_back(row);
        }
    }

    // The traffic page open during the window's Read, 9600 baud, paced,
    // against the page closed, run by run in turn; and the journal entry of
    // a Write, unpaced, against none.
    std::vector<double> pageClosed, pageOpen, journalOff, journalOn;
    double pageStall = 0;
    QStringList pageFailures;
    {
        QuietStdout quiet;
        MainWindow window;
        window.show();
        SimulatedModemOptions options;
        options.pacing = true;
        SimulatedModem modem(options);
        SimulatedModem unpaced;
        if (!modem.start() || !unpaced.start()) {
            std::fprintf(stderr, "gprs-bench: %s\n", qPrintable(modem.errorString() + unpaced.errorString()));
            return 1;
        }
        storeSettings(modem, demoRecord());
        storeSettings(unpaced, demoRecord());
        QWidget *page = window.findChild<QWidget *>(QStringLiteral("TrafficPage"));
        for (int i = 0; i < runs; ++i) {
            for (bool open : {false, true}) {
                page->setVisible(open);
                // Shown and painted before the Read, as a page the technician opened.
                QElapsedTimer settle;
                settle.start();
                while (settle.elapsed() < 200)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                const WindowRun run = windowJob(window, modem, "pushButtonRead", "Readed");
                if (run.stall < 0)
                    pageFailures << QStringLiteral("run %1: \"%2\"").arg(i + 1).arg(window.statusBar()->currentMessage());
                (open ? pageOpen : pageClosed).push_back(run.ms);
                if (open)
                    pageStall = std::max(pageStall, run.stall);
            }
            journalOff.push_back(journalledWrite(unpaced, QString()));
            journalOn.push_back(journalledWrite(unpaced, scratch.filePath(QStringLiteral("journal"))));
        }
    }

    // Last: the tool turns the frame trace off for good.
    std::vector<ToolRow> toolRows;
    {
        QuietStdout quiet;
        SimulatedModemOptions options;
        options.pacing = true;
        SimulatedModem modem(options);
        if (!modem.start()) {
            std::fprintf(stderr, "gprs-bench: %s\n", qPrintable(modem.errorString()));
            return 1;
        }
        std::atomic<long long> bytes{0};
        storeSettings(modem, demoRecord());
        std::vector<double> reads;
        for (int i = 0; i < runs; ++i)
            reads.push_back(runJob(modem, jobCases[0], bytes).ms);
        const double readMedian = median(reads);
        const QString fileName = scratch.filePath(QStringLiteral("site.xml"));
        const QString backup = scratch.filePath(QStringLiteral("old.xml"));
        saveSettingsFile(fileName, settingsFilePairs(demoRecord(), modem.connectionText(), true));
        // One entry block written (9 + 26 bytes and an 8-byte answer) and
        // read back (an 8-byte request and a 31-byte answer), with the
        // silence around its four frames.
        const double blockMs = wireTimeMs(35 + 8 + 8 + 31, 9600, 4);
        for (const ToolCase &tool : toolCases) {
            ToolRow row;
            row.name = QString::fromLatin1(tool.name);
            row.runs = runs;
            row.expectedFrames = tool.frames;
            row.bound = readMedian + (tool.oneBlockDiffers ? blockMs : 0);
            std::vector<double> times;
            for (int i = 0; i < runs; ++i) {
                QString failure;
                times.push_back(runTool(modem, tool, fileName, backup, &row.frames, &failure));
                if (!failure.isEmpty()) {
                    row.ok = false;
                    row.failures << QStringLiteral("run %1: %2").arg(i + 1).arg(failure);
                }
            }
            row.median = median(times);
            toolRows.push_back(row);
        }
    }

    bool allMet = true;
    std::printf("| Job | Line (baud) | Runs | Median | Bound | Ratio | Goal | Silence-only median | Silence-only ratio | Window stall |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Row &row : rows) {
        const bool met = row.ok && row.stall >= 0 && row.stall <= StallGoalMs
            && (row.goalRatio > 0 ? row.median <= row.goalRatio * row.bound : row.median < row.goalMs);
        allMet = allMet && met;
        const QString bound = row.bound > 0 ? fixed(row.bound) + " ms" : QStringLiteral("-");
        const QString ratio = row.bound > 0 ? fixed(row.median / row.bound, 2) : QStringLiteral("-");
        const QString silenceRatio = row.bound > 0 ? fixed(row.silence / row.bound, 2) : QStringLiteral("-");
        const QString goal = row.goalRatio > 0 ? QStringLiteral("<= %1x").arg(row.goalRatio, 0, 'f', 2)
                                               : QStringLiteral("< %1 ms").arg(row.goalMs);
        std::printf("| %s | %s | %d | %s ms | %s | %s | %s%s | %s ms | %s | %s ms |\n", qPrintable(row.job),
                    qPrintable(row.line), row.runs, qPrintable(fixed(row.median)), qPrintable(bound),
                    qPrintable(ratio), qPrintable(goal), met ? "" : " (missed)", qPrintable(fixed(row.silence)),
                    qPrintable(silenceRatio), qPrintable(fixed(row.stall)));
    }
    const double negotiationMedian = median(opens);
    const bool negotiationMet =
        *std::min_element(opens.begin(), opens.end()) >= 0 && negotiationMedian <= NegotiationGoalMs;
    allMet = allMet && negotiationMet;
    std::printf("\n| Doors over loopback | Runs | Median | Goal | Named |\n");
    std::printf("|---|---|---|---|---|\n");
    std::printf("| RFC 2217: connection and negotiation (ser2net) | %d | %s ms | <= %.0f ms%s | - |\n", runs,
                qPrintable(fixed(negotiationMedian, 2)), NegotiationGoalMs, negotiationMet ? "" : " (missed)");
    for (const DoorRow &row : doorRows) {
        const bool met = row.ok && row.median <= DoctorGoalMs;
        allMet = allMet && met;
        std::printf("| detect HOST:PORT, %s | %d | %s ms | <= %.0f ms%s | %s |\n",
                    qPrintable(row.expected.section(QStringLiteral("://"), 0, 0).mid(4)), row.runs,
                    qPrintable(fixed(row.median)), DoctorGoalMs, met ? "" : " (missed)",
                    qPrintable(row.named.isEmpty() ? QStringLiteral("nothing") : row.named));
    }
    std::printf("\n| write --backup --verify, 9600 baud, paced | Runs | Median | Bound: one Read (+ one block) | Ratio "
                "| Goal | Requests |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const ToolRow &row : toolRows) {
        const bool met = row.ok && row.median <= ToolGoalRatio * row.bound;
        allMet = allMet && met;
        std::printf("| %s | %d | %s ms | %s ms | %s | <= %.2fx%s | %d of %d |\n", qPrintable(row.name), row.runs,
                    qPrintable(fixed(row.median)), qPrintable(fixed(row.bound)),
                    qPrintable(fixed(row.median / row.bound, 2)), ToolGoalRatio, met ? "" : " (missed)", row.frames,
                    row.expectedFrames);
    }
    const double closedMedian = median(pageClosed), openMedian = median(pageOpen);
    const bool pageMet = pageFailures.isEmpty() && openMedian <= PageGoalRatio * closedMedian && pageStall <= StallGoalMs;
    const double journalCost = median(journalOn) - median(journalOff);
    const bool journalMet = *std::min_element(journalOn.begin(), journalOn.end()) >= 0
        && *std::min_element(journalOff.begin(), journalOff.end()) >= 0 && journalCost <= JournalGoalMs;
    allMet = allMet && pageMet && journalMet;
    std::printf("\n| Window's Read, 9600 baud, paced | Runs | Median, traffic page closed | Median, open | Ratio | Goal "
                "| Longest stall, open |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    std::printf("| traffic page | %d | %s ms | %s ms | %s | <= %.2fx, stall <= %.0f ms%s | %s ms |\n", runs,
                qPrintable(fixed(closedMedian)), qPrintable(fixed(openMedian)),
                qPrintable(fixed(openMedian / closedMedian, 3)), PageGoalRatio, StallGoalMs, pageMet ? "" : " (missed)",
                qPrintable(fixed(pageStall)));
    std::printf("\n| Write, unpaced | Runs | Median, a Read and a Write without journal | Median, journalled | Cost | Goal |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| journal entry | %d | %s ms | %s ms | %s ms | <= %.0f ms%s |\n", runs, qPrintable(fixed(median(journalOff))),
                qPrintable(fixed(median(journalOn))), qPrintable(fixed(journalCost)), JournalGoalMs,
                journalMet ? "" : " (missed)");
    for (const QString &failure : qAsConst(pageFailures))
        std::printf("- traffic page, %s\n", qPrintable(failure));
    std::printf("\nBound: the time the job's bytes need on the wire, with the Modbus silence around each frame; "
                "through a door, paced, the same job's median on the pseudo-terminal.\n");
    std::printf("Window stall: the longest wait of the window's event loop beyond its 5 ms timer during the job; "
                "goal <= %.0f ms.\n",
                StallGoalMs);
    // A missed goal and a failed job look alike in the tables; the failures say which.
    std::vector<QString> failures;
    for (const Row &row : rows) {
        for (const QString &failure : row.failures)
            failures.push_back(QStringLiteral("%1, %2: %3").arg(row.job, row.line, failure));
    }
    for (const ToolRow &row : toolRows) {
        for (const QString &failure : row.failures)
            failures.push_back(QStringLiteral("write --backup --verify, %1: %2").arg(row.name, failure));
    }
    if (!failures.empty()) {
        std::printf("\nFailures:\n");
        for (const QString &failure : failures)
            std::printf("- %s\n", qPrintable(failure));
    }
    std::printf("%s\n", allMet ? "All goals met." : "Some goals were missed.");
    return allMet ? 0 : 1;
}
