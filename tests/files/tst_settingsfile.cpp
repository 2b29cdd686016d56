#include "settingsfile.h"
#include "settingsfiletesting.h"
#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

// Lets QCOMPARE print both lists of pairs when they differ.
char *toString(const SettingsPairs &pairs)
{
    QByteArray text = "{";
    for (const SettingsPair &pair : pairs)
        text += " (" + pair.first.toUtf8() + ", \"" + pair.second.toUtf8() + "\")";
    return qstrdup(text + " }");
}

namespace {

// A state with every kind of value a form can hold: markup, quotes, line
// breaks, Cyrillic, spaces at both ends, empty entries.
const QStringList knownValues {
    "dev=/dev/ttyUSB0;baud=9600", "internet.mts.ru", "mts & co", "<secret>", "9600-8N1", "19200-8E1",
    "6000", "300", "50", "3", "say \"hi\"", "it's", "a]]>b", "", "502", "line1\nline2", "cr\rtab\t", "",
    "+79001234567", QString::fromUtf8("Привет"), "", "  padded  ", "1", "0",
    "89001112233", "+79168999100", "900", "192.168.0.10", "8.8.8.8", "8.8.4.4", "64",
    "3600", "86400", "120", "1500", "256", "1",
};

const QByteArray knownDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<conf>\n"
    "    <prm>\n"
    "        <ComPort name=\"dev=/dev/ttyUSB0;baud=9600\"/>\n"
    "        <apnServer name=\"internet.mts.ru\"/>\n"
    "        <apnLogin name=\"mts &amp; co\"/>\n"
    "        <apnPassword name=\"&lt;secret&gt;\"/>\n"
    "        <TxSetting name=\"9600-8N1\"/>\n"
    "        <RxSetting name=\"19200-8E1\"/>\n"
    "        <ToutWaitAnsw name=\"6000\"/>\n"
    "        <ToutWaitNextPacket name=\"300\"/>\n"
    "        <ToutBetwenBytes name=\"50\"/>\n"
    "        <TryNum name=\"3\"/>\n"
    "        <MirrServ1 name=\"say &quot;hi&quot;\"/>\n"
    "        <MirrServ2 name=\"it's\"/>\n"
    "        <MirrServ3 name=\"a]]&gt;b\"/>\n"
    "        <MirrServ4 name=\"\"/>\n"
    "        <MirrPort1 name=\"502\"/>\n"
    "        <MirrPort2 name=\"line1&#10;line2\"/>\n"
    "        <MirrPort3 name=\"cr&#13;tab&#9;\"/>\n"
    "        <MirrPort4 name=\"\"/>\n"
    "        <PhNum1 name=\"+79001234567\"/>\n"
    "        <PhNum2 name=\"Привет\"/>\n"
    "        <PhNum3 name=\"\"/>\n"
    "        <PhNum4 name=\"  padded  \"/>\n"
    "        <KeepCon name=\"1\"/>\n"
    "        <EnableKeepCon name=\"0\"/>\n"
    "        <own_Ph name=\"89001112233\"/>\n"
    "        <sc_Ph name=\"+79168999100\"/>\n"
    "        <sms_Ph name=\"900\"/>\n"
    "        <IP name=\"192.168.0.10\"/>\n"
    "        <DNS1 name=\"8.8.8.8\"/>\n"
    "        <DNS2 name=\"8.8.4.4\"/>\n"
    "        <MbsAdr name=\"64\"/>\n"
    "        <RestartTimeSrv name=\"3600\"/>\n"
    "        <RestartTimeMdm name=\"86400\"/>\n"
    "        <DisconnectTime name=\"120\"/>\n"
    "        <ToutWaitNext name=\"1500\"/>\n"
    "        <MaxNumBytes name=\"256\"/>\n"
    "        <AnswersNum name=\"1\"/>\n"
    "    </prm>\n"
    "</conf>\n";

SettingsPairs pairsWithValues(const QStringList &values)
{
    SettingsPairs pairs;
    const QStringList &keys = settingsFileKeys();
    for (int i = 0; i < keys.size() && i < values.size(); ++i)
        pairs.append({keys.at(i), values.at(i)});
    return pairs;
}

// The frame of a document holding the single setting ComPort.
QByteArray comPortDocument(const QByteArray &attributeText)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<conf>\n    <prm>\n        <ComPort name=\"" + attributeText
        + "\"/>\n    </prm>\n</conf>\n";
}

