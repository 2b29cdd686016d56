#ifndef HELDCONNECTIONS_H
#define HELDCONNECTIONS_H

#include <QString>

#include <memory>

class QTcpSocket;

// Connections to servers that a thread keeps open from one job to the
// next, while a HeldConnections::Scope lives on it: a port watched for
// hours connects once rather than every half second, which spares a server
// that takes one client at a time, and the system's keep-alive finds a
// connection that died quietly. Outside a scope every job connects afresh.
// A connection lives on the thread that made it, so each thread holds its own.
namespace HeldConnections {

class Scope {
public:
    Scope();
    ~Scope();   // closes what is held
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

// The connection held for `key` on this thread, if it is still up; the
// caller owns it until it is given back.
std::unique_ptr<QTcpSocket> take(const QString &key);
// Keeps `socket` for `key` when a scope lives on this thread and the
// connection is up; else closes it.
void giveBack(const QString &key, std::unique_ptr<QTcpSocket> socket);
// Whether a scope lives on this thread.
bool held();

}

#endif // HELDCONNECTIONS_H
