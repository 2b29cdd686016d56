#include "devicesettings.h"
#include "settingkeys.h"

#include <QRandomGenerator>
#include <QTranslator>
#include <QtTest>

using DS = DeviceSettings;

char *toString(const DeviceSettings &record)
{
    QByteArray text;
    for (int i = 0; i < DS::Count; ++i)
        text += DS::key(i).toUtf8() + "=\"" + record.value(i).toUtf8() + "\" ";
    return qstrdup(text.constData());
}

namespace {

// A realistic record with a different value in every entry.
DeviceSettings goldenRecord()
{
    const char *const values[DS::Count] = {
        "internet.beeline.ru", "beeline", "пароль", "+79161234567", "+79037011111", "+79169876543",
        "10.20.30.40", "195.34.32.116", "8.8.4.4", "17", "115200,8,2,E,1,0", "19200,8,1,N,0,0",
        "3000", "5000", "3600", "7200", "600", "150", "20", "1024", "3", "260", "1",
        "+79160000001", "+79160000002", "89161112233", "+7916123456789012345",   // the last one exactly 20 bytes
        "192.168.1.10", "10.0.0.2", "172.16.0.3", "212.45.7.254", "502", "8080", "4001", "65535"};
    DeviceSettings s;
    for (int i = 0; i < DS::Count; ++i)
        s.setValue(i, QString::fromUtf8(values[i]));
    return s;
}

// The settings block of goldenRecord(), host order, written out field by field.
const QByteArray goldenSettingsImage = QByteArray::fromHex(
    /*   0 own_Ph      */ "2B 37 39 31 36 31 32 33 34 35 36 37 00 00"
    /*  14 sc_Ph       */ "2B 37 39 30 33 37 30 31 31 31 31 31 00 00"
    /*  28 sms_Ph      */ "2B 37 39 31 36 39 38 37 36 35 34 33 00 00"
    /*  42 apnServer   */ "69 6E 74 65 72 6E 65 74 2E 62 65 65 6C 69 6E 65"
    /*  58             */ "2E 72 75 00 00 00 00 00 00 00 00 00 00 00 00 00"
    /*  74 apnLogin    */ "62 65 65 6C 69 6E 65 00 00 00 00 00 00 00"
    /*  88 apnPassword */ "D0 BF D0 B0 D1 80 D0 BE D0 BB D1 8C 00 00"
    /* 102 IP          */ "0A 14 1E 28"
    /* 106 DNS1        */ "C3 22 20 74"
    /* 110 DNS2        */ "08 08 04 04"
    /* 114 MbsAdr 17   */ "11 00"
    /* 116 RxSetting   */ "37 00"   // 19200,8,1,N,0,0 = 0x0037
    /* 118 TxSetting   */ "BB 0A"   // 115200,8,2,E,1,0 = 0x0ABB
    /* 120 ToutWaitNext 3000/10   */ "2C 01"
    /* 122 ToutWaitAnsw 5000/10   */ "F4 01"
    /* 124 RestartTimeSrv 3600    */ "10 0E"
    /* 126 RestartTimeMdm 7200    */ "20 1C"
    /* 128 DisconnectTime 600     */ "58 02"
    /* 130 ToutWaitNextPacket 150 */ "0F 00"
    /* 132 ToutBetwenBytes 20     */ "02 00"
    /* 134 MaxNumBytes 1024       */ "00 04"
    /* 136 TryNum 3               */ "03 00"
    /* 138 AnswersNum 260         */ "04 01"
    /* 140 KeepCon 1              */ "01 00");

const QByteArray goldenEntryImages[DS::EntryBlockCount] = {
    QByteArray::fromHex(
        /*  0 PhNum1    */ "2B 37 39 31 36 30 30 30 30 30 30 31 00 00 00 00 00 00 00 00"
        /* 20 MirrServ1 */ "C0 A8 01 0A"
        /* 24 MirrPort1 502 */ "F6 01"),
    QByteArray::fromHex(
        /*  0 PhNum2    */ "2B 37 39 31 36 30 30 30 30 30 30 32 00 00 00 00 00 00 00 00"
        /* 20 MirrServ2 */ "0A 00 00 02"
        /* 24 MirrPort2 8080 */ "90 1F"),
    QByteArray::fromHex(
        /*  0 PhNum3    */ "38 39 31 36 31 31 31 32 32 33 33 00 00 00 00 00 00 00 00 00"
        /* 20 MirrServ3 */ "AC 10 00 03"
        /* 24 MirrPort3 4001 */ "A1 0F"),
    QByteArray::fromHex(
        /*  0 PhNum4, no NUL */ "2B 37 39 31 36 31 32 33 34 35 36 37 38 39 30 31 32 33 34 35"
        /* 20 MirrServ4 */ "D4 2D 07 FE"
        /* 24 MirrPort4 65535 */ "FF FF"),
};

// A translator that marks every text of one context, to see which texts
// really go through the installed translator.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "DeviceSettings") != 0)
            return QString();
        return QLatin1String("<") + QString::fromUtf8(sourceText) + QLatin1String(">");
    }
};

