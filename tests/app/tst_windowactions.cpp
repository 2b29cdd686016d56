// The window's actions from end to end: Read and Write against the simulated
// modem on a pseudo-terminal, Save and Load through real files, the upload
// request, and closing the window in the middle of a job.

#include "devicesettings.h"
#include "filedialogs.h"
#include "mainwindow.h"
#include "settingsfile.h"
#include "settingsfiletesting.h"
#include "settingsimage.h"
#include "simulatedmodem.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// What a technician's modem might hold; KeepCon 2 proves any non-zero
// number checks the box.
DeviceSettings deviceRecord()
{
    DeviceSettings record;
    const QStringList values = {
        "internet.mts.ru", "mts", "secret", "+79161234567", "+79160000001", "+79160000002",
        "10.20.30.40", "8.8.8.8", "8.8.4.4", "17", "115200,8,1,N,0,0", "9600,8,2,E,1,0",
        "120", "3000", "60", "120", "300", "50", "20", "512", "3", "2", "2",
        "+79031111111", "+79032222222", "+79033333333", "+79034444444",
        "192.168.1.10", "192.168.1.11", "192.168.1.12", "192.168.1.13",
        "502", "503", "504", "505"};
    for (int index = 0; index < DeviceSettings::Count; ++index)
        record.setValue(index, values.at(index));
    return record;
}

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestWindowActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readFillsTheFormOnce_data();
    void readFillsTheFormOnce();
    void writeOfAnUnchangedFormSendsTheSameRegisters();
    void writeRefusesValuesTheModemCannotHold_data();
    void writeRefusesValuesTheModemCannotHold();
    void failedReadLeavesFormAndRecord();
    void saveThenLoadRestoresAllSettings_data();
    void saveThenLoadRestoresAllSettings();
    void saveFailureKeepsOldFileAndSaysSo();
    void cancelledDialogsCreateNothing();
    void damagedFileChangesNothing_data();
    void damagedFileChangesNothing();
    void loadAppliesByKey();
    void uploadList_data();
    void uploadList();
    void closingDuringReadIsPromptAndClosesThePort();

private:
    QLineEdit *edit(const char *name) const { return window->findChild<QLineEdit *>(name); }
    QCheckBox *box(const char *name) const { return window->findChild<QCheckBox *>(name); }
    QString status() const { return window->statusBar()->currentMessage(); }
    void click(const char *button) { window->findChild<QPushButton *>(button)->click(); }
    MyThread &worker() const { return window->worker; }
    void answerDialogsWith(const QString &fileName);
    // Every value the window would store, in file order.
    QString savedDocument();

    QString startDir;
    std::unique_ptr<QTemporaryDir> workDir;
    std::unique_ptr<SimulatedModem> modem;
    std::unique_ptr<MainWindow> window;
};

void TestWindowActions::initTestCase()
{
    startDir = QDir::currentPath();
}

void TestWindowActions::init()
{
    workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir->isValid());
    QVERIFY(QDir::setCurrent(workDir->path()));
    modem = std::make_unique<SimulatedModem>();
    QVERIFY2(modem->start(), qPrintable(modem->errorString()));
    window = std::make_unique<MainWindow>();
}

void TestWindowActions::cleanup()
{
    window.reset();
    modem.reset();
    setFileDialogAnswerForTesting({});
    setSaveCommitFailureForTesting(false);
    QDir::setCurrent(startDir);
    workDir->setAutoRemove(!QTest::currentTestFailed());
    workDir.reset();
}

void TestWindowActions::answerDialogsWith(const QString &fileName)
{
    setFileDialogAnswerForTesting([fileName](const QString &, const QString &) { return fileName; });
}

QString TestWindowActions::savedDocument()
{
    const QString fileName = workDir->filePath("saved-for-compare.xml");
    answerDialogsWith(fileName);
    click("pushButtonSave");
    return QString::fromUtf8(readFile(fileName));
}

void TestWindowActions::readFillsTheFormOnce_data()
{
    QTest::addColumn<bool>("keepConEnabled");
    QTest::addColumn<QString>("expectedFirstAnswer");
    QTest::newRow("70 registers") << false << "Recieved 145 bytes";
    QTest::newRow("71 registers") << true << "Recieved 147 bytes";
}

