#ifndef TCPSERVERLINE_H
#define TCPSERVERLINE_H

#include "networkaddress.h"
#include "servedline.h"

// A TCP port in front of the modem: a serial device server's, the frames
// passed unchanged to a serial side at the modem's own rate, or a Modbus
// TCP gateway's, which frames them as RTU there. One client at a time, a
// new connection taking the place of the old.
class TcpServerLine : public ServerLine {
public:
    explicit TcpServerLine(Door door = Door::RtuOverTcp);
    ~TcpServerLine() override;

    const Framing &framing() const override;
    bool dropsPeerOnBadFrame() const override { return door == Door::ModbusTcp; }
    bool forwardsWhole() const override { return door == Door::ModbusTcp; }

    bool listen(const QString &address, int port, QString *error) override;
    void close() override;

    int acceptFd() const override { return listenFd; }
    void accept() override;
    void dropPeer() override;

protected:
    // A client that closed its connection must not end the modem.
    ssize_t writeSome(const char *data, size_t length) const override;

private:
    void replacePeer(int fd);

    const Door door;
    int listenFd = -1;
};

#endif // TCPSERVERLINE_H