// The entry block that holds entry `index`, or -1 for the settings block.
int blockOf(int index)
{
    return index >= DS::PhNum1 ? (index - DS::PhNum1) % DS::EntryBlockCount : -1;
}

// The image of the block that holds entry `index`, the settings block with KeepCon.
QByteArray imageOf(const DeviceSettings &s, int index)
{
    return blockOf(index) < 0 ? s.encodeSettingsBlock(true) : s.encodeEntryBlock(blockOf(index));
}

// The golden record's image with entry `index` replaced by `text`.
QByteArray imageWith(int index, const QString &text)
{
    DeviceSettings s = goldenRecord();
    s.setValue(index, text);
    return imageOf(s, index);
}

// A fresh record that has read `image` as the block holding entry `index`.
DeviceSettings readBack(int index, const QByteArray &image)
{
    DeviceSettings read;
    if (blockOf(index) < 0)
        read.decodeSettingsBlock(image, true);
    else
        read.decodeEntryBlock(blockOf(index), image);
    return read;
}

} // namespace

class TestDeviceSettings : public QObject {
    Q_OBJECT

private slots:
    void keyTable_data();
    void keyTable();
    void settingKeyLookup_data();
    void settingKeyLookup();
    void outOfRangeIndexes();

    void goldenSettingsBlock_data();
    void goldenSettingsBlock();
    void goldenEntryBlocks_data();
    void goldenEntryBlocks();
    void freshRecordBlocks();
    void numberFields_data();
    void numberFields();
    void textWidths_data();
    void textWidths();
    void cutNeverSplitsAUtf8Sequence_data();
    void cutNeverSplitsAUtf8Sequence();
    void textsBeyondAscii_data();
    void textsBeyondAscii();
    void blocksOfOtherLengths_data();
    void blocksOfOtherLengths();

    void validity_data();
    void validity();
    void firstProblemNamesTheLowestIndex();
    void problemMessageIsTranslated();
    void decodedRandomBlocksAreWritable();
};

void TestDeviceSettings::keyTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("widget");

    // In device order; the 13 entries without a form widget are kept only through a settings file.
    const char *const keys[] = {"apnServer", "apnLogin", "apnPassword", "own_Ph", "sc_Ph", "sms_Ph", "IP", "DNS1",
        "DNS2", "MbsAdr", "TxSetting", "RxSetting", "ToutWaitNext", "ToutWaitAnsw", "RestartTimeSrv",
        "RestartTimeMdm", "DisconnectTime", "ToutWaitNextPacket", "ToutBetwenBytes", "MaxNumBytes", "TryNum",
        "AnswersNum", "KeepCon", "PhNum1", "PhNum2", "PhNum3", "PhNum4", "MirrServ1", "MirrServ2", "MirrServ3",
        "MirrServ4", "MirrPort1", "MirrPort2", "MirrPort3", "MirrPort4"};
    const QList<int> hidden = {3, 4, 5, 6, 7, 8, 9, 12, 14, 15, 16, 19, 21};
    for (int i = 0; i < DS::Count; ++i)
        QTest::newRow(keys[i]) << i << QString::fromLatin1(keys[i]) << !hidden.contains(i);
}

