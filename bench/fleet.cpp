// gprs-fleet-bench: what a fleet costs beside one modem. Eight modems on
// eight simulated, paced 9600-baud lines, each differing from its row in
// one entry block, provisioned in one run, against one such modem alone,
// by the tool and from the station page (with the window's longest stall
// meanwhile); a table of 1,000 rows read and checked, and one of 10,000
// chosen on the station page; and detect over eight ports with
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
#include "stationmodel.h"
#include "stationpage.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
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
constexpr double StallGoalMs = 10;
constexpr int StationRows = 10000;

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

// Makes each of the first `count` modems hold the template but for phone
// number 2, which its row sets: one entry block to write and verify. Each
// modem's own phone number picks its row. Returns the table, or an empty
// name with `failure` set.
QString prepare(std::vector<std::unique_ptr<SimulatedModem>> &modems, int count, const QTemporaryDir &scratch,
                QString *failure)
{
    QByteArray table = "id,own_Ph,PhNum2\n";
    for (int i = 0; i < count; ++i) {
        DeviceSettings held = templateRecord();
        held.setValue(DeviceSettings::PhNum2, QStringLiteral("+7900000000%1").arg(i));
        held.setValue(DeviceSettings::own_Ph, QStringLiteral("+7916555000%1").arg(i));
        storeSettings(*modems[size_t(i)], held);
        modems[size_t(i)]->clearReceivedFrames();
        table += QStringLiteral("modem-%1,+7916555000%1,+7000000000%1\n").arg(i).toUtf8();
    }
    const QString name = scratch.filePath(QStringLiteral("table.csv"));
    QFile file(name);
    QFile::remove(scratch.filePath(QStringLiteral("table-report.csv")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(table) != table.size()) {
        *failure = file.errorString();
        return QString();
    }
    return name;
}

// Whether each modem holds its row, having heard the read, the write and
// the verification and nothing else.
void checkModems(std::vector<std::unique_ptr<SimulatedModem>> &modems, int count, QString *failure)
{
    for (int i = 0; i < count && failure->isEmpty(); ++i) {
        if (storedSettings(*modems[size_t(i)]).value(DeviceSettings::PhNum2) != QStringLiteral("+7000000000%1").arg(i))
            *failure = QStringLiteral("modem %1 does not hold its row").arg(i);
        else if (modems[size_t(i)]->receivedFrames().size() != 7)
            *failure = QStringLiteral("modem %1 heard %2 requests, not 7").arg(i).arg(modems[size_t(i)]->receivedFrames().size());
    }
}

// One provisioning run of the command-line tool over the first `count`
// modems. Returns the time, or -1 with `failure` set.
double provision(std::vector<std::unique_ptr<SimulatedModem>> &modems, int count, const QTemporaryDir &scratch,
                 QString *failure)
{
    const QString table = prepare(modems, count, scratch, failure);
    if (table.isEmpty())
        return -1;
    QStringList arguments{QStringLiteral("provision"), QStringLiteral("--match"), QStringLiteral("own_Ph"),
                          scratch.filePath(QStringLiteral("template.xml")), table};
    for (int i = 0; i < count; ++i)
        arguments << QStringLiteral("--port") << modems[size_t(i)]->connectionText();
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    const int status = runCommandLine(arguments, out, err);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (status != 0)
        *failure = QStringLiteral("exit status %1: %2")
                       .arg(status)
                       .arg(QString::fromUtf8(err.data()).trimmed().section(QLatin1Char('\n'), -1));
    else
        checkModems(modems, count, failure);
    return failure->isEmpty() ? ms : -1;
}

// The station page's fields as a technician fills them.
void fillStation(StationPage &page, const QString &templateFile, const QString &table, const QStringList &ports)
{
    for (auto [field, file] : {std::pair{"templateLineEdit", templateFile}, std::pair{"tableLineEdit", table}}) {
        auto *edit = page.findChild<QLineEdit *>(QLatin1String(field));
        edit->setText(file);
        emit edit->editingFinished();
    }
    auto *match = page.findChild<QComboBox *>(QStringLiteral("matchComboBox"));
    match->setCurrentIndex(match->findData(QStringLiteral("own_Ph")));
    emit match->activated(match->currentIndex());
    auto *list = page.findChild<QListWidget *>(QStringLiteral("portsList"));
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(ports.contains(list->item(row)->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                                      : Qt::Unchecked);
    auto *add = page.findChild<QLineEdit *>(QStringLiteral("addPortLineEdit"));
    for (const QString &port : ports) {
        add->setText(port);
        page.findChild<QPushButton *>(QStringLiteral("addPortButton"))->click();
    }
}

// The window's longest stall while it runs: the longest any one event kept
// its thread (events handled inside another count with it), and, for
// comparison, the largest gap between two ticks of a 1 ms timer, which
// also holds the machine's own scheduling.
class WatchedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!watching || depth > 0)
            return QApplication::notify(receiver, event);
        ++depth;
        QElapsedTimer clock;
        clock.start();
        const bool handled = QApplication::notify(receiver, event);
        longestEvent = std::max(longestEvent, clock.nsecsElapsed() / 1e6);
        --depth;
        return handled;
    }
    void watch()
    {
        watching = true;
        longestEvent = 0;
    }
    double stopWatching()
    {
        watching = false;
        return longestEvent;
    }

