// The window as the operator meets it: its texts in both languages, keys,
// size and icon, start-up, and every action from end to end against the
// simulated modem on a pseudo-terminal, with real settings files.

#include "commandline.h"
#include "connectiontext.h"
#include "filedialogs.h"
#include "golden.h"
#include "jobwords.h"
#include "mainwindow.h"
#include "messagebar.h"
#include "portpicker.h"
#include "recentconnections.h"
#include "trafficmodel.h"
#include "trafficpage.h"
#include "userfolders.h"
#include "usersettings.h"
#include "workermessages.h"
#include "workingfolder.h"
#ifdef GPRS_SIMULATED_MODEM
#include "settingsimage.h"
#include "simulatedmodem.h"
#endif

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSerialPort>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>

#include <cmath>

#ifdef GPRS_SIMULATED_MODEM
Q_DECLARE_METATYPE(SimulatedModemOptions)
#endif

namespace {

// The form top to bottom: caption and field; a field's tool tip is "H" and its caption.
const char *const formRows[][2] = {
    {"Connection", "comPortLineEdit"}, {"Apn server", "apnServerLineEdit"}, {"Apn login", "apnLoginLineEdit"},
    {"Apn password", "apnPasswordLineEdit"}, {"Baud Tx", "TxSettingLineEdit"}, {"Baud Rx", "RxSettingLineEdit"},
    {"Timeout answer", "ToutAnswLineEdit"}, {"Timeout next", "ToutNextLineEdit"}, {"Trying number", "TryNumLineEdit"},
    {"Timeout between", "ToutBetwenLineEdit"}};
// The check boxes, then the buttons: text, tool tip, name.
const char *const controls[][3] = {
    {"Keep Connection", "HKeep Connection", "KeepConncheckBox"},
    {"Enable Keep Connection", "HEnable Keep Connection", "EnableKeepConncheckBox"}, {"&Load", "HLoad", "pushButtonLoad"},
    {"&Read", "HRead", "pushButtonRead"}, {"&Write", "HWrite", "pushButtonWrite"}, {"&Save", "HSave ", "pushButtonSave"}};
const char *const columns[][2] = {{"Phone number", "PhNum"}, {"Mirror server", "MirrServ"}, {"Mirror port", "MirrPort"}};
// The page of the settings the main form has no field for: key and caption.
const char *const moreRows[][2] = {
    {"own_Ph", "Own phone number"}, {"sc_Ph", "SMS centre number"}, {"sms_Ph", "SMS phone number"}, {"IP", "IP address"},
    {"DNS1", "DNS 1"}, {"DNS2", "DNS 2"}, {"MbsAdr", "Modbus address"}, {"ToutWaitNext", "Timeout wait next"},
    {"RestartTimeSrv", "Server restart time"}, {"RestartTimeMdm", "Modem restart time"},
    {"DisconnectTime", "Disconnect time"}, {"MaxNumBytes", "Max number of bytes"}, {"AnswersNum", "Answers number"}};
QStringList moreKeys()
{
    QStringList keys;
    for (const auto &row : moreRows)
        keys << row[0];
    return keys;
}
// Where the program looks for its translation.
QString languages()
{
    return QCoreApplication::applicationDirPath() + "/languages";
}

} // namespace

class TestWindowActions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The log and the journal go to a folder of the test's own.
        QVERIFY(dataHome.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dataHome.filePath("config")));
#ifdef Q_OS_WIN
        QStandardPaths::setTestModeEnabled(true);   // Windows has no such variables
#endif
        startDir = QDir::currentPath();
        QVERIFY(russian.load(GPRS_TEST_BUILD_DIR "/languages/translate_ru.qm"));
        QVERIFY(english.load(GPRS_TEST_BUILD_DIR "/languages/translate_en.qm"));
        // Qt's own words: shipped beside the window's on Windows, the system's elsewhere.
        QVERIFY(qtRussian.load("qtbase_ru", GPRS_TEST_BUILD_DIR "/languages")
                || qtRussian.load("qtbase_ru",
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
#else
                                  QLibraryInfo::location(QLibraryInfo::TranslationsPath)));
#endif
    }

    // Rows named "Russian ..." run with the translations beside the program,
    // as it is installed; all run in a working folder of their own, with
    // no language chosen.
    void init()
    {
        QVERIFY(QDir(languages()).removeRecursively());
        if (QByteArray(QTest::currentDataTag()).startsWith("Russian")) {
            QVERIFY(QDir().mkpath(languages()));
            const QDir built(GPRS_TEST_BUILD_DIR "/languages");
            for (const QString &file : built.entryList({"*.qm"}))
                QVERIFY(QFile::copy(built.filePath(file), languages() + "/" + file));
        }
        userSettings().remove("window/language");
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(workDir->path()));
#ifdef GPRS_SIMULATED_MODEM
        modem = std::make_unique<SimulatedModem>();
        QVERIFY2(modem->start(), qPrintable(modem->errorString()));