void TestDeviceSettings::keyTable()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(bool, widget);

    QCOMPARE(DS::key(index), key);
    QCOMPARE(DS::indexOfKey(key), index);
    QCOMPARE(DS::hasFormWidget(index), widget);
    const SettingKey found = SettingKey::lookup(key);
    QCOMPARE(int(found.target), int(SettingKey::Entry));
    QCOMPARE(found.index, index);
}

void TestDeviceSettings::settingKeyLookup_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("index");

    QTest::newRow("ComPort") << "ComPort" << int(SettingKey::ComPort) << -1;
    QTest::newRow("EnableKeepCon") << "EnableKeepCon" << int(SettingKey::EnableKeepCon) << -1;
    QTest::newRow("KeepCon is an entry") << "KeepCon" << int(SettingKey::Entry) << int(DS::KeepCon);
    QTest::newRow("comport") << "comport" << int(SettingKey::Unknown) << -1;
    QTest::newRow("trailing blank") << "IP " << int(SettingKey::Unknown) << -1;
    QTest::newRow("widget name") << "apnServerLineEdit" << int(SettingKey::Unknown) << -1;
    QTest::newRow("EnableKeepConn") << "EnableKeepConn" << int(SettingKey::Unknown) << -1;
    QTest::newRow("empty") << "" << int(SettingKey::Unknown) << -1;
}

void TestDeviceSettings::settingKeyLookup()
{
    QFETCH(QString, key);
    QFETCH(int, target);
    QFETCH(int, index);
    const SettingKey found = SettingKey::lookup(key);
    QCOMPARE(int(found.target), target);
    QCOMPARE(found.index, index);
    QCOMPARE(DS::indexOfKey(key), index);
}

void TestDeviceSettings::outOfRangeIndexes()
{
    DeviceSettings s = goldenRecord();
    const DeviceSettings before = s;
    s.setValue(-1, QStringLiteral("x"));
    s.setValue(DS::Count, QStringLiteral("x"));
    QCOMPARE(s, before);
    QCOMPARE(s.value(-1), QString());
    QCOMPARE(s.value(DS::Count), QString());
    QCOMPARE(DS::key(DS::Count), QString());
    QCOMPARE(DS::hasFormWidget(DS::Count), false);
    QVERIFY(DS::check(DS::Count, QStringLiteral("x")).isValid());
    QCOMPARE(s.encodeEntryBlock(-1), QByteArray());
    QCOMPARE(s.encodeEntryBlock(4), QByteArray());
    s.decodeEntryBlock(4, QByteArray(26, '\0'));
    s.decodeEntryBlock(-1, QByteArray(26, '\0'));
    QCOMPARE(s, before);
}

void TestDeviceSettings::goldenSettingsBlock_data()
{
    QTest::addColumn<bool>("withKeepCon");
    QTest::addColumn<int>("size");
    QTest::newRow("142 bytes, KeepCon") << true << 142;
    QTest::newRow("140 bytes") << false << 140;
}

void TestDeviceSettings::goldenSettingsBlock()
{
    QFETCH(bool, withKeepCon);
    QFETCH(int, size);
    const QByteArray expected = goldenSettingsImage.left(size);

    const DeviceSettings record = goldenRecord();
    QVERIFY2(record.firstProblem().isValid(), qPrintable(record.firstProblem().message()));
    const QByteArray block = record.encodeSettingsBlock(withKeepCon);
    QCOMPARE(block, expected);

    // Decoding fills entries 0..22 only; the entry-block entries stay as they were.
    DeviceSettings decoded;
    decoded.decodeSettingsBlock(expected, withKeepCon);
    DeviceSettings wanted = goldenRecord();
    for (int i = DS::PhNum1; i < DS::Count; ++i)
        wanted.setValue(i, QString());
    if (!withKeepCon)
        wanted.setValue(DS::KeepCon, QStringLiteral("0"));
    QCOMPARE(decoded, wanted);
}

void TestDeviceSettings::goldenEntryBlocks_data()
{
    QTest::addColumn<int>("k");
    for (int k = 0; k < DS::EntryBlockCount; ++k)
        QTest::addRow("block %d", k) << k;
}

