// The worker's jobs against the simulated modem on a pseudo-terminal: what
// each sends, stores, says and traces, how every fault ends it, and how jobs
// follow one another.

#include "connectiontext.h"
#include "golden.h"
#include "modbusframe.h"
#include "mythread.h"
#include "rtuframing.h"
#include "serialports.h"
#include "simulatedmodem.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>


Q_DECLARE_METATYPE(SimulatedModemOptions)
Q_DECLARE_METATYPE(DeviceProcedures::Failure)
Q_DECLARE_METATYPE(WriteOutcome::Failure)

namespace {

// The reason a missing port gives, which names the machine's own ports.
QString noSuchPort(const QString &config)
{
    return "The Port " + config + " was not open. "
        + SerialPorts::whyNotOpen(ConnectionText::part(config, "dev"), QSerialPort::DeviceNotFoundError, QString());
}

constexpr int JobLimit = 30000;   // ms; only a hung job reaches it
constexpr quint16 Untouched = 0xBEEF;

QStringList readMessages(int settingsAnswer = 145)
{
    return {QString("Recieved %1 bytes").arg(settingsAnswer), "Recieved 0[31] bytes", "Recieved 1[31] bytes",
            "Recieved 2[31] bytes", "Recieved 3[31] bytes", "It is Readed 31"};
}

using Failure = DeviceProcedures::Failure;

// Each front end words its own advice; the worker only says which, and where.
QString adviceNamed(DeviceProcedures::Advice advice)
{
    return QString("[advice %1]").arg(int(advice));
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
    // A silent modem is given up on sooner.
    explicit Bench(const SimulatedModemOptions &options = {})
        : modem(options)
        , worker(nullptr, options.silent ? MyThread::LinkTimeouts{300, 300, 100} : MyThread::LinkTimeouts{2000, 2000, 200})
    {
        QObject::connect(&worker, &MyThread::response, &receiver, [this](const QString &s) { messages << s; });
        QObject::connect(&worker, &MyThread::jobEnded, &receiver, [this](const JobOutcome &o) {
            std::lock_guard<std::mutex> lock(trafficMutex);
            lastOutcome = o;
        }, Qt::DirectConnection);
        // Taken on the worker's thread: Qt's hand-over of a queued argument
        // is invisible to ThreadSanitizer, a plain mutex is not.
        QObject::connect(&worker, &MyThread::traffic, &receiver, [this](const TrafficEntry &e) {
            std::lock_guard<std::mutex> lock(trafficMutex);
            traffic << e;
        }, Qt::DirectConnection);
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
        JobRequest request{modem.connectionText(), keepConEnabled, settings, std::nullopt};
        request.advise = adviceNamed;
        return request;
    }

    SimulatedModem modem;
    bool started = false;
    QObject receiver;
    QStringList messages;
    JobOutcome outcome() const
    {
        std::lock_guard<std::mutex> lock(trafficMutex);
        return lastOutcome;
    }
    JobOutcome lastOutcome;
    QList<TrafficEntry> trafficSoFar() const
    {
        std::lock_guard<std::mutex> lock(trafficMutex);
        return traffic;
    }
    mutable std::mutex trafficMutex;
    QList<TrafficEntry> traffic;
    MyThread worker;
};

} // namespace

class TestWorker : public QObject {
    Q_OBJECT

    QMap<QString, std::array<int, 10>> matrix;   // per fault: 1 held, -1 failed, 0 not run

private slots:
    // Every way a job ends, once each: its messages, frames and traces, and
    // what it leaves in the record and the modem. The fault matrix strikes
    // each of the five exchanges of both jobs with every fault of the line.
    void jobs_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("keepConEnabled");
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<QString>("portConfig");   // empty: the modem's own; %1: its port; %t: its server's
                                                   // connection text, %a its address
        QTest::addColumn<int>("failingFrame");     // 6 for none; the job's messages for the frames before it come first
        QTest::addColumn<QString>("lastMessage");
        QTest::addColumn<QString>("matrixFault");  // the fault matrix's row, empty outside it
        QTest::addColumn<int>("matrixFrame");
        QTest::addColumn<QString>("answerWords");  // the start of the last answer's words in the traffic
        QTest::addColumn<Failure>("cause");          // of the failed exchange, as the job's outcome says it
        const int read = MyThread::JobRead, write = MyThread::JobWrite;
        SimulatedModemOptions none, oldFirmware, echo;
        oldFirmware.oldFirmware = true;
        echo.echo = true;
        const QString own, accepted = "answer accepted in ";

