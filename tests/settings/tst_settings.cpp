// The settings record: its register images, the text forms of its values,
// and the check that keeps what the modem cannot hold from being written.

#include "golden.h"

#include <QRandomGenerator>
#include <QtTest>

using DS = DeviceSettings;

namespace {

// The entry block that holds entry `index`, or -1 for the settings block.
int blockOf(int index)
{
    return index >= DS::PhNum1 ? (index - DS::PhNum1) % DS::EntryBlockCount : -1;
}

QByteArray goldenImage(int block)
{
    return block < 0 ? Golden::settingsBlock : Golden::entryBlocks[block];
}

// The golden image of the block holding `index`, with `bytes` at `offset`.
QByteArray goldenWith(int index, int offset, const QByteArray &bytes)
{
    return goldenImage(blockOf(index)).replace(offset, bytes.size(), bytes);
}

DeviceSettings readBack(int block, const QByteArray &image, bool withKeepCon = true,
                        DeviceSettings read = DeviceSettings())
{
    if (block < 0)
        read.decodeSettingsBlock(image, withKeepCon);
    else
        read.decodeEntryBlock(block, image);
    return read;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void goldenBlocks_data()
    {
        QTest::addColumn<int>("block");
        QTest::addColumn<bool>("withKeepCon");
        QTest::newRow("settings, 142 bytes") << -1 << true;
        QTest::newRow("settings, 140 bytes") << -1 << false;
        for (int k = 0; k < DS::EntryBlockCount; ++k)
            QTest::addRow("entry %d", k) << k << true;
    }

    void goldenBlocks()
    {
        QFETCH(int, block);
        QFETCH(bool, withKeepCon);
        const DeviceSettings golden = Golden::record();
        QVERIFY2(!golden.firstProblem().exists(), qPrintable(golden.firstProblem().message()));
        const QByteArray image = goldenImage(block).left(withKeepCon ? 142 : 140);
        const QByteArray encoded = block < 0 ? golden.encodeSettingsBlock(withKeepCon) : golden.encodeEntryBlock(block);
        QCOMPARE(encoded.toHex(' '), image.toHex(' '));
        // Decoding fills the block's own entries and no other.
        DeviceSettings expected;
        for (int i = 0; i < DS::Count; ++i)
            expected.setValue(i, blockOf(i) == block ? golden.value(i) : QString());
        if (!withKeepCon)
            expected.setValue(DS::KeepCon, "0");
        QCOMPARE(readBack(block, image, withKeepCon), expected);
    }

    // One entry set in the golden record: its bytes in the block, what reads
    // back from them, and whether a Write may send it.
    void entries_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");   // null: the text itself
        QTest::addColumn<bool>("writable");
        const QString same;

        QTest::newRow("x10 drops the fraction") << int(DS::ToutWaitAnsw) << 122 << "125" << hex("0C 00") << "120" << false;
        QTest::newRow("x10 largest") << int(DS::ToutWaitNextPacket) << 130 << "655350" << hex("FF FF") << same << true;
        QTest::newRow("x10 largest typed") << int(DS::ToutWaitNextPacket) << 130 << "655359" << hex("FF FF") << "655350"
                                           << false;
        QTest::newRow("x10 one past") << int(DS::ToutWaitNext) << 120 << "655360" << hex("00 00") << "0" << false;
        QTest::newRow("x10 negative toward zero") << int(DS::ToutWaitNext) << 120 << "-15" << hex("FF FF") << "655350" << false;
        QTest::newRow("negative wraps") << int(DS::MbsAdr) << 114 << "-5" << hex("FB FF") << "65531" << false;
        QTest::newRow("port 65535") << int(DS::MirrPort1) << 24 << "65535" << hex("FF FF") << same << true;
        QTest::newRow("port wraps") << int(DS::MirrPort2) << 24 << "70000" << hex("70 11") << "4464" << false;
        QTest::newRow("empty number") << int(DS::MbsAdr) << 114 << "" << hex("00 00") << "0" << false;
        QTest::newRow("leading zeros") << int(DS::MaxNumBytes) << 134 << "00017" << hex("11 00") << "17" << true;
        QTest::newRow("non-numeric") << int(DS::AnswersNum) << 138 << "many" << hex("00 00") << "0" << false;
        QTest::newRow("blanks, stored all the same") << int(DS::TryNum) << 136 << " 7 " << hex("07 00") << "7" << false;
        QTest::newRow("other digits") << int(DS::RestartTimeSrv) << 124 << "\u0663" << hex("00 00") << "0" << false;
        QTest::newRow("KeepCon any number") << int(DS::KeepCon) << 140 << "4660" << hex("34 12") << same << true;

        QTest::newRow("address") << int(DS::IP) << 102 << "192.168.0.1" << hex("C0 A8 00 01") << same << true;
        QTest::newRow("address of two parts") << int(DS::DNS1) << 106 << "10.1" << hex("0A 01 00 00") << "10.1.0.0" << false;
        QTest::newRow("empty address") << int(DS::MirrServ2) << 20 << "" << hex("00 00 00 00") << "0.0.0.0" << false;
        QTest::newRow("address of five parts") << int(DS::IP) << 102 << "1.2.3.4.5" << hex("01 02 03 04") << "1.2.3.4" << false;
        QTest::newRow("address: low 8 bits, non-numeric 0") << int(DS::DNS2) << 110 << "256.300.-1.x" << hex("00 2C FF 00")
                                                            << "0.44.255.0" << false;
        QTest::newRow("address, empty part") << int(DS::MirrServ1) << 20 << "1..3" << hex("01 00 03 00") << "1.0.3.0" << false;

        // bits: 0-3 baud, 4-6 data bits, 7 two stop bits, 8-10 parity, 11 A, 12 B
        QTest::newRow("9600 8N1") << int(DS::RxSetting) << 116 << "9600,8,1,N,0,0" << hex("35 00") << same << true;
        QTest::newRow("115200 8E2 A") << int(DS::TxSetting) << 118 << "115200,8,2,E,1,0" << hex("BB 0A") << same << true;
        QTest::newRow("300 5M1 A B") << int(DS::TxSetting) << 118 << "300,5,1,M,1,1" << hex("00 1D") << same << true;
        QTest::newRow("rate alone") << int(DS::RxSetting) << 116 << "9600" << hex("05 00") << "9600,5,1,N,0,0" << false;
        QTest::newRow("no options") << int(DS::RxSetting) << 116 << "9600,8,1,N" << hex("35 00") << "9600,8,1,N,0,0" << true;
        QTest::newRow("empty serial refused") << int(DS::TxSetting) << 118 << "" << hex("00 00") << "300,5,1,N,0,0" << false;
        QTest::newRow("nine data bits show as 8") << int(DS::RxSetting) << 116 << "9600,9,1,N" << hex("75 00") << "9600,8,1,N,0,0"
                                                  << false;
        QTest::newRow("rate not in the table") << int(DS::TxSetting) << 118 << "56000,8,1,N,0,0" << hex("30 00")
                                               << "300,8,1,N,0,0" << false;
        QTest::newRow("four data bits") << int(DS::RxSetting) << 116 << "9600,4,1,N" << hex("05 00") << "9600,5,1,N,0,0" << false;
        QTest::newRow("stop bits 0 is even") << int(DS::RxSetting) << 116 << "9600,8,0,N" << hex("B5 00") << "9600,8,2,N,0,0"
                                             << false;
        QTest::newRow("lower-case parity") << int(DS::RxSetting) << 116 << "9600,8,1,e" << hex("35 00") << "9600,8,1,N,0,0"
                                           << false;
        QTest::newRow("flags take the low bit") << int(DS::TxSetting) << 118 << "9600,8,1,N,3,2" << hex("35 08")
                                                << "9600,8,1,N,1,0" << false;
        QTest::newRow("seventh part") << int(DS::TxSetting) << 118 << "9600,8,1,N,0,0,1" << hex("35 00") << "9600,8,1,N,0,0"
                                      << false;
        QTest::newRow("empty parts") << int(DS::TxSetting) << 118 << ",,,,1,1" << hex("80 18") << "300,5,2,N,1,1" << false;

        // A text of exactly the width fills its field with no NUL; one byte more
        // is refused, and encoded anyway it stops at the field's end.
        const struct { int index, offset, width; } fields[] = {
            {DS::own_Ph, 0, 14}, {DS::sc_Ph, 14, 14}, {DS::sms_Ph, 28, 14}, {DS::apnServer, 42, 32},
            {DS::apnLogin, 74, 14}, {DS::apnPassword, 88, 14}, {DS::PhNum3, 0, 20}};
        for (const auto &f : fields) {
            const QByteArray full = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789").left(f.width);
            const QByteArray keyText = DS::key(f.index).toLatin1();
            const char *key = keyText.constData();
            QTest::addRow("%s full", key) << f.index << f.offset << QString(full) << full << same << true;
            QTest::addRow("%s one over", key) << f.index << f.offset << QString(full.toLower() + 'x') << full.toLower()
                                              << QString(full.toLower()) << false;
        }
        // A cut never splits a UTF-8 sequence.
        QTest::newRow("cut before 2 bytes") << int(DS::apnLogin) << 74 << "abcdefghijklmж"
                                            << QByteArray("abcdefghijklm\0", 14) << "abcdefghijklm" << false;
        QTest::newRow("cut before 3 bytes") << int(DS::sc_Ph) << 14 << "abcdefghijkl€" << QByteArray("abcdefghijkl\0\0", 14)
                                            << "abcdefghijkl" << false;
        QTest::newRow("cut before 4 bytes") << int(DS::PhNum2) << 0 << "01234567890123456\U0001F4DE"
                                            << QByteArray("01234567890123456\0\0\0", 20) << "01234567890123456" << false;
        QTest::newRow("umlauts") << int(DS::apnPassword) << 88 << "Grüße"
                                 << QByteArray("Gr\xC3\xBC\xC3\x9F" "e\0\0\0\0\0\0\0", 14) << same << true;
        QTest::newRow("emoji") << int(DS::PhNum4) << 0 << "\U0001F4DE 112"
                               << QByteArray("\xF0\x9F\x93\x9E 112\0\0\0\0\0\0\0\0\0\0\0\0", 20) << same << true;
        // Built from a QChar: QString::fromUtf8 would drop it as a byte-order mark.
        QTest::newRow("leading U+FEFF") << int(DS::sms_Ph) << 28 << QChar(0xFEFF) + QString("123")
                                        << QByteArray("\xEF\xBB\xBF" "123\0\0\0\0\0\0\0\0", 14) << same << true;
        QTest::newRow("NUL inside") << int(DS::PhNum1) << 0 << QString::fromLatin1("12\0" "34", 5)
                                    << QByteArray("12\0" "34", 5) + QByteArray(15, 0) << "12" << false;
        QTest::newRow("lone surrogate") << int(DS::own_Ph) << 0 << QString(QChar(0xD83D)) << QByteArray("?") + QByteArray(13, 0)
                                        << "?" << false;
    }

