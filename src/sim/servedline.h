#ifndef SERVEDLINE_H
#define SERVEDLINE_H

#include "framing.h"
#include "sockets.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

// One line the simulated modem serves: where its requests come from and its
// answers go, with the bytes of a request not yet framed. Opened and closed
// by the modem's owner, read and written on the modem's thread only.
class ServedLine {
public:
    using Clock = std::chrono::steady_clock;
    // Waits until the deadline; false when the modem is to stop.
    using WaitUntil = std::function<bool(Clock::time_point)>;

    virtual ~ServedLine();
    ServedLine();
    ServedLine(const ServedLine &) = delete;
    ServedLine &operator=(const ServedLine &) = delete;

    // Where requests are read from; -1 while nobody is on the line.
    int fd() const { return m_fd; }
    // A descriptor that brings a new peer when readable; -1 when none can come.
    virtual int acceptFd() const { return -1; }
    virtual void accept() {}
    // Whether the modem serves on once its peer has gone (a server's next
    // client may come), or the line was all it had.
    virtual bool outlivesPeer() const = 0;
    // Lets the peer go and forgets what it sent.
    virtual void dropPeer() {}
    // Closes the line for good.
    virtual void close();

    // How requests come and answers go on this line.
    virtual const Framing &framing() const;
    // Whether a request that cannot be opened ends the peer's connection,
    // as a gateway does with a header it cannot read, rather than going
    // unanswered as on a shared bus.
    virtual bool dropsPeerOnBadFrame() const { return false; }
    // Whether the answer goes out whole once the modem's serial line behind
    // has carried it, as a gateway forwards it, rather than byte by byte.
    virtual bool forwardsWhole() const { return false; }

    // The speed of the modem's line behind this one, whose characters time
    // the frames; `ownRate` is the modem's own.
    virtual int rate(int ownRate) const = 0;
    // Whether what the peer sends can be read at the modem's own speed.
    virtual bool hearsPeer(int ownRate) const;
    // Before a hang-up, waits until `latest` for the peer to have read what
    // it was sent; false when the modem is to stop.
    virtual bool awaitPeerRead(Clock::time_point latest, const WaitUntil &waitUntil) const;

    // As read(2); a line may learn from it who its peer is.
    virtual ssize_t read(char *buffer, size_t size);
    // Writes all of `data`, waiting for room while the peer does not read;
    // false when the line failed or `wakeFd` told the modem to stop.
    bool write(const char *data, int length, int wakeFd) const;

    // The request in the making.
    QByteArray pending;                // bytes not yet framed
    Clock::time_point silenceEnds;     // when what is pending becomes a frame
    Clock::time_point firstByteAt;     // of what is pending
    bool hungUp = false;               // closed by a hangUp fault

protected:
    // One try at writing; as write(2).
    virtual ssize_t writeSome(const char *data, size_t length) const;
    void forgetRequest();

    int m_fd = -1;
};

// A server's port in front of the modem, on the network: its serial side
// runs at the modem's own rate, and the modem serves on for the next peer.
class ServerLine : public ServedLine {
public:
    // Listens on `address` (an IP address) and `port` (0: any free one);
    // false with `error` set when it cannot.
    virtual bool listen(const QString &address, int port, QString *error) = 0;
    // The port listened on.
    int port() const { return m_port; }
    bool outlivesPeer() const override { return true; }
    int rate(int ownRate) const override;

protected:
    // A non-blocking socket of `type` bound as listen() is asked; -1 with
    // `error` set when it cannot be.
    int bound(int type, const QString &address, int port, QString *error);

    int m_port = -1;
};

#endif // SERVEDLINE_H
