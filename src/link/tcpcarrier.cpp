#include "tcpcarrier.h"

#include "heldconnections.h"

#include <QCoreApplication>
#include <QTcpSocket>

#include <utility>

TcpCarrier::TcpCarrier(const NetworkAddress &server)
    : server(server)
{
}

TcpCarrier::~TcpCarrier() = default;

bool TcpCarrier::open(QString *why)
{
    socket = HeldConnections::take(server.device());
    fresh = !socket;
    if (socket)
        return true;
    socket = std::make_unique<QTcpSocket>();
    *why = server.connect(*socket);
    return why->isEmpty() && socket->state() == QAbstractSocket::ConnectedState;
}

void TcpCarrier::close()
{
    HeldConnections::giveBack(server.device(), std::move(socket));
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

void TcpCarrier::dropStaleInput()
{
    // Nothing on a new connection answers an earlier request: what a server
    // sends before the first one is its greeting (a telnet server's options,
    // say), which tells what the server speaks. It stays for the answer, as
    // it would had it come a moment later.
    if (std::exchange(fresh, false))
        return;
    // What the system holds for the socket is fetched first.
    socket->waitForReadyRead(0);
    socket->readAll();
}

QIODevice *TcpCarrier::device() const
{
    return socket.get();
}

void TcpCarrier::flush()
{
    socket->flush();
}
