#include "serialports.h"

#include "connectiontext.h"
#include "networkaddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace SerialPorts {

QList<Port> available()
{
    QList<Port> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        Port port;
        // Windows names its ports COM3 and the like; elsewhere the device
        // path is what a technician recognises and types.
#ifdef Q_OS_WIN
        port.name = info.portName();
#else
        port.name = info.systemLocation();
#endif
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        QStringList identity;
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            identity << QStringLiteral("VID:PID %1:%2")
                            .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                            .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        if (!info.serialNumber().isEmpty())
            identity << QCoreApplication::translate("SerialPorts", "serial %1").arg(info.serialNumber());
        port.identity = identity.join(QLatin1String(", "));
        ports << port;
    }
    return ports;
}

QStringList availableNames()
{
    QStringList names;
    for (const Port &port : available())
        names << port.name;
    return names;
}

QStringList deviceIdentities(const QString &device)
{
    if (NetworkAddress::isNetworkDevice(device)) {
        QString problem;
        const std::optional<NetworkAddress> server = NetworkAddress::parse(device, &problem);
        if (!server)
            return {device};
        QStringList identities;
        for (const QHostAddress &address : server->addresses(&problem)) {
            // An IPv4 address in its IPv6 form is the same address.
            bool isIpv4 = false;
            const quint32 ipv4 = address.toIPv4Address(&isIpv4);
            const QString shown = isIpv4 ? QHostAddress(ipv4).toString() : address.toString();
            identities << QStringLiteral("tcp:%1:%2").arg(shown).arg(server->port);
        }
        return identities.isEmpty() ? QStringList{device.toLower()} : identities;
    }
#ifdef Q_OS_WIN
    // COM3, com3 and \\.\COM3 name one port.
    QString name = device.trimmed().toUpper();
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name.remove(0, 4);
    return {name};
#else
    const QString path = device.startsWith(QLatin1Char('/')) ? device : QLatin1String("/dev/") + device;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return {canonical.isEmpty() ? QDir::cleanPath(path) : canonical};
#endif
}

QString whyNotOpen(const QString &portName, QSerialPort::SerialPortError error, const QString &errorString)
{
    if (portName.trimmed().isEmpty())
        return QCoreApplication::translate("SerialPorts", "The connection names no port: it takes dev=PORT.");
    switch (error) {
    case QSerialPort::DeviceNotFoundError: {
        const QStringList names = availableNames();
        if (names.isEmpty())
            return QCoreApplication::translate("SerialPorts", "There is no such port, and this machine has none.");
        return QCoreApplication::translate("SerialPorts", "There is no such port; this machine has %1.")
            .arg(names.join(QLatin1String(", ")));
    }
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        // Windows denies a port that another program holds open.
        Q_UNUSED(portName)
        return QCoreApplication::translate("SerialPorts",
                "Access to it is denied: another program holds it; close that program.");
#else
    {
        // Linux says the same of a port held by another program (its lock)
        // and of one the user may not open; the device's rights tell them apart.
        const QFileInfo device(portName.startsWith(QLatin1Char('/')) ? portName
                                                                      : QLatin1String("/dev/") + portName);
        if (device.exists() && !(device.isReadable() && device.isWritable()))
            return QCoreApplication::translate("SerialPorts",
                    "Access to it is denied: add the user to the dialout group and log in again.");
        return QCoreApplication::translate("SerialPorts", "It is busy: another program holds it; close that program.");
    }
#endif
    default:
        return errorString;
    }
}

} // namespace SerialPorts
