#ifndef UDPCARRIER_H
#define UDPCARRIER_H

#include "carrier.h"
#include "networkaddress.h"
#include "tcpcarrier.h"

#include <memory>

class QUdpSocket;

// A cellular or Wi-Fi data unit that forwards the frames in UDP datagrams
// between it and its serial line to the modem: each request goes out as one
// datagram, and the answer may come in several. The socket is tied to the
// server's address, so that the system drops datagrams from anywhere else.
class UdpCarrier : public Carrier {
public:
    explicit UdpCarrier(const NetworkAddress &server);
    ~UdpCarrier() override;

    bool open(QString *why) override;
    void close() override;
    // No connection can close; only a refusal ends the exchanges.
    bool lost() const override { return refused; }
    QString lossExplanation() const override;
    QByteArray dropStaleInput() override;
    // A network may deliver a datagram twice.
    bool deliversCopies() const override { return true; }
    qint64 read(char *into, int max, int waitMs) override;
    // The same network as a TCP server's, and the same serial side.
    int answerDelay(int) const override { return TcpCarrier::RoundTrip; }
    int answerSpread() const override { return TcpCarrier::Jitter; }
    int lineRate() const override { return TcpCarrier::ServerLineRate; }
    bool farEndKeepsFrameGap() const override { return true; }

protected:
    QIODevice *device() const override;
    void flush() override;

private:
    std::unique_ptr<QUdpSocket> socket;
    const NetworkAddress server;
    bool refused = false;   // a system on the way said the datagrams cannot be delivered
};

#endif // UDPCARRIER_H
