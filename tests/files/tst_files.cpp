// Settings files and the upload list, as real files in a temporary folder.

#include "activitylog.h"
#include "golden.h"
#include "provisiontable.h"
#include "settingsfile.h"
#include "settingsvalues.h"
#include "uploadlist.h"
#include "writejournal.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QSaveFile>
#include <QtTest>

#include <cstdio>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

// The 37 settings of the golden file, in its order.
SettingsPairs goldenPairs()
{
    const DeviceSettings record = Golden::record();
    SettingsPairs pairs;
    for (const QString &key : settingsFileKeys()) {
        pairs.append({key, key == "ComPort"     ? QString("dev=/dev/ttyUSB0;baud=9600")
                          : key == "EnableKeepCon" ? QString("0")
                                                   : record.value(DeviceSettings::indexOfKey(key))});
    }
    return pairs;
}

// The internal subset of a "billion laughs" document: &a9; expands to 10^9 "ha".
QByteArray nestedEntities(const QByteArray &root)
{
    QByteArray subset = "<!DOCTYPE " + root + " [\n<!ENTITY a0 \"ha\">\n";
    for (int level = 1; level <= 9; ++level)
        subset += "<!ENTITY a" + QByteArray::number(level) + " \""
            + QByteArray("&a" + QByteArray::number(level - 1) + ';').repeated(10) + "\">\n";
    return subset + "]>\n";
}

// Reads `path`, catching its traces in `traced`.
SettingsFileContent readTraced(const QString &path, QByteArray *traced, bool traces = true)
{
    FILE *sink = std::tmpfile();
    const SettingsFileContent content = readSettingsFile(path, traces, sink);
    std::rewind(sink);
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, sink)) > 0;)
        traced->append(chunk, int(n));
    std::fclose(sink);
    return content;
}

