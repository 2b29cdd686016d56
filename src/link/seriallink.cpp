#include "seriallink.h"

#include "connectiontext.h"
#include "modbusframe.h"
#include "serialports.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QTcpSocket>
#include <QThread>

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

bool stopRequested()
{
    return QThread::currentThread()->isInterruptionRequested();
}

} // namespace

SerialLink::SerialLink(int answerTimeout, int nextTimeout, int byteGapTimeout)
    : m_portName(QString::fromLatin1(DefaultPortName))
    , m_baudRate(DefaultBaudRate)
    , answerTimeout(answerTimeout)
    , nextTimeout(nextTimeout)
    , byteGapTimeout(byteGapTimeout)
{
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
    return connection.problem;
}

int SerialLink::open()
{
    const int opened = server ? openNetwork() : openSerialPort();
    if (opened == 0)
        firstExchange = 1;
    answerHeard = false;
    return opened;
}

int SerialLink::openSerialPort()
{
    port = std::make_unique<QSerialPort>();
    port->close();
    port->setPortName(m_portName);
    if (!port->open(QIODevice::ReadWrite)) {
        m_openFailure = SerialPorts::whyNotOpen(m_portName, port->error(), port->errorString());
        // The connection text alone would not tell which port that was.
        if (!m_portNamed)
            m_openFailure = QCoreApplication::translate("SerialLink",
                    "The connection has no dev part, so the default port %1 was tried. %2")
                .arg(m_portName, m_openFailure);
        return -1;
    }
    // A rate the port refuses (0 from a mistyped "baud") would leave the
    // line at whatever it was before; better to fail as if unopenable.
    if (!applyLineSettings()) {
        m_openFailure = port->errorString();
        port->close();
        return -1;
    }
    return 0;
}

// Each job connects afresh, so a connection the server dropped between
// two jobs costs nothing.
int SerialLink::openNetwork()
{
    socket = std::make_unique<QTcpSocket>();
    m_openFailure = server->connect(*socket);
    return m_openFailure.isEmpty() ? 0 : -1;
}

QString SerialLink::openFailure() const
{
    return m_openFailure;
}

bool SerialLink::applyLineSettings()
{
    return port->setBaudRate(m_baudRate, QSerialPort::AllDirections)
        && port->setFlowControl(QSerialPort::NoFlowControl)
        && port->setParity(QSerialPort::NoParity)
        && port->setDataBits(QSerialPort::Data8)
        && port->setStopBits(QSerialPort::OneStop);
}

int SerialLink::exchange(const char *request, int length, int expectedLength)
{
    const int waitLimit = firstExchange ? answerTimeout : nextTimeout;
    firstExchange = 0;
    m_lastWaitLimit = waitLimit;
    m_echoRemoved = false;
    m_bytesAfterAnswer = 0;
    m_unaskedBytes = 0;

    if (!device() || !device()->isOpen() || portLost()) {
        rxBuffer[0] = '\0';
        return 0;
    }
    int answerLimit = waitLimit;
    if (length > 0) {
        // After an answer, nothing more is due before the next request:
        // what came anyway is somebody else's, and a request sent into it
        // would get an answer that may not be its own.
        if (answerHeard) {
            m_unaskedBytes = takeWaitingInput();
            if (m_unaskedBytes > 0)
                return m_unaskedBytes;
        }
        // Noise from before the link's first answer must not become the
        // start of this one.
        dropStaleInput();
        keepFrameGap();
        device()->write(request, length);
        // The wait for the answer starts once the request has left: handed
        // to the system, then its time on the wire, which at 300 baud is
        // five seconds for a write of the settings block.
        pushOut();
        answerLimit += server ? NetworkRoundTrip : wireTimeMs(length);
    }
    m_lastWaitLimit = answerLimit;
    return collectAnswer(answerLimit, request, length, expectedLength);
}

QIODevice *SerialLink::device() const
{
    if (socket)
        return socket.get();
    return port.get();
}

void SerialLink::dropStaleInput()
{
    if (port) {
        port->clear(QSerialPort::Input);
        return;
    }
    // What the system holds for the socket is fetched first.
    socket->waitForReadyRead(0);
    socket->readAll();
}

// What the input holds now, into the answer buffer.
int SerialLink::takeWaitingInput()
{
    if (device()->bytesAvailable() == 0)
        device()->waitForReadyRead(0);
    const qint64 got = device()->read(rxBuffer, MaxAnswerLength);
    const int taken = got > 0 ? int(got) : 0;
    rxBuffer[taken] = '\0';
    if (taken > 0)
        lastByteAt = Clock::now();
    return taken;
}

