#include "servedline.h"

#include "rtuframing.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
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

ssize_t ServedLine::read(char *buffer, size_t size) const
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
