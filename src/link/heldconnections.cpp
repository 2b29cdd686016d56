#include "heldconnections.h"

#include <QTcpSocket>
#include <QVariant>

#include <map>

namespace {

struct Held {
    int scopes = 0;
    std::map<QString, std::unique_ptr<QTcpSocket>> sockets;
};

Held &thisThread()
{
    thread_local Held held;
    return held;
}

} // namespace

HeldConnections::Scope::Scope()
{
    ++thisThread().scopes;
}

HeldConnections::Scope::~Scope()
{
    Held &held = thisThread();
    if (--held.scopes == 0) {
        for (auto &entry : held.sockets)
            entry.second->abort();
        held.sockets.clear();
    }
}

std::unique_ptr<QTcpSocket> HeldConnections::take(const QString &key)
{
    Held &held = thisThread();
    const auto found = held.sockets.find(key);
    if (found == held.sockets.end())
        return nullptr;
    std::unique_ptr<QTcpSocket> socket = std::move(found->second);
    held.sockets.erase(found);
    // What the system knows of the connection is fetched first.
    socket->waitForReadyRead(0);
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        return nullptr;
    }
    return socket;
}

void HeldConnections::giveBack(const QString &key, std::unique_ptr<QTcpSocket> socket)
{
    if (!socket)
        return;
    if (!held() || socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        return;
    }
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    thisThread().sockets[key] = std::move(socket);
}

bool HeldConnections::held()
{
    return thisThread().scopes > 0;
}