void TestWindowActions::readFillsTheFormOnce()
{
    QFETCH(bool, keepConEnabled);
    QFETCH(QString, expectedFirstAnswer);
    const DeviceSettings record = deviceRecord();
    storeSettings(*modem, record);

    edit("comPortLineEdit")->setText(modem->connectionText());
    box("EnableKeepConncheckBox")->setChecked(keepConEnabled);
    QStringList shown;
    QStringList apnWhenShown;
    connect(window->statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) {
        shown << message;
        apnWhenShown << edit("apnServerLineEdit")->text();
    });

    click("pushButtonRead");
    QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("It is Readed 31"), 20000);

    const QStringList expected = {
        "Start process whith " + modem->connectionText(), expectedFirstAnswer,
        "Recieved 0[31] bytes", "Recieved 1[31] bytes", "Recieved 2[31] bytes",
        "Recieved 3[31] bytes", "It is Readed 31"};
    QCOMPARE(shown, expected);
    // Each message is shown before anything else happens, so the form was
    // still empty at every one: the progress messages did not fill it, and
    // the last one did, right after it was shown.
    QCOMPARE(apnWhenShown, QVector<QString>(expected.size()).toList());
    QCOMPARE(edit("apnServerLineEdit")->text(), QStringLiteral("internet.mts.ru"));

    const QVector<QPair<int, const char *>> fields = {
        {DeviceSettings::apnServer, "apnServerLineEdit"}, {DeviceSettings::apnLogin, "apnLoginLineEdit"},
        {DeviceSettings::apnPassword, "apnPasswordLineEdit"}, {DeviceSettings::TxSetting, "TxSettingLineEdit"},
        {DeviceSettings::RxSetting, "RxSettingLineEdit"}, {DeviceSettings::ToutWaitAnsw, "ToutAnswLineEdit"},
        {DeviceSettings::ToutWaitNextPacket, "ToutNextLineEdit"},
        {DeviceSettings::ToutBetwenBytes, "ToutBetwenLineEdit"}, {DeviceSettings::TryNum, "TryNumLineEdit"},
        {DeviceSettings::PhNum1, "PhNum1LineEdit"}, {DeviceSettings::PhNum2, "PhNum2LineEdit"},
        {DeviceSettings::PhNum3, "PhNum3LineEdit"}, {DeviceSettings::PhNum4, "PhNum4LineEdit"},
        {DeviceSettings::MirrServ1, "MirrServ1LineEdit"}, {DeviceSettings::MirrServ2, "MirrServ2LineEdit"},
        {DeviceSettings::MirrServ3, "MirrServ3LineEdit"}, {DeviceSettings::MirrServ4, "MirrServ4LineEdit"},
        {DeviceSettings::MirrPort1, "MirrPort1LineEdit"}, {DeviceSettings::MirrPort2, "MirrPort2LineEdit"},
        {DeviceSettings::MirrPort3, "MirrPort3LineEdit"}, {DeviceSettings::MirrPort4, "MirrPort4LineEdit"}};
    for (const auto &field : fields)
        QCOMPARE(edit(field.second)->text(), record.value(field.first));
    // Without the keep-connection register the entry reads as 0.
    QCOMPARE(box("KeepConncheckBox")->isChecked(), keepConEnabled);
    // A response never touches the connection or its flag.
    QCOMPARE(edit("comPortLineEdit")->text(), modem->connectionText());
    QCOMPARE(box("EnableKeepConncheckBox")->isChecked(), keepConEnabled);

    // The 13 entries without a field stay in the record, where Save finds them.
    const QString document = savedDocument();
    QVERIFY(document.contains(R"(<own_Ph name="+79161234567"/>)"));
    QVERIFY(document.contains(R"(<IP name="10.20.30.40"/>)"));
    QVERIFY(document.contains(R"(<ToutWaitNext name="120"/>)"));
    QVERIFY(document.contains(R"(<AnswersNum name="2"/>)"));
}