        QTest::newRow("read, 70 registers") << read << 0 << none << own << 6 << "It is Readed 31"
                                            << own << 0 << accepted << Failure::None;
        QTest::newRow("read, 71 registers") << read << 1 << none << own << 6 << "It is Readed 31"
                                            << own << 0 << accepted << Failure::None;
        QTest::newRow("write, 70 registers") << write << 0 << none << own << 6 << "It is Ready 100%"
                                             << own << 0 << accepted << Failure::None;
        QTest::newRow("write, 71 registers") << write << 1 << none << own << 6 << "It is Ready 100%"
                                             << own << 0 << accepted << Failure::None;
        QTest::newRow("read, echoing adapter") << read << 1 << echo << own << 6 << "It is Readed 31"
                                               << own << 0 << accepted << Failure::None;
        QTest::newRow("write, echoing adapter") << write << 0 << echo << own << 6 << "It is Ready 100%"
                                                << own << 0 << accepted << Failure::None;
        QTest::newRow("write: accented port name") << write << 0 << none << "dev=/nonexistent/café" << 0
                                                   << noSuchPort("dev=/nonexistent/café") << own << 0 << own << Failure::None;
        QTest::newRow("read: a mistyped connection") << read << 0 << none << "dev=%1;baud=fast" << 0
                                                     << "The connection \"dev=%1;baud=fast\" has no baud rate: "
                                                        "\"fast\" is not a rate such as 9600" << own << 0 << own << Failure::None;
        // A slow line: the answer is awaited from the moment the request has left.
        SimulatedModemOptions at300, at1200;
        at300.pacing = at1200.pacing = true;
        at300.baudRate = 300;
        at1200.baudRate = 1200;
        QTest::newRow("write at 300 baud, paced") << write << 1 << at300 << "dev=%1;baud=300" << 6 << "It is Ready 100%"
                                                  << own << 0 << accepted << Failure::None;
        QTest::newRow("read at 1200 baud, paced") << read << 1 << at1200 << "dev=%1;baud=1200" << 6 << "It is Readed 31"
                                                  << own << 0 << accepted << Failure::None;
        // Through a serial device server: the same frames, the server's own failures.
        SimulatedModemOptions server, silentServer, closingServer;
        server.tcpPort = silentServer.tcpPort = closingServer.tcpPort = 0;
        silentServer.silent = closingServer.hangUp = true;
        QTest::newRow("read over TCP") << read << 1 << server << "%t" << 6 << "It is Readed 31" << own << 0 << accepted << Failure::None;
        QTest::newRow("write over TCP, any baud") << write << 0 << server << "%t;baud=250000" << 6 << "It is Ready 100%"
                                                  << own << 0 << accepted << Failure::None;
        QTest::newRow("read over TCP: silent server") << read << 1 << silentServer << "%t" << 1
            << "There is bad CRC16 sum of 0 bytes. " + adviceNamed(DeviceProcedures::Advice::CheckServer) << own << 0
            << QString("no answer within ") << Failure::NoAnswer;
        QTest::newRow("write over TCP: server closes mid-answer") << write << 0 << closingServer << "%t" << 1
            << "There is bad CRC16 sum of 4 bytes. %a closed the connection: check that no other program took it over, "
               "and try again" << own << 0 << QString("4 of 8 bytes, then the line was lost")
            << Failure::PortLost;
        QTest::newRow("read: old firmware, KeepCon") << read << 1 << oldFirmware << own << 1
            << "The device answered with exception 2. " + adviceNamed(DeviceProcedures::Advice::KeepConRegisterMissing)
            << own << 0 << QString("exception 2: illegal data address") << Failure::Exception;

