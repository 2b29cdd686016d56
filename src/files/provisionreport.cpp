#include "provisionreport.h"

#include <QCoreApplication>

#include "csvtable.h"
#include "provisiontable.h"
#include "settingscodecs.h"

namespace ProvisionReport {

QStringList header()
{
    return {QStringLiteral("id"), QStringLiteral("line"), QStringLiteral("port"), QStringLiteral("time"),
            QStringLiteral("result"), QStringLiteral("changed"), QStringLiteral("journal"), QStringLiteral("message")};
}

namespace {

// The report is read back by the next run: these are data, never translated.
// The report's words; a message shows them translated where a translation
// is installed.
const char *const OutcomeTexts[] = {QT_TRANSLATE_NOOP("ProvisionReport", "verified"),
                                    QT_TRANSLATE_NOOP("ProvisionReport", "failed"),
                                    QT_TRANSLATE_NOOP("ProvisionReport", "no row matched"),
                                    QT_TRANSLATE_NOOP("ProvisionReport", "no row left"),
                                    QT_TRANSLATE_NOOP("ProvisionReport", "holds a verified row")};

} // namespace

QString outcomeText(Outcome outcome)
{
    return QString::fromLatin1(OutcomeTexts[outcome]);
}

QString outcomeShown(Outcome outcome)
{
    return QCoreApplication::translate("ProvisionReport", OutcomeTexts[outcome]);
}

std::optional<Outcome> outcomeOf(const QString &text)
{
    for (int outcome = Verified; outcome <= HoldsVerifiedRow; ++outcome) {
        if (text == QLatin1String(OutcomeTexts[outcome]))
            return Outcome(outcome);
    }
    return std::nullopt;
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
    for (int r = 1; r < csv.records.size(); ++r) {
        const CsvRecord &record = csv.records.at(r);
        const QStringList &cells = record.cells;
        if (cells.size() != ColumnCount)
            return damaged(record.line, QStringLiteral("%1 cells, not %2").arg(cells.size()).arg(ColumnCount));
        const std::optional<Outcome> outcome = outcomeOf(cells.at(Result));
        if (!outcome)
            return damaged(record.line, QStringLiteral("%1 is no result").arg(printableExcerpt(cells.at(Result))));
        if (*outcome != Verified)
            continue;
        ProvisionRow row;
        row.id = cells.at(Id);
        row.line = cells.at(Line).toInt();
        earlier.verified.insert(row.name());
    }
    return earlier;
}

} // namespace ProvisionReport
