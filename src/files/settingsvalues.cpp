#include "settingsvalues.h"

#include "settingkeys.h"

SettingsValues SettingsValues::fromPairs(const SettingsPairs &pairs, const DeviceSettings &base)
{
    SettingsValues values;
    values.settings = base;
    for (const SettingsPair &pair : pairs) {
        const SettingKey key = SettingKey::lookup(pair.first);
        switch (key.target) {
        case SettingKey::ComPort:
            values.comPort = pair.second;
            break;
        case SettingKey::EnableKeepCon:
            values.enableKeepCon = isCheckedValue(pair.second);
            break;
        case SettingKey::Entry:
            values.settings.setValue(key.index, pair.second);
            values.present[size_t(key.index)] = true;
            break;
        case SettingKey::Unknown:
            break;
        }
    }
    return values;
}

QStringList SettingsValues::missingKeys() const
{
    QStringList missing;
    for (const QString &key : settingsFileKeys()) {
        const int index = DeviceSettings::indexOfKey(key);
        if (index >= 0 && !present[size_t(index)])
            missing << key;
    }
    return missing;
}

QList<SettingProblem> SettingsValues::problems() const
{
    QList<SettingProblem> found;
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (!present[size_t(index)])
            continue;
        const SettingProblem problem = DeviceSettings::check(index, settings.value(index));
        if (problem.exists())
            found << problem;
    }
    return found;
}

SettingsPairs settingsFilePairs(const DeviceSettings &record, const QString &comPort, bool enableKeepCon)
{
    SettingsPairs pairs;
    for (const QString &key : settingsFileKeys()) {
        const SettingKey target = SettingKey::lookup(key);
        if (target.target == SettingKey::ComPort)
            pairs.append({key, comPort});
        else if (target.target == SettingKey::EnableKeepCon)
            pairs.append({key, checkedValue(enableKeepCon)});
        else
            pairs.append({key, record.value(target.index)});
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
