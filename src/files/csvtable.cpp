#include "csvtable.h"

namespace {

const QChar ByteOrderMark(0xFEFF);

// The offset of the first byte that is not part of a well-formed UTF-8
// sequence (no overlong forms, no surrogates, nothing beyond U+10FFFF), or -1.
qint64 firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qint64 size = bytes.size();
    for (qint64 i = 0; i < size;) {
        const unsigned char lead = data[i];
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > size)
            return i;
        for (int k = 1; k < length; ++k) {
            const unsigned char next = data[i + k];
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return -1;
}

// As the parser counts lines: CR LF, LF or a CR alone end one.
int lineOf(const QByteArray &bytes, qint64 offset)
{
    int line = 1;
    for (qint64 i = 0; i < offset; ++i) {
        if (bytes.at(int(i)) == '\n' || (bytes.at(int(i)) == '\r' && (i + 1 >= bytes.size() || bytes.at(int(i) + 1) != '\n')))
            ++line;
    }
    return line;
}

// The separator of the first line: the one it holds more of outside quotes.
char separatorOf(const QString &text)
{
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

} // namespace

CsvContent parseCsv(const QByteArray &bytes)
{
    CsvContent content;
    const auto fail = [&content](int line, const QString &error) {
        content.error = error;
        content.errorLine = line;
        return content;
    };
    if (const qint64 invalid = firstInvalidUtf8(bytes); invalid >= 0)
        return fail(lineOf(bytes, invalid),
                    QString::asprintf("byte 0x%02X is not UTF-8: ", uint(quint8(bytes.at(int(invalid)))))
                        + QStringLiteral("save the table as \"CSV UTF-8\" (a spreadsheet's plain \"CSV\" on Windows "
                                         "is in the system's code page, Windows-1251 in Russian)"));
    if (const int nul = bytes.indexOf('\0'); nul >= 0)
        return fail(lineOf(bytes, nul), QStringLiteral("a NUL byte, which no text of a table holds"));
    content.endsWithLineBreak = bytes.endsWith('\n') || bytes.endsWith('\r');
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(ByteOrderMark))
        text.remove(0, 1);
    const QChar separator = QLatin1Char(separatorOf(text));
    int line = 1;
    CsvRecord record{1, {}};
    QString cell;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the field had quotes: it is a field even when empty
    const auto endRecord = [&] {
        if (!record.cells.isEmpty() || !cell.isEmpty() || wasQuoted) {
            record.cells << cell;
            content.records << record;
        }
        record = CsvRecord{line, {}};
        cell.clear();
        wasQuoted = false;
    };
    // Judged as each cell ends: the text itself is bounded by MaxCsvBytes.
    const auto cellTooLong = [&cell] {
        return cell.size() * 3 > MaxCsvCellBytes && cell.toUtf8().size() > MaxCsvCellBytes;
    };
    const QString tooLong = QStringLiteral("a cell of more than %1 bytes").arg(MaxCsvCellBytes);
    const QString tooMany = QStringLiteral("more than %1 rows below the header").arg(MaxCsvRecords - 1);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (content.records.size() > MaxCsvRecords)
            return fail(content.records.constLast().line, tooMany);
        // Two files put one after the other, the second with its mark.
        if (c == ByteOrderMark)
            return fail(line, QStringLiteral("a byte-order mark inside the table, which no cell holds"));
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            if (!cell.trimmed().isEmpty() || wasQuoted)
                return fail(line, QStringLiteral("a quote in the middle of a field; a field with quotes is quoted as a "
                                                 "whole, its quotes doubled"));
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            if (cellTooLong())
                return fail(record.line, tooLong);
            record.cells << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (cellTooLong())
                return fail(record.line, tooLong);
            ++line;
            endRecord();
        } else if (!wasQuoted) {
            cell += c;
        } else if (!c.isSpace()) {
            return fail(line, QStringLiteral("text after a quoted field's closing quote"));
        }
    }
    if (quoted)
        return fail(record.line, QStringLiteral("a quoted field is never closed"));
    if (cellTooLong())
        return fail(record.line, tooLong);
    endRecord();
    if (content.records.size() > MaxCsvRecords)
        return fail(content.records.constLast().line, tooMany);
    return content;
}

QByteArray csvLine(const QStringList &cells)
{
    QStringList quoted;
    for (QString cell : cells) {
        if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"'))
            || cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'))) {
            cell.replace(QLatin1String("\""), QLatin1String("\"\""));
            cell = QLatin1Char('"') + cell + QLatin1Char('"');
        }
        quoted << cell;
    }
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}
