#include "seriallink.h"

#include "connectiontext.h"
#include "modbustcpframing.h"
#include "rfc2217carrier.h"
#include "rtuframing.h"
#include "serialcarrier.h"
#include "tcpcarrier.h"
#include "udpcarrier.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

// The wait is counted in polls of at most this length, so that a silent
// line and a request to stop are both noticed within one poll.
constexpr int PollInterval = 100;   // ms

const char DefaultPortName[] = "\\\\.\\COM1";
constexpr int DefaultBaudRate = 9600;

int pollsFor(int milliseconds)
{
    return milliseconds / PollInterval + 1;
}

} // namespace

SerialLink::SerialLink(int answerTimeout, int nextTimeout, int byteGapTimeout)
    : m_portName(QString::fromLatin1(DefaultPortName))
    , m_baudRate(DefaultBaudRate)
    , answerTimeout(answerTimeout)
    , nextTimeout(nextTimeout)
    , byteGapTimeout(byteGapTimeout)
{
    makeCarrier();
}

SerialLink::~SerialLink()
{
    close();
}

QString SerialLink::configure(const QByteArray &config)
{
    const ConnectionText connection = ConnectionText::parse(config);
    if (connection.deviceNamed) {
        m_portName = connection.device;
        m_portNamed = true;
        server = connection.server;
    }
    if (connection.baudRate)
        m_baudRate = *connection.baudRate;
    makeCarrier();
    return connection.problem;
}

// The one place that knows which carrier and framing a connection names.
void SerialLink::makeCarrier()
{
    if (server && server->door == Door::ModbusTcp)
        m_framing = std::make_unique<ModbusTcpFraming>();
    else
        m_framing = std::make_unique<RtuFraming>();
    if (!server) {
        carrier = std::make_unique<SerialCarrier>(m_portName, m_baudRate, m_portNamed);
        return;
    }
    switch (server->door) {
    case Door::RtuOverTcp:
    case Door::ModbusTcp:
        carrier = std::make_unique<TcpCarrier>(*server);
        break;
    case Door::Rfc2217:
        carrier = std::make_unique<Rfc2217Carrier>(*server, m_baudRate);
        break;
    case Door::RtuOverUdp:
        carrier = std::make_unique<UdpCarrier>(*server);
        break;
    }
}

bool SerialLink::setsLineRate() const
{
    return !server || server->door == Door::Rfc2217;
}

int SerialLink::open()
{
    const int opened = carrier->open(&m_openFailure) ? 0 : -1;
    if (opened == 0)
        firstExchange = 1;
    answerHeard = false;
    return opened;
}

QString SerialLink::openFailure() const
{
    return m_openFailure;
}

int SerialLink::exchange(const char *request, int length, int expectedLength)
{
    const int waitLimit = firstExchange ? answerTimeout : nextTimeout;
    firstExchange = 0;
    m_lastWaitLimit = waitLimit;
    m_echoRemoved = false;
    m_bytesAfterAnswer = 0;
    m_unaskedBytes = 0;
    m_dropped.clear();

    if (!carrier->isOpen() || portLost()) {
        rxBuffer[0] = '\0';
        return 0;
    }
    int answerLimit = waitLimit;
    if (length > 0) {
        // After an answer, nothing more is due before the next request:
        // what came anyway is somebody else's, and a request sent into it
        // would get an answer that may not be its own. A carrier's own
        // copies are only stale.
        if (answerHeard && !carrier->deliversCopies()) {
            m_unaskedBytes = takeWaitingInput();
            if (m_unaskedBytes > 0)
                return m_unaskedBytes;
        }
        // Noise from before the link's first answer must not become the
        // start of this one.
        m_dropped = carrier->dropStaleInput();
        keepFrameGap();
        // The wait for the answer starts once the request has left: handed
        // to the system, then its time on the carrier.
        carrier->send(request, length);
        answerLimit += carrier->answerDelay(length);
    }
    m_lastWaitLimit = answerLimit;
    return collectAnswer(answerLimit, request, length, expectedLength);
}

// What the input holds now, into the answer buffer.
int SerialLink::takeWaitingInput()
{
    const qint64 got = carrier->read(rxBuffer, MaxAnswerLength, 0);
    const int taken = got > 0 ? int(got) : 0;
    rxBuffer[taken] = '\0';
    if (taken > 0)
        lastByteAt = Clock::now();
    return taken;
}