QByteArray firstLines(int count)
{
    return knownDocument.split('\n').mid(0, count).join('\n') + '\n';
}

SettingsFileContent readBytesAsDocument(const QByteArray &bytes, bool traces = false, FILE *sink = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettingsDocument(&buffer, traces, sink);
}

// Runs `read` with its traces going to a real file, and gives what was traced.
template <typename Read>
QByteArray tracesOf(const QString &tracePath, Read read)
{
    FILE *sink = std::fopen(QFile::encodeName(tracePath).constData(), "wb");
    if (!sink)
        return "<no trace file>";
    read(sink);
    std::fclose(sink);
    return readBytes(tracePath);
}

const char secret[] = "TOPSECRET-7f3a";

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void documentForKnownState();
    void valueEscaping_data();
    void valueEscaping();
    void saveReplacesExistingFile();
    void saveFailureKeepsOldFile_data();
    void saveFailureKeepsOldFile();
    void roundTrip_data();
    void roundTrip();

    void load_data();
    void load();
    void doctypeTricksFailSafely_data();
    void doctypeTricksFailSafely();
    void notOpened_data();
    void notOpened();
    void deviceNotOpen();
    void traces_data();
    void traces();

private:
    QTemporaryDir m_dir;
    int m_workCount = 0;
};

void TestSettingsFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeBytes(m_dir.filePath("secret.txt"), secret));
    QVERIFY(writeBytes(m_dir.filePath("secret.dtd"), QByteArray("<!ENTITY x \"") + secret + "\">\n"));
}

void TestSettingsFile::cleanup()
{
    setSaveCommitFailureForTesting(false);
    m_dir.setAutoRemove(!QTest::currentTestFailed() && m_dir.autoRemove());
}

void TestSettingsFile::documentForKnownState()
{
    QCOMPARE(settingsFileKeys().size(), 37);
    QCOMPARE(settingsDocument(pairsWithValues(knownValues)), knownDocument);
}

void TestSettingsFile::valueEscaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("readBack");

    // The known document already shows & < > " ' LF CR and tab escaped.
    QTest::newRow("ampersand") << "a&b" << QByteArray("a&amp;b") << "a&b";
    QTest::newRow("CR LF") << "a\r\nb" << QByteArray("a&#13;&#10;b") << "a\r\nb";
    QTest::newRow("entity-like text") << "&amp;" << QByteArray("&amp;amp;") << "&amp;";
    QTest::newRow("outside the BMP") << QString::fromUtf8("\xf0\x9f\x93\xb6") << QByteArray("\xf0\x9f\x93\xb6")
                                     << QString::fromUtf8("\xf0\x9f\x93\xb6");
    QTest::newRow("control characters dropped") << "a\x01" "b\x1f" << QByteArray("ab") << "ab";
    QTest::newRow("noncharacter dropped") << QString("a") + QChar(0xFFFE) + "b" << QByteArray("ab") << "ab";
    QTest::newRow("lone surrogate dropped") << QString("a") + QChar(0xD800) + "b" << QByteArray("ab") << "ab";
}

void TestSettingsFile::valueEscaping()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    QFETCH(QString, readBack);

    const QByteArray document = settingsDocument({{"ComPort", value}});
    QCOMPARE(document, comPortDocument(written));

    const SettingsFileContent content = readBytesAsDocument(document);
    QCOMPARE(content.status, SettingsFileContent::Loaded);
    QCOMPARE(content.pairs, SettingsPairs({{"ComPort", readBack}}));
}

