#ifndef SETTINGKEYS_H
#define SETTINGKEYS_H

#include <QString>

// The keys a settings file may carry: the 35 record entries, named by
// DeviceSettings::key(), plus the two values that travel beside the record.
// Keys match exactly and case-sensitively.
struct SettingKey {
    enum Target { Unknown, Entry, ComPort, EnableKeepCon };

    static constexpr const char ComPortKey[] = "ComPort";
    static constexpr const char EnableKeepConKey[] = "EnableKeepCon";

    Target target = Unknown;
    int index = -1;     // the DeviceSettings index, for Entry only

    static SettingKey lookup(const QString &key);
    // The key as a file spells it; empty for Unknown.
    QString name() const;

    bool operator==(const SettingKey &other) const
    { return target == other.target && index == other.index; }
    bool operator!=(const SettingKey &other) const { return !(*this == other); }
};

#endif // SETTINGKEYS_H
