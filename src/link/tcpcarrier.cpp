#include "tcpcarrier.h"

#include "heldconnections.h"

#include <QCoreApplication>
#include <QTcpSocket>

TcpCarrier::TcpCarrier(const NetworkAddress &server, bool holdable)
    : server(server)
    , holdable(holdable)
{
}

TcpCarrier::~TcpCarrier() = default;

bool TcpCarrier::open(QString *why)
{
    if (holdable)
        socket = HeldConnections::take(server.device());
    if (socket)
        return true;
    socket = std::make_unique<QTcpSocket>();
    *why = server.connect(*socket);
    return why->isEmpty() && socket->state() == QAbstractSocket::ConnectedState;
}

void TcpCarrier::close()
{
    if (holdable)
        HeldConnections::giveBack(server.device(), std::move(socket));
    else if (socket)
        socket->abort();
    socket.reset();
}

bool TcpCarrier::lost() const
{
    return socket && socket->state() != QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0;
}

QString TcpCarrier::lossExplanation() const
{
    return QCoreApplication::translate("SerialLink",
            "%1 closed the connection: check that no other program took it over, and try again")
        .arg(server.shown());
}

QByteArray TcpCarrier::dropStaleInput()
{
    // What the system holds for the socket is fetched first.
    socket->waitForReadyRead(0);
    return socket->readAll();
}

QIODevice *TcpCarrier::device() const
{
    return socket.get();
}

void TcpCarrier::flush()
{
    socket->flush();
}