void TestSettingsFile::saveReplacesExistingFile()
{
    QDir dir(m_dir.path());
    QVERIFY(dir.mkdir("replace"));
    QVERIFY(dir.cd("replace"));
    const QString path = dir.filePath("simconf.xml");
    // A longer earlier file with settings of its own: nothing of it may survive.
    QByteArray earlier = firstLines(40);
    for (int i = 0; i < 50; ++i)
        earlier += "        <Extra" + QByteArray::number(i) + " name=\"old\"/>\n";
    earlier += "    </prm>\n</conf>\n";
    QVERIFY(writeBytes(path, earlier));

    const SaveOutcome outcome = saveSettingsFile(path, pairsWithValues(knownValues));
    QVERIFY2(outcome.saved, qPrintable(outcome.errorString));
    QCOMPARE(outcome.errorString, QString());
    QCOMPARE(readBytes(path), knownDocument);
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList({"simconf.xml"}));
}

void TestSettingsFile::saveFailureKeepsOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("reasonMentions");

    QTest::newRow("name is a folder") << "folder" << "is a folder";
    QTest::newRow("folder does not exist") << "missing folder" << "does not exist";
    QTest::newRow("empty name") << "empty name" << "No file name";
    QTest::newRow("commit fails") << "commit" << "could not be saved";
}

