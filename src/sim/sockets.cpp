#include "sockets.h"

#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef _WIN32

bool startSockets(QString *error)
{
    // Once for the process: Winsock counts its users, and the modem's own
    // sockets are closed long before the process ends.
    static const int result = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (result != 0)
        *error = QStringLiteral("WSAStartup: %1").arg(qt_error_string(result));
    return result == 0;
}

namespace {

int nonBlocking(SOCKET socket)
{
    u_long yes = 1;
    if (socket == INVALID_SOCKET || ioctlsocket(socket, FIONBIO, &yes) == 0)
        return static_cast<int>(socket);
    closesocket(socket);
    return -1;
}

} // namespace

int openSocket(int family, int type)
{
    // Not inherited unless asked for, in Winsock.
    return nonBlocking(::socket(family, type, 0));
}

int acceptConnection(int listenFd)
{
    return nonBlocking(::accept(static_cast<SOCKET>(listenFd), nullptr, nullptr));
}

ssize_t receiveSome(int fd, char *buffer, size_t size)
{
    return ::recv(static_cast<SOCKET>(fd), buffer, static_cast<int>(size), 0);
}

ssize_t sendSome(int fd, const char *data, size_t length)
{
    return ::send(static_cast<SOCKET>(fd), data, static_cast<int>(length), 0);
}

ssize_t receiveFrom(int fd, char *buffer, size_t size, sockaddr_storage *sender, socklen_t *senderLength)
{
    return ::recvfrom(static_cast<SOCKET>(fd), buffer, static_cast<int>(size), 0,
                      reinterpret_cast<sockaddr *>(sender), senderLength);
}

ssize_t sendTo(int fd, const char *data, size_t length, const sockaddr_storage &peer, socklen_t peerLength)
{
    return ::sendto(static_cast<SOCKET>(fd), data, static_cast<int>(length), 0,
                    reinterpret_cast<const sockaddr *>(&peer), peerLength);
}

pollfd watched(int fd, short events)
{
    pollfd entry = {};
    entry.fd = static_cast<SOCKET>(fd);
    entry.events = events;
    return entry;
}

int pollFor(pollfd *fds, size_t count, std::chrono::nanoseconds timeout)
{
    // WSAPoll refuses an absent socket where poll(2) skips it.
    std::vector<pollfd> present;
    for (size_t i = 0; i < count; ++i) {
        fds[i].revents = 0;
        if (fds[i].fd != INVALID_SOCKET)
            present.push_back(fds[i]);
    }
    const int milliseconds = timeout.count() < 0
        ? -1 : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
    const int ready = WSAPoll(present.data(), static_cast<ULONG>(present.size()), milliseconds);
    for (size_t i = 0, j = 0; i < count && ready > 0; ++i) {
        if (fds[i].fd != INVALID_SOCKET)
            fds[i].revents = present[j++].revents;
    }
    return ready;
}

bool interrupted()
{
    return WSAGetLastError() == WSAEINTR;
}

bool wouldBlock()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

// No pipe can be polled beside sockets here: a datagram from one loopback
// socket to another does the same.
bool openWakePair(int *readFd, int *writeFd, QString *error)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    *readFd = openSocket(AF_INET, SOCK_DGRAM);
    *writeFd = openSocket(AF_INET, SOCK_DGRAM);
    if (*readFd < 0 || *writeFd < 0
        || ::bind(static_cast<SOCKET>(*readFd), reinterpret_cast<sockaddr *>(&address), length) != 0
        || ::getsockname(static_cast<SOCKET>(*readFd), reinterpret_cast<sockaddr *>(&address), &length) != 0
        || ::connect(static_cast<SOCKET>(*writeFd), reinterpret_cast<sockaddr *>(&address), length) != 0) {
        *error = systemError("wake-up sockets");
        closeFd(*readFd);
        closeFd(*writeFd);
        return false;
    }
    return true;
}

bool wake(int writeFd)
{
    const char byte = 'q';
    return sendSome(writeFd, &byte, 1) == 1;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        closesocket(static_cast<SOCKET>(fd));
    fd = -1;
}

QString systemReason()
{
    return qt_error_string(WSAGetLastError());
}

#else

bool startSockets(QString *)
{
    return true;
}

int openSocket(int family, int type)
{
    return ::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

int acceptConnection(int listenFd)
{
    return ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

ssize_t receiveSome(int fd, char *buffer, size_t size)
{
    return ::recv(fd, buffer, size, 0);
}

ssize_t sendSome(int fd, const char *data, size_t length)
{
    return ::send(fd, data, length, MSG_NOSIGNAL);
}

ssize_t receiveFrom(int fd, char *buffer, size_t size, sockaddr_storage *sender, socklen_t *senderLength)
{
    return ::recvfrom(fd, buffer, size, 0, reinterpret_cast<sockaddr *>(sender), senderLength);
}

ssize_t sendTo(int fd, const char *data, size_t length, const sockaddr_storage &peer, socklen_t peerLength)
{
    return ::sendto(fd, data, length, 0, reinterpret_cast<const sockaddr *>(&peer), peerLength);
}

pollfd watched(int fd, short events)
{
    return {fd, events, 0};
}

int pollFor(pollfd *fds, size_t count, std::chrono::nanoseconds timeout)
{
    if (timeout.count() < 0)
        return ::poll(fds, nfds_t(count), -1);
    const timespec limit{static_cast<time_t>(timeout.count() / 1000000000LL),
                         static_cast<long>(timeout.count() % 1000000000LL)};
    return ::ppoll(fds, nfds_t(count), &limit, nullptr);
}

bool interrupted()
{
    return errno == EINTR;
}

bool wouldBlock()
{
    return errno == EAGAIN;
}

bool openWakePair(int *readFd, int *writeFd, QString *error)
{
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        *error = systemError("pipe2");
        return false;
    }
    *readFd = wake[0];
    *writeFd = wake[1];
    return true;
}

bool wake(int writeFd)
{
    const char byte = 'q';
    ssize_t written;
    while ((written = ::write(writeFd, &byte, 1)) < 0 && errno == EINTR) {
    }
    return written == 1;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

#endif

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), systemReason());
}
