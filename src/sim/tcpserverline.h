#ifndef TCPSERVERLINE_H
#define TCPSERVERLINE_H

#include "servedline.h"

// A serial device server's TCP port in front of the modem: one client at a
// time, a new connection taking the place of the old, the frames passed
// unchanged to a serial side at the modem's own rate.
class TcpServerLine : public ServedLine {
public:
    ~TcpServerLine() override;

    // Listens on `address` (an IP address) and `port` (0: any free one);
    // false with `error` set when it cannot.
    bool listen(const QString &address, int port, QString *error);
    // The port listened on.
    int port() const { return m_port; }
    void close() override;

    int acceptFd() const override { return listenFd; }
    void accept() override;
    bool outlivesPeer() const override { return true; }
    void dropPeer() override;
    int rate(int ownRate) const override;

protected:
    // A client that closed its connection must not end the modem.
    ssize_t writeSome(const char *data, size_t length) const override;

private:
    void replacePeer(int fd);

    int listenFd = -1;
    int m_port = -1;
};

#endif // TCPSERVERLINE_H