void TestSettingsFile::saveFailureKeepsOldFile()
{
    QFETCH(QString, failure);
    QFETCH(QString, reasonMentions);

    const auto entries = [](const QString &folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    QDir dir(m_dir.path());
    const QString folderName = "fail-" + QString::number(++m_workCount);
    QVERIFY(dir.mkpath(folderName + "/sub") && dir.cd(folderName));
    const QString oldPath = dir.filePath("simconf.xml");
    QVERIFY(writeBytes(oldPath, knownDocument));

    QString target;
    if (failure == "folder")
        target = dir.filePath("sub");
    else if (failure == "missing folder")
        target = dir.filePath("nowhere/simconf.xml");
    else if (failure == "commit")
        target = oldPath;
    setSaveCommitFailureForTesting(failure == "commit");   // cleanup() resets it

    const SaveOutcome outcome = saveSettingsFile(target, pairsWithValues(QVector<QString>(37, "new").toList()));
    QVERIFY(!outcome.saved);
    QVERIFY2(outcome.errorString.contains(reasonMentions), qPrintable(outcome.errorString));
    QCOMPARE(readBytes(oldPath), knownDocument);
    QCOMPARE(entries(dir.path()), QStringList({"simconf.xml", "sub"}));
    QCOMPARE(entries(dir.filePath("sub")), QStringList());
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<QString>("sample");

    QTest::newRow("cyrillic") << QString::fromUtf8("Точка доступа Ёё");
    QTest::newRow("markup") << "<a href=\"x\">&amp; 'b'</a> ]]>";
    QTest::newRow("white space") << "  a\tb\r\nc \n ";
}

void TestSettingsFile::roundTrip()
{
    QFETCH(QString, sample);

    // Every entry different, so that a shifted or dropped setting shows.
    QStringList values;
    for (int i = 0; i < 37; ++i)
        values.append(sample + QString::number(i));
    values[5].clear();
    const SettingsPairs pairs = pairsWithValues(values);

    const QString path = m_dir.filePath(QString("roundtrip-%1.xml").arg(++m_workCount));
    const SaveOutcome outcome = saveSettingsFile(path, pairs);
    QVERIFY2(outcome.saved, qPrintable(outcome.errorString));

    const SettingsFileContent content = readSettingsFile(path, false);
    QCOMPARE(content.status, SettingsFileContent::Loaded);
    QCOMPARE(content.errorString, QString());
    QCOMPARE(content.pairs, pairs);
}

void TestSettingsFile::load_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("status");
    QTest::addColumn<SettingsPairs>("pairs");
    QTest::addColumn<qint64>("errorLine");

    const int loaded = SettingsFileContent::Loaded;
    const int damaged = SettingsFileContent::Damaged;

    QTest::newRow("other element names")
        << QByteArray("<settings><group><ComPort name=\"a\"/></group><x><y><apnServer name=\"b\"/></y></x></settings>")
        << loaded << SettingsPairs({{"ComPort", "a"}, {"apnServer", "b"}}) << qint64(0);
    QTest::newRow("root and nesting elements with a name")
        << QByteArray("<conf name=\"r\"><prm name=\"p\"><IP name=\"1.2.3.4\"></IP></prm></conf>")
        << loaded << SettingsPairs({{"conf", "r"}, {"prm", "p"}, {"IP", "1.2.3.4"}}) << qint64(0);
    QTest::newRow("other letter case kept as given")
        << QByteArray("<conf><comport name=\"x\"/><COMPORT name=\"y\"/></conf>")
        << loaded << SettingsPairs({{"comport", "x"}, {"COMPORT", "y"}}) << qint64(0);
    QTest::newRow("element without name, name among other attributes")
        << QByteArray("<conf><ComPort/><ComPort value=\"v\"/><ComPort Name=\"N\"/><MbsAdr id=\"7\" name=\"64\"/></conf>")
        << loaded << SettingsPairs({{"MbsAdr", "64"}}) << qint64(0);
    QTest::newRow("key twice in order")
        << QByteArray("<conf><PhNum1 name=\"first\"/><PhNum2 name=\"x\"/><PhNum1 name=\"second\"/></conf>")
        << loaded << SettingsPairs({{"PhNum1", "first"}, {"PhNum2", "x"}, {"PhNum1", "second"}}) << qint64(0);
    QTest::newRow("namespaces: local name is the key, prefixed name is not the attribute")
        << QByteArray("<conf xmlns:d=\"urn:d\"><d:ComPort name=\"a\"/><IP d:name=\"b\"/></conf>")
        << loaded << SettingsPairs({{"ComPort", "a"}}) << qint64(0);
    QTest::newRow("text, comments and processing instructions ignored")
        << QByteArray("<conf><!-- <IP name=\"no\"/> --><?pi x?>text<IP name=\"yes\">more</IP><![CDATA[<DNS1 name=\"no\"/>]]></conf>")
        << loaded << SettingsPairs({{"IP", "yes"}}) << qint64(0);
    QTest::newRow("declared Latin-1 document")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><conf><apnLogin name=\"caf\xe9\"/></conf>")
        << loaded << SettingsPairs({{"apnLogin", QString::fromUtf8("café")}}) << qint64(0);
    const QString utf16Text = QString::fromUtf8("<conf><apnLogin name=\"Ж\"/></conf>");
    QTest::newRow("UTF-16 document with byte-order mark")
        << QByteArray("\xff\xfe", 2) + QByteArray(reinterpret_cast<const char *>(utf16Text.utf16()), utf16Text.size() * 2)
        << loaded << SettingsPairs({{"apnLogin", QString::fromUtf8("Ж")}}) << qint64(0);
    QTest::newRow("CR LF line breaks")
        << QByteArray("<conf>\r\n    <prm>\r\n        <DNS1 name=\"8.8.8.8\"/>\r\n    </prm>\r\n</conf>\r\n")
        << loaded << SettingsPairs({{"DNS1", "8.8.8.8"}}) << qint64(0);

    QTest::newRow("truncated inside a tag")
        << firstLines(19) + knownDocument.split('\n').at(19).left(20) << damaged << SettingsPairs() << qint64(20);
    QTest::newRow("empty") << QByteArray() << damaged << SettingsPairs() << qint64(1);
    QTest::newRow("not XML") << QByteArray("ComPort=dev=COM1\napnServer=internet\n")
                             << damaged << SettingsPairs() << qint64(1);
    QTest::newRow("end tags that do not match")
        << QByteArray("<conf>\n    <prm>\n        <ComPort name=\"a\"/>\n</conf>\n")
        << damaged << SettingsPairs() << qint64(4);
    QTest::newRow("second root")
        << QByteArray("<conf>\n<ComPort name=\"a\"/>\n</conf>\n<conf>\n<IP name=\"b\"/>\n</conf>\n")
        << damaged << SettingsPairs() << qint64(4);
    QTest::newRow("unescaped ampersand")
        << QByteArray("<conf>\n<ComPort name=\"a\"/>\n<apnLogin name=\"mts & co\"/>\n</conf>\n")
        << damaged << SettingsPairs() << qint64(3);
    QTest::newRow("undeclared entity")
        << QByteArray("<conf>\n<ComPort name=\"a\"/>\n<apnLogin name=\"a&nbsp;b\"/>\n</conf>\n")
        << damaged << SettingsPairs() << qint64(3);
    // The reader decodes its input in blocks ahead of the tokens, so broken
    // bytes are reported at the line where the block starts.
    QTest::newRow("UTF-8 declared but broken bytes")
        << QByteArray("<conf>\n<ComPort name=\"a\"/>\n<apnLogin name=\"caf\xe9\"/>\n</conf>\n")
        << damaged << SettingsPairs() << qint64(1);
}