private:
    bool watching = false;
    int depth = 0;
    double longestEvent = 0;
};

class TimerGaps {
public:
    TimerGaps()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (clock.isValid())
                longest = std::max(longest, clock.nsecsElapsed() / 1e6 - 1);
            clock.start();
        });
        timer.start();
    }
    double longestMs() const { return longest; }

private:
    QTimer timer;
    QElapsedTimer clock;
    double longest = 0;
};

// One provisioning run from the station page over the first `count`
// modems, timed from Start to the run's end. Returns the time, or -1 with
// `failure` set; `stallMs` gets the window's longest stall meanwhile, and
// `gapMs` the longest gap of a 1 ms timer.
double provisionFromWindow(std::vector<std::unique_ptr<SimulatedModem>> &modems, int count,
                           const QTemporaryDir &scratch, double *stallMs, double *gapMs, QString *failure)
{
    const QString table = prepare(modems, count, scratch, failure);
    if (table.isEmpty())
        return -1;
    QStringList ports;
    for (int i = 0; i < count; ++i)
        ports << modems[size_t(i)]->connectionText();
    StationPage page(nullptr, {}, scratch.filePath(QStringLiteral("journal")), {},
                     [] { return QList<SerialPorts::Port>(); });
    page.show();
    fillStation(page, scratch.filePath(QStringLiteral("template.xml")), table, ports);
    // The page as the technician sees it before pressing Start: shown and
    // painted, its window's first paint behind it.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    auto *start = page.findChild<QPushButton *>(QStringLiteral("startButton"));
    if (!start->isEnabled()) {
        *failure = QStringLiteral("Start stayed off");
        return -1;
    }
    QEventLoop loop;
    QObject::connect(&page, &StationPage::runEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    auto *application = static_cast<WatchedApplication *>(QCoreApplication::instance());
    start->click();
    const TimerGaps gaps;
    application->watch();
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    *stallMs = application->stopWatching();
    *gapMs = gaps.longestMs();
    if (page.isRunning())
        *failure = QStringLiteral("the run did not end within a minute");
    else
        checkModems(modems, count, failure);
    if (!failure->isEmpty())
        *failure += QLatin1String(": ") + page.findChild<QLabel *>(QStringLiteral("messageLabel"))->text();
    return failure->isEmpty() ? ms : -1;
}

// A table of `rows` rows, each a site with its own phone number, address
// and login (a quoted cell with the separator in it).
QByteArray tableText(int rows)
{
    QByteArray table = "id;own_Ph;MbsAdr;IP;apnLogin\n";
    for (int row = 0; row < rows; ++row)
        table += QStringLiteral("site-%1;+7900%2;%3;10.0.%4.%5;\"user; %1\"\n")
                     .arg(row)
                     .arg(row, 7, 10, QLatin1Char('0'))
                     .arg(row % 247 + 1)
                     .arg(row / 250)
                     .arg(row % 250 + 1)
                     .toUtf8();
    return table;
}

double checkTable(const SettingsValues &templateValues)
{
    const QByteArray table = tableText(TableRows);
    QElapsedTimer timer;
    timer.start();
    const ProvisionTable checked = readProvisionTable(table, templateValues, QStringLiteral("own_Ph"));
    const double ms = timer.nsecsElapsed() / 1e6;
    return checked.problems.isEmpty() && checked.rows.size() == TableRows ? ms : -1;
}

// A table of StationRows rows chosen on the station page: read, checked and
// its rows shown, timed. -1 when not every row is shown.
double showTable(const QTemporaryDir &scratch)
{
    const QString name = scratch.filePath(QStringLiteral("sites.csv"));
    QFile file(name);
    const QByteArray table = tableText(StationRows);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(table) != table.size())
        return -1;
    file.close();
    StationPage page(nullptr, {}, scratch.filePath(QStringLiteral("journal")), {},
                     [] { return QList<SerialPorts::Port>(); });
    page.show();
    auto *templateField = page.findChild<QLineEdit *>(QStringLiteral("templateLineEdit"));
    auto *tableField = page.findChild<QLineEdit *>(QStringLiteral("tableLineEdit"));
    tableField->clear();
    templateField->setText(scratch.filePath(QStringLiteral("template.xml")));
    emit templateField->editingFinished();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    tableField->setText(name);
    emit tableField->editingFinished();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    return page.model()->rowCount() == StationRows ? ms : -1;
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
    // The station page runs on no display as well.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    WatchedApplication app(argc, argv);
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
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
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

    // The same from the station page, with the window's stalls watched.
    std::vector<double> windowAlone, windowFleet, stalls, gaps;
    for (int run = 0; run < runs; ++run) {
        for (int count : {1, Modems}) {
            QString failure;
            double stallMs = 0, gapMs = 0;
            const double ms = provisionFromWindow(modems, count, scratch, &stallMs, &gapMs, &failure);
            (count == 1 ? windowAlone : windowFleet).push_back(ms);
            if (count == Modems) {
                stalls.push_back(stallMs);
                gaps.push_back(gapMs);
            }
            if (ms < 0)
                failures << QStringLiteral("station, %1 modems, run %2: %3").arg(count).arg(run + 1).arg(failure);
        }
    }

    const SettingsValues templateValues = SettingsValues::fromPairs(settingsFilePairs(record, QString(), true));
    std::vector<double> tables, shownTables;
    for (int run = 0; run < runs; ++run) {
        tables.push_back(checkTable(templateValues));
        shownTables.push_back(showTable(scratch));
    }
    if (*std::min_element(tables.begin(), tables.end()) < 0)
        failures << QStringLiteral("the table of %1 rows was not read whole").arg(TableRows);
    if (*std::min_element(shownTables.begin(), shownTables.end()) < 0)
        failures << QStringLiteral("the station did not show the table of %1 rows whole").arg(StationRows);

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
    const double windowAloneMs = median(windowAlone), windowFleetMs = median(windowFleet);
    const double stallMs = *std::max_element(stalls.begin(), stalls.end()), shownMs = median(shownTables);
    const double gapMs = *std::max_element(gaps.begin(), gaps.end());
    const bool fleetMet = failures.isEmpty() && fleetMs <= FleetGoalRatio * aloneMs;
    const bool windowMet = failures.isEmpty() && windowFleetMs <= FleetGoalRatio * windowAloneMs;
    const bool stallMet = stallMs <= StallGoalMs;
    const bool tableMet = tableMs >= 0 && tableMs < TableGoalMs;
    const bool shownMet = shownMs >= 0 && shownMs <= TableGoalMs;
    const bool detectMet = detectAllMs <= DetectGoalRatio * detectAloneMs;
    std::printf("| Case, 9600 baud, paced | Runs | Median, one | Median, %d | Ratio | Goal |\n", Modems);
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| provision, one entry block each | %d | %s ms | %s ms | %s | <= %.1fx%s |\n", runs,
                qPrintable(fixed(aloneMs)), qPrintable(fixed(fleetMs)), qPrintable(fixed(fleetMs / aloneMs, 2)),
                FleetGoalRatio, fleetMet ? "" : " (missed)");
    std::printf("| provision from the station page | %d | %s ms | %s ms | %s | <= %.1fx%s |\n", runs,
                qPrintable(fixed(windowAloneMs)), qPrintable(fixed(windowFleetMs)),
                qPrintable(fixed(windowFleetMs / windowAloneMs, 2)), FleetGoalRatio, windowMet ? "" : " (missed)");
    std::printf("| detect, the modem last at %d baud | %d | %s ms | %s ms | %s | <= %.1fx%s |\n", last.baudRate, runs,
                qPrintable(fixed(detectAloneMs)), qPrintable(fixed(detectAllMs)),
                qPrintable(fixed(detectAllMs / detectAloneMs, 2)), DetectGoalRatio, detectMet ? "" : " (missed)");
    std::printf("\n| Table | Runs | Median | Goal |\n|---|---|---|---|\n");
    std::printf("| %d rows read and checked, --match own_Ph | %d | %s ms | < %.0f ms%s |\n", TableRows, runs,
                qPrintable(fixed(tableMs)), TableGoalMs, tableMet ? "" : " (missed)");
    std::printf("| %d rows chosen on the station page, checked and shown | %d | %s ms | <= %.0f ms%s |\n", StationRows,
                runs, qPrintable(fixed(shownMs)), TableGoalMs, shownMet ? "" : " (missed)");
    std::printf("\n| The window while the station provisions %d modems | Runs | Longest | Goal |\n|---|---|---|---|\n"
                "| one event handled (the window's stall) | %d | %s ms | <= %.0f ms%s |\n"
                "| gap between two ticks of a 1 ms timer (the machine's scheduling included) | %d | %s ms | |\n",
                Modems, runs, qPrintable(fixed(stallMs)), StallGoalMs, stallMet ? "" : " (missed)", runs,
                qPrintable(fixed(gapMs)));
    if (!failures.isEmpty()) {
        std::printf("\nFailures:\n");
        for (const QString &failure : qAsConst(failures))
            std::printf("- %s\n", qPrintable(failure));
    }
    const bool allMet = fleetMet && windowMet && stallMet && tableMet && shownMet && detectMet;
    std::printf("%s\n", allMet ? "All goals met." : "Some goals were missed.");
    return allMet ? 0 : 1;
}
