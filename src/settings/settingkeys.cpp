#include "settingkeys.h"

#include "devicesettings.h"

SettingKey SettingKey::lookup(const QString &key)
{
    SettingKey result;
    if (key == QLatin1String(ComPortKey)) {
        result.target = ComPort;
    } else if (key == QLatin1String(EnableKeepConKey)) {
        result.target = EnableKeepCon;
    } else {
        const int index = DeviceSettings::indexOfKey(key);
        if (index >= 0) {
            result.target = Entry;
            result.index = index;
        }
    }
    return result;
}

QString SettingKey::name() const
{
    switch (target) {
    case ComPort:
        return QLatin1String(ComPortKey);
    case EnableKeepCon:
        return QLatin1String(EnableKeepConKey);
    case Entry:
        return DeviceSettings::key(index);
    case Unknown:
        break;
    }
    return QString();
}