void TestDeviceSettings::goldenEntryBlocks()
{
    QFETCH(int, k);
    const QByteArray &expected = goldenEntryImages[k];

    const QByteArray block = goldenRecord().encodeEntryBlock(k);
    QCOMPARE(block, expected);

    DeviceSettings decoded;
    decoded.decodeEntryBlock(k, expected);
    DeviceSettings wanted;
    for (int first : {DS::PhNum1, DS::MirrServ1, DS::MirrPort1})
        wanted.setValue(first + k, goldenRecord().value(first + k));
    QCOMPARE(decoded, wanted);
}

void TestDeviceSettings::freshRecordBlocks()
{
    const DeviceSettings fresh;
    const QByteArray settings = fresh.encodeSettingsBlock(true);
    QCOMPARE(settings, QByteArray(142, '\0'));
    for (int k = 0; k < DS::EntryBlockCount; ++k)
        QCOMPARE(fresh.encodeEntryBlock(k), QByteArray(26, '\0'));

    // All zero bytes read back as what the device shows for them, and that is writable.
    DeviceSettings read;
    read.decodeSettingsBlock(settings, true);
    for (int k = 0; k < DS::EntryBlockCount; ++k)
        read.decodeEntryBlock(k, QByteArray(26, '\0'));
    const QList<int> texts = {DS::apnServer, DS::apnLogin, DS::apnPassword, DS::own_Ph, DS::sc_Ph, DS::sms_Ph,
                              DS::PhNum1, DS::PhNum2, DS::PhNum3, DS::PhNum4};
    const QList<int> addresses = {DS::IP, DS::DNS1, DS::DNS2, DS::MirrServ1, DS::MirrServ2, DS::MirrServ3, DS::MirrServ4};
    for (int i = 0; i < DS::Count; ++i) {
        const QString expected = texts.contains(i) ? QString()
            : addresses.contains(i)                ? QStringLiteral("0.0.0.0")
            : i == DS::TxSetting || i == DS::RxSetting ? QStringLiteral("300,5,1,N,0,0")
                                                       : QStringLiteral("0");
        QCOMPARE(read.value(i), expected);
    }
    QVERIFY(read.firstProblem().isValid());
}

void TestDeviceSettings::numberFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("offset");      // in the 142-byte settings block, or in entry block 1
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("x10 drops the fraction") << int(DS::ToutWaitAnsw) << 122 << "125" << 12 << "120";
    QTest::newRow("x10 below ten") << int(DS::ToutBetwenBytes) << 132 << "9" << 0 << "0";
    QTest::newRow("x10 largest") << int(DS::ToutWaitNextPacket) << 130 << "655359" << 65535 << "655350";
    QTest::newRow("x10 negative toward zero") << int(DS::ToutWaitAnsw) << 122 << "-15" << 65535 << "655350";
    QTest::newRow("negative wraps") << int(DS::MbsAdr) << 114 << "-5" << 65531 << "65531";
    QTest::newRow("above 16 bits wraps") << int(DS::RestartTimeSrv) << 124 << "65537" << 1 << "1";
    QTest::newRow("non-numeric") << int(DS::AnswersNum) << 138 << "many" << 0 << "0";
    QTest::newRow("KeepCon any decimal") << int(DS::KeepCon) << 140 << "4660" << 0x1234 << "4660";
    QTest::newRow("port wraps") << int(DS::MirrPort2) << 24 << "70000" << 4464 << "4464";
}

void TestDeviceSettings::numberFields()
{
    QFETCH(int, index);
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(int, word);
    QFETCH(QString, readBack);

    DeviceSettings s;
    s.setValue(index, text);
    const QByteArray block = imageOf(s, index);
    QCOMPARE(int(quint8(block.at(offset))), word & 0xFF);
    QCOMPARE(int(quint8(block.at(offset + 1))), word >> 8);
    QCOMPARE(::readBack(index, block).value(index), readBack);
}

