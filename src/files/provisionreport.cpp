#include "provisionreport.h"

#include "csvtable.h"
#include "provisiontable.h"
#include "settingscodecs.h"

namespace ProvisionReport {

QStringList header()
{
    return {QStringLiteral("id"), QStringLiteral("line"), QStringLiteral("port"), QStringLiteral("time"),
            QStringLiteral("result"), QStringLiteral("changed"), QStringLiteral("journal"), QStringLiteral("message")};
}

Earlier read(const QByteArray &report)
{
    Earlier earlier;
    const CsvContent csv = parseCsv(report);
    if (!csv.error.isEmpty()) {
        earlier.error = csv.error;
        earlier.errorLine = csv.errorLine;
        return earlier;
    }
    if (csv.records.isEmpty())
        return earlier;
    const auto damaged = [&earlier](int line, const QString &error) {
        earlier.error = error;
        earlier.errorLine = line;
        earlier.verified.clear();
        return earlier;
    };
    if (csv.records.constFirst().cells != header())
        return damaged(csv.records.constFirst().line,
                       QStringLiteral("the header is not %1").arg(header().join(QLatin1Char(','))));
    if (!csv.endsWithLineBreak)
        return damaged(csv.records.constLast().line, QStringLiteral("the last line is cut short"));
    static const QStringList results{QStringLiteral("verified"), QStringLiteral("failed"),
                                     QStringLiteral("no row matched"), QStringLiteral("no row left"),
                                     QStringLiteral("holds a verified row")};
    for (int r = 1; r < csv.records.size(); ++r) {
        const CsvRecord &record = csv.records.at(r);
        const QStringList &cells = record.cells;
        if (cells.size() != ColumnCount)
            return damaged(record.line, QStringLiteral("%1 cells, not %2").arg(cells.size()).arg(ColumnCount));
        if (!results.contains(cells.at(Result)))
            return damaged(record.line, QStringLiteral("%1 is no result").arg(printableExcerpt(cells.at(Result))));
        if (cells.at(Result) != QLatin1String("verified"))
            continue;
        ProvisionRow row;
        row.id = cells.at(Id);
        row.line = cells.at(Line).toInt();
        earlier.verified.insert(row.name());
    }
    return earlier;
}

} // namespace ProvisionReport
