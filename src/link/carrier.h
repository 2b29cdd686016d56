#ifndef CARRIER_H
#define CARRIER_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QIODevice;

// What carries the frames between this machine and the modem's line: it
// owns its device, opens and closes it, and knows how the device shows a
// loss and how long bytes take on it. The link drives it from one thread
// with blocking calls only, so no carrier needs an event loop.
class Carrier {
public:
    virtual ~Carrier();

    // Opens the device; false, with `why` said for the technician, when it
    // cannot be used. Whether it opened is never read from the words, which
    // a system may leave empty.
    virtual bool open(QString *why) = 0;
    virtual void close() = 0;
    bool isOpen() const;
    // Whether the device stopped working since it opened, with nothing of
    // it left to read.
    virtual bool lost() const = 0;
    // What a lost device means to the technician.
    virtual QString lossExplanation() const = 0;

    // Discards what waits in the input; returns it where the carrier reads
    // it (a socket's), which may tell what speaks at the far end.
    virtual QByteArray dropStaleInput() = 0;
    // Whether what waits before a request may be the carrier's own late
    // copy of an earlier answer, which tells nothing of the modem's line
    // and goes with the stale input.
    virtual bool deliversCopies() const { return false; }
    // Hands the bytes over and waits until they have left, or until the
    // thread is asked to stop.
    virtual void send(const char *data, int length);
    // Up to `max` bytes of what came; when nothing has, waits up to
    // `waitMs` for something first. 0 or less when nothing came.
    virtual qint64 read(char *into, int max, int waitMs);

    // How much longer than the modem takes (ms) an answer to a request of
    // `bytes` bytes needs to begin arriving, counted from its sending.
    virtual int answerDelay(int bytes) const = 0;
    // How much longer (ms) a pause inside an answer may be than on the
    // modem's own line.
    virtual int answerSpread() const = 0;
    // The rate of the modem's serial line.
    virtual int lineRate() const = 0;
    // Whether the far end keeps the silence between frames on the modem's
    // line itself, so that this side need not wait for it.
    virtual bool farEndKeepsFrameGap() const = 0;

    // Whether the thread that drives the link is asked to stop.
    static bool stopRequested();

protected:
    // The device, once open() made it; null before.
    virtual QIODevice *device() const = 0;
    // Pushes what was written towards the wire.
    virtual void flush() = 0;
};

#endif // CARRIER_H
