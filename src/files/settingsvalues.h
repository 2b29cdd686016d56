#ifndef SETTINGSVALUES_H
#define SETTINGSVALUES_H

#include "devicesettings.h"
#include "settingsfile.h"

#include <QString>

#include <array>
#include <optional>

// What a settings file says, as the configurator means it: the connection
// text, the keep-connection form of the settings block and the 35 entries.
// One mapping for the window, the command-line tool and the simulator.
struct SettingsValues {
    std::optional<QString> comPort;
    std::optional<bool> enableKeepCon;
    DeviceSettings settings;
    std::array<bool, DeviceSettings::Count> present{};   // the entries the file gave
    QStringList unknownKeys;   // the other keys, each once, in document order

    // Applies the pairs in document order: a key given twice takes its last
    // value. An entry's "bytes" stand for it while its value is the one they
    // read as; a value edited by hand takes the edit.
    static SettingsValues fromPairs(const SettingsPairs &pairs);
    // Whether the file gives any of the 35 entries.
    bool givesAnySetting() const;
    // The unknown keys for a message: the first ten, and how many more.
    QString unknownKeysShown() const;
    // The keys of the entries the file does not give, in the file's order.
    QStringList missingKeys() const;
    // The values the file gives that the modem cannot hold as they stand, in
    // index order.
    QList<SettingProblem> problems() const;
    // `held` with the entries the file gives over it: what a Write that
    // keeps the modem's own values for the rest sends.
    DeviceSettings over(const DeviceSettings &held) const;
};

// The 37 pairs of a settings file, in the file's order, with the bytes an
// entry was read from wherever its value alone would not give them back.
SettingsPairs settingsFilePairs(const DeviceSettings &record, const QString &comPort, bool enableKeepCon);

// Two values of one setting that differ, as texts to show: control
// characters escaped, and the bytes of their fields beside them where the
// texts look the same.
QStringList shownDifference(const QString &from, const QByteArray &fromImage, const QString &to,
                            const QByteArray &toImage);

// Check boxes and flags are stored as numbers; anything that is not a
// base-10 number other than 0 reads as unchecked.
bool isCheckedValue(const QString &value);
QString checkedValue(bool checked);

#endif // SETTINGSVALUES_H