void TestDeviceSettings::textWidths_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("offset");    // in the 142-byte settings block, or in an entry block
    QTest::addColumn<int>("width");

    QTest::newRow("own_Ph") << int(DS::own_Ph) << 0 << 14;
    QTest::newRow("sc_Ph") << int(DS::sc_Ph) << 14 << 14;
    QTest::newRow("sms_Ph") << int(DS::sms_Ph) << 28 << 14;
    QTest::newRow("apnServer") << int(DS::apnServer) << 42 << 32;
    QTest::newRow("apnLogin") << int(DS::apnLogin) << 74 << 14;
    QTest::newRow("apnPassword") << int(DS::apnPassword) << 88 << 14;
    QTest::newRow("PhNum1") << int(DS::PhNum1) << 0 << 20;
    QTest::newRow("PhNum4") << int(DS::PhNum4) << 0 << 20;
}

void TestDeviceSettings::textWidths()
{
    QFETCH(int, index);
    QFETCH(int, offset);
    QFETCH(int, width);
    const QByteArray golden = blockOf(index) < 0 ? goldenSettingsImage : goldenEntryImages[blockOf(index)];

    // A text of exactly the width fills the field with no NUL and leaves the neighbours alone.
    const QByteArray text = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789").left(width);
    QVERIFY(DS::check(index, QString::fromLatin1(text)).isValid());
    QByteArray image = imageWith(index, QString::fromLatin1(text));
    QCOMPARE(image, golden.left(offset) + text + golden.mid(offset + width));
    QCOMPARE(readBack(index, image).value(index), QString::fromLatin1(text));

    // One byte more is refused with the width named; encoded anyway, it is cut at the width.
    const QString over = QString::fromLatin1(text.toLower() + 'x');
    DeviceSettings s = goldenRecord();
    s.setValue(index, over);
    const SettingProblem problem = s.firstProblem();
    QCOMPARE(problem.index, index);
    QVERIFY2(problem.message().contains(DS::key(index)), qPrintable(problem.message()));
    QVERIFY2(problem.reason.contains(QString::number(width)), qPrintable(problem.reason));
    image = imageWith(index, over);
    QCOMPARE(image, golden.left(offset) + text.toLower() + golden.mid(offset + width));
}

void TestDeviceSettings::cutNeverSplitsAUtf8Sequence_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");

    // 13 ASCII bytes and a two-byte letter: 15 bytes for 14.
    QTest::newRow("two-byte sequence") << int(DS::apnLogin) << 74
        << QString::fromUtf8("abcdefghijklmж")
        << QByteArray("abcdefghijklm\0", 14);
    // 12 ASCII bytes and a three-byte sign: the sign would straddle the end.
    QTest::newRow("three-byte sequence") << int(DS::sc_Ph) << 14
        << QString::fromUtf8("abcdefghijkl€")
        << QByteArray("abcdefghijkl\0\0", 14);
    // 7 Cyrillic letters fill 14 bytes exactly; the eighth goes whole.
    QTest::newRow("letters past the width") << int(DS::apnPassword) << 88
        << QString::fromUtf8("абвгдеёж")
        << QByteArray::fromHex("D0B0 D0B1 D0B2 D0B3 D0B4 D0B5 D191");
    // 17 ASCII bytes and a four-byte emoji: 21 bytes for 20.
    QTest::newRow("four-byte sequence") << int(DS::PhNum3) << 0
        << QString::fromUtf8("01234567890123456\U0001F4DE")
        << QByteArray("01234567890123456\0\0\0", 20);
}

void TestDeviceSettings::cutNeverSplitsAUtf8Sequence()
{
    QFETCH(int, index);
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(QByteArray, field);

    QCOMPARE(DS::check(index, text).index, index);
    const QByteArray image = imageWith(index, text);
    QCOMPARE(image.mid(offset, field.size()), field);
}

void TestDeviceSettings::textsBeyondAscii_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("Cyrillic APN") << int(DS::apnServer) << QString::fromUtf8("интернет.мтс.рф");
    QTest::newRow("umlauts") << int(DS::apnPassword) << QString::fromUtf8("Grüße");
    QTest::newRow("emoji") << int(DS::PhNum2) << QString::fromUtf8("\U0001F4DE 112");
    // Built from a QChar: QString::fromUtf8 would drop it before the test began.
    QTest::newRow("leading BOM character") << int(DS::sms_Ph) << QChar(0xFEFF) + QStringLiteral("123");
}

