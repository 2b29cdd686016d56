#include "provisiontable.h"

#include "filesupport.h"
#include "settingscodecs.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

namespace {

const char IdColumn[] = "id";

} // namespace

QString ProvisionRow::name() const
{
    return id.isEmpty() ? QStringLiteral("line %1").arg(line) : id;
}

// The problems are the window's in its language; the command-line tool
// installs no translation and keeps these words.
ProvisionTable readProvisionTable(const QByteArray &text, const SettingsValues &templateValues, const QString &matchKey)
{
    ProvisionTable table;
    const CsvContent csv = parseCsv(text);
    if (!csv.error.isEmpty()) {
        table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2").arg(csv.errorLine).arg(csv.error);
        return table;
    }
    if (csv.records.isEmpty()) {
        table.problems << QCoreApplication::translate("ProvisionTable", "the table is empty: its first line names the settings, one column each");
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
            table.problems << QCoreApplication::translate("ProvisionTable", "line %1: column %2 is named twice").arg(header.line).arg(printableExcerpt(key));
        else if (key == QLatin1String(IdColumn))
            idColumn = column;
        else if (index < 0)
            table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2 is not a setting of the modem (a column is a settings key, or id)")
                                  .arg(header.line)
                                  .arg(key.isEmpty() ? QStringLiteral("an unnamed column") : printableExcerpt(key));
        seen.insert(key, column);
    }
    if (!matchKey.isEmpty() && !seen.contains(matchKey))
        table.problems << QCoreApplication::translate("ProvisionTable", "line %1: --match %2 names no column of the table").arg(header.line).arg(matchKey);
    if (!table.problems.isEmpty())
        return table;

    QHash<QString, int> matchValues;
    QHash<QString, int> ids;
    for (int r = 1; r < csv.records.size(); ++r) {
        const CsvRecord &record = csv.records.at(r);
        if (record.cells.size() > header.cells.size()) {
            table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2 cells, but the header names %3 columns")
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
            table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2").arg(row.line).arg(problem.message());
        if (idColumn >= 0) {
            if (row.id.isEmpty())
                table.problems << QCoreApplication::translate("ProvisionTable", "line %1: the id is empty").arg(row.line);
            else if (ids.contains(row.id))
                table.problems << QCoreApplication::translate("ProvisionTable", "line %1: the id %2 is on line %3 too")
                                      .arg(row.line)
                                      .arg(printableExcerpt(row.id))
                                      .arg(ids.value(row.id));
            ids.insert(row.id, row.line);
        }
        if (!matchKey.isEmpty()) {
            const QString value = row.values.settings.value(DeviceSettings::indexOfKey(matchKey));
            if (value.isEmpty())
                table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2 is empty, so no modem can match the row").arg(row.line).arg(matchKey);
            else if (matchValues.contains(value))
                table.problems << QCoreApplication::translate("ProvisionTable", "line %1: %2 %3 is on line %4 too")
                                      .arg(row.line)
                                      .arg(matchKey, printableExcerpt(value))
                                      .arg(matchValues.value(value));
            matchValues.insert(value, row.line);
        }
        table.rows << row;
    }
    if (table.rows.isEmpty() && table.problems.isEmpty())
        table.problems << QCoreApplication::translate("ProvisionTable", "the table has no rows below its header");
    return table;
}

ProvisionTable readProvisionTableFile(const QString &fileName, const SettingsValues &templateValues,
                                      const QString &matchKey)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ProvisionTable table;
        table.problems << QCoreApplication::translate("ProvisionTable", "the table cannot be read: %1").arg(file.errorString());
        return table;
    }
    const QByteArray text = FileSupport::readLimited(&file, MaxCsvBytes);
    if (text.size() > MaxCsvBytes) {
        ProvisionTable table;
        table.problems << QCoreApplication::translate("ProvisionTable", "the table is larger than %1 bytes").arg(MaxCsvBytes);
        return table;
    }
    return readProvisionTable(text, templateValues, matchKey);
}
