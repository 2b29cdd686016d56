#ifndef CSVTABLE_H
#define CSVTABLE_H

#include <QByteArray>
#include <QList>
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

#endif // CSVTABLE_H