void TestWindowActions::writeOfAnUnchangedFormSendsTheSameRegisters()
{
    const DeviceSettings record = deviceRecord();
    storeSettings(*modem, record);
    const QVector<quint16> settingsBefore = modem->registers(0, 71);
    edit("comPortLineEdit")->setText(modem->connectionText());
    box("EnableKeepConncheckBox")->setChecked(true);
    click("pushButtonRead");
    QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("It is Readed 31"), 20000);

    // Wipe the modem, so only the Write can bring the values back.
    modem->setRegisters(0, QVector<quint16>(256, 0));
    modem->setRegisters(256, QVector<quint16>(256, 0));
    QStringList shown;
    connect(window->statusBar(), &QStatusBar::messageChanged, this,
            [&](const QString &message) { shown << message; });
    click("pushButtonWrite");
    QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("It is Ready 100%"), 20000);

    const QStringList expected = {
        "Start process whith " + modem->connectionText(), "Recieved 20%", "Recieved 40%",
        "Recieved 60%", "Recieved 80%", "Recieved 100%", "It is Ready 100%"};
    QCOMPARE(shown, expected);
    // The check box holds only checked or not, so the KeepCon of 2 goes back as 1.
    QCOMPARE(modem->registers(0, 70), settingsBefore.mid(0, 70));
    QCOMPARE(modem->reg(70), quint16(1));
    DeviceSettings written = record;
    written.setValue(DeviceSettings::KeepCon, "1");
    QCOMPARE(storedSettings(*modem), written);
}

void TestWindowActions::writeRefusesValuesTheModemCannotHold_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("baud not in the table") << "TxSettingLineEdit" << "56000,8,1,N,0,0" << "TxSetting";
    QTest::newRow("port above 16 bits") << "MirrPort2LineEdit" << "70000" << "MirrPort2";
    QTest::newRow("octet above 255") << "MirrServ3LineEdit" << "10.0.0.256" << "MirrServ3";
    QTest::newRow("APN longer than its field") << "apnServerLineEdit" << QString(33, 'a') << "apnServer";
    QTest::newRow("login of Cyrillic letters too long") << "apnLoginLineEdit"
                                                       << QStringLiteral("пользователь") << "apnLogin";
}

void TestWindowActions::writeRefusesValuesTheModemCannotHold()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, key);
    edit("comPortLineEdit")->setText(modem->connectionText());
    window->findChild<QLineEdit *>(field)->setText(text);

    click("pushButtonWrite");
    QVERIFY2(status().contains(key), qPrintable(status()));
    QVERIFY(!worker().isRunning());
    QCOMPARE(worker().job(), 0);
    QCOMPARE(modem->receivedFrames().size(), 0);
}

void TestWindowActions::failedReadLeavesFormAndRecord()
{
    // A device without the keep-connection register refuses the 71-register read.
    SimulatedModemOptions options = modem->options();
    options.oldFirmware = true;
    modem->setOptions(options);
    storeSettings(*modem, deviceRecord());

    const QString file = workDir->filePath("before.xml");
    QVERIFY(writeFile(file, "<conf><prm><own_Ph name=\"555\"/><apnServer name=\"apn.local\"/></prm></conf>"));
    answerDialogsWith(file);
    click("pushButtonLoad");
    edit("comPortLineEdit")->setText(modem->connectionText());
    box("EnableKeepConncheckBox")->setChecked(true);
    const QString before = savedDocument();

    click("pushButtonRead");
    QTRY_COMPARE_WITH_TIMEOUT(status(), QStringLiteral("The device answered with exception 2"), 20000);
    QTRY_VERIFY(!worker().isRunning());
    QCOMPARE(edit("apnServerLineEdit")->text(), QStringLiteral("apn.local"));
    QCOMPARE(savedDocument(), before);
}

void TestWindowActions::saveThenLoadRestoresAllSettings_data()
{
    QTest::addColumn<QString>("flavour");
    QTest::newRow("ascii") << "plain-";
    QTest::newRow("cyrillic") << QStringLiteral("Связь-");
    QTest::newRow("markup") << "a&b<c>\"d\"\t\r\n-";
}

