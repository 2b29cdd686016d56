#include "tcpserverline.h"

#include "modbustcpframing.h"

TcpServerLine::TcpServerLine(Door door)
    : door(door)
{
}

const Framing &TcpServerLine::framing() const
{
    static const ModbusTcpFraming modbusTcp;
    return door == Door::ModbusTcp ? modbusTcp : ServedLine::framing();
}

TcpServerLine::~TcpServerLine()
{
    closeFd(listenFd);
}

bool TcpServerLine::listen(const QString &address, int port, QString *error)
{
    listenFd = bound(SOCK_STREAM, address, port, error);
    if (listenFd >= 0 && ::listen(listenFd, 4) != 0)
        *error = systemError("listen");
    return error->isEmpty();
}

void TcpServerLine::close()
{
    closeFd(m_fd);
    closeFd(listenFd);
}

void TcpServerLine::accept()
{
    const int fd = acceptConnection(listenFd);
    if (fd < 0)
        return;
    // Answers go out byte by byte when paced, as a server's serial side
    // hands them over; none may wait for the one before to be acknowledged.
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&yes), sizeof yes);
    replacePeer(fd);
}

void TcpServerLine::dropPeer()
{
    replacePeer(-1);
}

// Closes the client's connection, if any, and starts afresh on `fd` (-1: none).
void TcpServerLine::replacePeer(int fd)
{
    closeFd(m_fd);
    forgetRequest();
    m_fd = fd;
}

ssize_t TcpServerLine::writeSome(const char *data, size_t length) const
{
    return sendSome(m_fd, data, length);
}
