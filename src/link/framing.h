#ifndef FRAMING_H
#define FRAMING_H

#include <QByteArray>
#include <QtGlobal>

#include <chrono>
#include <optional>

// An answer judged against the request it came for.
struct AnswerCheck {
    // Damaged: too short to be a frame, or its frame check failed.
    enum Outcome { Accepted, Exception, Mismatch, Damaged };
    Outcome outcome = Mismatch;
    int exceptionCode = 0;     // for Exception
};

// How Modbus requests and answers are framed on whatever carries them. The
// procedures ask for registers and get their data back; the framing makes
// the frames, says when an answer is whole and whether it fits its request,
// and for a modem that serves them delimits and opens the requests and
// closes the answers around what its slave says. One framing serves every
// exchange of a link, from any thread that owns that link.
class Framing {
public:
    struct Request {
        QByteArray frame;        // as it goes on the wire
        int answerLength = 0;    // of the normal answer it calls for
    };

    virtual ~Framing() = default;

    // A read of `count` holding registers from `first`. Not const: a
    // framing may number its requests, to tell a late answer from the
    // one due.
    virtual Request readRegisters(quint16 first, quint16 count) = 0;
    // A write of the registers whose little-endian image is `hostOrderData`.
    virtual Request writeRegisters(quint16 first, const QByteArray &hostOrderData) = 0;
    // Where a read answer's register data starts.
    virtual int readDataOffset() const = 0;

    // The length of the answer frame at the start of `data` when all of it
    // is there and intact; otherwise 0.
    virtual int completeAnswerLength(const char *data, int length) const = 0;
    // How many bytes at the start of `received` belong to no answer of the
    // request: a whole frame that answers another request (one before it,
    // answered late), or bytes no frame can start with. The link drops them
    // and waits on. 0 when the framing cannot tell a late answer.
    virtual int staleLength(const char *request, int requestLength, const char *received, int length) const
    {
        Q_UNUSED(request) Q_UNUSED(requestLength) Q_UNUSED(received) Q_UNUSED(length)
        return 0;
    }
    // Whether the `length` bytes received so far may still be an echo of the
    // request (its whole length once that many came) rather than an answer.
    virtual bool mayBeEcho(const char *request, int requestLength, const char *received, int length) const = 0;
    // The answer of `answerLength` bytes judged against its request.
    virtual AnswerCheck check(const char *request, int requestLength, const char *answer, int answerLength) const = 0;
    // The silence that tells two frames apart on the modem's serial line.
    virtual std::chrono::microseconds frameGap(int lineRate) const = 0;

    // For the serving side: the length of the request frame at the start
    // of `data` as its header gives it, 0 while too little is there to
    // tell, -1 when its header gives none (only silence ends it).
    virtual int requestLength(const char *data, int length) const = 0;
    // A request as a slave sees it once its frame is taken off.
    struct ServedRequest {
        quint8 unit = 0;     // the slave it is meant for
        QByteArray pdu;      // the function and its data
    };
    // The request inside a delimited frame; nothing when the frame is
    // damaged (too short, or its check fails), which a slave leaves
    // unanswered.
    virtual std::optional<ServedRequest> unwrapRequest(const QByteArray &frame) const = 0;
    // The frame that carries `pdu`, a slave's answer as `unit`, back to the
    // master that sent `requestFrame`.
    virtual QByteArray wrapAnswer(const QByteArray &requestFrame, quint8 unit, const QByteArray &pdu) const = 0;
    // `frame` with a check that fails, as a faulty modem sends it; a framing
    // without a check of its own gives it back as it is.
    virtual QByteArray damageFrameCheck(QByteArray frame) const = 0;
    // How many characters a frame of `frameLength` bytes takes on the
    // modem's serial line, where a gateway sends it as RTU.
    virtual int serialLength(int frameLength) const { return frameLength; }
};

#endif // FRAMING_H
