#include "udpserverline.h"

bool UdpServerLine::listen(const QString &address, int port, QString *error)
{
    m_fd = bound(SOCK_DGRAM, address, port, error);
    return m_fd >= 0;
}

void UdpServerLine::dropPeer()
{
    forgetRequest();
    peerLength = 0;
}

ssize_t UdpServerLine::read(char *buffer, size_t size)
{
    sockaddr_storage sender = {};
    socklen_t senderLength = sizeof sender;
    const ssize_t got = receiveFrom(m_fd, buffer, size, &sender, &senderLength);
    if (got >= 0) {
        peer = sender;
        peerLength = senderLength;
    }
    return got;
}

ssize_t UdpServerLine::writeSome(const char *data, size_t length) const
{
    if (peerLength == 0)
        return ssize_t(length);
    return sendTo(m_fd, data, length, peer, peerLength);
}
