#include "settingsvalues.h"

#include "registerlayout.h"
#include "settingkeys.h"
#include "settingscodecs.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace {

// The entry as its element gives it. The bytes are taken only while the
// value is what they read as, in the form the file carries it.
DeviceSettings entryOf(int index, const SettingsPair &pair)
{
    DeviceSettings entry;
    entry.setValue(index, pair.value);
    if (!pair.bytes.isNull() && settingsFileText(DeviceSettings::textOf(index, pair.bytes)) == pair.value)
        entry.setFieldImage(index, pair.bytes);
    return entry;
}

} // namespace

SettingsValues SettingsValues::fromPairs(const SettingsPairs &pairs)
{
    SettingsValues values;
    QSet<QString> unknown;
    for (const SettingsPair &pair : pairs) {
        const SettingKey key = SettingKey::lookup(pair.key);
        switch (key.target) {
        case SettingKey::ComPort:
            values.comPort = pair.value;
            break;
        case SettingKey::EnableKeepCon:
            values.enableKeepCon = isCheckedValue(pair.value);
            break;
        case SettingKey::Entry:
            values.settings.takeEntry(key.index, entryOf(key.index, pair));
            values.present[size_t(key.index)] = true;
            break;
        case SettingKey::Unknown:
            if (!unknown.contains(pair.key)) {
                unknown.insert(pair.key);
                values.unknownKeys << pair.key;
            }
            break;
        }
    }
    return values;
}

DeviceSettings SettingsValues::over(const DeviceSettings &held) const
{
    DeviceSettings merged = held;
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (present[size_t(index)])
            merged.takeEntry(index, settings);
    }
    return merged;
}

bool SettingsValues::givesAnySetting() const
{
    return std::any_of(present.begin(), present.end(), [](bool given) { return given; });
}

QString SettingsValues::unknownKeysShown() const
{
    constexpr int Named = 10;
    QString shown = printableText(QStringList(unknownKeys.mid(0, Named)).join(QLatin1String(", ")));
    if (unknownKeys.size() > Named)
        shown = QCoreApplication::translate("SettingsFile", "%1 and %n more", nullptr, unknownKeys.size() - Named)
                    .arg(shown);
    return shown;
}

QStringList SettingsValues::missingKeys() const
{
    QStringList missing;
    for (const SettingKey &key : RegisterLayout::fileOrder()) {
        if (key.target == SettingKey::Entry && !present[size_t(key.index)])
            missing << key.name();
    }
    return missing;
}

QList<SettingProblem> SettingsValues::problems() const
{
    QList<SettingProblem> found;
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (!present[size_t(index)])
            continue;
        const SettingProblem problem = settings.problem(index);
        if (problem.exists())
            found << problem;
    }
    return found;
}

namespace {

SettingsPair entryPair(const QString &key, const DeviceSettings &record, int index)
{
    SettingsPair pair{key, record.value(index), record.readBytes(index)};
    if (DeviceSettings::imageOf(index, settingsFileText(pair.value)) == pair.bytes)
        pair.bytes = QByteArray();
    return pair;
}

} // namespace

SettingsPairs settingsFilePairs(const DeviceSettings &record, const QString &comPort, bool enableKeepCon)
{
    SettingsPairs pairs;
    for (const SettingKey &key : RegisterLayout::fileOrder()) {
        if (key.target == SettingKey::ComPort)
            pairs.append({key.name(), comPort});
        else if (key.target == SettingKey::EnableKeepCon)
            pairs.append({key.name(), checkedValue(enableKeepCon)});
        else
            pairs.append(entryPair(key.name(), record, key.index));
    }
    return pairs;
}

bool isCheckedValue(const QString &value)
{
    return value.toInt(nullptr, 10) != 0;
}

QString checkedValue(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

QStringList shownDifference(const QString &from, const QByteArray &fromImage, const QString &to,
                            const QByteArray &toImage)
{
    QStringList shown{printableText(from), printableText(to)};
    if (shown.at(0) == shown.at(1)) {
        shown[0] += QStringLiteral(" [%1]").arg(QString::fromLatin1(fromImage.toHex(' ').toUpper()));
        shown[1] += QStringLiteral(" [%1]").arg(QString::fromLatin1(toImage.toHex(' ').toUpper()));
    }
    return shown;
}