#endif
        window = newWindow();
        answerDialogsWith(QString());
    }

    void cleanup()
    {
        window.reset();
#ifdef GPRS_SIMULATED_MODEM
        modem.reset();
#endif
        dialogs.clear();
        QDir(languages()).removeRecursively();
        QDir::setCurrent(startDir);
        workDir->setAutoRemove(!QTest::currentTestFailed());
    }

    void texts_data()
    {
        QTest::addColumn<bool>("russian");    // the language expected
        QTest::addColumn<int>("switches");    // presses of the language button
        QTest::addColumn<bool>("reopened");   // by a second window, after the first
        QTest::newRow("English") << false << 0 << false;
        QTest::newRow("Russian") << true << 0 << false;
        QTest::newRow("Russian, switched to English") << false << 1 << false;
        QTest::newRow("Russian, switched to English and back") << true << 2 << false;
        QTest::newRow("Russian, English remembered by the next window") << false << 1 << true;
    }

    void texts()
    {
        QFETCH(bool, russian);
        QFETCH(int, switches);
        QFETCH(bool, reopened);
        const bool installed = QByteArray(QTest::currentDataTag()).startsWith("Russian");
        // The window's texts change at once, its pages' too, though closed.
        QCOMPARE(widget<QToolButton>("pushButtonLanguage")->isVisibleTo(window.get()), installed);
        for (int i = 0; i < switches; ++i)
            widget<QToolButton>("pushButtonLanguage")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        if (reopened)
            window = newWindow();
        // The button speaks the language it offers.
        QCOMPARE(QAccessible::queryAccessibleInterface(widget<QToolButton>("pushButtonLanguage"))->text(QAccessible::Name),
                 russian ? "English" : "Русский");
        // Without its catalogue the English window shows the source texts.
        const auto shown = [&](const QString &source, const char *context = "MainWindow") {
            if (!installed)
                return source;
            const QString text = (russian ? this->russian : english).translate(context, source.toUtf8().constData());
            if (!russian && text.isEmpty())
                return source;
            return text.isEmpty() || (russian && text == source) ? "<not translated: " + source + ">" : text;
        };
        QCOMPARE(window->windowTitle(), shown("GPRS configurator"));
        const auto *form = window->findChild<QFormLayout *>();
        for (int row = 0; row < 10; ++row) {
            QCOMPARE(qobject_cast<QLabel *>(form->itemAt(row, QFormLayout::LabelRole)->widget())->text(),
                     shown(formRows[row][0]));
            QWidget *field = form->itemAt(row, QFormLayout::FieldRole)->widget();
            QCOMPARE(field->objectName(), QString(formRows[row][1]));
            QCOMPARE(field->toolTip(), shown(QString("H") + formRows[row][0]));
        }
        // The boxes and the buttons left to right; three columns of a caption over four fields.
        for (int i = 0; i < 6; ++i) {
            const auto &control = controls[i];
            QLayout *row = widget<QWidget>(controls[i < 2 ? 0 : 2][2])->parentWidget()->layout();
            auto *button = qobject_cast<QAbstractButton *>(row->itemAt(i < 2 ? i : i - 2)->widget());
            QCOMPARE(button->objectName(), QString(control[2]));
            QCOMPARE(button->text(), shown(control[0]));
            QCOMPARE(button->toolTip(), shown(control[1]));
        }
        for (int c = 0; c < 3; ++c) {
            QLayout *column = widget("PhNum1LineEdit")->parentWidget()->layout()->itemAt(c)->layout();
            QCOMPARE(qobject_cast<QLabel *>(column->itemAt(0)->widget())->text(), shown(columns[c][0]));
            for (int n = 1; n <= 4; ++n) {
                QCOMPARE(column->itemAt(n)->widget()->objectName(), QString("%1%2LineEdit").arg(columns[c][1]).arg(n));
                QCOMPARE(column->itemAt(n)->widget()->toolTip(), shown(QString("H%1 %2").arg(columns[c][0]).arg(n)));
            }
        }
        // The message shown follows the language too.
        QCOMPARE(status(), shown("No %1 here: the form starts empty").arg("simconf.xml"));
        QCOMPARE(widget<QPushButton>("pushButtonMore")->toolTip(), shown("HMore settings"));
        QCOMPARE(widget("comPortLineEdit")->findChild<QToolButton *>()->accessibleName(),
                 shown("Choose the port and the baud rate", "PortPicker"));
        for (const auto &row : moreRows) {
            QCOMPARE(widget<QLabel>(QString(row[0]) + "Label")->text(), shown(row[1], "MoreSettingsDialog"));
            QCOMPARE(widget(QString(row[0]) + "LineEdit")->toolTip(), shown(QString("H") + row[1], "MoreSettingsDialog"));
        }

        // About: the version, the Qt versions, the licence, the folders.
        window->findChild<QAbstractButton *>("pushButtonAbout")->click();
        const QString about = widget<QLabel>("aboutText")->text();
        QVERIFY2(about.startsWith(shown("GPRS configurator %1\nBuilt with Qt %2, running on Qt %3.\nReleased under the MIT "
                                        "licence.\n\nLog: %4\nJournal of Writes: %5", "AboutDialog")
                                      .section('\n', 0, 0)
                                      .arg(GPRS_VERSION) + "\n")
                     && about.contains(" MIT") && about.contains(qVersion())
                     && about.contains(QDir::toNativeSeparators(UserFolders::logFolder())),
                 qPrintable(about));
        QCOMPARE(widget<QLabel>("aboutText")->window()->findChild<QPushButton *>()->text(),
                 russian ? qtRussian.translate("QPlatformTheme", "Close") : "Close");
        widget<QLabel>("aboutText")->window()->close();

        // A screen reader names every field by its label, and reads its help.
        QStringList named;
        for (const auto &row : formRows)
            named << QString(row[1]) + "=" + shown(row[0]);
        for (const auto &column : columns) {
            for (int n = 1; n <= 4; ++n)
                named << QString("%1%2LineEdit=").arg(column[1]).arg(n) + shown(QString("%1 %2").arg(column[0]).arg(n));
        }
        for (const auto &row : moreRows)
            named << QString(row[0]) + "LineEdit=" + shown(row[1], "MoreSettingsDialog");
        // A button by its text, without the mark of its Alt key.
        for (int i = 2; i < 6; ++i)
            named << QString(controls[i][2]) + "=" + shown(controls[i][0]).remove('&');
        QStringList heard;
        for (const QString &pair : qAsConst(named)) {
            QWidget *field = widget<QWidget>(pair.section('=', 0, 0));
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(field);
            heard << field->objectName() + "=" + reader->text(QAccessible::Name);
            QCOMPARE(reader->text(QAccessible::Description), field->toolTip());
        }
        QCOMPARE(heard, named);

        // Alt and the underlined letter press each button, in both languages.
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // Tab reaches every control in the form's order, from the strip at
        // the top to the buttons at the foot; the window starts in Connection.
        QStringList order = {"pushButtonTraffic", "pushButtonHistory", "pushButtonStation", "pushButtonMore", "pushButtonLanguage",
                             "pushButtonAbout"};
        for (const auto &row : formRows)
            order << row[1];
        order << controls[0][2] << controls[1][2];
        for (const auto &column : columns) {
            for (int n = 1; n <= 4; ++n)
                order << QString("%1%2LineEdit").arg(column[1]).arg(n);
        }
        for (int i = 2; i < 6; ++i)
            order << controls[i][2];
        QStringList reachable;
        for (const QString &name : qAsConst(order)) {
            if (widget<QWidget>(name)->isVisible() && widget<QWidget>(name)->isEnabled())
                reachable << name;
        }
        QStringList reached = {QApplication::focusWidget()->objectName()};
        while (reached.size() < reachable.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        const int start = int(reachable.indexOf("comPortLineEdit"));
        QCOMPARE(reached, reachable.mid(start) + reachable.mid(0, start));
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (int i = 2; i < 6; ++i)
            spies.push_back(std::make_unique<QSignalSpy>(widget<QPushButton>(controls[i][2]), &QAbstractButton::clicked));
        const QString keys = russian ? QStringLiteral("ОПЗС") : QStringLiteral("LRWS");
        for (int button = 0; button < 4; ++button) {
            altKey(keys.at(button));
            // A mnemonic animates the press, so the click comes a moment later.
            QTRY_COMPARE(spies.at(size_t(button))->count(), 1);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(spies.at(size_t(i))->count(), i <= button ? 1 : 0);
        }
        // The pages beside the form open from the strip above it.
        const char *const pages[][5] = {{"&More settings…", "own_PhLineEdit", "M", "Е", "More"},
                                        {"&Traffic…", "trafficView", "T", "Б", "Traffic"},
                                        {"&History…", "historyList", "H", "И", "History"},
                                        {"Station…", "rowsView", "P", "Т", "Station"}};
        for (const auto &page : pages) {
            QWidget *shownPage = widget<QWidget>(page[1])->window();
            QCOMPARE(widget<QPushButton>(QString("pushButton") + page[4])->text(), shown(page[0]));
            QVERIFY(!shownPage->isVisible());
            altKey(QString::fromUtf8(page[russian ? 3 : 2]).at(0));
            QTRY_VERIFY(shownPage->isVisible());
            QTRY_COMPARE(QApplication::activeWindow(), shownPage);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!shownPage->isVisible());
            QApplication::setActiveWindow(window.get());
        }
    }

    // Every field and control of the form and of More settings explains
    // itself in the window's language rather than by its source placeholder
    // ("HApn server"), and so does every caption; each page's Alt keys are
    // letters of that language, no two alike.
    void helpAndKeysInTheWindowsLanguage_data()
    {
        QTest::addColumn<bool>("russian");
        QTest::newRow("Russian") << true;
        QTest::newRow("Russian, switched to English") << false;
    }

    void helpAndKeysInTheWindowsLanguage()
    {
        QFETCH(bool, russian);
        if (!russian)
            widget<QToolButton>("pushButtonLanguage")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QRegularExpression cyrillic("\\p{Cyrillic}");
        const QRegularExpression placeholder("^H[A-Z]");
        for (QWidget *page : {window->centralWidget(), widget("own_PhLineEdit")->window()}) {
            int helped = 0;
            for (QWidget *control : page->findChildren<QWidget *>()) {
                // Close says all there is to say.
                if (!qobject_cast<QLineEdit *>(control) && !qobject_cast<QCheckBox *>(control)
                    && (!qobject_cast<QPushButton *>(control) || control->objectName() == "pushButtonClose"))
                    continue;
                const QString help = control->toolTip();
                QVERIFY2(!help.isEmpty() && !placeholder.match(help).hasMatch() && help.contains(cyrillic) == russian,
                         qPrintable(control->objectName() + ": " + help));
                ++helped;
            }
            for (const QLabel *label : page->findChildren<QLabel *>()) {
                QVERIFY2(!label->text().isEmpty() && !placeholder.match(label->text()).hasMatch()
                             && label->text().contains(cyrillic) == russian,
                         qPrintable(label->objectName() + ": " + label->text()));
            }
            // The form's 22 fields, 2 boxes, 4 actions and 4 pages; the other page's 13 fields.
            QVERIFY(helped >= (page == window->centralWidget() ? 32 : 13));
        }

        QHash<const QWidget *, QStringList> keysOf;
        for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
            keysOf[button->window()] << button->shortcut().toString(QKeySequence::PortableText);
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (label->buddy())
                keysOf[label->window()] << QKeySequence::mnemonic(label->text()).toString(QKeySequence::PortableText);
        }
        const QRegularExpression letter(russian ? "^Alt\\+\\p{Cyrillic}$" : "^Alt\\+[A-Z]$");
        for (auto page = keysOf.cbegin(); page != keysOf.cend(); ++page) {
            QStringList keys = page.value().filter(QRegularExpression("^Alt\\+"));
            for (const QString &key : qAsConst(keys))
                QVERIFY2(letter.match(key).hasMatch(), qPrintable(page.key()->objectName() + ": " + key));
            keys.sort();
            for (int i = 1; i < keys.size(); ++i)
                QVERIFY2(keys.at(i) != keys.at(i - 1), qPrintable(page.key()->objectName() + ": " + keys.at(i) + " twice"));
        }
        // The strip's four pages and the form's four actions.
        QVERIFY(keysOf.value(window.get()).filter(letter).size() >= 8);
    }

    // Started in its own folder, the window stays there only while it may
    // write there; otherwise, and only then, it works in the documents.
    void workingFolderIsWritable_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("programFolderWritable");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("installed, from the Start menu") << "C:/Program Files/GPRS configurator" << false
                                                        << "C:/Users/tech/Documents/GPRS configurator";
        QTest::newRow("portable, in its own folder") << "C:/Program Files/GPRS configurator" << true
                                                     << "C:/Program Files/GPRS configurator";
        QTest::newRow("from a shell elsewhere") << "C:/Users/tech/modems" << false << "C:/Users/tech/modems";
    }

    void workingFolderIsWritable()
    {
        QFETCH(QString, current);
        QFETCH(bool, programFolderWritable);
        QFETCH(QString, chosen);
        QCOMPARE(WorkingFolder::choose(current, "C:/Program Files/GPRS configurator/", programFolderWritable,
                                       "C:/Users/tech/Documents"),
                 chosen);
    }

    // A log that cannot be written is said once, after the start-up's own
    // word, and the window works on.
    void unwritableLogIsSaidOnce()
    {
#ifdef Q_OS_WIN
        QSKIP("the user's folders are Windows' own there");
#endif
        QVERIFY(writeFile(workDir->filePath("gprs-configurator"), "not a folder"));
        const QByteArray dataFolder = qgetenv("XDG_DATA_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", dataFolder); });
        qputenv("XDG_DATA_HOME", QFile::encodeName(workDir->path()));
        window = newWindow();
        int said = 0;
        connect(window->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) {
            said += message.startsWith("The log cannot be written in " + QDir::toNativeSeparators(UserFolders::logFolder()));
        });
        QTRY_COMPARE(said, 1);
        widget("comPortLineEdit")->setText("dev=/nonexistent/ttyGPRS");
        click("pushButtonRead");
        QTRY_VERIFY(status().startsWith(QCoreApplication::translate("JobWords", "The port %1 did not open").arg("dev=/nonexistent/ttyGPRS")));
        QCOMPARE(said, 1);
    }

    void sizeIsFixedAndIconComesFromAbove()
    {
        // The icon is looked up one level above the working folder.
        QVERIFY(QDir(workDir->path()).mkdir("work") && QDir::setCurrent(workDir->filePath("work")));
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(workDir->filePath("VELM-LOGO.ico"), "ICO"));
        window = newWindow();
        QCOMPARE(window->windowIcon().pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // With a message of one line; a longer one adds its lines below the form.
        window->statusBar()->showMessage("Loaded");
        QCOMPARE(window->size(), QSize(493, 573));
        window->resize(800, 700);
        QCOMPARE(window->size(), QSize(493, 573));
    }

    void startupFileAndSaveKeepAllSettings()
    {
        // simconf.xml in the working folder, not beside the program, is read at start-up.
        // Its traces come before the one line of the language, all flushed.
        QVERIFY(writeFile("simconf.xml", Golden::file));
        const QByteArray traces = stdoutOf([this] { window = newWindow(); });
        QVERIFY2(traces.startsWith("xml.name = <conf>\nxml.name = <prm>\nxml.name = <ComPort>\n"), traces.constData());
        QVERIFY2(traces.endsWith("xml.nameatr = <260>\nlanguage " + QLocale::system().name().toLatin1() + "\n"),
                 traces.constData());
        QCOMPARE(status(), QString("Loaded simconf.xml"));
        QCOMPARE(QString(saved()), QString(onDisk(Golden::file)));
        QCOMPARE(status(), "Saved " + QDir::toNativeSeparators(workDir->filePath("saved.xml")));
        QCOMPARE(dialogs, QStringList{"Save Config file|Xml Files (*.xml)"});
        // A name without a suffix gets .xml, which Load lists; the next
        // dialog opens where the last file went, in a window started anew too.
        QVERIFY(QDir(workDir->path()).mkdir("elsewhere"));
        answerDialogsWith(workDir->filePath("elsewhere/no-suffix"));
        click("pushButtonSave");
        QCOMPARE(readFile(workDir->filePath("elsewhere/no-suffix.xml")), onDisk(Golden::file));
        window = newWindow();
        click("pushButtonLoad");
        QCOMPARE(dialogFolder, workDir->filePath("elsewhere"));
        // A save that cannot be made says so.
        QVERIFY(QDir(workDir->path()).mkdir("folder.xml"));
        answerDialogsWith(workDir->filePath("folder.xml"));
        click("pushButtonSave");
        QVERIFY2(status().startsWith("The configuration file was not saved: "), qPrintable(status()));
    }

    // Nothing goes out while a setting off the main form is unknown, or
    // while a value cannot be held as typed; the message names the settings
    // as the window labels them.
    void writeRefusesWhatTheModemShouldNotGet_data()
    {
        QTest::addColumn<QByteArray>("settings");   // %c: the modem's connection
        QTest::addColumn<QStringList>("typed");     // page fields typed into
        QTest::addColumn<QStringList>("keys");      // the settings named
        QTest::addColumn<QString>("reason");        // for a value refused; empty: unknown settings
        QTest::addColumn<QStringList>("numbers");
        QStringList allButTwo = moreKeys();
        allButTwo.removeOne("DNS2");
        allButTwo.removeOne("AnswersNum");
        allButTwo.removeOne("own_Ph");
        const QByteArray typedForm = "<c><ComPort name=\"%c\"/><apnServer name=\"internet\"/>"
                                     "<TxSetting name=\"9600,8,1,N\"/><RxSetting name=\"9600,8,1,N\"/></c>";
        QTest::newRow("English: a form typed, nothing read") << typedForm << QStringList() << moreKeys() << QString()
                                                              << QStringList();
        QTest::newRow("Russian: one loaded, the rest typed but two") << QByteArray("<c><ComPort name=\"%c\"/><own_Ph name=\"+7000\"/></c>") << allButTwo
            << QStringList{"DNS2", "AnswersNum"} << QString() << QStringList();
        QTest::newRow("English: too long, on the page") << Golden::fileWith({{"ComPort", "%c"}, {"own_Ph", "+7 916 123-45-67"}})
            << QStringList() << QStringList{"own_Ph"} << "the text takes %1 bytes but the field holds %2"
            << QStringList{"16", "14"};
        QTest::newRow("Russian: a baud rate not in the table") << Golden::fileWith({{"ComPort", "%c"}, {"TxSetting", "56000,8,1,N,0,0"}})
            << QStringList() << QStringList{"TxSetting"} << "the baud rate \"%1\" is not one the device supports"
            << QStringList{"56000"};
    }

    void writeRefusesWhatTheModemShouldNotGet()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, keys);
        QFETCH(QString, reason);
        QFETCH(QStringList, numbers);
        const bool inRussian = QByteArray(QTest::currentDataTag()).startsWith("Russian");
        const auto shown = [&](const char *context, const QString &source) {
            return inRussian ? russian.translate(context, source.toUtf8().constData()) : source;
        };
        QStringList labels;
        for (const QString &key : keys)
            labels << widget<QLabel>(key == "TxSetting" ? "comPortLabel_2" : key + "Label")->text();
        QString expected;
        if (reason.isEmpty()) {
            expected = shown("MainWindow", "Nothing was written. Read the modem first, or load a complete settings "
                                           "file. Still unknown: %1")
                           .arg(labels.join(", "));
        } else {
            QString because = shown("DeviceSettings", reason);
            for (const QString &number : numbers)
                because = because.arg(number);
            expected = shown("DeviceSettings", "Cannot write %1 (%2): %3").arg(labels.first(), keys.first(), because);
        }
        load(settings.replace("%c", connection().toUtf8()));
        for (const QString &key : typed)
            QTest::keyClicks(widget(key + "LineEdit"), "1");
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const int formHeight = window->centralWidget()->height();
        click("pushButtonWrite");
        QCOMPARE(status(), expected);
        // The whole message is painted, wrapped within the bar, and the
        // window grows by its lines rather than cover the form.
        const auto *bar = qobject_cast<MessageBar *>(window->statusBar());
        QTRY_COMPARE(window->centralWidget()->height(), formHeight);
        QCOMPARE(bar->height(), bar->sizeHint().height());
        const QStringList painted = bar->shownText().split('\n');
        const auto letters = [](QString text) { return text.remove(QRegularExpression("\\s")); };
        QCOMPARE(letters(painted.join(QString())), letters(status()));
        for (const QString &line : painted)
            QVERIFY2(bar->fontMetrics().horizontalAdvance(line) <= bar->messageRect().width(), qPrintable(line));
        QVERIFY(painted.size() * bar->fontMetrics().lineSpacing() <= bar->height());
        QVERIFY(!worker().isRunning());
        QCOMPARE(worker().job(), 0);
