#include "servedline.h"

#include "rtuframing.h"

#ifndef _WIN32
#include <unistd.h>
#endif

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

// Only sockets are served on Windows, where they cannot be read as files.
ssize_t ServedLine::read(char *buffer, size_t size)
{
#ifdef _WIN32
    return receiveSome(m_fd, buffer, size);
#else
    return ::read(m_fd, buffer, size);
#endif
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
        if (written < 0 && interrupted())
            continue;
        if (written < 0 && !wouldBlock())
            return false;
        // The client is not reading and the line's buffer is full: wait for
        // room, or for the order to stop.
        pollfd fds[2] = {watched(m_fd, POLLOUT), watched(wakeFd, POLLIN)};
        if (pollFor(fds, 2, std::chrono::nanoseconds(-1)) < 0 && !interrupted())
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

ssize_t ServedLine::writeSome(const char *data, size_t length) const
{
#ifdef _WIN32
    return sendSome(m_fd, data, length);
#else
    return ::write(m_fd, data, length);
#endif
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
#ifdef _WIN32
    // There it would let a second server take a port that is in use.
    const bool reuseAddress = false;
#else
    const bool reuseAddress = true;
#endif
    int fd = -1;
    if (addressLength == 0)
        *error = QStringLiteral("\"%1\" is not an IP address to listen on").arg(address);
    else if ((fd = openSocket(socketAddress.ss_family, type)) < 0)
        *error = systemError("socket");
    else if (reuseAddress && ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char *>(&yes),
                                          sizeof yes) != 0)
        *error = systemError("setsockopt");
    else if (::bind(fd, reinterpret_cast<sockaddr *>(&socketAddress), addressLength) != 0)
        *error = QStringLiteral("%1 port %2 on %3: %4").arg(QLatin1String(type == SOCK_STREAM ? "TCP" : "UDP"))
                     .arg(port).arg(address, systemReason());
    else if (::getsockname(fd, reinterpret_cast<sockaddr *>(&socketAddress), &addressLength) != 0)
        *error = systemError("getsockname");
    if (!error->isEmpty()) {
        closeFd(fd);
        return -1;
    }
    m_port = ntohs(socketAddress.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    return fd;
}
