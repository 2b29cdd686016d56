#include "traffic.h"

#include "modbusframe.h"

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
    struct Named {
        int code;
        const char *name;
    };
    static const Named names[] = {
        {1, QT_TRANSLATE_NOOP("Traffic", "illegal function")},
        {2, QT_TRANSLATE_NOOP("Traffic", "illegal data address")},
        {3, QT_TRANSLATE_NOOP("Traffic", "illegal data value")},
        {4, QT_TRANSLATE_NOOP("Traffic", "server device failure")},
        {5, QT_TRANSLATE_NOOP("Traffic", "acknowledge")},
        {6, QT_TRANSLATE_NOOP("Traffic", "server device busy")},
        // A gateway's own answers, for the modem behind it.
        {Modbus::GatewayPathUnavailable, QT_TRANSLATE_NOOP("Traffic", "the gateway has no path to the modem")},
        {Modbus::GatewayTargetFailed, QT_TRANSLATE_NOOP("Traffic", "the modem behind the gateway did not answer")},
    };
    for (const Named &named : names) {
        if (named.code == code)
            return QCoreApplication::translate("Traffic", named.name);
    }
    return QCoreApplication::translate("Traffic", "unknown exception");
}