const char secret[] = "TOPSECRET-7f3a";

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath("secret.dtd"), QByteArray("<!ENTITY x \"") + secret + "\">\n"));
    }

    void cleanup()
    {
        dir.setAutoRemove(!QTest::currentTestFailed() && dir.autoRemove());
    }

    void goldenDocument()
    {
        QCOMPARE(settingsDocument(goldenPairs()), Golden::file);
        QByteArray traced, expected = "xml.name = <conf>\nxml.name = <prm>\n";
        for (const SettingsPair &pair : goldenPairs())
            expected += "xml.name = <" + pair.key.toUtf8() + ">\nxml.nameatr = <" + pair.value.toUtf8() + ">\n";
        const SettingsFileContent content = readTraced(file(Golden::file), &traced);
        QCOMPARE(content.status, SettingsFileContent::Loaded);
        QCOMPARE(content.pairs, goldenPairs());
        QCOMPARE(QString(traced), QString(expected));
    }

    void valueEscaping_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("readBack");

        QTest::newRow("markup") << "a&b<c>\"d\"'e" << QByteArray("a&amp;b&lt;c&gt;&quot;d&quot;'e") << "a&b<c>\"d\"'e";
        QTest::newRow("line breaks, tab") << "a\r\nb\tc\n" << QByteArray("a&#13;&#10;b&#9;c&#10;") << "a\r\nb\tc\n";
        QTest::newRow("outside the BMP") << "\U0001F4F6" << QByteArray("\xF0\x9F\x93\xB6") << "\U0001F4F6";
        QTest::newRow("control characters dropped") << "a\x01" "b\x1f" << QByteArray("ab") << "ab";
        QTest::newRow("noncharacter, lone surrogate dropped") << QString("a") + QChar(0xFFFE) + QChar(0xD800) + "b" << QByteArray("ab")
                                                             << "ab";
    }

    void valueEscaping()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, written);
        QFETCH(QString, readBack);
        const QByteArray document = settingsDocument({{"ComPort", value}});
        QVERIFY2(document.contains("\n        <ComPort name=\"" + written + "\"/>\n"), document.constData());
        QByteArray traced;
        QCOMPARE(readTraced(file(document), &traced, false).pairs, SettingsPairs({{"ComPort", readBack}}));
    }

    // A field as a Read gives it, through a settings file and back: it comes
    // back in the very bytes, which the file carries only where the value
    // alone would not give them; a value edited by hand takes the edit.
    void bytesThroughAFile_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("image");       // the field as read
        QTest::addColumn<QByteArray>("attribute");   // "bytes" as written; empty: none
        QTest::addColumn<QString>("edited");         // typed over the value in the file; null: not edited
        const QByteArray latin1 = "K\xF6nig-M\xFCller-1", latin1Hex = "4B F6 6E 69 67 2D 4D FC 6C 6C 65 72 2D 31";
        const QString asRead;
        QTest::newRow("Latin-1 at full width") << int(DeviceSettings::apnLogin) << latin1 << latin1Hex << asRead;
        QTest::newRow("control bytes, left out of the value") << int(DeviceSettings::own_Ph)
            << QByteArray("+7\x1B[1m12\0\0\0\0\0\0", 14) << QByteArray("2B 37 1B 5B 31 6D 31 32 00 00 00 00 00 00") << asRead;
        QTest::newRow("bytes after a NUL") << int(DeviceSettings::PhNum1) << QByteArray("+7\0" "916\0\0\0\0\0\0\0\0\0\0\0\0\0\x01", 20)
            << QByteArray("2B 37 00 39 31 36 00 00 00 00 00 00 00 00 00 00 00 00 00 01") << asRead;
        QTest::newRow("reserved bits of a serial word") << int(DeviceSettings::TxSetting) << hex("35 26") << QByteArray("35 26")
                                                        << asRead;
        QTest::newRow("an ordinary UTF-8 text: the value alone") << int(DeviceSettings::apnPassword)
            << QByteArray("пароль").leftJustified(14, '\0') << QByteArray() << asRead;
        QTest::newRow("edited by hand: the edit") << int(DeviceSettings::apnLogin) << latin1 << latin1Hex << "Kim";
    }

    void bytesThroughAFile()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, image);
        QFETCH(QByteArray, attribute);
        QFETCH(QString, edited);
        DeviceSettings read;
        QVERIFY(read.setFieldImage(index, image));
        QByteArray document = settingsDocument(settingsFilePairs(read, QString(), true));
        const QByteArray element = "<" + DeviceSettings::key(index).toUtf8() + " name=\""
            + settingsFileText(read.value(index)).toUtf8() + "\"" + (attribute.isEmpty() ? "" : " bytes=\"" + attribute + "\"")
            + "/>";
        QVERIFY2(document.contains(element), document.constData());
        if (!edited.isNull())
            document.replace("name=\"" + read.value(index).toUtf8(), "name=\"" + edited.toUtf8());
        QBuffer file(&document);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const SettingsValues values = SettingsValues::fromPairs(readSettingsDocument(&file, false).pairs);
        const QByteArray expected = edited.isNull() ? image : QByteArray("Kim").leftJustified(image.size(), '\0');
        QCOMPARE(values.settings.fieldImage(index).toHex(' '), expected.toHex(' '));
        QVERIFY(!values.settings.problem(index).exists());
    }

    void save_data()
    {
        QTest::addColumn<QString>("target");    // in a folder holding simconf.xml and sub/
        QTest::addColumn<QString>("refusal");   // empty: saved
        QTest::newRow("over a longer file") << "simconf.xml" << "";
        QTest::newRow("name is a folder") << "sub" << "is a folder";
        QTest::newRow("empty name") << "" << "No file name";
        QTest::newRow("commit fails") << "simconf.xml" << "could not be saved";
    }

    void save()
    {
        QFETCH(QString, target);
        QFETCH(QString, refusal);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("sub"));
        const QByteArray earlier = Golden::file + "<!-- " + QByteArray(4000, 'x') + " -->\n";
        QVERIFY(writeFile(folder.filePath("simconf.xml"), earlier));
        // A commit that breaks off, as a failing rename or flush would.
        const SaveCommit failing = [](QSaveFile &file) {
            file.cancelWriting();
            return file.commit();
        };
        const SaveOutcome outcome = saveSettingsFile(target.isEmpty() ? target : folder.filePath(target), goldenPairs(),
                                                     QTest::currentDataTag() == QLatin1String("commit fails") ? failing
                                                                                                                : SaveCommit());
        QCOMPARE(outcome.saved, refusal.isEmpty());
        QCOMPARE(outcome.errorString.isEmpty(), refusal.isEmpty());
        QVERIFY2(outcome.errorString.contains(refusal), qPrintable(outcome.errorString));
        // Whatever happened, no half-written or temporary file is left behind.
        QCOMPARE(readFile(folder.filePath("simconf.xml")), refusal.isEmpty() ? onDisk(Golden::file) : earlier);
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(folder.path()).entryList(all), QStringList({"simconf.xml", "sub"}));
        QCOMPARE(QDir(folder.filePath("sub")).entryList(all), QStringList());
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("status");
        QTest::addColumn<SettingsPairs>("pairs");
        QTest::addColumn<qint64>("errorLine");

        const int loaded = SettingsFileContent::Loaded;
        const int damaged = SettingsFileContent::Damaged;
        const QByteArray secretDtd = QUrl::fromLocalFile(dir.filePath("secret.dtd")).toEncoded();
        const QString utf16 = "<conf><apnLogin name=\"Ж\"/></conf>";

        QTest::newRow("any element with a name, at any depth")
            << QByteArray("<settings name=\"r\"><group><ComPort name=\"a\"/></group><x><y><IP name=\"b\"></IP></y></x></settings>")
            << loaded << SettingsPairs({{"settings", "r"}, {"ComPort", "a"}, {"IP", "b"}}) << qint64(0);
        QTest::newRow("letter case kept, without name skipped, twice kept in order")
            << QByteArray("<c><comport name=\"x\"/><ComPort/><ComPort Name=\"N\"/><PhNum1 name=\"1\"/>"
                          "<MbsAdr id=\"7\" name=\"\"/><PhNum1 name=\"2\"/></c>")
            << loaded << SettingsPairs({{"comport", "x"}, {"PhNum1", "1"}, {"MbsAdr", ""}, {"PhNum1", "2"}}) << qint64(0);
        QTest::newRow("namespaces: local name is the key, prefixed name is not the attribute")
            << QByteArray("<conf xmlns:d=\"urn:d\"><d:ComPort name=\"a\"/><IP d:name=\"b\"/></conf>")
            << loaded << SettingsPairs({{"ComPort", "a"}}) << qint64(0);
        QTest::newRow("UTF-16 with byte-order mark")
            << QByteArray("\xff\xfe", 2) + QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
            << loaded << SettingsPairs({{"apnLogin", "Ж"}}) << qint64(0);

        QTest::newRow("truncated inside a tag") << Golden::file.left(Golden::file.indexOf("<TryNum") + 10) << damaged
                                                << SettingsPairs() << qint64(13);
        QTest::newRow("empty") << QByteArray() << damaged << SettingsPairs() << qint64(1);
        QTest::newRow("unescaped ampersand") << QByteArray("<conf>\n<ComPort name=\"a\"/>\n<apnLogin name=\"m & co\"/>\n</conf>")
                                             << damaged << SettingsPairs() << qint64(3);
            // No settings file has a DOCTYPE, and every door one opens leads into the values.
        QTest::newRow("billion laughs")
            << "<?xml version=\"1.0\"?>\n" + nestedEntities("conf") + "<conf><ComPort name=\"&a9;\">&a9;</ComPort></conf>\n"
            << damaged << SettingsPairs() << qint64(13);
        QTest::newRow("attribute default adds a setting")
            << QByteArray("<!DOCTYPE conf [\n<!ATTLIST IP name CDATA \"6.6.6.6\">\n]>\n<conf><IP/></conf>\n") << damaged
            << SettingsPairs() << qint64(3);
        // Hostile or mangled files end in bounded time and memory, never in a hang or a crash.
        QTest::newRow("sixteen megabytes in one attribute")
            << "<conf>\n\n<ComPort name=\"" + QByteArray(16 << 20, 'x') + "\"/>\n</conf>\n" << damaged << SettingsPairs() << qint64(3);
        QTest::newRow("a whole document, then sixteen megabytes of blanks")
            << "<conf>\n<ComPort name=\"a\"/>\n</conf>\n" + QByteArray(16 << 20, ' ') << damaged << SettingsPairs() << qint64(4);
        QTest::newRow("nested a thousand deep")
            << QByteArray("<a>").repeated(1000) + "<IP name=\"1\"/>" + QByteArray("</a>").repeated(1000) << loaded
            << SettingsPairs({{"IP", "1"}}) << qint64(0);
        QTest::newRow("beyond ten thousand elements, at the first one over")
            << "<conf>\n" + QByteArray("<a/>\n").repeated(10000) << damaged << SettingsPairs() << qint64(10001);
        // Distinct names of one to four letters: 150,000 attributes within the size bound.
        QByteArray attributes = "<conf>\n<IP name=\"1\"";
        const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
        for (int i = 0; i < 150000; ++i) {
            attributes += ' ';
            for (int n = i;; n /= 53) {
                attributes += letters[n % 53];
                if (n < 53)
                    break;
            }
            attributes += "=''";
        }
        QTest::newRow("a megabyte of 150,000 attributes, refused at once") << attributes + "/>\n</conf>\n" << damaged
                                                                          << SettingsPairs() << qint64(2);
        QByteArray sixtyFour = "<conf>\n<IP name=\"1\"";
        for (int i = 1; i < 64; ++i)
            sixtyFour += " a" + QByteArray::number(i) + "=''";
        QTest::newRow("an element of 64 attributes, the bound, is read") << sixtyFour + "/>\n</conf>\n" << loaded
                                                                         << SettingsPairs({{"IP", "1"}}) << qint64(0);
        QTest::newRow("an element of 65 attributes is refused") << sixtyFour + " a64=''/>\n</conf>\n" << damaged
                                                                << SettingsPairs() << qint64(2);
        // A setting's element is empty, so the one left open is where the file went wrong.
        QTest::newRow("a setting left open, at its own line")
            << QByteArray(Golden::file).replace("<ToutWaitAnsw name=\"5000\"/>", "<ToutWaitAnsw name=\"5000\">") << damaged
            << SettingsPairs() << qint64(10);
        QTest::newRow("a stray end tag, at its line") << QByteArray("<conf>\n<prm>\n<IP name=\"1\"/>\n</IP>\n</prm>\n</conf>")
                                                      << damaged << SettingsPairs() << qint64(4);
        QTest::newRow("bytes beside a value: hexadecimal pairs, else none")
            << QByteArray("<c><apnLogin name=\"K\" bytes=\"4b 00 E9\"/><IP name=\"1\" bytes=\"0x01\"/><TryNum name=\"2\" "
                          "bytes=\"123\"/></c>")
            << loaded << SettingsPairs({{"apnLogin", "K", hex("4B 00 E9")}, {"IP", "1"}, {"TryNum", "2"}}) << qint64(0);
        QTest::newRow("invalid UTF-8") << QByteArray("<conf><ComPort name=\"a\xff\xfe" "b\"/></conf>\n") << damaged << SettingsPairs()
                                       << qint64(1);
        QTest::newRow("a NUL byte") << QByteArray("<conf>\n<ComPort name=\"a\0b\"/>\n</conf>\n", 36) << damaged << SettingsPairs()
                                    << qint64(2);
        QTest::newRow("external DTD, entity in a value")
            << "<!DOCTYPE conf SYSTEM \"" + secretDtd + "\">\n<conf>\n<ComPort name=\"a\"/>\n<IP name=\"a&x;b\"/>\n</conf>\n"
            << damaged << SettingsPairs() << qint64(1);
    }

    void read()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, status);
        QFETCH(SettingsPairs, pairs);
        QFETCH(qint64, errorLine);
        QByteArray traced;
        const SettingsFileContent content = readTraced(file(document), &traced);
        QCOMPARE(int(content.status), status);
        QCOMPARE(content.pairs, pairs);
        QCOMPARE(content.errorLine, errorLine);
        QCOMPARE(content.errorString.isEmpty(), status == SettingsFileContent::Loaded);
        QVERIFY(!content.errorString.contains(secret) && !traced.contains(secret) && !traced.contains("haha"));
    }

    void uploadList_data()
    {
        QTest::addColumn<QByteArray>("document");   // null: no file at all
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QStringList>("files");

        QTest::newRow("in order, at any depth, duplicates kept")
            << QByteArray("<a>\n <file name=\"main.py\"><b><file name=\"lib/x.py\"/></b></file>\n <file name=\"main.py\"/>\n</a>")
            << true << QStringList({"main.py", "lib/x.py", "main.py"});
        QTest::newRow("File, FILE, no name: nothing; an empty name: an empty entry")
            << QByteArray("<u><File name=\"a\"/><FILE name=\"b\"/><file/><file Name=\"c\">d</file><file name=\"\"/></u>") << true
            << QStringList({""});
        QTest::newRow("names unchanged")
            << QByteArray("<u><file name=\" spaced.py \"/><file name=\"a&amp;b&#9;c\"/><file name=\"скрипт.py\"/></u>") << true
            << QStringList({" spaced.py ", "a&b\tc", "скрипт.py"});
        QTest::newRow("breaks off after two")
            << QByteArray("<u>\n<file name=\"one.py\"/>\n<file name=\"two.py\"/></wrong><file name=\"three.py\"/></u>") << true
            << QStringList({"one.py", "two.py"});
        // A DOCTYPE ends the list before any entity of it can expand.
        QTest::newRow("nested entities: a DOCTYPE breaks off")
            << nestedEntities("u") + "<u><file name=\"safe.py\"/><file name=\"&a9;\"/><file name=\"after.py\"/></u>\n"
            << true << QStringList();
        QTest::newRow("a megabyte of one entity 333,000 times: a DOCTYPE breaks off")
            << "<!DOCTYPE u [<!ENTITY e \"" + QByteArray(1000, 'x') + "\">]>\n<u><file name=\""
                   + QByteArray("&e;").repeated(333000) + "\"/></u>\n"
            << true << QStringList();
        QTest::newRow("breaks off at a megabyte")
            << "<u><file name=\"a.py\"/>" + QByteArray(1 << 20, ' ') + "<file name=\"b.py\"/></u>" << true
            << QStringList({"a.py"});
        QTest::newRow("breaks off at the ten thousand and first element")
            << "<u><file name=\"a.py\"/>" + QByteArray("<x/>").repeated(9997) + "<file name=\"b.py\"/><file name=\"c.py\"/></u>"
            << true << QStringList({"a.py", "b.py"});
        QTest::newRow("a NUL byte") << QByteArray("<u><file name=\"a.py\"/>\0<file name=\"c.py\"/></u>", 45) << true
                                    << QStringList({"a.py"});
        // The reader decodes ahead of the names it hands out.
        QTest::newRow("invalid UTF-8") << QByteArray("<u><file name=\"a.py\"/><file name=\"\xff.py\"/></u>") << true
                                       << QStringList();
        QTest::newRow("no file") << QByteArray() << false << QStringList();
    }

    void uploadList()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, opened);
        QFETCH(QStringList, files);
        const UploadList list = readUploadList(document.isNull() ? dir.filePath("none.xml") : file(document));
        QCOMPARE(list.opened, opened);
        QCOMPARE(list.files, files);
    }

    // A fleet's table as spreadsheets write it, checked row by row against a
    // template before any modem is touched. `rows`: each row's name and
    // cells as "key=value" after the template; `problems`: every complaint.
    void provisionTable_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("matchKey");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("commas, an id, an empty cell keeps the template's") << QByteArray("id,own_Ph,IP\nA,+7001,10.0.0.1\nB,+7002,\n")
            << QString() << QStringList{"A: own_Ph=+7001 IP=10.0.0.1", "B: own_Ph=+7002 IP=192.168.0.1"} << QStringList();
        QTest::newRow("semicolons, a byte-order mark, CRLF, no id") << QByteArray("\xEF\xBB\xBFMbsAdr;IP\r\n7;10.0.0.7\r\n\r\n8;\r\n")
            << QString() << QStringList{"line 2: IP=10.0.0.7 MbsAdr=7", "line 4: IP=192.168.0.1 MbsAdr=8"} << QStringList();
        QTest::newRow("quotes: the separator, a doubled quote, a line break")
            << QByteArray("id;apnLogin\n\"a;b\";\"say \"\"hi\"\"\"\n\"two\nlines\";x\n") << QString()
            << QStringList{"a;b: apnLogin=say \"hi\" IP=192.168.0.1", "two\nlines: apnLogin=x IP=192.168.0.1"} << QStringList();
        QTest::newRow("bad rows named with their line and key") << QByteArray("id,MbsAdr,TxSetting\nA,70000,\nB,1,9600,9,1,N\nA,2,\n")
            << QString() << QStringList()
            << QStringList{"line 2: Cannot write Modbus address (MbsAdr): \"70000\" is not a whole number from 0 to 65535",
                           "line 3: 6 cells, but the header names 3 columns", "line 4: the id A is on line 2 too"};
        QTest::newRow("an unknown column and one named twice") << QByteArray("own_Ph,APN,own_Ph\n+7001,x,+7002\n") << QString()
            << QStringList() << QStringList{"line 1: APN is not a setting of the modem (a column is a settings key, or id)",
                                            "line 1: column own_Ph is named twice"};
        QTest::newRow("a stray quote") << QByteArray("own_Ph\n+70\"01\n") << QString() << QStringList()
            << QStringList{"line 2: a quote in the middle of a field; a field with quotes is quoted as a whole, its quotes "
                           "doubled"};
        QTest::newRow("--match: a column, filled in, each value once") << QByteArray("own_Ph,IP\n+7001,\n,10.0.0.2\n+7001,\n")
            << QString("own_Ph") << QStringList()
            << QStringList{"line 3: own_Ph is empty, so no modem can match the row", "line 4: own_Ph +7001 is on line 2 too"};
        QTest::newRow("--match names no column") << QByteArray("IP\n10.0.0.1\n") << QString("own_Ph") << QStringList()
                                                 << QStringList{"line 1: --match own_Ph names no column of the table"};
        // Every byte is what the spreadsheet meant, or the table is refused.
        QTest::newRow("Windows-1251, as a Russian spreadsheet's plain CSV") << QByteArray("own_Ph,apnLogin\n+7001,\xE8\xED\xF2\n")
            << QString() << QStringList()
            << QStringList{"line 2: byte 0xE8 is not UTF-8: save the table as \"CSV UTF-8\" (a spreadsheet's plain \"CSV\" "
                           "on Windows is in the system's code page, Windows-1251 in Russian)"};
        QTest::newRow("a NUL byte") << QByteArray("own_Ph,apnServer\n+7001,x\n+7002,inter\0net\n+7003,y\n", 46) << QString()
            << QStringList() << QStringList{"line 3: a NUL byte, which no text of a table holds"};
        QTest::newRow("a byte-order mark inside a cell") << QByteArray("own_Ph\n+7001\n\xEF\xBB\xBF+7002\n") << QString()
            << QStringList() << QStringList{"line 3: a byte-order mark inside the table, which no cell holds"};
        QStringList hundredThousand;
        for (int line = 2; line <= 100001; ++line)
            hundredThousand << QString("line %1: IP=192.168.0.1 MbsAdr=1").arg(line);
        QTest::newRow("100,000 rows, the bound") << "MbsAdr\n" + QByteArray("1\n").repeated(100000) << QString()
                                                 << hundredThousand << QStringList();
        QTest::newRow("an id of a megabyte, the bound") << "id\n" + QByteArray(1024 * 1024, 'k') + "\n" << QString()
            << QStringList{QString(1024 * 1024, 'k') + ": IP=192.168.0.1"} << QStringList();
        QTest::newRow("a header cell beyond a megabyte") << QByteArray(1024 * 1024 + 1, 'k') + "\n1\n" << QString()
            << QStringList() << QStringList{"line 1: a cell of more than 1048576 bytes"};
        QTest::newRow("a long unknown column, named in part") << QByteArray(300, 'k') + "\n1\n" << QString() << QStringList()
            << QStringList{"line 1: " + QString(40, 'k') + "… is not a setting of the modem (a column is a settings key, "
                           "or id)"};
        QTest::newRow("more than 100,000 rows") << "MbsAdr\n" + QByteArray("1\n").repeated(100001) << QString()
            << QStringList() << QStringList{"line 100002: more than 100000 rows below the header"};
    }

    void provisionTable()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, matchKey);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, problems);
        const SettingsValues templateValues =
            SettingsValues::fromPairs({{"IP", "192.168.0.1"}, {"apnServer", "internet.example.net"}});
        const ProvisionTable table = readProvisionTable(csv, templateValues, matchKey);
        QCOMPARE(table.problems, problems);
        QStringList read;
        for (const ProvisionRow &row : table.rows) {
            QStringList cells;
            for (int index = 0; index < DeviceSettings::Count; ++index) {
                if (row.values.present[size_t(index)] && DeviceSettings::key(index) != "apnServer")
                    cells << DeviceSettings::key(index) + "=" + row.values.settings.value(index);
            }
            QCOMPARE(row.values.settings.value(DeviceSettings::apnServer), QString("internet.example.net"));
            read << row.name() + ": " + cells.join(' ');
        }
        if (problems.isEmpty())
            QCOMPARE(read, rows);
    }

    // The journal lists what its own files say, newest first by their time
    // whatever the clocks did; an entry whose outcome was never written is
    // unfinished. Links, devices and FIFOs in an entry are never read.
    void journalEntries_data()
    {
        QTest::addColumn<QString>("mangled");   // what is done to the older entry
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("as written") << "" << QStringList{"verified", "failed at entry block 2"};
        QTest::newRow("no outcome: unfinished") << "no entry.json" << QStringList{"verified", "unfinished"};
        QTest::newRow("a damaged outcome: unfinished") << "cut entry.json" << QStringList{"verified", "unfinished"};
#ifndef Q_OS_WIN
        QTest::newRow("the outcome a link to /dev/zero") << "entry.json to /dev/zero" << QStringList{"verified", "unfinished"};
        QTest::newRow("the facts a FIFO: no entry") << "begun.json a FIFO" << QStringList{"verified"};
        QTest::newRow("an entry folder that is a link: no entry") << "folder a link" << QStringList{"verified"};
#endif
    }

    void journalEntries()
    {
        QFETCH(QString, mangled);
        QFETCH(QStringList, listed);
        QTemporaryDir home;
        const WriteJournal journal(home.filePath("journal"));
        QString error;
        const WriteFacts facts{"dev=/dev/ttyUSB0;baud=9600", true, Golden::record(), Golden::record()};
        std::optional<JournalEntry> older = journal.begin(facts, &error), newer = journal.begin(facts, &error);
        QVERIFY2(older && newer, qPrintable(error));
        QVERIFY(journal.finish(*older, JournalEntry::Failed, "There is bad CRC16 sum of 0 bytes on 2 step", 2, &error));
        QVERIFY(journal.finish(*newer, JournalEntry::Verified, "Verified: the modem holds what was written", -1, &error));
        // Named in UTC and timed with their offset: nothing in them reads as another hour.
        QVERIFY2(QFileInfo(older->folder).fileName().contains('Z'), qPrintable(older->folder));
        QVERIFY(QFile::exists(older->folder + "/entry.json"));
        const QByteArray json = readFile(older->folder + "/begun.json");
        QVERIFY2(QRegularExpression("\"time\": \"[^\"]*(Z|[+-]\\d\\d:\\d\\d)\"").match(QString(json)).hasMatch(), json);
#ifndef Q_OS_WIN
        // Nothing for the group and the others.
        for (const char *name : {"", "/begun.json", "/entry.json", "/previous.xml", "/written.xml"})
            QCOMPARE(int(QFile::permissions(older->folder + name) & 0x00FF), 0);
#endif
        const QString outcome = older->folder + "/entry.json", facts_ = older->folder + "/begun.json";
        if (mangled == "no entry.json")
            QVERIFY(QFile::remove(outcome));
        else if (mangled == "cut entry.json")
            QVERIFY(QFile::resize(outcome, 20));
        else if (mangled == "entry.json to /dev/zero")
            QVERIFY(QFile::remove(outcome) && QFile::link("/dev/zero", outcome));
#ifndef Q_OS_WIN
        else if (mangled == "begun.json a FIFO")
            QVERIFY(QFile::remove(outcome) && QFile::remove(facts_) && ::mkfifo(QFile::encodeName(facts_), 0600) == 0);
#endif
        else if (mangled == "folder a link")
            QVERIFY(QDir().rename(older->folder, home.filePath("elsewhere"))
                    && QFile::link(home.filePath("elsewhere"), older->folder));
        QStringList outcomes;
        for (const JournalEntry &entry : journal.entries())
            outcomes << entry.outcomeShown();
        QCOMPARE(outcomes, listed);
    }

    // The log grows to its file limit, then moves on to a fresh file; only
    // the newest files stay, each line whole, the newest last; and its
    // folder is its owner's alone.
    void logIsBounded()
    {
        QTemporaryDir dir;
        ActivityLog log(dir.filePath("logs"), 70, 3);
        for (int n = 0; n < 20; ++n)
            QVERIFY(log.append(QString("line %1 of the traffic").arg(n, 2, 10, QChar('0'))));
        // Each line takes 34 bytes: two to a file.
        QCOMPARE(QDir(dir.filePath("logs")).entryList(QDir::Files),
                 QStringList({"gprs-configurator.log", "gprs-configurator.log.1", "gprs-configurator.log.2"}));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        for (int generation = 0; generation < 3; ++generation) {
            const int first = 18 - 2 * generation;
            QCOMPARE(QString::fromUtf8(readFile(log.fileName(generation))),
                     QString("%1 line %2 of the traffic\n%1 line %3 of the traffic\n").arg(today).arg(first).arg(first + 1));
        }
#ifndef Q_OS_WIN
        const QFile::Permissions rights = QFile::permissions(dir.filePath("logs"));
        QCOMPARE(rights & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(int(rights & 0x00FF), 0);   // nothing for the group and the others
#endif
    }

private:
    QString file(const QByteArray &document)
    {
        const QString path = dir.filePath(QString("file-%1.xml").arg(++files));
        return writeFile(path, document) ? path : QString();
    }

    QTemporaryDir dir;
    int files = 0;
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
