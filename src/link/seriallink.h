#ifndef SERIALLINK_H
#define SERIALLINK_H

#include "carrier.h"
#include "framing.h"
#include "networkaddress.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

// The one channel to the modem: a blocking request/answer wrapper around a
// carrier (a serial port, or a server on the network in front of the
// modem's line) and a framing (Modbus RTU, or Modbus TCP's), created, used and
// destroyed within one worker job. It sends a request on a clean line and
// collects the answer until the framing finds it complete, or else until
// the line falls silent.
class SerialLink {
public:
    static constexpr int DefaultAnswerTimeout = 6000;   // ms, first exchange after open
    static constexpr int DefaultNextTimeout = 6000;     // ms, every later exchange
    static constexpr int DefaultByteGapTimeout = 500;   // ms of silence that ends an answer
    static constexpr int MaxAnswerLength = 1023;

    // The system always uses the defaults; tests shorten them.
    explicit SerialLink(int answerTimeout = DefaultAnswerTimeout, int nextTimeout = DefaultNextTimeout,
                        int byteGapTimeout = DefaultByteGapTimeout);
    ~SerialLink();
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // "dev=<port name>;baud=<rate>", blanks around the parts and "=" ignored;
    // "dev=SCHEME://HOST:PORT" names a server, whose serial side has its own
    // rate, so that any baud is taken and not used but by an RFC 2217
    // server, whose port takes the rate. Returns why
    // the text cannot be used (a rate that is not a whole number, a server
    // address without its port, a part other than dev and baud), or an
    // empty text.
    QString configure(const QByteArray &config);
    // 0 on success; -1 when the port cannot be opened or refuses a line
    // setting, or the server takes no connection within
    // NetworkAddress::ConnectTimeout, and openFailure() says why.
    int open();
    QString openFailure() const;
    // Sends the request (nothing when length is 0) and collects the answer;
    // returns its length, 0..MaxAnswerLength. The wait for the first byte of
    // the answer counts from the moment the request has left the line (its
    // wire time at the baud rate; over a network, a round trip more).
    // Before a request, bytes waiting in the input are discarded and a
    // serial line is kept silent for the Modbus gap after the last answer; a
    // copy of the request at the start of the answer (the echo of a two-wire
    // adapter) is dropped. When `expectedLength` is not 0, the answer ends
    // as soon as the framing finds it a complete answer frame by its own
    // header; otherwise (and always when `expectedLength` is 0) after the
    // byte gap of silence.
    //
    // A read answer does not name its registers, so one answer too many
    // would be taken for the answer to the next request. After a complete
    // answer the line is watched for the Modbus silence of 3.5 characters,
    // and what comes within it is kept behind the answer
    // (bytesAfterAnswer()). Once an answer has come on this link, bytes
    // waiting before the next request came unasked: that request is not
    // sent, and they are the exchange's answer (unaskedBytes()); but in
    // datagrams, which a network may deliver twice, they are dropped.
    int exchange(const char *request, int length, int expectedLength = 0);
    // The last answer, followed by a NUL.
    const char *answer() const;
    // Of the last exchange: how long it waited for the first byte of the
    // answer, and whether it dropped an echo of the request.
    int lastWaitLimit() const { return m_lastWaitLimit; }
    bool echoRemoved() const { return m_echoRemoved; }
    // Of the last exchange: the bytes that came within the silence after a
    // complete answer, and the bytes that were waiting before its request,
    // which was then not sent. Either means a second answer, a second
    // master or noise on the line.
    int bytesAfterAnswer() const { return m_bytesAfterAnswer; }
    int unaskedBytes() const { return m_unaskedBytes; }
    // Of the last exchange: what waited on a socket before its request
    // (a telnet server's options, say), and what the framing took for no
    // answer to its request (a late answer to an earlier one, bytes no
    // frame starts with) and dropped while the wait went on.
    const QByteArray &droppedBytes() const { return m_dropped; }
    // Whether the port stopped working since it was opened: unplugged, its
    // line hung up, or the server closed the connection, with nothing of it
    // left to read. An exchange on a lost port ends at once.
    bool portLost() const;
    // What a lost port means to the technician.
    QString lossExplanation() const;
    void close();

    QString portName() const;
    int baudRate() const;
    bool overNetwork() const { return server.has_value(); }
    // The server the dev part names, if any.
    const std::optional<NetworkAddress> &serverAddress() const { return server; }
    // Whether the link sets the rate of the modem's line: a serial port's
    // own, or an RFC 2217 server's port; other servers keep a rate of their own.
    bool setsLineRate() const;
    // How requests and answers are framed on this link.
    Framing &framing() { return *m_framing; }

private:
    using Clock = std::chrono::steady_clock;

    void makeCarrier();
    int takeWaitingInput();
    void keepFrameGap() const;
    int collectAnswer(int waitLimit, const char *request, int length, int expectedLength);
    int dropStale(const char *request, int length, int received);
    int watchSilenceAfter(int received);

    std::unique_ptr<Carrier> carrier;   // made by configure for the device it names
    std::unique_ptr<Framing> m_framing;
    QString m_openFailure;
    QString m_portName;
    std::optional<NetworkAddress> server;   // when the dev part names one
    bool m_portNamed = false;   // by a dev part; else the default is tried
    int m_baudRate;
    const int answerTimeout;
    const int nextTimeout;
    const int byteGapTimeout;
    int firstExchange = 0;
    int m_lastWaitLimit = 0;
    bool m_echoRemoved = false;
    bool answerHeard = false;   // a complete answer came since open
    int m_bytesAfterAnswer = 0;
    int m_unaskedBytes = 0;
    QByteArray m_dropped;
    Clock::time_point lastByteAt;   // of the last answer; the epoch before any
    char rxBuffer[MaxAnswerLength + 1] = {};
};

#endif // SERIALLINK_H
