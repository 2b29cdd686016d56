#include "settingscodecs.h"

#include <QtTest>

using Octets = std::array<quint8, 4>;
Q_DECLARE_METATYPE(Octets)

namespace QTest {
template <>
char *toString(const Octets &octets)
{
    return qstrdup(QByteArray::number(octets[0]) + ',' + QByteArray::number(octets[1]) + ','
                   + QByteArray::number(octets[2]) + ',' + QByteArray::number(octets[3]));
}
} // namespace QTest

class TestSettingsCodecs : public QObject {
    Q_OBJECT

private slots:
    void parseSerial_data();
    void parseSerial();
    void formatSerial_data();
    void formatSerial();
    void everyWordReadsAndWritesBackStable();
    void parseAddressText_data();
    void parseAddressText();
    void decimal_data();
    void decimal();
};

void TestSettingsCodecs::parseSerial_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("word");

    // bits: 0-3 baud, 4-6 data bits, 7 two stop bits, 8-10 parity, 11 A, 12 B
    QTest::newRow("9600 8N1") << "9600,8,1,N,0,0" << 0x0035;
    QTest::newRow("115200 8E2 A") << "115200,8,2,E,1,0" << 0x0ABB;
    QTest::newRow("rate alone") << "9600" << 0x0005;
    QTest::newRow("rate not in table") << "56000,8,1,N,0,0" << 0x0030;
    QTest::newRow("76800 7O1") << "76800,7,1,O" << 0x032A;
    QTest::newRow("300 5M1 A B") << "300,5,1,M,1,1" << 0x1D00;
    QTest::newRow("nine data bits -> index 7") << "9600,9" << 0x0075;
    QTest::newRow("data bits not in table") << "9600,4,1" << 0x0005;
    QTest::newRow("stop bits 0 is even") << "9600,8,0" << 0x00B5;
    QTest::newRow("stop bits 3 is odd") << "9600,8,3" << 0x0035;
    QTest::newRow("lower-case parity") << "9600,8,1,e" << 0x0035;
    QTest::newRow("parity word") << "9600,8,1,EVEN" << 0x0035;
    QTest::newRow("flags take the low bit") << "9600,8,1,N,3,2" << 0x0835;
    QTest::newRow("seventh part ignored") << "9600,8,1,N,0,0,1" << 0x0035;
    QTest::newRow("empty parts") << ",,,,1,1" << 0x1880;
    QTest::newRow("garbage") << "fast" << 0x0000;
}

void TestSettingsCodecs::parseSerial()
{
    QFETCH(QString, text);
    QFETCH(int, word);
    QCOMPARE(int(parseSerialSettings(text)), word);
}

void TestSettingsCodecs::formatSerial_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0x0000 << "300,5,1,N,0,0";
    QTest::newRow("9600 8N1") << 0x0035 << "9600,8,1,N,0,0";
    QTest::newRow("115200 8E2 A") << 0x0ABB << "115200,8,2,E,1,0";
    QTest::newRow("data index 7 shows as 8") << 0x0075 << "9600,8,1,N,0,0";
    QTest::newRow("baud 11") << 0x000B << "115200,5,1,N,0,0";
    QTest::newRow("baud 15") << 0x000F << "9600,5,1,N,0,0";
    QTest::newRow("parity 3") << 0x0300 << "300,5,1,O,0,0";
    QTest::newRow("parity 5") << 0x0500 << "300,5,1,M,0,0";
    QTest::newRow("parity 6") << 0x0600 << "300,5,1,N,0,0";
    QTest::newRow("reserved bits") << 0xE000 << "300,5,1,N,0,0";
    QTest::newRow("all bits") << 0xFFFF << "9600,8,2,N,1,1";
    QTest::newRow("57600 7O2 B") << 0x13A9 << "57600,7,2,O,0,1";
}

void TestSettingsCodecs::formatSerial()
{
    QFETCH(int, word);
    QFETCH(QString, text);
    QCOMPARE(formatSerialSettings(quint16(word)), text);
}

void TestSettingsCodecs::everyWordReadsAndWritesBackStable()
{
    // Whatever the device holds, the text it shows must write back as a word
    // that shows the same text, and 9600 must never come back as 12..15. Every
    // text the window shows is such a text, so this is also the round trip.
    for (int word = 0; word <= 0xFFFF; ++word) {
        const QString shown = formatSerialSettings(quint16(word));
        const quint16 written = parseSerialSettings(shown);
        if ((written & 0x0F) >= 12 || formatSerialSettings(written) != shown)
            QFAIL(qPrintable(QString::asprintf("word 0x%04X shows as %s, writes 0x%04X", word,
                                               qPrintable(shown), written)));
    }
}

void TestSettingsCodecs::parseAddressText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Octets>("octets");

    QTest::newRow("plain") << "192.168.0.1" << Octets{192, 168, 0, 1};
    QTest::newRow("five parts") << "1.2.3.4.5" << Octets{1, 2, 3, 4};
    QTest::newRow("low 8 bits, non-numeric 0") << "256.300.-1.x" << Octets{0, 44, 255, 0};
    QTest::newRow("empty") << "" << Octets{0, 0, 0, 0};
    QTest::newRow("empty parts") << "1..3" << Octets{1, 0, 3, 0};
    QTest::newRow("large part") << "65537.1.1.1" << Octets{1, 1, 1, 1};
}

void TestSettingsCodecs::parseAddressText()
{
    QFETCH(QString, text);
    QFETCH(Octets, octets);
    QCOMPARE(parseAddress(text), octets);
}

void TestSettingsCodecs::decimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("value");

    QTest::newRow("empty") << "" << 0LL;
    QTest::newRow("negative") << "-5" << -5LL;
    QTest::newRow("surrounding blanks") << " 7 " << 7LL;
    QTest::newRow("trailing letters") << "5x" << 0LL;
    QTest::newRow("hexadecimal") << "0x10" << 0LL;
    QTest::newRow("beyond 64 bits") << "99999999999999999999" << 0LL;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << 0LL;
}

void TestSettingsCodecs::decimal()
{
    QFETCH(QString, text);
    QFETCH(qlonglong, value);
    QCOMPARE(parseDecimal(text), value);
}

QTEST_GUILESS_MAIN(TestSettingsCodecs)
#include "tst_settingscodecs.moc"
