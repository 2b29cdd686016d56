#include "settingscodecs.h"

#include <QStringList>

namespace {

// Indexes 12..15 repeat 9600 so that every 4-bit value names a rate; a lookup
// takes the first match, so writing 9600 always gives index 5.
constexpr int baudTable[16] = {300, 600, 1200, 2400, 4800, 9600, 14400, 19200,
                               38400, 57600, 76800, 115200, 9600, 9600, 9600, 9600};
constexpr int dataBitsTable[8] = {5, 6, 7, 8, 8, 8, 8, 9};
constexpr char parityLetters[8] = {'N', 'N', 'E', 'O', 'S', 'M', 'N', 'N'};

} // namespace

const QList<int> &supportedBaudRates()
{
    static const QList<int> rates = [] {
        QList<int> unique;
        for (int rate : baudTable) {
            if (!unique.contains(rate))
                unique << rate;
        }
        return unique;
    }();
    return rates;
}

qint64 parseDecimal(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? value : 0;
}

QString formatSerialSettings(quint16 word)
{
    // The data-bits field is three bits wide, but the device firmware reads
    // only the lower two, so index 7 (9 bits) shows as 8.
    return QString::asprintf("%d,%d,%d,%c,%d,%d",
                             baudTable[word & 0x0F],
                             dataBitsTable[(word >> 4) & 0x03],
                             ((word >> 7) & 1) + 1,
                             parityLetters[(word >> 8) & 0x07],
                             (word >> 11) & 1,
                             (word >> 12) & 1);
}

quint16 parseSerialSettings(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    quint16 word = 0;

    if (parts.size() >= 1) {
        const qint64 rate = parseDecimal(parts.at(0));
        for (int i = 0; i < 16; ++i) {
            if (baudTable[i] == rate) {
                word |= quint16(i);
                break;
            }
        }
    }
    if (parts.size() >= 2) {
        const qint64 bits = parseDecimal(parts.at(1));
        for (int i = 0; i < 8; ++i) {
            if (dataBitsTable[i] == bits) {
                word |= quint16(i << 4);
                break;
            }
        }
    }
    if (parts.size() >= 3 && (parseDecimal(parts.at(2)) & 1) == 0)
        word |= 0x0080;
    if (parts.size() >= 4) {
        const QString &parity = parts.at(3);
        for (int i = 0; i < 8; ++i) {
            if (parity.size() == 1 && parity.at(0) == QLatin1Char(parityLetters[i])) {
                word |= quint16(i << 8);
                break;
            }
        }
    }
    if (parts.size() >= 5 && (parseDecimal(parts.at(4)) & 1))
        word |= 0x0800;
    if (parts.size() >= 6 && (parseDecimal(parts.at(5)) & 1))
        word |= 0x1000;
    return word;
}

QString printableText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            shown += QString::asprintf("\\x%02X", uint(c.unicode()));
        else
            shown += c;
    }
    return shown;
}

QString printableExcerpt(const QString &text, int limit)
{
    if (text.size() <= limit)
        return printableText(text);
    return printableText(text.left(limit)) + QChar(0x2026);
}

QString formatAddress(const std::array<quint8, 4> &octets)
{
    return QString::asprintf("%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
}

std::array<quint8, 4> parseAddress(const QString &text)
{
    std::array<quint8, 4> octets = {0, 0, 0, 0};
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        octets[i] = quint8(parseDecimal(parts.at(i)) & 0xFF);
    return octets;
}
