// The checks before a write: whether the modem can hold a text as it stands.
// Encoding never fails, so these are what keep a value the operator did not
// mean from reaching the modem.

#include "devicesettings.h"

#include "registerlayout.h"
#include "settingscodecs.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

using RegisterLayout::Field;
using RegisterLayout::Kind;

// Only plain ASCII digits: no sign, no blanks, no other scripts' digits. The
// codecs would quietly accept " 5" or "+5" and read "5x" as 0; the check
// refuses anything that is not exactly a number.
bool plainNumber(const QString &text, quint64 maximum)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 10);
    return ok && value <= maximum;
}

QString textProblem(const QString &text, int width)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            return QCoreApplication::translate("DeviceSettings", "the text contains a NUL character");
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return QCoreApplication::translate("DeviceSettings",
                    "the text contains an unpaired surrogate character");
    }
    const int bytes = text.toUtf8().size();
    if (bytes > width)
        return QCoreApplication::translate("DeviceSettings",
                "the text takes %1 bytes but the field holds %2")
            .arg(bytes).arg(width);
    return QString();
}

QString addressProblem(const QString &text)
{
    // Fewer parts would be stored with zeros for the missing octets, so
    // "10.1" would come back as 10.1.0.0.
    const QStringList parts = text.split(QLatin1Char('.'));
    bool octets = parts.size() == 4;
    for (const QString &part : parts)
        octets = octets && plainNumber(part, 255);
    if (!octets)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" is not an address of four numbers from 0 to 255 separated by dots, such as 192.168.0.1")
            .arg(printableExcerpt(text));
    return QString();
}

QString serialProblem(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 6)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" has more than six parts; expected e.g. 9600,8,1,N,0,0")
            .arg(printableExcerpt(text));

    auto numberIn = [](const QString &part, const QList<quint64> &allowed) {
        return plainNumber(part, 0xFFFFFFFFu) && allowed.contains(part.toULongLong());
    };
    if (!plainNumber(parts.at(0), 0xFFFFFFFFu) || !DeviceSettings::baudRates().contains(parts.at(0).toInt()))
        return QCoreApplication::translate("DeviceSettings",
                "the baud rate \"%1\" is not one the device supports")
            .arg(printableExcerpt(parts.at(0)));
    // A missing part would be stored as its zero: 5 data bits, 2 stop bits.
    if (parts.size() < 4)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" lacks the data bits, stop bits or parity; expected e.g. 9600,8,1,N,0,0")
            .arg(printableExcerpt(text));
    // The device reads two bits of the data-bits field, so 9 would come back as 8.
    if (!numberIn(parts.at(1), {5, 6, 7, 8}))
        return QCoreApplication::translate("DeviceSettings",
                "the data bits \"%1\" are not 5, 6, 7 or 8")
            .arg(printableExcerpt(parts.at(1)));
    if (!numberIn(parts.at(2), {1, 2}))
        return QCoreApplication::translate("DeviceSettings",
                "the stop bits \"%1\" are not 1 or 2")
            .arg(printableExcerpt(parts.at(2)));
    const QString &parity = parts.at(3);
    if (parity.size() != 1 || !QStringLiteral("NEOSM").contains(parity.at(0)))
        return QCoreApplication::translate("DeviceSettings",
                "the parity \"%1\" is not N, E, O, S or M")
            .arg(printableExcerpt(parity));
    for (int i = 4; i < parts.size(); ++i) {
        if (!numberIn(parts.at(i), {0, 1}))
            return QCoreApplication::translate("DeviceSettings",
                    "the option \"%1\" is not 0 or 1")
                .arg(printableExcerpt(parts.at(i)));
    }
    return QString();
}

// Every value but a text is stored as a number, and an empty field as its
// zero, which reads back as "0", "0.0.0.0" or 300 baud with 5 data bits.
QString emptyProblem(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return QString();
    case Kind::Address:
        return QCoreApplication::translate("DeviceSettings", "the address is empty; type 0.0.0.0 for none");
    case Kind::Serial:
        return QCoreApplication::translate("DeviceSettings",
                "the serial setting is empty; expected e.g. 9600,8,1,N,0,0");
    case Kind::Number:
    case Kind::NumberX10:
        return QCoreApplication::translate("DeviceSettings", "the number is empty; type 0 for none");
    }
    return QString();
}

QString problemOf(const Field &field, const QString &text)
{
    if (text.isEmpty())
        return emptyProblem(field.kind);
    switch (field.kind) {
    case Kind::Text:
        return textProblem(text, field.width);
    case Kind::Address:
        return addressProblem(text);
    case Kind::Serial:
        return serialProblem(text);
    case Kind::Number:
        if (!plainNumber(text, 65535))
            return QCoreApplication::translate("DeviceSettings",
                    "\"%1\" is not a whole number from 0 to 65535")
                .arg(printableExcerpt(text));
        return QString();
    case Kind::NumberX10:
        if (!plainNumber(text, 655359))
            return QCoreApplication::translate("DeviceSettings",
                    "\"%1\" is not a whole number from 0 to 655359")
                .arg(printableExcerpt(text));
        if (text.toULongLong() % 10 != 0)
            return QCoreApplication::translate("DeviceSettings",
                    "the modem keeps this time in steps of 10, so \"%1\" would read back as %2")
                .arg(text)
                .arg(text.toULongLong() / 10 * 10);
        return QString();
    }
    return QString();
}

} // namespace

QString SettingProblem::message() const
{
    if (!exists())
        return QString();
    return QCoreApplication::translate("DeviceSettings",
            "Cannot write %1 (%2): %3")
        .arg(DeviceSettings::label(index), DeviceSettings::key(index), reason);
}

SettingProblem DeviceSettings::firstProblem(Blocks blocks) const
{
    for (int i = 0; i < Count; ++i) {
        if (!blocks.test(size_t(blockOf(i))))
            continue;
        SettingProblem found = problem(i);
        if (found.exists())
            return found;
    }
    return SettingProblem();
}

SettingProblem DeviceSettings::problem(int index) const
{
    if (!validIndex(index) || !m_read[size_t(index)].isNull())
        return SettingProblem();
    return check(index, m_values[size_t(index)]);
}

SettingProblem DeviceSettings::check(int index, const QString &text)
{
    SettingProblem problem;
    if (!validIndex(index))
        return problem;
    const QString reason = problemOf(RegisterLayout::field(index), text);
    if (!reason.isEmpty()) {
        problem.index = index;
        problem.reason = reason;
    }
    return problem;
}