void TestWindowActions::saveThenLoadRestoresAllSettings()
{
    QFETCH(QString, flavour);
    // Every one of the 37 settings gets its own value: the fields and the
    // connection by typing, the boxes by clicking, the 13 others by a file.
    QByteArray hidden = "<conf>";
    int n = 0;
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (DeviceSettings::hasFormWidget(index))
            continue;
        hidden += "<" + DeviceSettings::key(index).toUtf8() + " name=\"h" + QByteArray::number(++n) + "\"/>";
    }
    hidden += "</conf>";
    QVERIFY(writeFile(workDir->filePath("hidden.xml"), hidden));
    answerDialogsWith(workDir->filePath("hidden.xml"));
    click("pushButtonLoad");

    const auto edits = window->findChildren<QLineEdit *>();
    for (QLineEdit *line : edits)
        line->setText(flavour + line->objectName());
    box("KeepConncheckBox")->setChecked(true);
    box("EnableKeepConncheckBox")->setChecked(false);

    const QString fileName = workDir->filePath("site.xml");
    answerDialogsWith(fileName);
    click("pushButtonSave");
    const QByteArray saved = readFile(fileName);
    QCOMPARE(saved.count('\n'), 42);

    // Another window, started without any start-up file, loads it back.
    auto other = std::make_unique<MainWindow>();
    answerDialogsWith(fileName);
    other->findChild<QPushButton *>("pushButtonLoad")->click();
    for (QLineEdit *line : edits)
        QCOMPARE(other->findChild<QLineEdit *>(line->objectName())->text(), line->text());
    QVERIFY(other->findChild<QCheckBox *>("KeepConncheckBox")->isChecked());
    QVERIFY(!other->findChild<QCheckBox *>("EnableKeepConncheckBox")->isChecked());
    // Saving the second window gives the same document: the hidden ones too.
    std::swap(window, other);
    QCOMPARE(savedDocument().toUtf8(), saved);
}

void TestWindowActions::saveFailureKeepsOldFileAndSaysSo()
{
    const QString fileName = workDir->filePath("site.xml");
    QVERIFY(writeFile(fileName, "old and whole"));
    edit("apnServerLineEdit")->setText("new.apn");
    setSaveCommitFailureForTesting(true);
    answerDialogsWith(fileName);
    click("pushButtonSave");
    QCOMPARE(readFile(fileName), QByteArray("old and whole"));
    QVERIFY2(status().startsWith("The configuration file was not saved"), qPrintable(status()));

    // A folder where the file should be: refused as well, with the same message.
    setSaveCommitFailureForTesting(false);
    window->statusBar()->clearMessage();
    QVERIFY(QDir(workDir->path()).mkdir("folder.xml"));
    answerDialogsWith(workDir->filePath("folder.xml"));
    click("pushButtonSave");
    QVERIFY2(status().startsWith("The configuration file was not saved"), qPrintable(status()));
}

void TestWindowActions::cancelledDialogsCreateNothing()
{
    window->statusBar()->clearMessage();
    answerDialogsWith(QString());
    click("pushButtonSave");
    QCOMPARE(status(), QString());
    QCOMPARE(QDir(workDir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    click("pushButtonLoad");
    QCOMPARE(status(), QStringLiteral("There is not the configaration file"));
}

void TestWindowActions::damagedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("line");
    QTest::newRow("truncated") << QByteArray("<conf>\n<prm>\n<apnServer name=\"broken\"/>\n<TryNum name=\"9\"") << 4;
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe", 5) << 1;
    QTest::newRow("entity bomb")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE conf [\n<!ENTITY a \"aaaaaaaaaa\">\n"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n"
                      "<conf><apnServer name=\"&c;\"/></conf>\n")
        << 6;   // a settings file has no DOCTYPE: refused where it ends
}

void TestWindowActions::damagedFileChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    edit("apnServerLineEdit")->setText("kept");
    const QString fileName = workDir->filePath("damaged.xml");
    QVERIFY(writeFile(fileName, content));
    answerDialogsWith(fileName);
    click("pushButtonLoad");
    QCOMPARE(edit("apnServerLineEdit")->text(), QStringLiteral("kept"));
    QCOMPARE(edit("TryNumLineEdit")->text(), QString());
    QCOMPARE(status(), QStringLiteral("The configuration file is damaged at line %1").arg(line));
}