void TestDeviceSettings::textsBeyondAscii()
{
    QFETCH(int, index);
    QFETCH(QString, text);

    QVERIFY2(DS::check(index, text).isValid(), qPrintable(DS::check(index, text).reason));
    DeviceSettings s;
    s.setValue(index, text);
    const DeviceSettings read = readBack(index, imageOf(s, index));
    QCOMPARE(read.value(index), text);
    QVERIFY(read.firstProblem().isValid());
}

void TestDeviceSettings::blocksOfOtherLengths_data()
{
    QTest::addColumn<int>("block");     // -1 for the settings block, else k
    QTest::addColumn<int>("length");    // bytes of the golden image handed over, 10 more bytes past its end
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing: TxSetting") << -1 << 0 << int(DS::TxSetting) << "300,5,1,N,0,0";
    QTest::newRow("part of own_Ph") << -1 << 5 << int(DS::own_Ph) << "+7916";
    QTest::newRow("sc_Ph beyond") << -1 << 14 << int(DS::sc_Ph) << "";
    QTest::newRow("half an address") << -1 << 104 << int(DS::IP) << "10.20.0.0";
    QTest::newRow("low byte of MbsAdr") << -1 << 115 << int(DS::MbsAdr) << "17";
    QTest::newRow("low byte of Tx") << -1 << 119 << int(DS::TxSetting) << "115200,8,2,N,0,0";
    QTest::newRow("KeepCon beyond") << -1 << 140 << int(DS::KeepCon) << "0";
    QTest::newRow("entry: phone cut") << 0 << 6 << int(DS::PhNum1) << "+79160";
    QTest::newRow("entry: three octets") << 0 << 23 << int(DS::MirrServ1) << "192.168.1.0";
    QTest::newRow("entry: low byte of port") << 3 << 25 << int(DS::MirrPort4) << "255";
    QTest::newRow("longer: rest ignored") << -1 << 152 << int(DS::KeepCon) << "1";
    QTest::newRow("entry: longer, rest ignored") << 0 << 36 << int(DS::MirrPort1) << "502";
}

void TestDeviceSettings::blocksOfOtherLengths()
{
    QFETCH(int, block);
    QFETCH(int, length);
    QFETCH(int, index);
    QFETCH(QString, expected);

    const QByteArray image = (block < 0 ? goldenSettingsImage : goldenEntryImages[block]) + QByteArray(10, '\x7F');
    DeviceSettings read = goldenRecord();
    if (block < 0)
        read.decodeSettingsBlock(image.left(length), true);
    else
        read.decodeEntryBlock(block, image.left(length));
    QCOMPARE(read.value(index), expected);
    QVERIFY(read.firstProblem().isValid());
}

