#ifndef UDPSERVERLINE_H
#define UDPSERVERLINE_H

#include "servedline.h"

// A data unit's UDP port in front of the modem: the frames come in
// datagrams from anyone, and the answers go to whoever sent the last one,
// a datagram each time the modem's line has carried a whole answer.
class UdpServerLine : public ServerLine {
public:
    bool listen(const QString &address, int port, QString *error) override;
    // The port stays; only the peer is forgotten.
    void dropPeer() override;
    bool forwardsWhole() const override { return true; }
    ssize_t read(char *buffer, size_t size) override;

protected:
    // One datagram to the peer; without one, the answer is lost as on the air.
    ssize_t writeSome(const char *data, size_t length) const override;

private:
    sockaddr_storage peer = {};
    socklen_t peerLength = 0;
};

#endif // UDPSERVERLINE_H