    void entries()
    {
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, writable);
        DeviceSettings s = Golden::record();
        s.setValue(index, text);
        const QByteArray image = blockOf(index) < 0 ? s.encodeSettingsBlock(true) : s.encodeEntryBlock(blockOf(index));
        QCOMPARE(image.toHex(' '), goldenWith(index, offset, bytes).toHex(' '));
        QCOMPARE(readBack(blockOf(index), image).value(index), shown.isNull() ? text : shown);
        const SettingProblem problem = s.firstProblem();
        QCOMPARE(problem.index, writable ? -1 : index);
        QVERIFY2(writable || problem.message().contains(" (" + DS::key(index) + "): "), qPrintable(problem.message()));
    }

    // A text field another tool wrote in Latin-1 reads as Latin-1 where it
    // is not UTF-8, and a text nobody changed goes back byte for byte, even
    // where its UTF-8 would not fit.
    void textsBackAsTheyWere_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Latin-1, the field full") << int(DS::apnPassword) << 88 << QByteArray("motdepass\xE9\xE9\xE9\xE9" "1")
                                                 << "motdepasséééé1";
        QTest::newRow("UTF-8 then Latin-1") << int(DS::PhNum1) << 0 << QByteArray("\xC3\xA9\xE9\0", 4) << "éé";
        QTest::newRow("a sequence cut short") << int(DS::own_Ph) << 0 << QByteArray("ab\xE2\x82\0", 5) << "abâ\u0082";
        QTest::newRow("an overlong form") << int(DS::sc_Ph) << 14 << QByteArray("\xC0\xAF\0", 3) << "À¯";
        QTest::newRow("bytes after a NUL") << int(DS::PhNum1) << 0 << QByteArray("12\0" "34", 5) << "12";
    }

    void textsBackAsTheyWere()
    {
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const int block = DS::blockOf(index);
        const QByteArray image = goldenImage(blockOf(index)).replace(offset, bytes.size(), bytes);
        DeviceSettings read;
        read.decodeBlock(block, image, true);
        QCOMPARE(read.value(index), shown);
        // The form hands the text back as it showed it.
        read.setValue(index, QString(shown));
        const SettingProblem problem = read.firstProblem(DS::Blocks().set(size_t(block)));
        QVERIFY2(!problem.exists(), qPrintable(problem.message()));
        QCOMPARE(read.encodeBlock(block, true).mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
        // A text that changed is written as UTF-8.
        read.setValue(index, "é");
        QCOMPARE(read.encodeBlock(block, true).mid(offset, 3).toHex(' '), hex("C3 A9 00").toHex(' '));
    }

    void decodedRandomBlocksAreWritable()
    {
        // Whatever the modem sends, the record read from it is writable and
        // writes back the same.
        QRandomGenerator random(20240611);
        const auto randomBlock = [&random](int size, const QVector<QPair<int, int>> &texts) {
            QByteArray bytes(size, '\0');
            for (char &c : bytes)
                c = char(random.bounded(256));
            for (const auto &text : texts) {   // sometimes full, else ended by a NUL
                const int length = random.bounded(3) == 0 ? text.second : random.bounded(text.second);
                for (int i = 0; i < length; ++i)
                    bytes[text.first + i] = char(random.bounded(1, 256));
                if (length < text.second)
                    bytes[text.first + length] = '\0';
            }
            return bytes;
        };
        for (int round = 0; round < 2000; ++round) {
            const bool withKeepCon = round % 2 == 0;
            DeviceSettings read = readBack(-1, randomBlock(142, {{0, 14}, {14, 14}, {28, 14}, {42, 32}, {74, 14}, {88, 14}}),
                                           withKeepCon);
            DeviceSettings again = readBack(-1, read.encodeSettingsBlock(withKeepCon), withKeepCon);
            for (int k = 0; k < DS::EntryBlockCount; ++k) {
                read = readBack(k, randomBlock(26, {{0, 20}}), true, read);
                again = readBack(k, read.encodeEntryBlock(k), true, again);
            }
            if (read.firstProblem().exists() || again != read)
                QFAIL(qPrintable(QString("round %1: %2").arg(round).arg(read.firstProblem().message())));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