#ifdef GPRS_SIMULATED_MODEM
        QCOMPARE(modem->receivedFrames().size(), 0);
#endif
        // A save leaves out what nobody has seen, so that loading it makes nothing known.
        if (reason.isEmpty()) {
            const QByteArray file = saved();
            for (const QString &key : moreKeys())
                QVERIFY2(file.contains("<" + key.toUtf8() + " ") != keys.contains(key), qPrintable(key));
        }
    }

    // The Connection field's picker, opened from the keyboard: the ports it
    // is given with what is known of them, the modem's rates, detection;
    // a pick rewrites its part of the text and keeps the rest.
    void portPicker_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<QString>("rewritten");
        QTest::newRow("a port into an empty field") << "" << "COM3 (USB Serial Port)" << "dev=COM3";
        QTest::newRow("a port over a typed path") << "dev=/dev/pts/3;baud=19200" << "COM12" << "dev=COM12;baud=19200";
        QTest::newRow("a rate") << "dev=COM3" << "115200" << "dev=COM3;baud=115200";
        QTest::newRow("a connection that worked") << "dev=COM3;baud=9600" << "dev=tcp://10.0.0.5:4001"
                                                  << "dev=tcp://10.0.0.5:4001";
    }

    void portPicker()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pick);
        QFETCH(QString, rewritten);
        QLineEdit field(typed);
        PortPicker picker(
            &field,
            [] {
                return QList<SerialPorts::Port>{{"COM3", "USB Serial Port", "FTDI", "VID:PID 0403:6001"},
                                                {"COM12", {}, {}, {}}};
            },
            [] { return QStringList{"dev=tcp://10.0.0.5:4001", "dev=COM7;baud=19200"}; });
        field.show();
        QApplication::setActiveWindow(&field);
        QVERIFY(QTest::qWaitForWindowActive(&field));
        QTest::keyClick(&field, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(picker.menu()->isVisible());
        QStringList entries;
        QAction *chosen = nullptr;
        for (QAction *entry : picker.menu()->actions()) {
            entries << entry->text();
            if (entry->text() == pick)
                chosen = entry;
        }
        QCOMPARE(entries, QStringList({"Last connections that worked", "dev=tcp://10.0.0.5:4001", "dev=COM7;baud=19200",
                                       "Serial ports", "COM3 (USB Serial Port)", "COM12", "Baud rate", "",
                                       "Detect modem"}));
        QCOMPARE(picker.menu()->actions().at(4)->toolTip(), QString("FTDI, VID:PID 0403:6001"));
        QStringList rates;
        for (QAction *rate : picker.menu()->actions().at(6)->menu()->actions()) {
            rates << rate->text();
            if (rate->text() == pick)
                chosen = rate;
        }
        QCOMPARE(rates.size(), 12);
        QVERIFY(chosen);
        chosen->trigger();
        QCOMPARE(field.text(), rewritten);
    }

    void loadAppliesByKey()
    {
        widget("comPortLineEdit")->setText("dev=/dev/ttyS0");
        widget("apnLoginLineEdit")->setText("to be emptied");
        widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(true);
        load("<root>\n  <PhNum1 name=\"first\"/>\n  <deep><PhNum1 name=\"second\"/></deep>\n"
             "  <comport name=\"other letter case\"/>\n  <ComPort/>\n  <KeepCon name=\"-1\"/>\n"
             "  <EnableKeepCon name=\"true\"/>\n  <own_Ph name=\"+7000\"/>\n  <apnLogin name=\"\"/>\n</root>\n");
        QCOMPARE(dialogs, QStringList{"Open Config file|Xml Files (*.xml)"});
        QCOMPARE(widget("PhNum1LineEdit")->text(), QString("second"));
        QCOMPARE(widget("comPortLineEdit")->text(), QString("dev=/dev/ttyS0"));
        QCOMPARE(widget("apnLoginLineEdit")->text(), QString());
        QVERIFY(widget<QCheckBox>("KeepConncheckBox")->isChecked());
        QVERIFY(!widget<QCheckBox>("EnableKeepConncheckBox")->isChecked());
        QCOMPARE(status(), "Loaded " + QDir::toNativeSeparators(workDir->filePath("load.xml"))
                               + ", ignoring what is not a setting: comport");
        // Keep Connection is neither read nor written without its register.
        QVERIFY(!widget<QCheckBox>("KeepConncheckBox")->isEnabled());
        widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(true);
        QVERIFY(widget<QCheckBox>("KeepConncheckBox")->isEnabled());
        // own_Ph has no field on the main form: it goes to the page only.
        for (QLineEdit *line : window->findChildren<QLineEdit *>())
            QCOMPARE(line->text() == "+7000", line->objectName() == "own_PhLineEdit");
        // A damaged file is applied not at all, and says where it broke and why.
        const QByteArray before = saved();
        load("<conf>\n<prm>\n<apnServer name=\"broken\"/>\n<TryNum name=\"9\"/>\n</conf>");
        QCOMPARE(status(), QString("The configuration file is damaged at line 5: Opening and ending tag mismatch."));
        QCOMPARE(saved(), before);
        // A file without a single setting says so.
        load("<html><body title=\"x\"><p name=\"y\"/></body></html>");
        QCOMPARE(status(), "Nothing was loaded: " + QDir::toNativeSeparators(workDir->filePath("load.xml"))
                               + " holds none of the settings, only: p");
    }

    // The traffic page keeps the newest lines only; failures stand out on
    // a light palette as on a dark one (WCAG's contrast of 4.5 or more).
    void trafficKeepsItsBoundsAndColours()
    {
        TrafficModel model(nullptr, 3);
        for (int batch = 0; batch < 2; ++batch) {
            QVector<TrafficEntry> entries;
            for (int n = 0; n < 3; ++n)
                entries << TrafficEntry{QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0, 5)), TrafficEntry::Sent,
                                        QByteArray(1, char(3 * batch + n)), QString(), false};
            model.add(batch ? entries.mid(0, 2) : entries);
        }
        QCOMPARE(model.text(), QString("09:00:00.005 >> 02\n09:00:00.005 >> 03\n09:00:00.005 >> 04\n"));
        QCOMPARE(model.text({2, 0}), QString("09:00:00.005 >> 02\n09:00:00.005 >> 04\n"));
        const auto luminance = [](const QColor &c) {
            const auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        for (const QColor &base : {QColor(Qt::white), QColor(0xF0, 0xF0, 0xF0), QColor(0x1E, 0x1E, 0x1E), QColor(Qt::black)}) {
            QPalette palette;
            palette.setColor(QPalette::Base, base);
            const qreal a = luminance(base), b = luminance(TrafficPage::failureColour(palette));
            QVERIFY2((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 4.5, qPrintable(base.name()));
        }
    }

    void uploadList()
    {
        QVERIFY(QDir().mkdir("python"));
        QVERIFY(writeFile("python/uploader.xml", "<list><file name=\"a.py\"/><dir><file name=\"скрипт.py\"/></dir></list>"));
        QVERIFY(QMetaObject::invokeMethod(window.get(), "myUpLoad"));
        QCOMPARE(worker().uploadFiles(), QStringList({"a.py", "скрипт.py"}));
        // No Read or Write came first, so the job has no port to open.
        QTRY_VERIFY2(status().startsWith(QCoreApplication::translate("JobWords", "The default port did not open")),
                     qPrintable(status()));
        QCOMPARE(worker().job(), int(MyThread::JobUpload));
        // Without the list no job starts, and no earlier name survives.
        QTRY_VERIFY(!worker().isRunning());
        QVERIFY(QFile::remove("python/uploader.xml"));
        QVERIFY(QMetaObject::invokeMethod(window.get(), "myUpLoad"));
        QCOMPARE(status(), QString("There is not the update files"));
        QCOMPARE(worker().uploadFiles(), QStringList());
        QVERIFY(!worker().isRunning());
    }

#ifdef GPRS_SIMULATED_MODEM
    // The cases that talk to the simulated modem on its pseudo-terminal.
    void readOrLoadFillsBothPagesForSaveAndWrite_data()
    {
        QTest::addColumn<bool>("keepCon");
        QTest::addColumn<bool>("byRead");
        QTest::newRow("Read, 70 registers") << false << true;
        QTest::newRow("Read, 71 registers") << true << true;
        QTest::newRow("complete Load") << true << false;
    }

    void readOrLoadFillsBothPagesForSaveAndWrite()
    {
        QFETCH(bool, keepCon);
        QFETCH(bool, byRead);
        const QByteArray flag = keepCon ? "1" : "0", connection = modem->connectionText().toUtf8();
        QStringList shown, apnWhenShown;
        connect(window->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) {
            shown << message;
            apnWhenShown << widget("apnServerLineEdit")->text();
        });
        if (byRead) {
            Golden::loadInto(*modem);
            widget("comPortLineEdit")->setText(modem->connectionText());
            widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(keepCon);
            click("pushButtonRead");
            QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(readWords()), 20000);
            QCOMPARE(shown.size(), 7);
            QCOMPARE(shown.first(), QCoreApplication::translate("JobWords", "Reading the modem through %1…")
                                        .arg(modem->connectionText()));
            // The progress is shown before the form changes; the Read's end once it is filled.
            QCOMPARE(apnWhenShown.mid(0, 6), QVector<QString>(6).toList());
            QCOMPARE(apnWhenShown.last(), Golden::record().value(DeviceSettings::indexOfKey("apnServer")));
            // The connection that worked is the picker's first the next time.
            QTRY_COMPARE(RecentConnections::list().value(0), modem->connectionText());
        } else {
            load(Golden::fileWith({{"ComPort", connection}, {"EnableKeepCon", flag}}));
        }
        // Every line edit of both pages shows its own setting: the key in its name, the time-outs' shortened.
        const QHash<QString, QString> touts{{"ToutAnsw", "ToutWaitAnsw"}, {"ToutNext", "ToutWaitNextPacket"},
                                            {"ToutBetwen", "ToutBetwenBytes"}};
        for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
            const QString key = field->objectName().chopped(8);
            if (key != "comPort")
                QCOMPARE(field->text(), Golden::record().value(DeviceSettings::indexOfKey(touts.value(key, key))));
        }
        // Save finds every setting: the form as filled (the connection and its flag untouched), the page too.
        QCOMPARE(QString(saved()), QString(onDisk(Golden::fileWith({{"ComPort", connection}, {"KeepCon", byRead ? flag : "1"},
                                                                    {"EnableKeepCon", flag}}))));

        // Only the Write can bring the values back into a wiped modem.
        modem->setRegisters(0, QVector<quint16>(512, 0));
        shown.clear();
        click("pushButtonWrite");
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(writtenWords()), 20000);
        // Even after a Read the Write reads the modem first, for the journal:
        // it may be another modem by now.
        QCOMPARE(shown.size(), 13);
        QCOMPARE(modem->registers(0, 71),
                 Golden::registersOf(Golden::settingsBlock.left(keepCon ? 142 : 140) + QByteArray(keepCon ? 0 : 2, 0)));
        for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k)
            QCOMPARE(modem->registers(Golden::entryFirstRegister[k], 13), Golden::registersOf(Golden::entryBlocks[k]));
    }

    // The traffic page shows each frame and the job's start and end as they
    // happen, failures marked; the log has the same lines and the messages.
    void trafficPageAndLog_data()
    {
        QTest::addColumn<SimulatedModemOptions>("options");
        QTest::addColumn<QStringList>("lines");   // times left out; "<<": an accepted answer
        QTest::addColumn<QString>("said");        // the job's end in the window's words
        const auto words = [](const char *source, int n = -1) {
            return QCoreApplication::translate("JobWords", source, nullptr, n);
        };
        const QString request = ">> 40 03 00 00 00 47 0A E9  read settings block, 71 registers";
        SimulatedModemOptions healthy, wrongCrc, oldFirmware, silent;
        wrongCrc.wrongCrc = oldFirmware.oldFirmware = silent.silent = true;
        QTest::newRow("Read") << healthy << QStringList{"-- Read, %c", request, "<<", ">> 40 03 01 00 00 0D 8A E2  read entry "
            "block 1 (phone number 1), 13 registers", "<<", ">> 40 03 01 40 00 0D 8B 36  read entry block 2 (phone number 2), "
            "13 registers", "<<", ">> 40 03 01 80 00 0D 8B 0A  read entry block 3 (phone number 3), 13 registers", "<<",
            ">> 40 03 01 C0 00 0D 8A DE  read entry block 4 (phone number 4), 13 registers", "<<", "-- It is Readed 31"}
                              << words("Read: all %1 settings").arg(35);
        QTest::newRow("a check sum wrong") << wrongCrc << QStringList{"-- Read, %c", request, "! check sum wrong",
                                                                     "! -- There is bad CRC16 sum of 147 bytes"}
                                           << words("An answer of %n byte(s) came damaged: its check sum is wrong", 147);
        // The window's own advice, naming its check box.
        const QString box = QCoreApplication::translate("MainWindow", "Enable Keep Connection");
        const QString lacks = "The modem may lack the keep-connection register: clear \"" + box + "\" and try again";
        const QString check = "Nothing was received: check the cable, the port and its baud rate, and that the modem is "
                              "powered; for firmware without the keep-connection register clear \"" + box + "\"";
        QTest::newRow("old firmware") << oldFirmware << QStringList{"-- Read, %c", request,
            "! exception 2: illegal data address", "! -- The device answered with exception 2. " + lacks}
            << words("The modem refused the request: Modbus exception %1, %2").arg(2).arg("illegal data address")
                   + ". " + lacks;
        QTest::newRow("silence") << silent << QStringList{"-- Read, %c", request, "! << no answer within ",
            "! -- There is bad CRC16 sum of 0 bytes. " + check} << words("No answer from the modem") + ". " + check;
    }

    void trafficPageAndLog()
    {
        QFETCH(SimulatedModemOptions, options);
        QFETCH(QStringList, lines);
        QFETCH(QString, said);
        modem->setOptions(options);
        widget("comPortLineEdit")->setText(modem->connectionText());
        widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(true);
        click("pushButtonTraffic");
        auto *page = window->findChild<TrafficPage *>();
        QVERIFY(page->isVisible());
        page->model()->clear();
        click("pushButtonRead");
        QTRY_VERIFY_WITH_TIMEOUT(!worker().busy() && worker().job() == MyThread::JobRead, 20000);
        QTRY_COMPARE(page->model()->rowCount(), lines.size());
        auto *view = page->findChild<QAbstractItemView *>("trafficView");
        const QString log = QString::fromUtf8(readFile(UserFolders::logFolder() + "/gprs-configurator.log"));
        for (int row = 0; row < lines.size(); ++row) {
            const QModelIndex index = page->model()->index(row);
            const QString line = index.data().toString();
            QString expected = lines.at(row);
            const bool failure = expected.startsWith("! ");
            expected.remove(0, failure ? 2 : 0).replace("%c", connection());
            QCOMPARE(index.data(Qt::ForegroundRole).isValid(), failure);
            // The job's end: the worker's words in the log, the window's on the page.
            if (row == lines.size() - 1) {
                QVERIFY2(log.contains(" " + expected + "\n"), qPrintable(expected));
                QVERIFY2(line.endsWith(" -- " + said), qPrintable(line));
                continue;
            }
            QVERIFY2(log.contains(QDate::currentDate().toString(Qt::ISODate) + " " + line + "\n"), qPrintable(line));
            QVERIFY2(expected == "<<" ? line.contains("  answer accepted in ")
                                      : line.mid(13).startsWith(expected) || line.endsWith(expected), qPrintable(line));
        }
        QVERIFY2(log.contains(" :: " + worker().lastWord() + "\n"), qPrintable(worker().lastWord()));
        QVERIFY2(status().startsWith(said), qPrintable(status()));
        // A failure and the job's outcome are read whole, wrapped, and in
        // sight, at the page's size and narrowed; a frame keeps one row.
        for (int width : {page->width(), page->width() / 2}) {
            page->resize(width, page->height());
            for (int row = 0; row < lines.size(); ++row) {
                const QModelIndex index = page->model()->index(row);
                const QRect shown = view->visualRect(index);
                const QFontMetrics metrics(index.data(Qt::FontRole).value<QFont>().resolve(view->font()));
                const int rowsHigh = shown.height() / metrics.lineSpacing();
                if (lines.at(row).startsWith("! ") || row == lines.size() - 1) {
                    QVERIFY2(rowsHigh * shown.width() >= metrics.horizontalAdvance(index.data().toString()),
                             qPrintable(QString::number(width)));
                    QVERIFY(view->viewport()->rect().contains(shown));
                } else {
                    QCOMPARE(rowsHigh, 1);
                }
            }
        }
        // Save as text takes them all, with .txt added to a bare name.
        answerDialogsWith(workDir->filePath("traffic"));
        page->findChild<QPushButton *>("pushButtonSaveText")->click();
        QCOMPARE(QString::fromUtf8(readFile(workDir->filePath("traffic.txt"))).remove('\r'), page->model()->text());
        // Copy takes the chosen lines; Escape closes the page.
        view->selectionModel()->select(page->model()->index(1), QItemSelectionModel::Select);
        page->findChild<QPushButton *>("pushButtonCopy")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), page->model()->index(1).data().toString() + "\n");
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!page->isVisible());
    }

    // Every Write is journalled with what the modem held as the Write found
    // it, even when a Read of another modem on the same port came before;
    // the History page lists it and loads it back, and a Write of it
    // restores every byte.
    void journalAndTheWayBack_data()
    {
        QTest::addColumn<bool>("readFirst");
        QTest::addColumn<bool>("swapped");       // another modem plugged in after the Read
        QTest::addColumn<QStringList>("changed");
        const QString apn = "apnServer: internet.beeline.ru → changed";
        QTest::newRow("after a Read") << true << false << QStringList{apn};
        QTest::newRow("after a Read, another modem plugged in") << true << true
            << QStringList{apn, "apnLogin: beeline&co → König-Müller-1"};
        QTest::newRow("after a Load") << false << false << QStringList{"apnLogin: König-Müller-1 → beeline&co"};
    }

    void journalAndTheWayBack()
    {
        QFETCH(bool, readFirst);
        QFETCH(bool, swapped);
        QFETCH(QStringList, changed);
        // With no journal the page says what it will hold, until a Write.
        QVERIFY(QDir(UserFolders::journalFolder()).removeRecursively());
        click("pushButtonHistory");
        auto *list = window->findChild<QTreeWidget *>("historyList");
        QVERIFY(widget<QLabel>("emptyLabel")->isVisible() && !list->isVisible());
        Golden::loadInto(*modem);
        const QVector<quint16> latin1 =
            Golden::registersOf(QByteArray(Golden::settingsBlock).replace(74, 14, "K\xF6nig-M\xFCller-1"));
        modem->setRegisters(0, latin1);
        if (readFirst) {
            widget("comPortLineEdit")->setText(modem->connectionText());
            widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(true);
            click("pushButtonRead");
            QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(readWords()), 20000);
            widget("apnServerLineEdit")->setText("changed");
        } else {
            load(Golden::fileWith({{"ComPort", connection().toUtf8()}, {"EnableKeepCon", "1"}}));
        }
        if (swapped)
            Golden::loadInto(*modem);
        const QVector<quint16> held = modem->registers(0, 71);
        modem->clearReceivedFrames();
        click("pushButtonWrite");
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(writtenWords()), 20000);
        QCOMPARE(modem->receivedFrames().size(), 10);

        click("pushButtonHistory");
        QVERIFY(list->isVisible() && !widget<QLabel>("emptyLabel")->isVisible());
        const QTreeWidgetItem *newest = list->topLevelItem(0);
        QCOMPARE(QStringList({newest->text(1), newest->text(2), newest->text(3), newest->text(4)}),
                 QStringList({connection(), "+79161234567", "written", changed.join("; ")}));
        QCOMPARE(list->currentItem(), newest);
        window->findChild<QPushButton *>("pushButtonLoadPrevious")->click();
        QVERIFY2(status().startsWith("Loaded ") && status().endsWith("previous.xml"), qPrintable(status()));
        click("pushButtonWrite");
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(writtenWords()), 20000);
        QCOMPARE(modem->registers(0, 71), held);
        QStringList back;
        for (const QString &change : changed)
            back << change.section(": ", 0, 0) + ": " + change.section(" → ", 1) + " → "
                        + change.section(": ", 1).section(" → ", 0, 0);
        QCOMPARE(list->topLevelItem(0)->text(4), back.join("; "));
    }

    // A login another tool stored in Latin-1, filling its field, shows as
    // such and, untouched, goes back byte for byte: written from the form,
    // or saved and loaded into another window first.
    void untouchedLatin1TextIsWrittenAsItCame()
    {
        Golden::loadInto(*modem);
        const QVector<quint16> held =
            Golden::registersOf(QByteArray(Golden::settingsBlock).replace(74, 14, "K\xF6nig-M\xFCller-1"));
        modem->setRegisters(0, held);
        widget("comPortLineEdit")->setText(modem->connectionText());
        widget<QCheckBox>("EnableKeepConncheckBox")->setChecked(true);
        click("pushButtonRead");
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(readWords()), 20000);
        QCOMPARE(widget("apnLoginLineEdit")->text(), QString("König-Müller-1"));
        saved();
        for (bool throughAFile : {false, true}) {
            if (throughAFile) {
                window = newWindow();
                answerDialogsWith(workDir->filePath("saved.xml"));
                click("pushButtonLoad");
            }
            modem->setRegisters(0, QVector<quint16>(71, 0));
            click("pushButtonWrite");
            QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(writtenWords()), 20000);
            QCOMPARE(modem->registers(0, 71), held);
        }
    }

    // A file the command-line tool read from the modem loads into the window
    // whole, and the window's file writes the same registers through the tool.
    void settingsFilesPassBetweenWindowAndTool()
    {
        Golden::loadInto(*modem);
        QBuffer out, err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const QString toolFile = workDir->filePath("tool.xml");
        QCOMPARE(runCommandLine({"read", modem->connectionText(), toolFile}, out, err), 0);
        answerDialogsWith(toolFile);
        click("pushButtonLoad");
        saved();
        modem->setRegisters(0, QVector<quint16>(ModbusSlave::RegisterCount, 0));
        QCOMPARE(runCommandLine({"write", modem->connectionText(), workDir->filePath("saved.xml")}, out, err), 0);
        setTraceOutput(stdout);   // the tool had turned the trace off
        QCOMPARE(storedSettings(*modem), Golden::record());
    }

    // Detect modem tries the port in the field at every rate, 9600 first,
    // and puts the connection the modem answers on into the field.
    void detectionFillsTheConnection()
    {
        SimulatedModemOptions at19200;
        at19200.baudRate = 19200;
        modem->setOptions(at19200);
        widget("comPortLineEdit")->setText(ConnectionText::of(modem->portName()));
        QStringList shown;
        connect(window->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) { shown << message; });
        auto *picker = window->findChild<PortPicker *>();
        picker->openAction()->trigger();
        picker->menu()->actions().last()->trigger();
        // A Write asked for during a detection is dropped, as during any job, with a word.
        click("pushButtonWrite");
        QTRY_COMPARE_WITH_TIMEOUT(widget("comPortLineEdit")->text(), modem->connectionText(), 20000);
        // Every port is searched at once, so the machine's other ports speak in between.
        QCOMPARE(shown.first(), "A job is still running, so this one was not started: try again when it ends");
        QVERIFY(shown.contains("Trying dev=" + modem->portName() + ";baud=9600"));
        QCOMPARE(shown.last(), "The modem answers on " + modem->connectionText());
        QCOMPARE(worker().job(), int(MyThread::JobDetect));
    }

    // The worker's sentences as the window says them, in each language,
    // with what the worker added after them kept; a sentence inside
    // another's words is found there too.
    void workersSentencesInTheWindowsWords_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("failure");   // DeviceProcedures::Failure; -1: not known
        QTest::addColumn<QString>("words");   // in English
        const int none = -1, cutShort = int(DeviceProcedures::Failure::CutShort);
        QTest::newRow("port") << "The Port dev=COM7;baud=9600 was not open. Access is denied." << none
                              << "The port dev=COM7;baud=9600 did not open. Access is denied.";
        QTest::newRow("no port") << "The Port  was not open. The connection has no dev part" << none
                                 << "The default port did not open. The connection has no dev part";
        QTest::newRow("silence") << "There is bad CRC16 sum of 0 bytes. Check the cable" << none
                                 << "No answer from the modem. Check the cable";
        QTest::newRow("cut short") << "There is bad CRC16 sum of 8 bytes" << cutShort
                                   << "The modem's answer broke off after 8 bytes";
        QTest::newRow("damaged") << "There is bad CRC16 sum of 147 bytes" << none
                                 << "An answer of 147 bytes came damaged: its check sum is wrong";
        QTest::newRow("at a step, in a Write's words") << "Nothing was written: There is bad CRC16 sum of 1 bytes on 3 step"
            << none << "Nothing was written: An answer of 1 byte came damaged: its check sum is wrong, while writing "
                       "block 4 of 5";
        QTest::newRow("progress") << "Recieved 0[31] bytes" << none << "Reading: block 2 of 5 is in…";
        QTest::newRow("a number whole") << "Recieved 145 bytes" << none << "Reading: block 1 of 5 is in…";
        QTest::newRow("read") << "It is Readed 31" << none << "Read: all 35 settings";
        QTest::newRow("write progress") << "Recieved 40%" << none << "Writing: 40% done…";
        QTest::newRow("written") << "It is Ready 100%" << none << "Written: the modem took every block";
        QTest::newRow("exception") << "The device answered with exception 2 on 1 step" << none
                                   << "The modem refused the request: Modbus exception 2, illegal data address, while "
                                      "writing block 2 of 5";
        QTest::newRow("unasked") << "There are 3 bytes on the line that no request asked for" << none
                                 << "3 bytes came that no request asked for, so the request was not sent";
        QTest::newRow("surplus") << "There are 16 bytes where one answer of 8 was due on 2 step" << none
                                 << "16 bytes came where one answer of 8 was due, while writing block 3 of 5";
        QTest::newRow("mismatch") << "The answer of 8 bytes does not match the request" << none
                                  << "An answer of 8 bytes came that does not fit the request";
        QTest::newRow("none of them") << "Verified: the modem holds what was written" << none
                                      << "Verified: the modem holds what was written";
    }

    void workersSentencesInTheWindowsWords()
    {
        QFETCH(QString, message);
        QFETCH(int, failure);
        QFETCH(QString, words);
        JobWords::Context context;
        if (failure >= 0)
            context.failure = DeviceProcedures::Failure(failure);
        QVERIFY(QCoreApplication::installTranslator(&english));
        QCOMPARE(JobWords::shown(message, context), words);
        QCoreApplication::removeTranslator(&english);
        // The Russian window says none of the worker's English.
        QVERIFY(QCoreApplication::installTranslator(&russian));
        const QString russianWords = JobWords::shown(message, context);
        QCoreApplication::removeTranslator(&russian);
        if (QTest::currentDataTag() == QLatin1String("none of them"))
            return;
        const WorkerMessages::Found found = WorkerMessages::find(message);
        QVERIFY(found.exists());
        const QString before = message.left(found.position), after = message.mid(found.position + found.length);
        QVERIFY2(russianWords.startsWith(before) && russianWords.endsWith(after), qPrintable(russianWords));
        const QString said = russianWords.mid(before.size(), russianWords.size() - before.size() - after.size());
        QVERIFY2(said.contains(QRegularExpression("\\p{Cyrillic}")), qPrintable(said));
        QVERIFY2(!said.contains(QRegularExpression("\\b(?!Modbus\\b)[A-Za-z]{3,}")) || said.contains("dev="),
                 qPrintable(said));
    }

    // A Read can be stopped, by Escape or by Read turned Stop, as closing
    // stops it. One that fails or is stopped leaves the form as it was, and
    // the window says that its values are not this modem's until a Load.
    void aReadStoppedOrFailedMarksTheForm_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Stop in place of Read") << "Stop";
        QTest::newRow("silence to the end") << "";
    }

    void aReadStoppedOrFailedMarksTheForm()
    {
        QFETCH(QString, how);
        const QByteArray settings = Golden::fileWith({{"ComPort", modem->connectionText().toUtf8()}});
        load(settings);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QString title = window->windowTitle();
        SimulatedModemOptions silent;
        silent.silent = true;
        modem->setOptions(silent);
        auto *read = widget<QPushButton>("pushButtonRead");
        const QString readText = read->text();
        click("pushButtonRead");
        QTRY_COMPARE(modem->receivedFrames().size(), 1);
        QCOMPARE(read->text(), QCoreApplication::translate("MainWindow", "Stop (Esc)"));
        if (how == "Escape")
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else if (how == "Stop")
            click("pushButtonRead");
        QTRY_VERIFY_WITH_TIMEOUT(!worker().isRunning(), 20000);
        // A stopped job says no last word of its own.
        QCOMPARE(worker().lastWord().isEmpty(), !how.isEmpty());
        QTRY_VERIFY2(status().startsWith(how.isEmpty() ? QCoreApplication::translate("JobWords", "No answer from the modem")
                                                   : QCoreApplication::translate("MainWindow", "Stopped: nothing was changed")),
                 qPrintable(status()));
        QCOMPARE(modem->receivedFrames().size(), 1);
        QCOMPARE(read->text(), readText);
        QCOMPARE(widget("apnServerLineEdit")->text(), Golden::record().value(DeviceSettings::indexOfKey("apnServer")));
        QCOMPARE(window->windowTitle(),
                 QCoreApplication::translate("MainWindow", "%1 — the values shown were not read from this modem").arg(title));
        QCOMPARE(widget("apnServerLineEdit")->palette().color(QPalette::Text),
                 window->palette().color(QPalette::Disabled, QPalette::Text));
        load(settings);
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(widget("apnServerLineEdit")->palette().color(QPalette::Text), window->palette().color(QPalette::Text));
    }

    // Closing abandons a Read at once, but lets a Write finish: the modem
    // never keeps half of one. A Write that fails keeps the window open on
    // its message.
    void closingDuringAJob_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("failingBlock");   // the first register of the block whose answer is bad; -1 none
        QTest::newRow("Read: abandoned at once") << false << -1;
        QTest::newRow("Write: finished, then closed") << true << -1;
        QTest::newRow("Write failing at step 3: stays open") << true << 0x180;
    }

    void closingDuringAJob()
    {
        QFETCH(bool, write);
        QFETCH(int, failingBlock);
        SimulatedModemOptions options;
        options.silent = !write;
        options.answerDelayMs = 200;
        load(Golden::fileWith({{"ComPort", modem->connectionText().toUtf8()}, {"EnableKeepCon", "1"}}));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        modem->clearReceivedFrames();
        modem->setOptions(options);
        click(write ? "pushButtonWrite" : "pushButtonRead");
        QTRY_COMPARE(modem->receivedFrames().size(), 1);
        if (!write) {
            // The link would wait six seconds for the silent modem; closing must not.
            QElapsedTimer closing;
            closing.start();
            QVERIFY(window->close());
            window.reset();
            QVERIFY2(closing.elapsed() < 3000, qPrintable(QString::number(closing.elapsed())));
            QSerialPort port(modem->portName());
            QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
            return;
        }
        QStringList shown;
        connect(window->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) { shown << message; });
        QVERIFY(!window->close());
        QCOMPARE(status(), QString("Finishing the Write before closing…"));
        // The Write reads the modem first; its own blocks fail, once that Read
        // is in (the modem waits 200 ms before each answer).
        QTRY_VERIFY_WITH_TIMEOUT(modem->receivedFrames().size() >= 5, 20000);
        options.wrongCrcBlock = failingBlock;
        modem->setOptions(options);
        if (failingBlock < 0) {
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
            QCOMPARE(storedSettings(*modem), Golden::record());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(QCoreApplication::translate("JobWords", "%1, while writing block %2 of %3")
                                         .arg(QCoreApplication::translate("JobWords", "An answer of %n byte(s) came damaged: its check sum is wrong", nullptr, 8))
                                         .arg(4).arg(5) + ". "), 20000);
            QVERIFY(window->isVisible());
        }
        QCOMPARE(modem->receivedFrames().size(), failingBlock < 0 ? 10 : 9);
        // Until its last word the Write's progress shows beside the reason the window stays.
        QVERIFY(shown.size() >= 3);
        for (const QString &message : shown.mid(0, shown.size() - 1))
            QVERIFY2(message.startsWith("Finishing the Write before closing…"), qPrintable(message));
    }

