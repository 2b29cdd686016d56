// The serial-line and address texts, and a server's address in a connection:
// parsed, checked and encoded, whatever their characters.
#include "devicesettings.h"
#include "networkaddress.h"
#include "settingscodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    // The device shows 9 data bits as 8, so only the shown text is a fixed point.
    const QString shown = formatSerialSettings(parseSerialSettings(text));
    if (formatSerialSettings(parseSerialSettings(shown)) != shown)
        __builtin_trap();
    const std::array<quint8, 4> octets = parseAddress(text);
    if (parseAddress(formatAddress(octets)) != octets)
        __builtin_trap();
    // An address read is shown as it reads again.
    QString problem;
    if (const auto server = NetworkAddress::parse(QStringLiteral("tcp://") + text, &problem)) {
        const auto again = NetworkAddress::parse(QStringLiteral("tcp://") + server->shown(), &problem);
        if (!again || again->host != server->host || again->port != server->port)
            __builtin_trap();
    } else if (problem.isEmpty()) {
        __builtin_trap();
    }
    DeviceSettings record;
    record.setValue(DeviceSettings::TxSetting, text);
    record.setValue(DeviceSettings::MirrServ1, text);
    record.setValue(DeviceSettings::apnServer, text);
    (void)record.firstProblem();
    (void)record.asWritten(true);
    return 0;
}