void TestSettingsFile::load()
{
    QFETCH(QByteArray, document);
    QFETCH(int, status);
    QFETCH(SettingsPairs, pairs);
    QFETCH(qint64, errorLine);

    const QString path = m_dir.filePath(QString("load-%1.xml").arg(++m_workCount));
    QVERIFY(writeBytes(path, document));
    const SettingsFileContent content = readSettingsFile(path, false);
    QCOMPARE(int(content.status), status);
    QCOMPARE(content.pairs, pairs);
    QCOMPARE(content.errorLine, errorLine);
    QCOMPARE(content.errorString.isEmpty(), status == SettingsFileContent::Loaded);
}

void TestSettingsFile::doctypeTricksFailSafely_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<qint64>("errorLine");

    const QByteArray secretFile = QUrl::fromLocalFile(m_dir.filePath("secret.txt")).toEncoded();
    const QByteArray secretDtd = QUrl::fromLocalFile(m_dir.filePath("secret.dtd")).toEncoded();

    QTest::newRow("billion laughs")
        << "<?xml version=\"1.0\"?>\n" + nestedEntities("conf") + "<conf><ComPort name=\"&a9;\">&a9;</ComPort></conf>\n"
        << qint64(13);

    QTest::newRow("bare DOCTYPE") << QByteArray("<!DOCTYPE conf>\n<conf><IP name=\"1\"/></conf>\n") << qint64(1);
    QTest::newRow("attribute default adds a setting")
        << QByteArray("<!DOCTYPE conf [\n<!ATTLIST IP name CDATA \"6.6.6.6\">\n]>\n<conf><IP/></conf>\n") << qint64(3);
    QTest::newRow("external entity in a value")
        << "<!DOCTYPE conf [\n<!ENTITY x SYSTEM \"" + secretFile + "\">\n]>\n<conf><ComPort name=\"&x;\"/></conf>\n"
        << qint64(3);
    QTest::newRow("external parameter entity")
        << "<!DOCTYPE conf [\n<!ENTITY % p SYSTEM \"" + secretDtd + "\">\n%p;\n]>\n<conf><ComPort name=\"a\">&x;</ComPort></conf>\n"
        << qint64(4);
    QTest::newRow("external DTD, entity in content")
        << "<!DOCTYPE conf SYSTEM \"" + secretDtd + "\">\n<conf>\n<ComPort name=\"a\"/>\n<IP name=\"b\">&x;</IP>\n</conf>\n"
        << qint64(1);
    // Left alone, the reader would hand out "a&x;b" as the value.
    QTest::newRow("external DTD, entity in a value")
        << "<!DOCTYPE conf PUBLIC \"-//x//settings\" \"" + secretDtd
            + "\">\n<conf>\n<ComPort name=\"a\"/>\n<IP name=\"a&x;b\"/>\n</conf>\n"
        << qint64(1);
}