void TestWindowActions::loadAppliesByKey()
{
    const QString fileName = workDir->filePath("keys.xml");
    QVERIFY(writeFile(fileName, "<root>\n"
                                "  <PhNum1 name=\"first\"/>\n"
                                "  <deep><PhNum1 name=\"second\"/></deep>\n"
                                "  <comport name=\"ignored, other letter case\"/>\n"
                                "  <ComPort/>\n"
                                "  <KeepCon name=\"-1\"/>\n"
                                "  <EnableKeepCon name=\"true\"/>\n"
                                "  <own_Ph name=\"+7000\"/>\n"
                                "  <apnLogin name=\"\"/>\n"
                                "</root>\n"));
    edit("comPortLineEdit")->setText("dev=/dev/ttyS0");
    edit("apnLoginLineEdit")->setText("to be emptied");
    box("EnableKeepConncheckBox")->setChecked(true);
    answerDialogsWith(fileName);
    click("pushButtonLoad");

    QCOMPARE(edit("PhNum1LineEdit")->text(), QStringLiteral("second"));
    QCOMPARE(edit("comPortLineEdit")->text(), QStringLiteral("dev=/dev/ttyS0"));
    QCOMPARE(edit("apnLoginLineEdit")->text(), QString());
    QVERIFY(box("KeepConncheckBox")->isChecked());
    QVERIFY(!box("EnableKeepConncheckBox")->isChecked());
    // own_Ph has no field: it goes to the record only.
    QCOMPARE(worker().settings().value(DeviceSettings::own_Ph), QStringLiteral("+7000"));
    for (QLineEdit *line : window->findChildren<QLineEdit *>())
        QVERIFY2(line->text() != "+7000", qPrintable(line->objectName()));
}

void TestWindowActions::uploadList_data()
{
    QTest::addColumn<QByteArray>("content");   // empty: no list file at all
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("jobStarts");
    QTest::newRow("no list file") << QByteArray() << QStringList() << false;
    QTest::newRow("no file element") << QByteArray("<list><item name=\"a.py\"/></list>") << QStringList() << true;
    QTest::newRow("other letter case")
        << QByteArray("<list><File name=\"a.py\"/><FILE name=\"b.py\"/></list>") << QStringList() << true;
    QTest::newRow("without and with empty name")
        << QByteArray("<list><file/><file name=\"\"/></list>") << QStringList{QString()} << true;
    QTest::newRow("breaks off after two")
        << QByteArray("<list><file name=\"a.py\"/><file name=\"b.py\"/><file name=")
        << QStringList{"a.py", "b.py"} << true;
    QTest::newRow("names outside ASCII")
        << QByteArray("<list><dir><file name=\"скрипт.py\"/></dir></list>")
        << QStringList{QStringLiteral("скрипт.py")} << true;
}

void TestWindowActions::uploadList()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, files);
    QFETCH(bool, jobStarts);

    // A first request leaves names behind that the second one must replace.
    QVERIFY(QDir(workDir->path()).mkdir("python"));
    QVERIFY(writeFile("python/uploader.xml", "<list><file name=\"earlier.py\"/></list>"));
    QVERIFY(QMetaObject::invokeMethod(window.get(), "myUpLoad"));
    QCOMPARE(worker().uploadFiles(), QStringList{"earlier.py"});
    QTRY_VERIFY(!worker().isRunning());

    QFile::remove("python/uploader.xml");
    if (!content.isEmpty())
        QVERIFY(writeFile("python/uploader.xml", content));
    window->statusBar()->clearMessage();
    QVERIFY(QMetaObject::invokeMethod(window.get(), "myUpLoad"));
    QCOMPARE(worker().uploadFiles(), files);
    if (jobStarts) {
        QTRY_VERIFY(!worker().isRunning());
        // No Read or Write came first, so the job has no port to open.
        QTRY_COMPARE(status(), QStringLiteral("The Port  was not open"));
    } else {
        QCOMPARE(status(), QStringLiteral("There is not the update files"));
    }
    QCOMPARE(worker().job(), int(MyThread::JobUpload));
}

void TestWindowActions::closingDuringReadIsPromptAndClosesThePort()
{
    SimulatedModemOptions options = modem->options();
    options.silent = true;
    modem->setOptions(options);
    edit("comPortLineEdit")->setText(modem->connectionText());
    click("pushButtonRead");
    QTRY_COMPARE(status(), "Start process whith " + modem->connectionText());

    // The link would wait six seconds for the silent modem; closing must not.
    QElapsedTimer closing;
    closing.start();
    window.reset();
    QVERIFY2(closing.elapsed() < 3000, qPrintable(QString::number(closing.elapsed())));

    // The port was given back: it opens again at once.
    QSerialPort port(modem->portName());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
}

QTEST_MAIN(TestWindowActions)
#include "tst_windowactions.moc"
