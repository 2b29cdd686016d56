#include "provisiontable.h"

#include <QHash>

namespace {

const char IdColumn[] = "id";

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
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
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
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
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
            if (!cell.trimmed().isEmpty() || wasQuoted) {
                content.error = QStringLiteral("a quote in the middle of a field; a field with quotes is quoted as a whole, "
                                   "its quotes doubled");
                content.errorLine = line;
                return content;
            }
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            record.cells << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++line;
            endRecord();
        } else if (!wasQuoted) {
            cell += c;
        } else if (!c.isSpace()) {
            content.error = QStringLiteral("text after a quoted field's closing quote");
            content.errorLine = line;
            return content;
        }
    }
    if (quoted) {
        content.error = QStringLiteral("a quoted field is never closed");
        content.errorLine = record.line;
        return content;
    }
    endRecord();
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

QString ProvisionRow::name() const
{
    return id.isEmpty() ? QStringLiteral("line %1").arg(line) : id;
}

ProvisionTable readProvisionTable(const QByteArray &text, const SettingsValues &templateValues, const QString &matchKey)
{
    ProvisionTable table;
    const CsvContent csv = parseCsv(text);
    if (!csv.error.isEmpty()) {
        table.problems << QStringLiteral("line %1: %2").arg(csv.errorLine).arg(csv.error);
        return table;
    }
    if (csv.records.isEmpty()) {
        table.problems << QStringLiteral("the table is empty: its first line names the settings, one column each");
        return table;
    }
    const CsvRecord &header = csv.records.constFirst();
    int idColumn = -1;
    QHash<QString, int> seen;
    for (int column = 0; column < header.cells.size(); ++column) {
        const QString key = header.cells.at(column).trimmed();
        table.columns << key;
        const int index = DeviceSettings::indexOfKey(key);
        if (seen.contains(key))
            table.problems << QStringLiteral("line %1: column %2 is named twice").arg(header.line).arg(key);
        else if (key == QLatin1String(IdColumn))
            idColumn = column;
        else if (index < 0)
            table.problems << QStringLiteral("line %1: %2 is not a setting of the modem (a column is a settings key, or id)")
                                  .arg(header.line)
                                  .arg(key.isEmpty() ? QStringLiteral("an unnamed column") : key);
        seen.insert(key, column);
    }
    if (!matchKey.isEmpty() && !seen.contains(matchKey))
        table.problems << QStringLiteral("line %1: --match %2 names no column of the table").arg(header.line).arg(matchKey);
    if (!table.problems.isEmpty())
        return table;

    QHash<QString, int> matchValues;
    QHash<QString, int> ids;
    for (int r = 1; r < csv.records.size(); ++r) {
        const CsvRecord &record = csv.records.at(r);
        if (record.cells.size() > header.cells.size()) {
            table.problems << QStringLiteral("line %1: %2 cells, but the header names %3 columns")
                                  .arg(record.line)
                                  .arg(record.cells.size())
                                  .arg(header.cells.size());
            continue;
        }
        ProvisionRow row;
        row.line = record.line;
        for (int column = 0; column < record.cells.size(); ++column) {
            const QString cell = record.cells.at(column).trimmed();
            if (column == idColumn)
                row.id = cell;
            else if (!cell.isEmpty())
                row.cells.append(SettingsPair(table.columns.at(column), cell));
        }
        const SettingsValues cells = SettingsValues::fromPairs(row.cells);
        row.values = templateValues;
        row.values.settings = cells.over(templateValues.settings);
        for (int index = 0; index < DeviceSettings::Count; ++index)
            row.values.present[size_t(index)] = row.values.present[size_t(index)] || cells.present[size_t(index)];
        for (const SettingProblem &problem : row.values.problems())
            table.problems << QStringLiteral("line %1: %2").arg(row.line).arg(problem.message());
        if (idColumn >= 0) {
            if (row.id.isEmpty())
                table.problems << QStringLiteral("line %1: the id is empty").arg(row.line);
            else if (ids.contains(row.id))
                table.problems << QStringLiteral("line %1: the id %2 is on line %3 too").arg(row.line).arg(row.id).arg(ids.value(row.id));
            ids.insert(row.id, row.line);
        }
        if (!matchKey.isEmpty()) {
            const QString value = row.values.settings.value(DeviceSettings::indexOfKey(matchKey));
            if (value.isEmpty())
                table.problems << QStringLiteral("line %1: %2 is empty, so no modem can match the row").arg(row.line).arg(matchKey);
            else if (matchValues.contains(value))
                table.problems << QStringLiteral("line %1: %2 %3 is on line %4 too")
                                      .arg(row.line)
                                      .arg(matchKey, value)
                                      .arg(matchValues.value(value));
            matchValues.insert(value, row.line);
        }
        table.rows << row;
    }
    if (table.rows.isEmpty() && table.problems.isEmpty())
        table.problems << QStringLiteral("the table has no rows below its header");
    return table;
}

namespace ProvisionReport {

QStringList header()
{
    return {QStringLiteral("id"), QStringLiteral("line"), QStringLiteral("port"), QStringLiteral("time"),
            QStringLiteral("result"), QStringLiteral("changed"), QStringLiteral("journal"), QStringLiteral("message")};
}

QSet<QString> verifiedRows(const QByteArray &report)
{
    QSet<QString> verified;
    const CsvContent csv = parseCsv(report);
    for (int r = 1; r < csv.records.size(); ++r) {
        const QStringList &cells = csv.records.at(r).cells;
        if (cells.size() < ColumnCount || cells.at(Result) != QLatin1String("verified"))
            continue;
        ProvisionRow row;
        row.id = cells.at(Id);
        row.line = cells.at(Line).toInt();
        verified.insert(row.name());
    }
    return verified;
}

} // namespace ProvisionReport
