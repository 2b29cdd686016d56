#include "traffic.h"

#include <QCoreApplication>

QString TrafficEntry::line() const
{
    static const char *const marks[] = {">>", "<<", "--", "--", "::"};
    QString text = at.toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') + QLatin1String(marks[kind]);
    if (!bytes.isEmpty())
        text += QLatin1Char(' ') + QString::fromLatin1(bytes.toHex(' ').toUpper());
    if (!words.isEmpty())
        text += QLatin1String(bytes.isEmpty() ? " " : "  ") + words;
    return text;
}

QString exceptionName(int code)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("Traffic", "illegal function"),     QT_TRANSLATE_NOOP("Traffic", "illegal data address"),
        QT_TRANSLATE_NOOP("Traffic", "illegal data value"),   QT_TRANSLATE_NOOP("Traffic", "server device failure"),
        QT_TRANSLATE_NOOP("Traffic", "acknowledge"),          QT_TRANSLATE_NOOP("Traffic", "server device busy")};
    static const char *const unknown = QT_TRANSLATE_NOOP("Traffic", "unknown exception");
    const int known = int(sizeof names / sizeof names[0]);
    return QCoreApplication::translate("Traffic", code >= 1 && code <= known ? names[code - 1] : unknown);
}
