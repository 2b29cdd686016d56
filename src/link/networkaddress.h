#ifndef NETWORKADDRESS_H
#define NETWORKADDRESS_H

#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

class QTcpSocket;

// A serial device server, named in a connection's dev part as
// tcp://HOST:PORT: a host name, an IPv4 address, or an IPv6 address in
// brackets. The server passes Modbus RTU frames unchanged between the TCP
// connection and its serial line.
struct NetworkAddress {
    QString host;       // without brackets
    quint16 port = 0;

    static constexpr int ConnectTimeout = 3000;   // ms for the name look-up and the connection together

    // Whether the dev part names a server rather than a serial port.
    static bool isNetworkDevice(const QString &device);
    // The address in `device`; when it is not one, `problem` says why.
    static std::optional<NetworkAddress> parse(const QString &device, QString *problem);

    // "HOST:PORT", an IPv6 address in brackets.
    QString shown() const;

    // The addresses the host name stands for, looked up within
    // ConnectTimeout; none, with `problem` set, when it is not known.
    QList<QHostAddress> addresses(QString *problem) const;

    // Connects `socket` within ConnectTimeout, trying each address the host
    // name stands for. Returns why it failed, as a sentence for the
    // technician, or an empty text.
    QString connect(QTcpSocket &socket) const;
};

#endif // NETWORKADDRESS_H
