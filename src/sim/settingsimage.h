#ifndef SETTINGSIMAGE_H
#define SETTINGSIMAGE_H

#include "devicesettings.h"
#include "settingsfile.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class SimulatedModem;

// The modem's registers as a settings record and as a settings file, so the
// simulator can start from a file the configurator saved and show what the
// configurator wrote into it.

// Register j of a block holds bytes 2j (low) and 2j+1 (high) of its host-order
// image; an odd last byte fills the low half of a last register.
QVector<quint16> registersFromImage(const QByteArray &image);
QByteArray imageFromRegisters(const QVector<quint16> &registers);

// The settings block (with KeepCon) into registers 0..70 and entry block k
// into 256 + 64k.
void storeSettings(SimulatedModem &modem, const DeviceSettings &settings);
DeviceSettings storedSettings(const SimulatedModem &modem);

struct SettingsLoad {
    bool loaded = false;
    QString errorString;
};
// Entries by key; ComPort, EnableKeepCon and unknown keys are skipped. A
// file with a value the modem cannot hold is refused, naming it.
SettingsLoad loadSettingsIntoModem(SimulatedModem &modem, const QString &fileName);
SaveOutcome dumpModemSettings(const SimulatedModem &modem, const QString &fileName);

#endif // SETTINGSIMAGE_H