// A strict slave takes a request that follows its answer sooner for part of it.
void SerialLink::keepFrameGap() const
{
    if (carrier->farEndKeepsFrameGap())
        return;
    const Clock::time_point quietUntil = lastByteAt + m_framing->frameGap(carrier->lineRate());
    if (Clock::now() < quietUntil)
        std::this_thread::sleep_until(quietUntil);
}

int SerialLink::collectAnswer(int waitLimit, const char *request, int length, int expectedLength)
{
    int received = 0;
    bool echoSettled = length <= 0;
    const int byteGap = byteGapTimeout + carrier->answerSpread();
    const Clock::time_point answerDue = Clock::now() + std::chrono::milliseconds(waitLimit);
    // Once late answers came, no stream of them keeps the exchange going
    // past its time.
    const Clock::time_point lateAnswersEnd = answerDue + std::chrono::milliseconds(byteGap);
    const int droppedBefore = m_dropped.size();
    int pollsLeft = pollsFor(waitLimit);
    while (pollsLeft != 0 && !Carrier::stopRequested() && !portLost()
           && (m_dropped.size() == droppedBefore || Clock::now() < lateAnswersEnd)) {
        --pollsLeft;
        const qint64 got = carrier->read(rxBuffer + received, MaxAnswerLength - received, PollInterval);
        if (got <= 0)
            continue;
        received += static_cast<int>(got);
        lastByteAt = Clock::now();
        pollsLeft = pollsFor(byteGap);
        // An answer that starts with a copy of the request is the adapter's
        // echo; the answer is still to come.
        if (!echoSettled && received >= length) {
            echoSettled = true;
            if (m_framing->mayBeEcho(request, length, rxBuffer, received)) {
                m_echoRemoved = true;
                received -= length;
                std::memmove(rxBuffer, rxBuffer + length, size_t(received));
                if (received == 0)
                    pollsLeft = pollsFor(waitLimit);
            }
        }
        // A late answer to an earlier request is no answer to this one: the
        // wait for ours goes on to its end.
        const bool anything = received > 0;
        received = dropStale(request, length, received);
        if (anything && received == 0) {
            pollsLeft = pollsFor(int(std::max<qint64>(
                std::chrono::duration_cast<std::chrono::milliseconds>(answerDue - Clock::now()).count(), 0)));
            continue;
        }
        if (received >= MaxAnswerLength)
            break;
        // The start of an echo is no answer yet.
        const bool echoSoFar = !echoSettled && m_framing->mayBeEcho(request, length, rxBuffer, received);
        const int frame = expectedLength > 0 && !echoSoFar ? m_framing->completeAnswerLength(rxBuffer, received) : 0;
        if (frame > 0) {
            answerHeard = true;
            received = watchSilenceAfter(received);
            m_bytesAfterAnswer = received - frame;
            break;
        }
    }
    rxBuffer[received] = '\0';
    return received;
}

// Drops what the framing finds belongs to no answer of the request, frame
// by frame; returns what is left.
int SerialLink::dropStale(const char *request, int length, int received)
{
    for (int stale; (stale = m_framing->staleLength(request, length, rxBuffer, received)) > 0;) {
        m_dropped.append(rxBuffer, stale);
        received -= stale;
        std::memmove(rxBuffer, rxBuffer + stale, size_t(received));
    }
    return received;
}

// Watches the line for the silence between frames after a complete answer,
// which also keeps the gap before the next request; returns the received
// count with whatever came within it.
int SerialLink::watchSilenceAfter(int received)
{
    const auto gap = m_framing->frameGap(carrier->lineRate());
    Clock::time_point quietUntil = lastByteAt + gap;
    while (received < MaxAnswerLength && !portLost()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(quietUntil - Clock::now()).count();
        const qint64 got = carrier->read(rxBuffer + received, MaxAnswerLength - received,
                                         int(std::max<qint64>(left + 1, 0)));
        if (got > 0) {
            received += int(got);
            lastByteAt = Clock::now();
            quietUntil = lastByteAt + gap;
        } else if (Clock::now() >= quietUntil) {
            break;
        }
    }
    return received;
}

const char *SerialLink::answer() const
{
    return rxBuffer;
}

bool SerialLink::portLost() const
{
    return carrier->lost();
}

QString SerialLink::lossExplanation() const
{
    return carrier->lossExplanation();
}

void SerialLink::close()
{
    carrier->close();
}

QString SerialLink::portName() const
{
    return m_portName;
}

int SerialLink::baudRate() const
{
    return m_baudRate;
}
