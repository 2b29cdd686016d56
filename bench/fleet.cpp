// gprs-fleet-bench: what a fleet costs beside one modem. Eight modems on
// eight simulated, paced 9600-baud lines, each differing from its row in
// one entry block, provisioned in one run, against one such modem alone;
// a table of 1,000 rows read and checked; and detect over eight ports with
// the modem on the last one, at the last rate it tries, against a detect of
// that port alone.

#include "benchfigures.h"
#include "commandline.h"
#include "connectiontext.h"
#include "devicesettings.h"
#include "modemdetector.h"
#include "provisiontable.h"
#include "settingsfile.h"
#include "settingsimage.h"
#include "settingsvalues.h"
#include "simulatedmodem.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Modems = 8;
constexpr double FleetGoalRatio = 1.2;
constexpr double TableGoalMs = 1000;
constexpr int TableRows = 1000;
constexpr double DetectGoalRatio = 1.2;

// The template every row starts from: a modem's whole settings.
DeviceSettings templateRecord()
{
    DeviceSettings record;
    for (int i = 0; i < DeviceSettings::Count; ++i)
        record.setValue(i, QStringLiteral("1"));
    const std::pair<int, const char *> texts[] = {
        {DeviceSettings::apnServer, "internet.example.net"}, {DeviceSettings::TxSetting, "9600,8,1,N,0,0"},
        {DeviceSettings::RxSetting, "9600,8,1,N,0,0"}, {DeviceSettings::IP, "10.0.0.2"},
        {DeviceSettings::DNS1, "8.8.8.8"}, {DeviceSettings::DNS2, "8.8.4.4"},
        {DeviceSettings::ToutWaitNext, "50"}, {DeviceSettings::ToutWaitAnsw, "120"},
        {DeviceSettings::ToutWaitNextPacket, "20"}, {DeviceSettings::ToutBetwenBytes, "10"}};
    for (const auto &text : texts)
        record.setValue(text.first, QString::fromLatin1(text.second));
    for (int n = 0; n < 4; ++n) {
        record.setValue(DeviceSettings::PhNum1 + n, QStringLiteral("+7916111111%1").arg(n));
        record.setValue(DeviceSettings::MirrServ1 + n, QStringLiteral("192.168.1.%1").arg(10 + n));
    }
    return record;
}