void SerialLink::pushOut()
{
    if (port)
        port->flush();
    else
        socket->flush();
    while (device()->bytesToWrite() > 0 && !stopRequested() && device()->waitForBytesWritten(PollInterval)) {
    }
}

// The time `bytes` take on the line at 10 bits each (8N1), rounded up.
int SerialLink::wireTimeMs(int bytes) const
{
    return m_baudRate > 0 ? int((qint64(bytes) * Modbus::BitsPerCharacter * 1000 + m_baudRate - 1) / m_baudRate) : 0;
}

// Modbus RTU tells frames apart by 3.5 character times of silence. A
// server's serial side has a rate of its own, which the connection does not
// know: it is taken to be the modem's factory rate.
std::chrono::microseconds SerialLink::frameGap() const
{
    const int rate = server ? DefaultBaudRate : m_baudRate;
    return rate > Modbus::FixedFrameGapAbove || rate <= 0
        ? std::chrono::microseconds(Modbus::FixedFrameGapMicroseconds)
        : std::chrono::microseconds(Modbus::FrameGapBits * 1000000LL / rate);
}

// A strict slave takes a request that follows its answer sooner for part of it.
void SerialLink::keepFrameGap() const
{
    // The server keeps the gap on its serial side.
    if (server)
        return;
    const Clock::time_point quietUntil = lastByteAt + frameGap();
    if (Clock::now() < quietUntil)
        std::this_thread::sleep_until(quietUntil);
}

int SerialLink::collectAnswer(int waitLimit, const char *request, int length, int expectedLength)
{
    int received = 0;
    bool echoSettled = length <= 0;
    const int byteGap = server ? byteGapTimeout + NetworkJitter : byteGapTimeout;
    int pollsLeft = pollsFor(waitLimit);
    while (pollsLeft != 0 && !stopRequested() && !portLost()) {
        --pollsLeft;
        if (device()->bytesAvailable() == 0)
            device()->waitForReadyRead(PollInterval);
        const qint64 got = device()->read(rxBuffer + received, MaxAnswerLength - received);
        if (got <= 0)
            continue;
        received += static_cast<int>(got);
        lastByteAt = Clock::now();
        pollsLeft = pollsFor(byteGap);
        // No answer to these requests starts with a copy of the request, so
        // one that does is the adapter's echo; the answer is still to come.
        if (!echoSettled && received >= length) {
            echoSettled = true;
            if (std::memcmp(rxBuffer, request, size_t(length)) == 0) {
                m_echoRemoved = true;
                received -= length;
                std::memmove(rxBuffer, rxBuffer + length, size_t(received));
                if (received == 0)
                    pollsLeft = pollsFor(waitLimit);
            }
        }
        if (received >= MaxAnswerLength)
            break;
        // The start of an echo is no answer yet.
        const bool echoSoFar = !echoSettled && std::memcmp(rxBuffer, request, size_t(received)) == 0;
        const int frame = expectedLength > 0 && !echoSoFar ? completeAnswerLength(rxBuffer, received) : 0;
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

// Watches the line for the Modbus silence after a complete answer, which
// also keeps the gap before the next request; returns the received count
// with whatever came within it.
int SerialLink::watchSilenceAfter(int received)
{
    const auto gap = frameGap();
    Clock::time_point quietUntil = lastByteAt + gap;
    while (received < MaxAnswerLength && !portLost()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(quietUntil - Clock::now()).count();
        if (device()->bytesAvailable() == 0)
            device()->waitForReadyRead(int(std::max<qint64>(left + 1, 0)));
        const qint64 got = device()->read(rxBuffer + received, MaxAnswerLength - received);
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
    if (socket)
        return socket->state() != QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0;
    if (!port)
        return false;
    // A hung-up line fails the next read; an unplugged adapter is gone
    // altogether.
    switch (port->error()) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
        return true;
    default:
        return false;
    }
}

QString SerialLink::lossExplanation() const
{
    if (server)
        return QCoreApplication::translate("SerialLink",
                "%1 closed the connection: check that no other program took it over, and try again")
            .arg(server->shown());
    return QCoreApplication::translate("SerialLink",
            "The port stopped working: check that the adapter is still plugged in");
}

void SerialLink::close()
{
    if (socket)
        socket->abort();
    socket.reset();
    if (port)
        port->close();
    port.reset();
}

QString SerialLink::portName() const
{
    return m_portName;
}

int SerialLink::baudRate() const
{
    return m_baudRate;
}
