#include "servedline.h"

#include "rtuframing.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ServedLine::ServedLine() = default;

const Framing &ServedLine::framing() const
{
    static const RtuFraming rtu;
    return rtu;
}

ServedLine::~ServedLine()
{
    closeFd(m_fd);
}

void ServedLine::close()
{
    closeFd(m_fd);
}

bool ServedLine::hearsPeer(int) const
{
    return true;
}

bool ServedLine::awaitPeerRead(Clock::time_point, const WaitUntil &) const
{
    return true;
}

ssize_t ServedLine::read(char *buffer, size_t size)
{
    return ::read(m_fd, buffer, size);
}

bool ServedLine::write(const char *data, int length, int wakeFd) const
{
    while (length > 0) {
        const ssize_t written = writeSome(data, static_cast<size_t>(length));
        if (written > 0) {
            data += written;
            length -= static_cast<int>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return false;
        // The client is not reading and the line's buffer is full: wait for
        // room, or for the order to stop.
        pollfd fds[2] = {{m_fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

ssize_t ServedLine::writeSome(const char *data, size_t length) const
{
    return ::write(m_fd, data, length);
}

void ServedLine::forgetRequest()
{
    pending.clear();
    silenceEnds = Clock::time_point();
    firstByteAt = Clock::time_point();
    hungUp = false;
}

// The server's serial side runs at the modem's own rate.
int ServerLine::rate(int ownRate) const
{
    return ownRate > 0 ? ownRate : 9600;
}

int ServerLine::bound(int type, const QString &address, int port, QString *error)
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
    int fd = -1;
    if (addressLength == 0)
        *error = QStringLiteral("\"%1\" is not an IP address to listen on").arg(address);
    else if ((fd = ::socket(socketAddress.ss_family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) < 0)
        *error = systemError("socket");
    else if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0)
        *error = systemError("setsockopt");
    else if (::bind(fd, reinterpret_cast<sockaddr *>(&socketAddress), addressLength) != 0)
        *error = QStringLiteral("%1 port %2 on %3: %4").arg(QLatin1String(type == SOCK_STREAM ? "TCP" : "UDP"))
                     .arg(port).arg(address, QString::fromLocal8Bit(std::strerror(errno)));
    else if (::getsockname(fd, reinterpret_cast<sockaddr *>(&socketAddress), &addressLength) != 0)
        *error = systemError("getsockname");
    if (!error->isEmpty()) {
        closeFd(fd);
        return -1;
    }
    m_port = ntohs(socketAddress.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    return fd;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}
