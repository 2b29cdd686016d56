// The station page as a technician drives it, in the window, against
// simulated modems on pseudo-terminals: a table checked before any port
// opens, a run of several modems with the report the command-line tool
// resumes, a run stopped half-way, failed rows run again, the window closed
// during a run, and the page in the window's language.

#include "commandline.h"
#include "golden.h"
#include "mainwindow.h"
#include "provisionreport.h"
#include "settingsimage.h"
#include "simulatedmodem.h"
#include "stationmodel.h"
#include "stationpage.h"
#include "usersettings.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include <memory>
#include <vector>

namespace {

const char Template[] = "<conf><prm><apnServer name=\"fleet.apn\"/></prm></conf>";
// Rows in order, or matched by the own phone number each modem holds.
const char InOrder[] = "id,MbsAdr\nm1,11\nm2,12\nm3,13\n";
const char ByPhone[] = "id,own_Ph,MbsAdr\nm1,+7001,11\nm2,+7002,12\nm3,+7003,13\n";

QStringList states(const StationModel &model)
{
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown << model.index(row, StationModel::State).data().toString();
    return shown;
}

} // namespace

class TestStation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    }

    // Each modem holds the sample settings (Modbus address 17) and its own
    // phone number +700N.
    void init()
    {
        userSettings().clear();
        userSettings().setValue("window/language", "en");
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(writeFile(path("template.xml"), Template));
        modems.clear();
        SimulatedModemOptions paced;
        paced.pacing = true;
        for (int i = 0; i < 3; ++i) {
            modems.push_back(std::make_unique<SimulatedModem>(paced));
            QVERIFY2(modems.back()->start(), qPrintable(modems.back()->errorString()));
            DeviceSettings held = Golden::record();
            held.setValue(DeviceSettings::own_Ph, QStringLiteral("+700%1").arg(i + 1));
            storeSettings(*modems.back(), held);
        }
        window = std::make_unique<MainWindow>();
        page = window->findChild<StationPage *>();
        QVERIFY(page);
    }

    void cleanup()
    {
        window.reset();
        modems.clear();
    }

    // Nothing starts until the template, the table and the ports are right;
    // every problem is listed with its line, key and reason.
    void checkedBeforeAnyPortOpens_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("ports");   // connection texts; %1: the first modem's port
        QTest::addColumn<QString>("problem");      // empty: none, Start is on
        const QStringList one{"dev=%1;baud=9600"};
        QTest::newRow("a good table") << QByteArray(InOrder) << one << "";
        QTest::newRow("a value the modem cannot hold") << QByteArray("id,MbsAdr\nm1,70000\n") << one
            << "Table: line 2: Cannot write Modbus address (MbsAdr)";
        QTest::newRow("a column that is no setting") << QByteArray("id,Mbs\nm1,1\n") << one
            << "Table: line 1: Mbs is not a setting of the modem";
        QTest::newRow("an id twice") << QByteArray("id,MbsAdr\nm1,1\nm1,2\n") << one
            << "Table: line 3: the id m1 is on line 2 too";
        QTest::newRow("one port ticked twice") << QByteArray(InOrder)
            << QStringList{"dev=%1;baud=9600", "dev=%1;baud=19200"} << "dev=%1;baud=9600 and dev=%1;baud=19200 are one device";
        QTest::newRow("no port") << QByteArray(InOrder) << QStringList() << "";
    }

    void checkedBeforeAnyPortOpens()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, ports);
        QFETCH(QString, problem);
        modems[0]->clearReceivedFrames();
        choose(table, ports);
        const auto *problems = page->findChild<QListWidget *>("problemsList");
        QStringList listed;
        for (int row = 0; row < problems->count(); ++row)
            listed << problems->item(row)->text();
        QVERIFY2(problem.isEmpty() == listed.isEmpty(), qPrintable(listed.join('\n')));
        QVERIFY2(problem.isEmpty() || listed.first().startsWith(problem.arg(modems[0]->portName())),
                 qPrintable(listed.join('\n')));
        QCOMPARE(button("startButton")->isEnabled(), problem.isEmpty() && !ports.isEmpty());
        button("startButton")->click();
        QCOMPARE(page->isRunning(), problem.isEmpty() && !ports.isEmpty());
        if (!page->isRunning())
            QCOMPARE(modems[0]->receivedFrames().size(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isRunning(), 30000);
    }

    // Three modems at once, each given its row, written and verified, with
    // the report the tool writes: the tool resumes from it and finds nothing
    // left. A modem that did not answer is run again once it does.
    void threeModemsAndTheWayOn_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QString>("match");
        QTest::addColumn<int>("silent");            // the modem that does not answer the first run; -1: none
        QTest::addColumn<QStringList>("firstRun");  // each row's state
        QTest::addColumn<QStringList>("secondRun"); // after Re-run failed
        QTest::newRow("rows in order") << QByteArray(InOrder) << "" << -1
            << QStringList{"verified", "verified", "verified"} << QStringList();
        QTest::newRow("by own phone number, one silent") << QByteArray(ByPhone) << "own_Ph" << 1
            << QStringList{"verified", "waiting", "verified", "failed"}
            << QStringList{"verified earlier", "verified", "verified earlier"};
    }

    void threeModemsAndTheWayOn()
    {
        QFETCH(QByteArray, table);
        QFETCH(QString, match);
        QFETCH(int, silent);
        QFETCH(QStringList, firstRun);
        QFETCH(QStringList, secondRun);
        SimulatedModemOptions quiet;
        quiet.silent = true;
        if (silent >= 0)
            modems[size_t(silent)]->setOptions(quiet);
        choose(table, {"dev=%1;baud=9600", "dev=%2;baud=9600", "dev=%3;baud=9600"}, match);
        runToItsEnd("startButton");
        QCOMPARE(states(*page->model()), firstRun);
        // Opened again, the page still shows how the run went.
        page->hide();
        page->show();
        QCOMPARE(states(*page->model()), firstRun);
        if (silent >= 0) {
            QVERIFY(button("rerunButton")->isEnabled());
            quiet.silent = false;
            modems[size_t(silent)]->setOptions(quiet);
            runToItsEnd("rerunButton");
            QCOMPARE(states(*page->model()), secondRun);
        }
        QVERIFY(!button("rerunButton")->isEnabled());
        // Rows in order go to whichever modem asks first.
        QStringList addresses;
        for (int i = 0; i < 3; ++i) {
            addresses << storedSettings(*modems[size_t(i)]).value(DeviceSettings::MbsAdr);
            QCOMPARE(storedSettings(*modems[size_t(i)]).value(DeviceSettings::apnServer), QString("fleet.apn"));
            modems[size_t(i)]->clearReceivedFrames();
        }
        if (match.isEmpty())
            addresses.sort();
        QCOMPARE(addresses, (QStringList{"11", "12", "13"}));
        const QByteArray report = readFile(path("table-report.csv"));
        QCOMPARE(ProvisionReport::read(report).verified, (QSet<QString>{"m1", "m2", "m3"}));
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        QCOMPARE(runCommandLine({"provision", path("template.xml"), path("table.csv"), "--report", path("table-report.csv"),
                                 "--port", modems[0]->connectionText()}, out, err), 0);
        QVERIFY2(err.data().contains("3 of 3 rows were verified in an earlier run and are left out"), err.data());
        QCOMPARE(modems[0]->receivedFrames().size(), 0);
        // A row opens its Write in History.
        auto *rows = page->findChild<QTableView *>("rowsView");
        rows->setCurrentIndex(page->model()->index(1, 0));
        QTest::keyClick(rows, Qt::Key_Return);
        auto *history = window->findChild<QTreeWidget *>("historyList");
        QTRY_VERIFY(history->isVisible());
        QCOMPARE(history->currentItem()->text(1),
                 "dev=" + page->model()->index(1, StationModel::Port).data().toString() + ";baud=9600");
    }

    // Stop, or closing the window, lets the port finish the modem it is
    // writing and take no other: the modem holds its whole row, the next
    // row is left for a later run, and the report says so.
    void stoppedHalfWay_data()
    {
        QTest::addColumn<bool>("closeWindow");
        QTest::newRow("Stop") << false;
        QTest::newRow("closing the window") << true;
    }

    void stoppedHalfWay()
    {
        QFETCH(bool, closeWindow);
        QVERIFY(writeFile(path("template.xml"),
                          "<conf><prm><apnServer name=\"fleet.apn\"/><PhNum1 name=\"+1\"/><PhNum2 name=\"+2\"/>"
                          "<PhNum3 name=\"+3\"/><PhNum4 name=\"+4\"/></prm></conf>"));
        choose(InOrder, {"dev=%1;baud=9600"});
        page->findChild<QCheckBox *>("waitCheckBox")->setChecked(true);
        // Asked the moment the first block goes out: every block of the
        // modem differs from its row.
        bool asked = false;
        connect(page->model(), &QAbstractItemModel::dataChanged, this, [&] {
            if (asked || !states(*page->model()).contains("writing block 1"))
                return;
            asked = true;
            if (!closeWindow) {
                button("stopButton")->click();
                return;
            }
            QTimer::singleShot(0, this, [] {
                QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                box->button(QMessageBox::Yes)->click();
            });
            window->close();
        });
        window->show();
        button("startButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->isRunning(), 30000);
        QVERIFY(asked);
        QCOMPARE(states(*page->model()), (QStringList{"verified", "waiting", "waiting"}));
        const DeviceSettings held = storedSettings(*modems[0]);
        QCOMPARE(held.value(DeviceSettings::MbsAdr), QString("11"));
        QCOMPARE(held.value(DeviceSettings::PhNum4), QString("+4"));
        QCOMPARE(ProvisionReport::read(readFile(path("table-report.csv"))).verified, QSet<QString>{"m1"});
        QCOMPARE(page->findChild<QLabel *>("messageLabel")->text(), QString("Stopped: every port finished its modem first"));
        QTRY_COMPARE(window->isVisible(), !closeWindow);
    }

    // Another table brings its own report: an earlier table's would hand
    // its verified rows' names to this table's rows. A report chosen after
    // the table stays, and so do the fields in the next window.
    void theReportFollowsTheTable()
    {
        auto *report = page->findChild<QLineEdit *>("reportLineEdit");
        choose(InOrder, {});
        QCOMPARE(report->text(), QDir::toNativeSeparators(path("table-report.csv")));
        report->setText(path("mine.csv"));
        choose(InOrder, {});
        QCOMPARE(report->text(), path("mine.csv"));
        QVERIFY(writeFile(path("other.csv"), InOrder));
        auto *table = page->findChild<QLineEdit *>("tableLineEdit");
        table->setText(path("other.csv"));
        emit table->editingFinished();
        QCOMPARE(report->text(), QDir::toNativeSeparators(path("other-report.csv")));
        // Gone with the focus in a field, whose editing then finishes.
        page->show();
        table->setFocus();
        window = std::make_unique<MainWindow>();
        page = window->findChild<StationPage *>();
        QCOMPARE(page->findChild<QLineEdit *>("reportLineEdit")->text(), QDir::toNativeSeparators(path("other-report.csv")));
    }

    // The page speaks the window's language, and changes with it.
    void speaksTheWindowsLanguage()
    {
        QTranslator russian;
        QVERIFY(russian.load(GPRS_TEST_BUILD_DIR "/languages/translate_ru.qm"));
        // Every control the keyboard reaches has a name a screen reader says.
        const auto named = [this] {
            for (QWidget *control : page->findChildren<QWidget *>()) {
                if (control->focusPolicy() != Qt::NoFocus && !control->isHidden() && !control->inherits("QScrollBar") && !control->inherits("QLabel")
                    && QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
                    return control->objectName();
            }
            return QString();
        };
        QCoreApplication::installTranslator(&russian);
        QTRY_COMPARE(page->windowTitle(), QString("Станция"));
        QCOMPARE(page->model()->headerData(StationModel::State, Qt::Horizontal).toString(), QString("Состояние"));
        QCOMPARE(page->findChild<QLineEdit *>("tableLineEdit")->accessibleName(), QString());
        QCOMPARE(QAccessible::queryAccessibleInterface(page->findChild<QLineEdit *>("tableLineEdit"))->text(QAccessible::Name),
                 QString("Таблица"));
        QCOMPARE(named(), QString());
        QCoreApplication::removeTranslator(&russian);
        QTRY_COMPARE(page->windowTitle(), QString("Station"));
        QCOMPARE(named(), QString());
        QCOMPARE(button("startButton")->text(), QString("&Start"));
        QCOMPARE(page->model()->headerData(StationModel::State, Qt::Horizontal).toString(), QString("State"));
    }

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QPushButton *button(const char *name) const { return page->findChild<QPushButton *>(name); }

    // The fields as the technician fills them: the template and the table
    // typed, each port added by its connection text.
    void choose(const QByteArray &table, const QStringList &ports, const QString &match = QString())
    {
        QVERIFY(writeFile(path("table.csv"), table));
        for (auto [field, file] : {std::pair{"templateLineEdit", "template.xml"}, std::pair{"tableLineEdit", "table.csv"}}) {
            auto *edit = page->findChild<QLineEdit *>(field);
            edit->setText(path(file));
            emit edit->editingFinished();
        }
        auto *combo = page->findChild<QComboBox *>("matchComboBox");
        combo->setCurrentIndex(combo->findData(match));
        emit combo->activated(combo->currentIndex());
        auto *add = page->findChild<QLineEdit *>("addPortLineEdit");
        for (int i = 0; i < ports.size(); ++i) {
            add->setText(QString(ports.at(i)).replace("%1", modems[0]->portName())
                             .replace("%2", modems[1]->portName()).replace("%3", modems[2]->portName()));
            button("addPortButton")->click();
        }
    }

    void runToItsEnd(const char *start)
    {
        QSignalSpy ended(page, &StationPage::runEnded);
        button(start)->click();
        QVERIFY(page->isRunning());
        QVERIFY(ended.wait(30000));
    }

    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> dir;
    std::vector<std::unique_ptr<SimulatedModem>> modems;
    std::unique_ptr<MainWindow> window;
    StationPage *page = nullptr;
};

QTEST_MAIN(TestStation)
#include "tst_station.moc"