void TestDeviceSettings::validity_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    // Empty is writable everywhere: it stores zero.
    for (int i : {int(DS::apnServer), int(DS::IP), int(DS::MbsAdr), int(DS::TxSetting),
                  int(DS::ToutWaitAnsw), int(DS::KeepCon), int(DS::MirrPort4)})
        QTest::addRow("empty %s", qPrintable(DS::key(i))) << i << QString() << true;

    // Numbers: plain digits, 0..65535.
    QTest::newRow("number 0") << int(DS::MbsAdr) << "0" << true;
    QTest::newRow("number 65535") << int(DS::MirrPort1) << "65535" << true;
    QTest::newRow("number 65536") << int(DS::MirrPort1) << "65536" << false;
    QTest::newRow("negative") << int(DS::MbsAdr) << "-5" << false;
    QTest::newRow("plus sign") << int(DS::TryNum) << "+3" << false;
    QTest::newRow("leading blank") << int(DS::TryNum) << " 3" << false;
    QTest::newRow("letters") << int(DS::AnswersNum) << "3x" << false;
    QTest::newRow("leading zeros") << int(DS::MaxNumBytes) << "00017" << true;
    QTest::newRow("other digits") << int(DS::TryNum) << QString::fromUtf8("\u0663") << false;
    QTest::newRow("huge") << int(DS::DisconnectTime) << "99999999999999999999999" << false;

    // The x10 time-outs: up to ten times 65535 plus the dropped fraction.
    QTest::newRow("x10 655359") << int(DS::ToutWaitNext) << "655359" << true;
    QTest::newRow("x10 655360") << int(DS::ToutWaitNext) << "655360" << false;
    QTest::newRow("x10 negative") << int(DS::ToutBetwenBytes) << "-10" << false;

    // KeepCon: any 16-bit decimal.
    QTest::newRow("KeepCon 300") << int(DS::KeepCon) << "300" << true;
    QTest::newRow("KeepCon 65536") << int(DS::KeepCon) << "65536" << false;

    // Addresses: one to four parts, each 0..255.
    QTest::newRow("address two parts") << int(DS::DNS1) << "10.1" << true;
    QTest::newRow("address 255") << int(DS::MirrServ2) << "255.255.255.255" << true;
    QTest::newRow("address five parts") << int(DS::IP) << "1.2.3.4.5" << false;
    QTest::newRow("address octet 256") << int(DS::IP) << "256.1.1.1" << false;
    QTest::newRow("address empty part") << int(DS::MirrServ1) << "1..3" << false;
    QTest::newRow("address trailing dot") << int(DS::MirrServ1) << "1.2.3." << false;
    QTest::newRow("address host name") << int(DS::MirrServ4) << "mirror.example" << false;

    // Serial settings.
    QTest::newRow("serial rate alone") << int(DS::RxSetting) << "9600" << true;
    QTest::newRow("serial three parts") << int(DS::RxSetting) << "115200,8,2" << true;
    QTest::newRow("serial 9 data bits") << int(DS::TxSetting) << "9600,9,1,N,0,0" << true;
    QTest::newRow("serial every parity") << int(DS::TxSetting) << "300,5,2,M,1,1" << true;
    QTest::newRow("serial 56000 baud") << int(DS::TxSetting) << "56000,8,1,N,0,0" << false;
    QTest::newRow("serial 4 data bits") << int(DS::RxSetting) << "9600,4,1,N,0,0" << false;
    QTest::newRow("serial 0 stop bits") << int(DS::RxSetting) << "9600,8,0,N,0,0" << false;
    QTest::newRow("serial 3 stop bits") << int(DS::RxSetting) << "9600,8,3,N,0,0" << false;
    QTest::newRow("serial parity X") << int(DS::RxSetting) << "9600,8,1,X,0,0" << false;
    QTest::newRow("serial lower-case parity") << int(DS::RxSetting) << "9600,8,1,e,0,0" << false;
    QTest::newRow("serial flag 2") << int(DS::TxSetting) << "9600,8,1,N,2,0" << false;
    QTest::newRow("serial seven parts") << int(DS::TxSetting) << "9600,8,1,N,0,0,0" << false;
    QTest::newRow("serial empty part") << int(DS::TxSetting) << "9600,,1" << false;
    QTest::newRow("serial trailing comma") << int(DS::TxSetting) << "9600," << false;

    // Free texts: their UTF-8 form must fit (the widths themselves: textWidths).
    QTest::newRow("text 7 Cyrillic letters") << int(DS::apnLogin) << QString::fromUtf8("абвгдеж") << true;
    QTest::newRow("text with blanks") << int(DS::own_Ph) << " +7 916 " << true;
    QTest::newRow("text with NUL") << int(DS::PhNum1) << QString::fromLatin1("12\0" "34", 5) << false;
    QTest::newRow("text with a lone surrogate") << int(DS::PhNum2) << QString(QChar(0xD83D)) << false;
}

void TestDeviceSettings::validity()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, valid);

    DeviceSettings s;
    s.setValue(index, text);
    const SettingProblem problem = s.firstProblem();
    QCOMPARE(problem.index, valid ? -1 : index);
    QCOMPARE(problem.isValid(), valid);
    QCOMPARE(problem.reason.isEmpty(), valid);
    QCOMPARE(problem.message().isEmpty(), valid);
    if (!valid)
        QVERIFY2(problem.message().contains(DS::key(index)), qPrintable(problem.message()));
}

