#include "settingsimage.h"

#include "settingsvalues.h"
#include "simulatedmodem.h"

QVector<quint16> registersFromImage(const QByteArray &image)
{
    QVector<quint16> registers((image.size() + 1) / 2, 0);
    for (int i = 0; i < image.size(); ++i) {
        const quint16 byte = static_cast<quint8>(image.at(i));
        registers[i / 2] |= static_cast<quint16>(i % 2 == 0 ? byte : byte << 8);
    }
    return registers;
}

QByteArray imageFromRegisters(const QVector<quint16> &registers)
{
    QByteArray image;
    image.reserve(2 * registers.size());
    for (quint16 value : registers) {
        image.append(static_cast<char>(value & 0xFF));
        image.append(static_cast<char>(value >> 8));
    }
    return image;
}

void storeSettings(SimulatedModem &modem, const DeviceSettings &settings)
{
    for (int block = 0; block < DeviceSettings::BlockCount; ++block)
        modem.setRegisters(DeviceSettings::firstRegister(block), registersFromImage(settings.encodeBlock(block, true)));
}

DeviceSettings storedSettings(const SimulatedModem &modem)
{
    DeviceSettings settings;
    for (int block = 0; block < DeviceSettings::BlockCount; ++block)
        settings.decodeBlock(block,
                             imageFromRegisters(modem.registers(DeviceSettings::firstRegister(block),
                                                                DeviceSettings::blockBytes(block, true) / 2)),
                             true);
    return settings;
}

SettingsLoad loadSettingsIntoModem(SimulatedModem &modem, const QString &fileName)
{
    // No traces: the simulator's first line on stdout belongs to the
    // connection text.
    const SettingsFileContent content = readSettingsFile(fileName, false);
    SettingsLoad outcome;
    if (content.status == SettingsFileContent::NotOpened) {
        outcome.errorString = QStringLiteral("cannot open %1: %2").arg(fileName, content.errorString);
        return outcome;
    }
    if (content.status == SettingsFileContent::Damaged) {
        outcome.errorString =
            QStringLiteral("%1:%2: %3").arg(fileName).arg(content.errorLine).arg(content.errorString);
        return outcome;
    }
    const SettingsValues values = SettingsValues::fromPairs(content.pairs);
    // A value the modem cannot hold would be stored as something else.
    QStringList problems;
    for (const SettingProblem &problem : values.problems())
        problems << problem.message();
    if (!problems.isEmpty()) {
        outcome.errorString = QStringLiteral("%1: %2").arg(fileName, problems.join(QStringLiteral("; ")));
        return outcome;
    }
    storeSettings(modem, values.settings);
    outcome.loaded = true;
    return outcome;
}

SaveOutcome dumpModemSettings(const SimulatedModem &modem, const QString &fileName)
{
    // The modem keeps register 70, so its file says so.
    return saveSettingsFile(fileName, settingsFilePairs(storedSettings(modem), modem.connectionText(), true));
}