void TestSettingsFile::doctypeTricksFailSafely()
{
    QFETCH(QByteArray, document);
    QFETCH(qint64, errorLine);

    const QString path = m_dir.filePath(QString("entity-%1.xml").arg(++m_workCount));
    QVERIFY(writeBytes(path, document));
    SettingsFileContent content;
    const QByteArray traced = tracesOf(path + ".trace", [&](FILE *sink) { content = readSettingsFile(path, true, sink); });

    QCOMPARE(content.status, SettingsFileContent::Damaged);
    QCOMPARE(content.pairs, SettingsPairs());
    QCOMPARE(content.errorLine, errorLine);
    QVERIFY(!content.errorString.isEmpty());
    QVERIFY(!content.errorString.contains(secret));
    QVERIFY(!traced.contains(secret));
    QVERIFY(!traced.contains("haha"));
}

void TestSettingsFile::notOpened_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("missing file") << "missing.xml";
    QTest::newRow("folder") << ".";
    QTest::newRow("empty name") << "";
}

void TestSettingsFile::notOpened()
{
    QFETCH(QString, name);

    const QString path = name.isEmpty() ? name : m_dir.filePath(name);
    const SettingsFileContent content = readSettingsFile(path, false);
    QCOMPARE(content.status, SettingsFileContent::NotOpened);
    QCOMPARE(content.pairs, SettingsPairs());
    QVERIFY(!content.errorString.isEmpty());
}

void TestSettingsFile::deviceNotOpen()
{
    QBuffer buffer;
    buffer.setData(comPortDocument("a"));
    const SettingsFileContent content = readSettingsDocument(&buffer, false);
    QCOMPARE(content.status, SettingsFileContent::NotOpened);
    QCOMPARE(content.pairs, SettingsPairs());
}

void TestSettingsFile::traces_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("traces");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("settings layout")
        << comPortDocument("dev=COM1") << true
        << QByteArray("xml.name = <conf>\nxml.name = <prm>\nxml.name = <ComPort>\nxml.nameatr = <dev=COM1>\n");
    QTest::newRow("element without name and empty value")
        << QByteArray("<r><IP/><DNS1 name=\"\"/><comport name=\"%s\"/></r>") << true
        << QByteArray("xml.name = <r>\nxml.name = <IP>\nxml.name = <DNS1>\nxml.nameatr = <>\n"
                      "xml.name = <comport>\nxml.nameatr = <%s>\n");
    QTest::newRow("cyrillic as UTF-8")
        << QByteArray("<conf><PhNum2 name=\"Привет &amp; пока\"/></conf>") << true
        << QByteArray("xml.name = <conf>\nxml.name = <PhNum2>\nxml.nameatr = <Привет & пока>\n");
    QTest::newRow("damaged document traced up to the fault")
        << QByteArray("<conf>\n<ComPort name=\"a\"/>\n<IP name=") << true
        << QByteArray("xml.name = <conf>\nxml.name = <ComPort>\nxml.nameatr = <a>\n");
    QTest::newRow("traces off") << comPortDocument("dev=COM1") << false << QByteArray();
}

void TestSettingsFile::traces()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, traces);
    QFETCH(QByteArray, expected);

    const QString tracePath = m_dir.filePath(QString("trace-%1.txt").arg(++m_workCount));
    QCOMPARE(tracesOf(tracePath, [&](FILE *sink) { readBytesAsDocument(document, traces, sink); }), expected);
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