void TestDeviceSettings::firstProblemNamesTheLowestIndex()
{
    DeviceSettings s = goldenRecord();
    s.setValue(DS::MirrPort2, QStringLiteral("70000"));
    s.setValue(DS::RxSetting, QStringLiteral("56000,8,1,N,0,0"));
    SettingProblem problem = s.firstProblem();
    QCOMPARE(problem.index, int(DS::RxSetting));
    QVERIFY2(problem.reason.contains(QLatin1String("56000")), qPrintable(problem.reason));
    QVERIFY2(problem.message().contains(QLatin1String("RxSetting")), qPrintable(problem.message()));

    s.setValue(DS::RxSetting, QStringLiteral("57600,8,1,N,0,0"));
    problem = s.firstProblem();
    QCOMPARE(problem.index, int(DS::MirrPort2));
    QVERIFY2(problem.message().contains(QLatin1String("MirrPort2")), qPrintable(problem.message()));
    QVERIFY2(problem.message().contains(QLatin1String("70000")), qPrintable(problem.message()));
}

void TestDeviceSettings::problemMessageIsTranslated()
{
    DeviceSettings s;
    s.setValue(DS::MirrPort1, QStringLiteral("70000"));
    const QString untranslated = s.firstProblem().message();

    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const SettingProblem problem = s.firstProblem();
    const QString translated = problem.message();
    QCoreApplication::removeTranslator(&translator);

    QVERIFY(translated != untranslated);
    QVERIFY2(translated.startsWith(QLatin1Char('<')) && translated.endsWith(QLatin1String(">>")),
             qPrintable(translated));    // the frame and the reason both went through it
    QVERIFY2(translated.contains(QLatin1String("MirrPort1")), qPrintable(translated));
}

void TestDeviceSettings::decodedRandomBlocksAreWritable()
{
    // Any block the device may send, with ASCII texts, reads as a record that
    // a Write accepts and that reads back the same after it is written.
    QRandomGenerator random(20240611);
    const struct { int offset; int width; } settingsTexts[] = {{0, 14}, {14, 14}, {28, 14}, {42, 32}, {74, 14}, {88, 14}};

    auto randomBytes = [&random](int size) {
        QByteArray bytes(size, '\0');
        for (char &c : bytes)
            c = char(random.bounded(256));
        return bytes;
    };
    auto asciiText = [&random](QByteArray &block, int offset, int width) {
        // Sometimes full, sometimes ended early; bytes after the NUL stay random.
        const int length = random.bounded(3) == 0 ? width : random.bounded(width + 1);
        for (int i = 0; i < length; ++i)
            block[offset + i] = char(random.bounded(1, 128));
        if (length < width)
            block[offset + length] = '\0';
    };

    for (int round = 0; round < 2000; ++round) {
        const bool withKeepCon = round % 2 == 0;
        QByteArray settings = randomBytes(withKeepCon ? 142 : 140);
        for (const auto &field : settingsTexts)
            asciiText(settings, field.offset, field.width);
        QByteArray entries[DS::EntryBlockCount];
        for (QByteArray &entry : entries) {
            entry = randomBytes(26);
            asciiText(entry, 0, 20);
        }

        DeviceSettings read;
        read.decodeSettingsBlock(settings, withKeepCon);
        for (int k = 0; k < DS::EntryBlockCount; ++k)
            read.decodeEntryBlock(k, entries[k]);
        const SettingProblem problem = read.firstProblem();
        if (!problem.isValid())
            QFAIL(qPrintable(QStringLiteral("round %1, block %2: %3")
                                 .arg(round).arg(QString::fromLatin1(settings.toHex())).arg(problem.message())));

        DeviceSettings again;
        again.decodeSettingsBlock(read.encodeSettingsBlock(withKeepCon), withKeepCon);
        for (int k = 0; k < DS::EntryBlockCount; ++k)
            again.decodeEntryBlock(k, read.encodeEntryBlock(k));
        if (again != read)
            QCOMPARE(again, read);
    }
}

QTEST_GUILESS_MAIN(TestDeviceSettings)
#include "tst_devicesettings.moc"