#endif

private:
    template <typename T = QLineEdit>
    T *widget(const QString &name) const { return window->findChild<T *>(name); }
    QString status() const { return window->statusBar()->currentMessage(); }
    // How the window says that a Read or a Write went through.
    static QString readWords() { return QCoreApplication::translate("JobWords", "Read: all %1 settings").arg(35); }
    static QString writtenWords() { return QCoreApplication::translate("JobWords", "Written: the modem took every block"); }
    void click(const char *button) { widget<QPushButton>(button)->click(); }
    // Alt and a letter of either script, as a keyboard in that layout sends it.
    void altKey(QChar letter)
    {
        for (auto action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, window.get(), Qt::Key(letter.unicode()), QString(letter), Qt::AltModifier);
    }
    MyThread &worker() const { return *window->findChild<MyThread *>(); }
    // The window's file dialogs note what they were asked and answer `dialogAnswer`.
    std::unique_ptr<MainWindow> newWindow()
    {
        return std::make_unique<MainWindow>(nullptr, [this](const QString &caption, const QString &filter,
                                                            const QString &folder) {
            dialogs << caption + "|" + filter;
            dialogFolder = folder;
            return dialogAnswer;
        });
    }
    void answerDialogsWith(const QString &fileName) { dialogAnswer = fileName; }
    void load(const QByteArray &document)
    {
        QVERIFY(writeFile(workDir->filePath("load.xml"), document));
        answerDialogsWith(workDir->filePath("load.xml"));
        click("pushButtonLoad");
    }
    QByteArray saved()
    {
        answerDialogsWith(workDir->filePath("saved.xml"));
        click("pushButtonSave");
        return readFile(workDir->filePath("saved.xml"));
    }

    QTemporaryDir dataHome;
    QString startDir;
    QTranslator russian;
    QTranslator english;
    QTranslator qtRussian;
    QStringList dialogs;
    QString dialogAnswer;
    QString dialogFolder;   // where the last dialog would have opened
    std::unique_ptr<QTemporaryDir> workDir;
#ifdef GPRS_SIMULATED_MODEM
    std::unique_ptr<SimulatedModem> modem;
    QString connection() const { return modem->connectionText(); }
#else
    // No modem: a port that nothing opens.
    QString connection() const { return "dev=COM200;baud=9600"; }
#endif
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(TestWindowActions)
#include "tst_window.moc"
