// gprs-soak: a day of a technician's jobs in a few minutes. N jobs go through
// one worker, as the window has one, against the simulated modem: Read,
// Write, Read in turn, a third of them struck by a seeded random fault of the
// line (silence, a wrong check sum, an answer cut short or led by noise, an
// exception, an answer from another address, a pause, a split) on a random
// block. It checks that every Read that succeeds finds what the Writes left,
// as their messages said; that resident memory and the open file
// descriptors stay flat after a warm-up; and that no job outlasts the bound
// its time-outs set. Prints the figures; exits 1 when a check fails.

#include "devicesettings.h"
#include "modbusframe.h"
#include "mythread.h"
#include "settingsimage.h"
#include "simulatedmodem.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <array>
#include <cstdio>
#include <unistd.h>

namespace {

using Blocks = DeviceSettings::Blocks;

const MyThread::LinkTimeouts Timeouts{300, 300, 100};
constexpr int LongestPauseMs = 150;      // of the faults that slow an answer down
constexpr int SlackMs = 1000;            // opening and closing the port, a loaded machine
constexpr int WarmUpJobs = 100;

// Every job's exchanges, each awaited at most this long.
int jobBoundMs()
{
    return DeviceSettings::BlockCount * (Timeouts.answer + Timeouts.byteGap + 2 * LongestPauseMs) + SlackMs;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

DeviceSettings recordFor(int job)
{
    const char *const values[DeviceSettings::Count] = {
        "internet.example.net", "gprs", "gprs", "+10000000000", "+10000000099", "+10000000098", "10.0.0.2",
        "8.8.8.8", "8.8.4.4", "1", "9600,8,1,N,0,0", "9600,8,1,N,0,0", "3000", "5000", "3600", "7200", "600",
        "150", "20", "256", "3", "1", "1", "+10000000001", "+10000000002", "", "", "192.168.1.10", "192.168.1.11",
        "0.0.0.0", "0.0.0.0", "502", "502", "0", "0"};
    DeviceSettings record;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        record.setValue(i, QString::fromLatin1(values[i]));
    // Each Write changes every block, so that each block's fate shows.
    record.setValue(DeviceSettings::apnLogin, QStringLiteral("user%1").arg(job));
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
        record.setValue(DeviceSettings::MirrPort1 + k, QString::number((job * 4 + k) % 65536));
    return record;
}

// One of the faults a line has, on the requests for one block.
SimulatedModemOptions faultFor(QRandomGenerator &random, QString *name)
{
    SimulatedModemOptions options;
    options.faultBlock = DeviceSettings::firstRegister(int(random.bounded(DeviceSettings::BlockCount)));
    switch (random.bounded(8)) {
    case 0: options.silent = true; *name = QStringLiteral("silence"); break;
    case 1: options.wrongCrc = true; *name = QStringLiteral("wrong check sum"); break;
    case 2: options.cutBytes = 3; *name = QStringLiteral("answer cut short"); break;
    case 3: options.leadingBytes = 2; *name = QStringLiteral("noise before"); break;
    case 4: options.exceptionBlock = options.faultBlock; *name = QStringLiteral("exception"); break;
    case 5: options.answerAddress = 0x41; *name = QStringLiteral("another address"); break;
    case 6: options.answerDelayMs = LongestPauseMs; *name = QStringLiteral("slow answer"); break;
    default: options.splitPauseMs = 50; *name = QStringLiteral("split answer"); break;
    }
    return options;
}

// The blocks a failed Write did reach for certain, and the one it may have:
// the message names the entry block (step) it stopped at; without a step it
// stopped at the settings block.
void blocksOfFailedWrite(const QString &message, Blocks *written, int *uncertain)
{
    const QRegularExpressionMatch step = QRegularExpression(QStringLiteral("on (\\d) step")).match(message);
    *uncertain = step.hasMatch() ? step.captured(1).toInt() : 0;
    written->reset();
    for (int block = 0; block < *uncertain; ++block)
        written->set(size_t(block));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int jobs = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 1000;
    setTraceOutput(nullptr);
    QRandomGenerator random(20261207);

    SimulatedModem modem;
    if (!modem.start()) {
        std::fprintf(stderr, "gprs-soak: %s\n", qPrintable(modem.errorString()));
        return 1;
    }
    const bool withKeepCon = true;
    DeviceSettings held = recordFor(0).asWritten(withKeepCon);
    storeSettings(modem, held);
    // What each block may hold now: one image, or two after a failed Write.
    std::array<QList<QByteArray>, DeviceSettings::BlockCount> mayHold;
    for (int block = 0; block < DeviceSettings::BlockCount; ++block)
        mayHold[size_t(block)] = {held.encodeBlock(block, withKeepCon)};

    MyThread worker(nullptr, Timeouts);
    QString last;
    QObject::connect(&worker, &MyThread::response, &app, [&last](const QString &message) { last = message; });

    int succeeded = 0, failed = 0, mismatches = 0, overlong = 0;
    qint64 longestMs = 0, residentAtWarmUp = 0;
    int descriptorsAtWarmUp = 0;
    QMap<QString, int> faults;
    QElapsedTimer total;
    total.start();
    for (int job = 0; job < jobs; ++job) {
        if (job == WarmUpJobs) {
            // Measured with no thread of a job still winding down.
            worker.wait();
            residentAtWarmUp = residentKiB();
            descriptorsAtWarmUp = openDescriptors();
        }
        QString fault = QStringLiteral("none");
        modem.setOptions(random.bounded(3) == 0 ? faultFor(random, &fault) : SimulatedModemOptions());
        ++faults[fault];
        const bool write = job % 3 == 1;
        const DeviceSettings record = recordFor(job);
        JobRequest request{modem.connectionText(), withKeepCon ? 1 : 0, std::nullopt, std::nullopt};
        if (write)
            request.settings = record;
        QElapsedTimer clock;
        clock.start();
        if (!worker.startJob(write ? MyThread::JobWrite : MyThread::JobRead, request)) {
            std::fprintf(stderr, "gprs-soak: job %d was not started\n", job);
            return 1;
        }
        while (worker.busy() || !worker.isLastWord(last))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ms = clock.elapsed();
        longestMs = std::max(longestMs, ms);
        overlong += ms > jobBoundMs();
        worker.lastJobSucceeded() ? ++succeeded : ++failed;

        if (write) {
            Blocks written;
            int uncertain = DeviceSettings::BlockCount;
            if (!worker.lastJobSucceeded())
                blocksOfFailedWrite(last, &written, &uncertain);
            else
                written.set();
            for (int block = 0; block < DeviceSettings::BlockCount; ++block) {
                const QByteArray image = record.encodeBlock(block, withKeepCon);
                if (written.test(size_t(block)))
                    mayHold[size_t(block)] = {image};
                else if (block == uncertain && !mayHold[size_t(block)].contains(image))
                    mayHold[size_t(block)] << image;
            }
        } else if (worker.lastJobSucceeded()) {
            const DeviceSettings read = worker.settings();
            for (int block = 0; block < DeviceSettings::BlockCount; ++block) {
                const QByteArray image = read.encodeBlock(block, withKeepCon);
                if (!mayHold[size_t(block)].contains(image)) {
                    ++mismatches;
                    std::fprintf(stderr, "gprs-soak: job %d read block %d as neither Write left it\n", job, block);
                }
                mayHold[size_t(block)] = {image};
            }
        }
    }
    worker.wait();
    const qint64 residentAtEnd = residentKiB();
    const int descriptorsAtEnd = openDescriptors();
    const qint64 growthKiB = residentAtEnd - residentAtWarmUp;

    std::printf("| Jobs | Succeeded | Failed (a fault) | Reads unlike the last Write | Longest job | Bound | "
                "Memory after %d jobs | At the end | Growth | Descriptors |\n", WarmUpJobs);
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    std::printf("| %d | %d | %d | %d | %lld ms | %d ms | %lld KiB | %lld KiB | %lld KiB | %d, then %d |\n", jobs,
                succeeded, failed, mismatches, longestMs, jobBoundMs(), residentAtWarmUp, residentAtEnd, growthKiB,
                descriptorsAtWarmUp, descriptorsAtEnd);
    std::printf("\nFaults:");
    for (auto fault = faults.cbegin(); fault != faults.cend(); ++fault)
        std::printf(" %s %d;", qPrintable(fault.key()), fault.value());
    std::printf("\nTime: %.1f s\n", total.elapsed() / 1000.0);
    const bool allHeld = mismatches == 0 && overlong == 0 && growthKiB < 1024 && descriptorsAtEnd == descriptorsAtWarmUp;
    std::printf("%s\n", allHeld ? "All checks held." : "Some checks failed.");
    return allHeld ? 0 : 1;
}
