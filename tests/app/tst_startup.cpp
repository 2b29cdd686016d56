// Start-up away from the executable's folder: the translation comes from
// the folder beside the program, the start-up settings from the working
// folder, and the traces on standard output come in the right order.

#include "mainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char startupDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<conf>\n"
    "    <prm>\n"
    "        <ComPort name=\"dev=/dev/ttyUSB1;baud=19200\"/>\n"
    "        <TxSetting name=\"9600,8,1,N,0,0\"/>\n"
    "        <note/>\n"
    "    </prm>\n"
    "</conf>\n";

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void translationBesideProgramSettingsInWorkingFolder();
    void tracesOfTheRealProgram_data();
    void tracesOfTheRealProgram();

private:
    QString startDir;
};

void TestStartup::initTestCase()
{
    startDir = QDir::currentPath();
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + "/languages/translate_ru.qm"),
             "the build puts the translation beside this test");
}

void TestStartup::cleanup()
{
    QDir::setCurrent(startDir);
}

void TestStartup::translationBesideProgramSettingsInWorkingFolder()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(writeFile(work.filePath("simconf.xml"), startupDocument));
    QVERIFY(QDir::setCurrent(work.path()));
    QVERIFY(QDir::currentPath() != QCoreApplication::applicationDirPath());

    MainWindow window;
    // Russian, so the translation was found under the program's own folder...
    QCOMPARE(window.windowTitle(), QStringLiteral("Конфигуратор GPRS"));
    // ...and the settings came from the working folder.
    auto field = [&](const char *name) { return window.findChild<QLineEdit *>(name)->text(); };
    QCOMPARE(field("comPortLineEdit"), QStringLiteral("dev=/dev/ttyUSB1;baud=19200"));
    QCOMPARE(field("TxSettingLineEdit"), QStringLiteral("9600,8,1,N,0,0"));
    QCOMPARE(window.statusBar()->currentMessage(), QString());
}

void TestStartup::tracesOfTheRealProgram_data()
{
    QTest::addColumn<bool>("withSettings");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("expected");
    const QStringList loaderTraces = {"xml.name = <conf>", "xml.name = <prm>", "xml.name = <ComPort>",
                                      "xml.nameatr = <dev=/dev/ttyUSB1;baud=19200>", "xml.name = <TxSetting>",
                                      "xml.nameatr = <9600,8,1,N,0,0>", "xml.name = <note>"};
    QTest::newRow("simconf.xml, German locale")
        << true << "de_DE.UTF-8" << (loaderTraces + QStringList{"language de_DE"});
    QTest::newRow("simconf.xml, Russian locale")
        << true << "ru_RU.UTF-8" << (loaderTraces + QStringList{"language ru_RU"});
    QTest::newRow("no simconf.xml") << false << "en_GB.UTF-8" << QStringList{"language en_GB"};
}

void TestStartup::tracesOfTheRealProgram()
{
    QFETCH(bool, withSettings);
    QFETCH(QString, locale);
    QFETCH(QStringList, expected);

    const QString program = QStringLiteral(GPRS_TEST_BUILD_DIR "/gprs-configurator");
    QVERIFY2(QFile::exists(program), qPrintable(program));
    QTemporaryDir work;
    QVERIFY(work.isValid());
    if (withSettings)
        QVERIFY(writeFile(work.filePath("simconf.xml"), startupDocument));

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", locale);
    env.insert("LANG", locale);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QByteArray output;
    connect(&process, &QProcess::readyReadStandardOutput, &process,
            [&] { output += process.readAllStandardOutput(); });
    process.start(program, QStringList());

    // The program has no way to be told to quit: it runs until its window
    // closes, so it is stopped once the last start-up trace is out.
    QTRY_VERIFY_WITH_TIMEOUT(output.contains("language "), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(output.endsWith('\n'), 60000);
    process.kill();
    QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, 60000);
    output += process.readAllStandardOutput();

    const QStringList lines = QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, expected);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
