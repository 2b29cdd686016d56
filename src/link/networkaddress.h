#ifndef NETWORKADDRESS_H
#define NETWORKADDRESS_H

#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

class QAbstractSocket;

// How a server on the network passes the modem's frames, named by the
// scheme of its address.
enum class Door {
    RtuOverTcp,   // tcp:// or rtuovertcp://: RTU frames unchanged over TCP
    ModbusTcp,    // modbustcp://: a gateway; the MBAP header instead of the check sum
    Rfc2217,      // rfc2217://: telnet with the remote port's line set by this side
    RtuOverUdp,   // rtuoverudp://: RTU frames in UDP datagrams
};

// A server in front of the modem's serial line, named in a connection's
// dev part as SCHEME://HOST:PORT: a host name, an IPv4 address, or an IPv6
// address in brackets. A Modbus TCP gateway may leave out its port (502).
struct NetworkAddress {
    QString host;       // without brackets
    quint16 port = 0;
    Door door = Door::RtuOverTcp;

    static constexpr int ConnectTimeout = 3000;   // ms for the name look-up and the connection together

    // Whether the dev part names a server rather than a serial port.
    static bool isNetworkDevice(const QString &device);
    // The address in `device`; when it is not one, `problem` says why.
    static std::optional<NetworkAddress> parse(const QString &device, QString *problem);

    // A server given as plain "HOST:PORT" (an IPv6 address in brackets),
    // whose door is still to be found; nothing when `text` is not one.
    static std::optional<NetworkAddress> parseBare(const QString &text);
    // Whether `text` names a server, with its scheme or as a plain address.
    static bool namesServer(const QString &text);

    // "HOST:PORT", an IPv6 address in brackets.
    QString shown() const;
    // "SCHEME://HOST:PORT", as a dev part names it; RTU over TCP keeps its
    // short tcp://.
    QString device() const;
    // The scheme that names `door`, without "://".
    static QString schemeOf(Door door);

    // The addresses the host name stands for, looked up within
    // ConnectTimeout; none, with `problem` set, when it is not known.
    QList<QHostAddress> addresses(QString *problem) const;

    // Connects `socket` within ConnectTimeout, trying each address the host
    // name stands for; a datagram socket is only tied to the first address
    // it can send to. Returns why it failed, as a sentence for the
    // technician, or an empty text.
    QString connect(QAbstractSocket &socket) const;
};

#endif // NETWORKADDRESS_H
