#ifndef PROVISIONREPORT_H
#define PROVISIONREPORT_H

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The report of a provisioning run: one line per modem tried.
namespace ProvisionReport {
enum Column { Id, Line, Port, Time, Result, Changed, Journal, Message, ColumnCount };
QStringList header();
// What became of a modem, as the result column says it.
enum Outcome { Verified, Failed, NoRowMatched, NoRowLeft, HoldsVerifiedRow };
QString outcomeText(Outcome outcome);   // "verified", "failed", "no row matched", …
QString outcomeShown(Outcome outcome);  // the same in the present language, for messages
std::optional<Outcome> outcomeOf(const QString &text);
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

#endif // PROVISIONREPORT_H