// One provisioning run over `modems`, each holding the template but for
// phone number 2, which its row sets: one entry block to write and verify.
// Each modem's own phone number picks its row.
// Returns the time, or -1 with `failure` set.
double provision(std::vector<std::unique_ptr<SimulatedModem>> &modems, int count, const QTemporaryDir &scratch,
                 QString *failure)
{
    QByteArray table = "id,own_Ph,PhNum2\n";
    QStringList arguments{QStringLiteral("provision"), QStringLiteral("--match"), QStringLiteral("own_Ph"),
                          scratch.filePath(QStringLiteral("template.xml")), scratch.filePath(QStringLiteral("table.csv"))};
    for (int i = 0; i < count; ++i) {
        DeviceSettings held = templateRecord();
        held.setValue(DeviceSettings::PhNum2, QStringLiteral("+7900000000%1").arg(i));
        held.setValue(DeviceSettings::own_Ph, QStringLiteral("+7916555000%1").arg(i));
        storeSettings(*modems[size_t(i)], held);
        modems[size_t(i)]->clearReceivedFrames();
        table += QStringLiteral("modem-%1,+7916555000%1,+7000000000%1\n").arg(i).toUtf8();
        arguments << QStringLiteral("--port") << modems[size_t(i)]->connectionText();
    }
    QFile file(scratch.filePath(QStringLiteral("table.csv")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(table) != table.size()) {
        *failure = file.errorString();
        return -1;
    }
    file.close();
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    const int status = runCommandLine(arguments, out, err);
    const double ms = timer.nsecsElapsed() / 1e6;
    for (int i = 0; i < count && status == 0; ++i) {
        if (storedSettings(*modems[size_t(i)]).value(DeviceSettings::PhNum2) != QStringLiteral("+7000000000%1").arg(i))
            *failure = QStringLiteral("modem %1 does not hold its row").arg(i);
        else if (modems[size_t(i)]->receivedFrames().size() != 7)
            *failure = QStringLiteral("modem %1 heard %2 requests, not 7").arg(i).arg(modems[size_t(i)]->receivedFrames().size());
    }
    if (status != 0)
        *failure = QStringLiteral("exit status %1: %2")
                       .arg(status)
                       .arg(QString::fromUtf8(err.data()).trimmed().section(QLatin1Char('\n'), -1));
    return failure->isEmpty() ? ms : -1;
}

double checkTable(const SettingsValues &templateValues)
{
    QByteArray table = "id;own_Ph;MbsAdr;IP;apnLogin\n";
    for (int row = 0; row < TableRows; ++row)
        table += QStringLiteral("site-%1;+7900%2;%3;10.0.%4.%5;\"user; %1\"\n")
                     .arg(row)
                     .arg(row, 7, 10, QLatin1Char('0'))
                     .arg(row % 247 + 1)
                     .arg(row / 250)
                     .arg(row % 250 + 1)
                     .toUtf8();
    QElapsedTimer timer;
    timer.start();
    const ProvisionTable checked = readProvisionTable(table, templateValues, QStringLiteral("own_Ph"));
    const double ms = timer.nsecsElapsed() / 1e6;
    return checked.problems.isEmpty() && checked.rows.size() == TableRows ? ms : -1;
}

// Detect over `ports`, timed; empty when nothing answered.
double detect(const QStringList &ports, const QString &expected, QString *failure)
{
    QElapsedTimer timer;
    timer.start();
    const ModemDetector::Outcome outcome = ModemDetector::detect(ports, [](const QString &) {}, [] { return false; });
    const double ms = timer.nsecsElapsed() / 1e6;
    if (outcome.connection != expected) {
        *failure = QStringLiteral("found %1, not %2").arg(outcome.connection.value_or(QStringLiteral("nothing")), expected);
        return -1;
    }
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times a fleet's provisioning, its table's check and detect."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each case (default 5)."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());

    QTemporaryDir scratch;
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    const DeviceSettings record = templateRecord();
    if (!saveSettingsFile(scratch.filePath(QStringLiteral("template.xml")),
                          settingsFilePairs(record, QString(), true)).saved) {
        std::fprintf(stderr, "gprs-fleet-bench: the template cannot be written\n");
        return 1;
    }
    QStringList failures;

    std::vector<std::unique_ptr<SimulatedModem>> modems;
    SimulatedModemOptions paced;
    paced.pacing = true;
    for (int i = 0; i < Modems; ++i) {
        modems.push_back(std::make_unique<SimulatedModem>(paced));
        if (!modems.back()->start()) {
            std::fprintf(stderr, "gprs-fleet-bench: %s\n", qPrintable(modems.back()->errorString()));
            return 1;
        }
    }
    std::vector<double> alone, fleet;
    for (int run = 0; run < runs; ++run) {
        for (int count : {1, Modems}) {
            QString failure;
            const double ms = provision(modems, count, scratch, &failure);
            (count == 1 ? alone : fleet).push_back(ms);
            if (ms < 0)
                failures << QStringLiteral("provision, %1 modems, run %2: %3").arg(count).arg(run + 1).arg(failure);
        }
    }

    const SettingsValues templateValues = SettingsValues::fromPairs(settingsFilePairs(record, QString(), true));
    std::vector<double> tables;
    for (int run = 0; run < runs; ++run)
        tables.push_back(checkTable(templateValues));
    if (*std::min_element(tables.begin(), tables.end()) < 0)
        failures << QStringLiteral("the table of %1 rows was not read whole").arg(TableRows);

    // The modem at the last rate detect tries; seven silent lines beside it.
    SimulatedModemOptions last = paced;
    last.baudRate = ModemDetector::ratesInOrder().constLast();
    SimulatedModem found(last);
    SimulatedModemOptions silent;
    silent.silent = true;
    std::vector<std::unique_ptr<SimulatedModem>> quiet;
    QStringList ports;
    for (int i = 0; i < Modems - 1; ++i) {
        quiet.push_back(std::make_unique<SimulatedModem>(silent));
        if (!quiet.back()->start())
            return 1;
        ports << quiet.back()->portName();
    }
    if (!found.start())
        return 1;
    ports << found.portName();
    const QString expected = ConnectionText::of(found.portName(), last.baudRate);
    std::vector<double> detectAlone, detectAll;
    for (int run = 0; run < runs; ++run) {
        QString failure;
        detectAlone.push_back(detect({found.portName()}, expected, &failure));
        detectAll.push_back(detect(ports, expected, &failure));
        if (!failure.isEmpty())
            failures << QStringLiteral("detect, run %1: %2").arg(run + 1).arg(failure);
    }

    const double aloneMs = median(alone), fleetMs = median(fleet), tableMs = median(tables);
    const double detectAloneMs = median(detectAlone), detectAllMs = median(detectAll);
    const bool fleetMet = failures.isEmpty() && fleetMs <= FleetGoalRatio * aloneMs;
    const bool tableMet = tableMs >= 0 && tableMs < TableGoalMs;
    const bool detectMet = detectAllMs <= DetectGoalRatio * detectAloneMs;
    std::printf("| Case, 9600 baud, paced | Runs | Median, one | Median, %d | Ratio | Goal |\n", Modems);
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| provision, one entry block each | %d | %s ms | %s ms | %s | <= %.1fx%s |\n", runs,
                qPrintable(fixed(aloneMs)), qPrintable(fixed(fleetMs)), qPrintable(fixed(fleetMs / aloneMs, 2)),
                FleetGoalRatio, fleetMet ? "" : " (missed)");
    std::printf("| detect, the modem last at %d baud | %d | %s ms | %s ms | %s | <= %.1fx%s |\n", last.baudRate, runs,
                qPrintable(fixed(detectAloneMs)), qPrintable(fixed(detectAllMs)),
                qPrintable(fixed(detectAllMs / detectAloneMs, 2)), DetectGoalRatio, detectMet ? "" : " (missed)");
    std::printf("\n| Table | Runs | Median | Goal |\n|---|---|---|---|\n");
    std::printf("| %d rows read and checked, --match own_Ph | %d | %s ms | < %.0f ms%s |\n", TableRows, runs,
                qPrintable(fixed(tableMs)), TableGoalMs, tableMet ? "" : " (missed)");
    if (!failures.isEmpty()) {
        std::printf("\nFailures:\n");
        for (const QString &failure : qAsConst(failures))
            std::printf("- %s\n", qPrintable(failure));
    }
    const bool allMet = fleetMet && tableMet && detectMet;
    std::printf("%s\n", allMet ? "All goals met." : "Some goals were missed.");
    return allMet ? 0 : 1;
}
