#ifndef SETTINGSCODECS_H
#define SETTINGSCODECS_H

#include <QList>
#include <QString>
#include <array>

// Conversions between the packed device values and the texts shown in the
// form and stored in settings files. None of them fails: any input gives a
// defined result, so the read and write jobs never stop on a bad value.
// Whether a text is one the device can really hold is a separate question,
// answered by DeviceSettings::firstProblem() before a write.

// Base-10 conversion as the toolkit does it (surrounding blanks and a sign are
// accepted); an empty or non-numeric text, or one out of 64-bit range, gives 0.
qint64 parseDecimal(const QString &text);

// The rates of the serial-settings word's baud table, each once, ascending.
const QList<int> &supportedBaudRates();

// "baud,data bits,stop bits,parity,flag A,flag B", e.g. "9600,8,1,N,0,0".
QString formatSerialSettings(quint16 word);
quint16 parseSerialSettings(const QString &text);

// The text as a message or a listing shows it: each control character
// (which a terminal would act on and a status bar not show) and each
// format character (a byte-order mark, a direction override, which
// reorder or hide what follows) as \xHH.
QString printableText(const QString &text);
// As printableText, of at most `limit` characters and "…" for the rest: a
// value in a message, which a hostile file may make a megabyte long.
QString printableExcerpt(const QString &text, int limit = 40);

// Dotted decimal, first octet first: "192.168.0.1".
QString formatAddress(const std::array<quint8, 4> &octets);
std::array<quint8, 4> parseAddress(const QString &text);

#endif // SETTINGSCODECS_H
