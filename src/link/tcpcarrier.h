#ifndef TCPCARRIER_H
#define TCPCARRIER_H

#include "carrier.h"
#include "networkaddress.h"

#include <memory>

class QTcpSocket;

// A TCP connection to a server in front of the modem's serial line. Each
// job connects afresh, so a connection the server dropped between two jobs
// costs nothing, unless its thread holds its connections
// (heldconnections.h).
class TcpCarrier : public Carrier {
public:
    // Over a network the answer wait grows by a round trip, and the silence
    // that ends an answer by the spread of the segments' arrival. A modem's
    // router falls back to GPRS/EDGE where the signal is poor: round trips of
    // 0.5 to 1 s there, up to 2 s under load; the spread stays within half.
    static constexpr int RoundTrip = 2000;   // ms
    static constexpr int Jitter = 1000;      // ms
    // The server's serial side has a rate of its own, which the connection
    // does not know: it is taken to be the modem's factory rate.
    static constexpr int ServerLineRate = 9600;

    explicit TcpCarrier(const NetworkAddress &server);
    ~TcpCarrier() override;

    bool open(QString *why) override;
    void close() override;
    bool lost() const override;
    QString lossExplanation() const override;
    void dropStaleInput() override;
    int answerDelay(int) const override { return RoundTrip; }
    int answerSpread() const override { return Jitter; }
    int lineRate() const override { return ServerLineRate; }
    // The server keeps the gap on its serial side.
    bool farEndKeepsFrameGap() const override { return true; }

protected:
    QIODevice *device() const override;
    void flush() override;

    const NetworkAddress server;

private:
    std::unique_ptr<QTcpSocket> socket;
    // Whether the connection is new and nothing was asked on it yet.
    bool fresh = false;
};

#endif // TCPCARRIER_H
