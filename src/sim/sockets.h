#ifndef SOCKETS_H
#define SOCKETS_H

// The calls on descriptors that POSIX and Winsock spell differently. A
// descriptor stays an int on both: a Winsock handle fits one, and its
// INVALID_SOCKET reads as -1.

#include <QString>

#include <chrono>
#include <cstddef>

#include <sys/types.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#endif

// Makes the system's sockets usable by this process (Winsock wants asking
// once); false with `error` set when they are not.
bool startSockets(QString *error);
// A non-blocking socket, not handed to child processes; -1 when it cannot be had.
int openSocket(int family, int type);
// The next connection waiting on `listenFd`, non-blocking; -1 without.
int acceptConnection(int listenFd);
// As recv(2) and send(2); a peer that has gone does not end the process.
ssize_t receiveSome(int fd, char *buffer, size_t size);
ssize_t sendSome(int fd, const char *data, size_t length);
ssize_t receiveFrom(int fd, char *buffer, size_t size, sockaddr_storage *sender, socklen_t *senderLength);
ssize_t sendTo(int fd, const char *data, size_t length, const sockaddr_storage &peer, socklen_t peerLength);

// An entry for pollFor(); -1 is left alone, as poll(2) does.
pollfd watched(int fd, short events);
// As poll(2), waiting at most `timeout` (negative: for ever).
int pollFor(pollfd *fds, size_t count, std::chrono::nanoseconds timeout);

// Why the last call on a descriptor failed: a signal came (try again), or
// the call would have had to wait.
bool interrupted();
bool wouldBlock();

// A pair where a byte written to `writeFd` makes `readFd` readable, by
// which one thread wakes another out of its poll; false with `error` set.
bool openWakePair(int *readFd, int *writeFd, QString *error);
bool wake(int writeFd);

void closeFd(int &fd);
// The system's reason for the last failed call.
QString systemReason();
// "what: the system's reason" for the last failed call.
QString systemError(const char *what);

#endif // SOCKETS_H
