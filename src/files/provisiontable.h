#ifndef PROVISIONTABLE_H
#define PROVISIONTABLE_H

#include "settingsfile.h"
#include "settingsvalues.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

// Comma-separated values as spreadsheets write them (RFC 4180): fields in
// double quotes may hold the separator, line breaks and doubled quotes; the
// separator is ',' or ';' (as a spreadsheet on Russian Windows writes it),
// whichever the first line holds more of outside quotes; a UTF-8
// byte-order mark is skipped; lines with nothing on them are no records.
struct CsvRecord {
    int line = 0;   // where the record starts, from 1
    QStringList cells;
};
struct CsvContent {
    QList<CsvRecord> records;
    QString error;   // empty when the whole text was read
    int errorLine = 0;
    bool endsWithLineBreak = false;   // the last record is whole, as every line this system writes
};
// The text must be UTF-8 without a NUL and without a byte-order mark but at
// its start; no cell may exceed MaxCsvCellBytes, and there may be no more
// than MaxCsvRecords records. What breaks a rule is an error at its line:
// a cell read as something other than what the spreadsheet meant would go
// to a modem.
constexpr int MaxCsvRecords = 100001;                 // a header and 100,000 rows
constexpr int MaxCsvCellBytes = 1024 * 1024;
constexpr qint64 MaxCsvBytes = 128 * 1024 * 1024;     // read no further
CsvContent parseCsv(const QByteArray &text);
// One record, quoted where it must be, ended by "\r\n".
QByteArray csvLine(const QStringList &cells);

// A fleet's table: a header of settings keys, with an optional `id`
// column, and one row per modem whose cells override a template's values;
// an empty cell keeps the template's.
struct ProvisionRow {
    int line = 0;
    QString id;
    SettingsPairs cells;     // the row's cells that are not empty
    SettingsValues values;   // the template's values with the cells over them

    // How messages and the report name the row: its id, else its line.
    QString name() const;
};
struct ProvisionTable {
    QStringList columns;   // the header, as given
    QList<ProvisionRow> rows;
    // Each bad row or column with its line, key and reason; the table may
    // be used only when there is none.
    QStringList problems;
};
// Reads `text` against the template's values and checks every row as a
// Write checks a settings file. A `matchKey`, when given, must be a column
// filled in on every row, with no value twice.
ProvisionTable readProvisionTable(const QByteArray &text, const SettingsValues &templateValues,
                                  const QString &matchKey = QString());

// The report of a provisioning run: one line per modem tried.
namespace ProvisionReport {
enum Column { Id, Line, Port, Time, Result, Changed, Journal, Message, ColumnCount };
QStringList header();
// What an earlier report says: the rows it has as verified, by their names
// (ProvisionRow::name), or where it is damaged. A report cut short, by a
// full disk or a crash, is damaged: trusted, it would hand a modem's row
// to the next one.
struct Earlier {
    QSet<QString> verified;
    QString error;    // empty when every line was read
    int errorLine = 0;
};
Earlier read(const QByteArray &report);
} // namespace ProvisionReport

#endif // PROVISIONTABLE_H