        // %n: the answer's length; the cut, noisy and halved answers are judged by what arrived.
        struct Fault {
            const char *name;
            std::function<void(SimulatedModemOptions &)> set;
            QString message;   // empty: the job succeeds
            std::function<int(int)> received;
            QString words;     // of the answer in the traffic; %n its length, %e the one expected
            Failure cause;
            QString after{};      // after the step; for a write, in place of what the modem holds
        };
        const auto whole = [](int n) { return n; };
        const QList<Fault> faults{
            {"silence", [](SimulatedModemOptions &o) { o.silent = true; }, "There is bad CRC16 sum of %n bytes",
             [](int) { return 0; }, "no answer within ", Failure::NoAnswer},
            {"wrong check sum", [](SimulatedModemOptions &o) { o.wrongCrc = true; },
             "There is bad CRC16 sum of %n bytes", whole, "check sum wrong", Failure::BadCheckSum},
            {"cut short", [](SimulatedModemOptions &o) { o.cutBytes = 3; }, "There is bad CRC16 sum of %n bytes",
             [](int n) { return n - 3; }, "%n of %e bytes, then silence", Failure::CutShort},
            {"exception", [](SimulatedModemOptions &o) { o.exceptionBlock = o.faultBlock; },
             "The device answered with exception 4", whole, "exception 4: server device failure", Failure::Exception},
            {"another address", [](SimulatedModemOptions &o) { o.answerAddress = 0x41; },
             "The answer of %n bytes does not match the request", whole, "answer does not match the request",
             Failure::Mismatch},
            {"noise before", [](SimulatedModemOptions &o) { o.leadingBytes = 2; },
             "There is bad CRC16 sum of %n bytes", [](int n) { return n + 2; }, "check sum wrong", Failure::BadCheckSum},
            {"short gap", [](SimulatedModemOptions &o) { o.splitPauseMs = 30; }, QString(), whole,
             "answer accepted in ", Failure::None},
            {"long pause", [](SimulatedModemOptions &o) { o.splitPauseMs = 400; },
             "There is bad CRC16 sum of %n bytes", [](int n) { return n / 2; }, "%n of %e bytes, then silence",
             Failure::CutShort},
            {"port vanishes", [](SimulatedModemOptions &o) { o.hangUp = true; },
             "There is bad CRC16 sum of %n bytes", [](int n) { return n / 2; },
             "%n of %e bytes, then the line was lost", Failure::PortLost},
            {"doubled answer", [](SimulatedModemOptions &o) { o.doubledAnswerMs = 0; },
             "There are %n bytes where one answer of %e was due", [](int n) { return 2 * n; },
             "%n bytes where one answer of %e was due", Failure::SecondAnswer,
             ". A second answer or a second master is on the line: check that nothing else polls the modem"},
        };
        const QString nothing = ". " + adviceNamed(DeviceProcedures::Advice::CheckLine);
        const QString lost = ". The port stopped working: check that the adapter is still plugged in";
        const QStringList heldBefore{
            ". The modem accepted the new main settings, but still holds its old phone numbers and mirror servers: "
            "write again",
            ". The modem accepted the new main settings and phone number 1 with its mirror server, but still holds "
            "the old rest: write again",
            ". The modem accepted the new main settings and phone numbers 1 to 2 with their mirror servers, but still "
            "holds the old rest: write again",
            ". The modem accepted the new main settings and phone numbers 1 to 3 with their mirror servers, but still "
            "holds the old rest: write again"};
        for (const int job : {read, write}) {
            for (const Fault &fault : faults) {
                for (int frame = 1; frame <= 5; ++frame) {
                    SimulatedModemOptions options;
                    options.faultBlock = frame == 1 ? 0 : Golden::entryFirstRegister[frame - 2];
                    fault.set(options);
                    const int expected = job == read ? (frame == 1 ? 147 : 31) : 8;
                    const int received = fault.received(expected);
                    QString message = fault.message;
                    const bool succeeds = message.isEmpty();
                    message.replace("%n", QString::number(received)).replace("%e", QString::number(expected));
                    if (job == write && frame > 1 && !succeeds)
                        message += QString(" on %1 step").arg(frame - 1);
                    message += options.hangUp ? lost : received == 0 ? nothing : fault.after;
                    if (job == write && !fault.after.isEmpty())
                        message += ". Whether the modem took this block is not known: read it, and write again";
                    else if (job == write && frame > 1 && !succeeds)
                        message += heldBefore.at(frame - 2);
                    QTest::addRow("%s: %s at frame %d", job == read ? "read" : "write", fault.name, frame)
                        << job << int(job == read) << options << own << (succeeds ? 6 : frame)
                        << (succeeds ? QString(job == read ? "It is Readed 31" : "It is Ready 100%") : message)
                        << QString(fault.name) << frame
                        << QString(succeeds ? "answer accepted in " : fault.words)
                               .replace("%n", QString::number(received)).replace("%e", QString::number(expected))
                        << fault.cause;
                }
            }
        }
    }

    void jobs()
    {
        QFETCH(int, job);
        QFETCH(int, keepConEnabled);
        QFETCH(SimulatedModemOptions, options);
        QFETCH(QString, portConfig);
        QFETCH(int, failingFrame);
        QFETCH(QString, lastMessage);
        QFETCH(QString, matrixFault);
        QFETCH(int, matrixFrame);
        QFETCH(QString, answerWords);
        QFETCH(Failure, cause);
        int *cell = matrixFault.isEmpty() ? nullptr : &matrix[matrixFault][(job == MyThread::JobWrite) * 5 + matrixFrame - 1];
        if (cell)
            *cell = -1;
        Bench bench(options);
        QVERIFY(bench.started);
        const bool read = job == MyThread::JobRead;
        read ? Golden::loadInto(bench.modem) : bench.modem.setRegisters(0, QVector<quint16>(512, Untouched));
        JobRequest request = bench.request(keepConEnabled, read ? std::nullopt : std::optional(Golden::record()));
        const QString server = bench.modem.networkConnectionText();
        if (!portConfig.isEmpty())
            request.portConfig = portConfig.replace("%1", bench.modem.portName()).replace("%t", server);
        const NetworkAddress address = ConnectionText::parse(server.toLatin1()).server.value_or(NetworkAddress());
        lastMessage.replace("%1", bench.modem.portName()).replace("%a", address.shown());
        bool ran = false;
        const QByteArray traced = stdoutOf([&] { ran = bench.run(job, request); });
        QVERIFY(ran);

        QStringList messages = (read ? readMessages(keepConEnabled ? 147 : 145) : writeMessages).mid(0, qMax(0, failingFrame - 1));
        if (failingFrame > 0)
            messages.prepend("Start process whith " + request.portConfig);
        QCOMPARE(bench.messages, messages << lastMessage);
        const QList<QByteArray> requests = requestsOf(read, keepConEnabled).mid(0, failingFrame);
        QCOMPARE(bench.modem.receivedFrames(), requests);
        // The traffic: the job's start, each request and its judged answer
        // once, the job's end with its last word.
        const QList<TrafficEntry> traffic = bench.trafficSoFar();
        QVERIFY(traffic.size() >= 2);
        QCOMPARE(traffic.first().words, QString(read ? "Read, " : "Write, ") + request.portConfig);
        QCOMPARE(traffic.last().words, lastMessage);
        QCOMPARE(traffic.last().failure, failingFrame < 6);
        QList<QByteArray> sent;
        for (int i = 1; i + 1 < traffic.size(); i += 2) {
            QCOMPARE(traffic.at(i).kind, TrafficEntry::Sent);
            QCOMPARE(traffic.at(i + 1).kind, TrafficEntry::Received);
            sent << traffic.at(i).bytes;
        }
        QCOMPARE(sent, requests);
        if (!requests.isEmpty()) {
            const TrafficEntry &answer = traffic.at(traffic.size() - 2);
            QVERIFY2(answer.words.startsWith(answerWords), qPrintable(answer.words));
            QCOMPARE(answer.failure, failingFrame < 6);
        }
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
        const JobOutcome outcome = bench.outcome();
        QCOMPARE(outcome.succeeded, failingFrame == 6);
        QCOMPARE(outcome.exchange.failure, cause);
        QCOMPARE(outcome.exchange.failedBlock, failingFrame >= 1 && failingFrame < 6 ? failingFrame - 1 : -1);
        for (int block = 0; !read && block <= DeviceSettings::EntryBlockCount; ++block) {
            const QByteArray image = block ? Golden::entryBlocks[block - 1] : settingsOf(keepConEnabled);
            const QVector<quint16> now =
                bench.modem.registers(block ? Golden::entryFirstRegister[block - 1] : 0, image.size() / 2);
            if (block != failingFrame - 1)
                QCOMPARE(now, block < failingFrame - 1 ? Golden::registersOf(image) : QVector<quint16>(now.size(), Untouched));
        }

        // Whatever the fault did to the line, the next Read of a healthy modem works.
        bench.modem.stop();
        bench.modem.setOptions({});
        QVERIFY(bench.modem.start());
        Golden::loadInto(bench.modem);
        bench.messages.clear();
        stdoutOf([&] { ran = bench.run(MyThread::JobRead, bench.request(1)); });
        QVERIFY(ran);
        QCOMPARE(bench.messages.value(6), QString("It is Readed 31"));
        QCOMPARE(bench.worker.settings(), Golden::record());
        if (cell)
            *cell = 1;
    }

    // The fault matrix as it came out: one line per fault, one column per
    // exchange of each job.
    void cleanupTestCase()
    {
        int held = 0, cases = 0;
        QString table = "fault matrix         read 1 2 3 4 5   write 1 2 3 4 5\n";
        for (auto row = matrix.cbegin(); row != matrix.cend(); ++row) {
            QString line = row.key().leftJustified(21) + "     ";
            for (int i = 0; i < 10; ++i) {
                line += QString(row.value()[i] > 0 ? "+ " : row.value()[i] < 0 ? "X " : ". ") + (i == 4 ? "          " : "");
                held += row.value()[i] > 0;
                cases += row.value()[i] != 0;
            }
            table += line + "\n";
        }
        qInfo("%s%d of %d cases held (+ held, X failed, . not run)", qPrintable(table), held, cases);
    }

    // The guarded Write that every front end runs, run here as the tool and
    // the fleet run it, on this thread: how it ends for each cause, what
    // went to the modem and what the journal kept.
    void guardedWriteOutcomes_data()
    {
        QTest::addColumn<SimulatedModemOptions>("from");     // from the start
        QTest::addColumn<SimulatedModemOptions>("writing");  // once the modem was read
        QTest::addColumn<QString>("change");                 // "KEY=VALUE" over what the modem holds
        QTest::addColumn<bool>("journalBlocked");            // a file where the journal's folder goes
        QTest::addColumn<WriteOutcome::Failure>("failure");
        QTest::addColumn<Failure>("cause");
        QTest::addColumn<int>("writesHeard");
        QTest::addColumn<QString>("kept");                   // the journal entry's outcome; empty: none
        using F = WriteOutcome::Failure;
        SimulatedModemOptions healthy, silent, exception, wrongCrc, hangUp, dropping;
        silent.silent = wrongCrc.wrongCrc = hangUp.hangUp = true;
        exception.exceptionBlock = 0x140;
        dropping.droppedRegister = 0x141;   // characters 3 and 4 of PhNum2
        const QString phone = "PhNum2=+70000000002";
        QTest::newRow("verified") << healthy << healthy << phone << false << F::None << Failure::None << 1 << "verified";
        QTest::newRow("the modem holds it") << healthy << healthy << QString() << false << F::None << Failure::None << 0
                                            << QString();
        QTest::newRow("a value refused") << healthy << healthy << "MbsAdr=70000" << false << F::ValueRefused
                                         << Failure::None << 0 << QString();
        QTest::newRow("the journal blocked") << healthy << healthy << phone << true << F::JournalNotWritable
                                             << Failure::None << 0 << QString();
        QTest::newRow("no answer to the read") << silent << silent << phone << false << F::ReadBeforeFailed
                                               << Failure::NoAnswer << 0 << QString();
        QTest::newRow("exception 4") << healthy << exception << phone << false << F::Device << Failure::Exception << 1
                                     << "failed at entry block 2";
        QTest::newRow("a check sum wrong") << healthy << wrongCrc << phone << false << F::Device << Failure::BadCheckSum
                                           << 1 << "failed at entry block 2";
        QTest::newRow("the port lost") << healthy << hangUp << phone << false << F::Device << Failure::PortLost << 1
                                       << "failed at entry block 2";
        QTest::newRow("a verify difference") << healthy << dropping << phone << false << F::VerifyDifference
                                             << Failure::None << 1 << "failed at entry block 2";
    }

    void guardedWriteOutcomes()
    {
        QFETCH(SimulatedModemOptions, from);
        QFETCH(SimulatedModemOptions, writing);
        QFETCH(QString, change);
        QFETCH(bool, journalBlocked);
        QFETCH(WriteOutcome::Failure, failure);
        QFETCH(Failure, cause);
        QFETCH(int, writesHeard);
        QFETCH(QString, kept);
        SimulatedModem modem(from);
        QVERIFY(modem.start());
        Golden::loadInto(modem);
        QTemporaryDir dir;
        const QString journal = dir.filePath("journal");
        if (journalBlocked)
            QVERIFY(writeFile(journal, "not a folder"));
        JobRequest request{modem.connectionText(), 1, std::nullopt, std::nullopt};
        request.journalFolder = journal;
        request.verify = true;
        request.plan = [&](const DeviceSettings &held) {
            modem.setOptions(writing);
            WritePlan plan{held};
            if (!change.isEmpty())
                plan.record.setValue(DeviceSettings::indexOfKey(change.section('=', 0, 0)), change.section('=', 1));
            plan.onlyDiffering = true;
            plan.alreadyHeld = "held already";
            return plan;
        };
        const JobOutcome job = ModemJob({}, MyThread::LinkTimeouts{300, 300, 100}).run(ModemJob::JobWrite, request);
        QVERIFY(job.write);
        const WriteOutcome &outcome = *job.write;
        QCOMPARE(outcome.failure, failure);
        QCOMPARE(outcome.device.failure, cause);
        QCOMPARE(job.succeeded, failure == WriteOutcome::Failure::None);
        QCOMPARE(outcome.succeeded, job.succeeded);
        QVERIFY(!job.lastWord.isEmpty());
        int writes = 0;
        for (const QByteArray &frame : modem.receivedFrames())
            writes += frame.at(1) == char(Modbus::WriteMultipleRegisters);
        QCOMPARE(writes, writesHeard);
        QCOMPARE(int(outcome.blocks.count()), writesHeard);
        QCOMPARE(outcome.entry.has_value(), !kept.isEmpty());
        QCOMPARE(outcome.journalFailed, journalBlocked);
        if (outcome.entry)
            QCOMPARE(WriteJournal(journal).entries().value(0).outcomeShown(), kept);
        if (failure == WriteOutcome::Failure::VerifyDifference)
            QCOMPARE(outcome.differing, QList<int>{DeviceSettings::PhNum2});
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

    // A Write is never cut in half, not even by the end of its worker: the
    // modem would keep new main settings beside old phone numbers.
    void destroyedDuringWriteFinishesIt()
    {
        SimulatedModemOptions options;
        options.answerDelayMs = 200;
        SimulatedModem modem(options);
        QVERIFY(modem.start());
        {
            MyThread worker;
            QVERIFY(worker.startJob(MyThread::JobWrite,
                                    JobRequest{modem.connectionText(), 1, Golden::record(), std::nullopt}));
            QTRY_COMPARE(modem.receivedFrames().size(), 1);
        }
        QCOMPARE(modem.receivedFrames(), requestsOf(false, true));
    }

    void requestAnsweringTheLastMessageIsAccepted_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<QString>("portConfig");   // empty: the modem's own; %1: its port; %t: its server's
                                                   // connection text, %a its address
        QTest::addColumn<QString>("lastMessage");
        QTest::newRow("after a Read") << int(MyThread::JobRead) << QString() << "It is Readed 31";
        QTest::newRow("after a port that did not open") << int(MyThread::JobWrite) << "dev=/nonexistent/tty0"
                                                        << noSuchPort("dev=/nonexistent/tty0");
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
        const QString server = bench.modem.networkConnectionText();
        if (!portConfig.isEmpty())
            request.portConfig = portConfig.replace("%1", bench.modem.portName()).replace("%t", server);
        const NetworkAddress address = ConnectionText::parse(server.toLatin1()).server.value_or(NetworkAddress());
        lastMessage.replace("%1", bench.modem.portName()).replace("%a", address.shown());
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
