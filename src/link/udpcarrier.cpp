#include "udpcarrier.h"

#include <QCoreApplication>
#include <QUdpSocket>

#include <algorithm>

UdpCarrier::UdpCarrier(const NetworkAddress &server)
    : server(server)
{
}

UdpCarrier::~UdpCarrier() = default;

bool UdpCarrier::open(QString *why)
{
    refused = false;
    socket = std::make_unique<QUdpSocket>();
    *why = server.connect(*socket);
    return why->isEmpty() && socket->state() == QAbstractSocket::ConnectedState;
}

void UdpCarrier::close()
{
    if (socket)
        socket->abort();
    socket.reset();
}

QString UdpCarrier::lossExplanation() const
{
    return QCoreApplication::translate("UdpCarrier", "%1 refused the request: check the server's address and UDP port")
        .arg(server.shown());
}

QByteArray UdpCarrier::dropStaleInput()
{
    char scrap;
    while (socket->hasPendingDatagrams())
        socket->readDatagram(&scrap, 1);
    return QByteArray();
}

// A refusal ("port unreachable" from the server's system, or "host
// unreachable" from a router) wakes the wait like a datagram, and the
// wait takes it without a word: woken with nothing to read, the socket
// had one.
qint64 UdpCarrier::read(char *into, int max, int waitMs)
{
    if (refused || !socket->waitForReadyRead(waitMs))
        return 0;
    const qint64 got = socket->readDatagram(into, max);
    refused = got < 0;
    return std::max<qint64>(got, 0);
}

QIODevice *UdpCarrier::device() const
{
    return socket.get();
}

void UdpCarrier::flush()
{
    socket->flush();
}
