#include "networkaddress.h"

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>
#include <QVariant>

namespace {

const QLatin1String SchemeEnd("://");
constexpr quint16 ModbusTcpPort = 502;

struct Scheme {
    const char *name;
    Door door;
};
// The first name of a door is the one it is shown by.
constexpr Scheme Schemes[] = {
    {"tcp", Door::RtuOverTcp},
    {"rtuovertcp", Door::RtuOverTcp},
    {"modbustcp", Door::ModbusTcp},
    {"rfc2217", Door::Rfc2217},
    {"rtuoverudp", Door::RtuOverUdp},
};

// The scheme `device` starts with, "://" included.
const Scheme *schemeStarting(const QString &device)
{
    for (const Scheme &scheme : Schemes) {
        const QString start = QLatin1String(scheme.name) + SchemeEnd;
        if (device.startsWith(start, Qt::CaseInsensitive))
            return &scheme;
    }
    return nullptr;
}

QString lookUpProblem(const QString &host)
{
    return QCoreApplication::translate("NetworkAddress",
            "The host %1 is not known: check its name, or give its IP address.").arg(host);
}

// The addresses of `host`, looked up within `timeout` ms: the system's own
// look-up knows no time limit, so it runs aside while this thread waits.
QList<QHostAddress> lookUp(const QString &host, int timeout, QString *problem)
{
    QHostAddress literal;
    if (literal.setAddress(host))
        return {literal};
    QEventLoop loop;
    std::optional<QHostInfo> found;
    const int lookupId = QHostInfo::lookupHost(host, &loop, [&](const QHostInfo &info) {
        found = info;
        loop.quit();
    });
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    if (!found)
        loop.exec();
    if (!found) {
        QHostInfo::abortHostLookup(lookupId);
        *problem = QCoreApplication::translate("NetworkAddress",
                "The name %1 could not be looked up within %2 s: check the network, or give the server's IP "
                "address.").arg(host).arg(timeout / 1000.0);
        return {};
    }
    if (found->error() != QHostInfo::NoError || found->addresses().isEmpty())
        *problem = lookUpProblem(host);
    return found->addresses();
}

} // namespace

bool NetworkAddress::isNetworkDevice(const QString &device)
{
    return schemeStarting(device) != nullptr;
}

QString NetworkAddress::schemeOf(Door door)
{
    for (const Scheme &scheme : Schemes) {
        if (scheme.door == door)
            return QLatin1String(scheme.name);
    }
    return QString();
}

std::optional<NetworkAddress> NetworkAddress::parse(const QString &device, QString *problem)
{
    const Scheme *scheme = schemeStarting(device);
    if (!scheme) {
        *problem = QCoreApplication::translate("NetworkAddress",
                "\"%1\" is not a server's address: it starts with tcp://, modbustcp://, rfc2217:// or "
                "rtuoverudp://").arg(device);
        return std::nullopt;
    }
    const QString schemeName = QLatin1String(scheme->name);
    const QString rest = device.mid(schemeName.size() + SchemeEnd.size());
    NetworkAddress address;
    address.door = scheme->door;
    // A gateway listens on Modbus's own port unless told otherwise.
    const bool portOptional = address.door == Door::ModbusTcp;
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const int close = rest.indexOf(QLatin1Char(']'));
        address.host = rest.mid(1, close - 1);
        const bool portLeftOut = portOptional && close + 1 == rest.size();
        // A bracket inside the brackets would make the address read otherwise when shown again.
        if (close < 0 || (rest.mid(close + 1, 1) != QLatin1String(":") && !portLeftOut)
            || address.host.contains(QLatin1Char('['))) {
            *problem = QCoreApplication::translate("NetworkAddress",
                    "\"%1\" is not a server's address: it takes %2://[IPv6 ADDRESS]:PORT").arg(device, schemeName);
            return std::nullopt;
        }
        portText = portLeftOut ? QString::number(ModbusTcpPort) : rest.mid(close + 2);
    } else {
        const int colon = rest.lastIndexOf(QLatin1Char(':'));
        address.host = rest.left(colon);
        portText = colon < 0 ? QString() : rest.mid(colon + 1);
        if (address.host.contains(QLatin1Char(':'))) {
            *problem = QCoreApplication::translate("NetworkAddress",
                    "\"%1\" is not a server's address: an IPv6 address goes in brackets, "
                    "%2://[ADDRESS]:PORT").arg(device, schemeName);
            return std::nullopt;
        }
        if (colon < 0 && portOptional) {
            address.host = rest;
            portText = QString::number(ModbusTcpPort);
        }
    }
    bool digitsOnly = !portText.isEmpty();
    for (const QChar c : portText)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const uint port = digitsOnly ? portText.toUInt() : 0;
    if (address.host.isEmpty() || port == 0 || port > 65535) {
        *problem = QCoreApplication::translate("NetworkAddress",
                "\"%1\" is not a server's address: it takes %2://HOST:PORT, a port from 1 to 65535")
            .arg(device, schemeName);
        return std::nullopt;
    }
    address.port = quint16(port);
    return address;
}

std::optional<NetworkAddress> NetworkAddress::parseBare(const QString &text)
{
    // A serial port's name has no colon but in a path, which has slashes.
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) || text.contains(QLatin1Char(' ')))
        return std::nullopt;
    QString problem;
    return parse(schemeOf(Door::RtuOverTcp) + SchemeEnd + text, &problem);
}

bool NetworkAddress::namesServer(const QString &text)
{
    return isNetworkDevice(text) || parseBare(text);
}

QString NetworkAddress::shown() const
{
    const QString hostShown = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return hostShown + QLatin1Char(':') + QString::number(port);
}

QString NetworkAddress::device() const
{
    return schemeOf(door) + SchemeEnd + shown();
}

QList<QHostAddress> NetworkAddress::addresses(QString *problem) const
{
    return lookUp(host, ConnectTimeout, problem);
}

QString NetworkAddress::connect(QAbstractSocket &socket) const
{
    QElapsedTimer clock;
    clock.start();
    QString problem;
    const QList<QHostAddress> addresses = lookUp(host, ConnectTimeout, &problem);
    if (addresses.isEmpty())
        return problem;
    // Each address gets the time left; running out of it is a time-out too.
    QAbstractSocket::SocketError error = QAbstractSocket::SocketTimeoutError;
    QString errorString;
    for (const QHostAddress &address : addresses) {
        const int left = ConnectTimeout - int(clock.elapsed());
        if (left <= 0)
            break;
        socket.connectToHost(address, port);
        if (socket.waitForConnected(left)) {
            // Frames go out whole and at once; nothing to gain by waiting to
            // fill a segment.
            if (socket.socketType() == QAbstractSocket::TcpSocket)
                socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
            return QString();
        }
        error = socket.error();
        errorString = socket.errorString();
        socket.abort();
    }
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QCoreApplication::translate("NetworkAddress",
                "%1 refused the connection: check the server's TCP port, and that no other program holds "
                "its connection.").arg(shown());
    case QAbstractSocket::HostNotFoundError:
        return lookUpProblem(host);
    case QAbstractSocket::SocketTimeoutError:
        return QCoreApplication::translate("NetworkAddress",
                "%1 did not take the connection within %2 s: check the address and the network.")
            .arg(shown()).arg(ConnectTimeout / 1000.0);
    default:
        return QCoreApplication::translate("NetworkAddress", "%1 cannot be reached: %2.").arg(shown(), errorString);
    }
}
