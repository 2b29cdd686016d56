#include "tcpserverline.h"

#include "modbustcpframing.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

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
    sockaddr_storage socketAddress = {};
    socklen_t addressLength = 0;
    const QByteArray host = address.toLatin1();
    auto *v4 = reinterpret_cast<sockaddr_in *>(&socketAddress);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&socketAddress);
    if (inet_pton(AF_INET, host.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(quint16(port));
        addressLength = sizeof *v4;
    } else if (inet_pton(AF_INET6, host.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(quint16(port));
        addressLength = sizeof *v6;
    }
    const int yes = 1;
    if (addressLength == 0)
        *error = QStringLiteral("\"%1\" is not an IP address to listen on").arg(address);
    else if ((listenFd = ::socket(socketAddress.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) < 0)
        *error = systemError("socket");
    else if (::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0)
        *error = systemError("setsockopt");
    else if (::bind(listenFd, reinterpret_cast<sockaddr *>(&socketAddress), addressLength) != 0)
        *error = QStringLiteral("TCP port %1 on %2: %3").arg(port).arg(address,
                                                             QString::fromLocal8Bit(std::strerror(errno)));
    else if (::listen(listenFd, 4) != 0)
        *error = systemError("listen");
    else if (::getsockname(listenFd, reinterpret_cast<sockaddr *>(&socketAddress), &addressLength) != 0)
        *error = systemError("getsockname");
    if (error->isEmpty())
        m_port = ntohs(socketAddress.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    return error->isEmpty();
}

void TcpServerLine::close()
{
    closeFd(m_fd);
    closeFd(listenFd);
}

void TcpServerLine::accept()
{
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // Answers go out byte by byte when paced, as a server's serial side
    // hands them over; none may wait for the one before to be acknowledged.
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
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

// The server's serial side runs at the modem's own rate.
int TcpServerLine::rate(int ownRate) const
{
    return ownRate > 0 ? ownRate : 9600;
}

ssize_t TcpServerLine::writeSome(const char *data, size_t length) const
{
    return ::send(m_fd, data, length, MSG_NOSIGNAL);
}
