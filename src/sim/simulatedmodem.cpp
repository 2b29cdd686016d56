#include "simulatedmodem.h"

#include "connectiontext.h"
#include "modbusframe.h"
#include "tcpserverline.h"
#include "udpserverline.h"

#ifdef Q_OS_UNIX
#include "ttyline.h"
#endif

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Modbus ends a frame after 3.5 character times of silence; on a loaded
// machine a pseudo-terminal can stall longer than that inside one write, so
// the gap never drops below a floor that no client's single write reaches.
constexpr auto MinimumFrameGap = 10ms;
// Nothing a master sends is longer than a write of 123 registers; a burst
// beyond this without a recognisable frame is line noise.
constexpr int MaxPendingBytes = 4096;
// The longest the line stays up after half of an answer when it is to hang up.
constexpr auto HangUpDelay = 2000ms;
constexpr auto HangUpSettle = 50ms;

} // namespace


SimulatedModem::SimulatedModem(const SimulatedModemOptions &options)
    : m_slave(Modbus::DeviceAddress)
{
    m_slave.setOptions(options);
}

SimulatedModem::~SimulatedModem()
{
    stop();
}

bool SimulatedModem::start()
{
    if (m_thread.joinable()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = QStringLiteral("already started");
        return false;
    }
    QString error;
    if (!startSockets(&error) || !openWakePair(&m_wakeRead, &m_wakeWrite, &error)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        return false;
    }

    if (!openLine() || !listen()) {
        closeAll();
        return false;
    }
    m_running = true;
    m_thread = std::thread(&SimulatedModem::serve, this);
    return true;
}

void SimulatedModem::stop()
{
    if (m_thread.joinable()) {
        wake(m_wakeWrite);
        m_thread.join();
    }
    closeAll();
}

bool SimulatedModem::isRunning() const
{
    return m_running;
}

QString SimulatedModem::errorString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

bool SimulatedModem::openLine()
{
    const SimulatedModemOptions current = options();
    QString error;
#ifndef Q_OS_UNIX
    // No pseudo-terminals here, and a serial port is the configurator's to
    // open: the modem's line is the serial side of its servers.
    if (!current.port.isEmpty())
        error = QStringLiteral("a serial port cannot be served on this system");
    else if (current.tcpPort < 0 && current.modbusTcpPort < 0 && current.udpPort < 0)
        error = QStringLiteral("without a pseudo-terminal on this system, the modem needs a TCP or UDP port");
    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    return error.isEmpty();
#else
    auto line = std::make_unique<TtyLine>();
    const bool opened = current.port.isEmpty() ? line->openPseudoTerminal(current.baudRate, &error)
                                               : line->openPort(current.port, current.baudRate, &error);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    if (opened)
        m_portName = line->name();
    m_line = std::move(line);
    return opened;
#endif
}

bool SimulatedModem::listen()
{
    const SimulatedModemOptions current = options();
    const std::pair<Door, int> asked[] = {
        {Door::RtuOverTcp, current.tcpPort},
        {Door::ModbusTcp, current.modbusTcpPort},
        {Door::RtuOverUdp, current.udpPort},
    };
    for (const auto &[door, port] : asked) {
        if (port < 0)
            continue;
        QString error;
        std::unique_ptr<ServerLine> server;
        if (door == Door::RtuOverUdp)
            server = std::make_unique<UdpServerLine>();
        else
            server = std::make_unique<TcpServerLine>(door);
        const bool listening = server->listen(current.tcpAddress, port, &error);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = error;
        if (!listening)
            return false;
        m_serverPorts.emplace_back(door, server->port());
        m_servers.push_back(std::move(server));
    }
    return true;
}

void SimulatedModem::closeAll()
{
    m_servers.clear();
    m_line.reset();
    closeFd(m_wakeRead);
    closeFd(m_wakeWrite);
}

QString SimulatedModem::portName() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_portName;
}

QString SimulatedModem::connectionText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return ConnectionText::of(m_portName, m_slave.options().baudRate);
}

int SimulatedModem::serverPort(Door door) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &[served, port] : m_serverPorts) {
        if (served == door)
            return port;
    }
    return -1;
}

QString SimulatedModem::networkConnectionText(Door door) const
{
    const int port = serverPort(door);
    if (port < 0)
        return QString();
    NetworkAddress server;
    server.host = options().tcpAddress;
    server.port = quint16(port);
    server.door = door;
    return ConnectionText::ofServer(server);
}

quint16 SimulatedModem::reg(int index) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_slave.reg(index);
}

void SimulatedModem::setReg(int index, quint16 value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_slave.setReg(index, value);
}

QVector<quint16> SimulatedModem::registers(int first, int count) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QVector<quint16> values;
    values.reserve(std::max(count, 0));
    for (int i = 0; i < count; ++i)
        values.append(m_slave.reg(first + i));
    return values;
}

void SimulatedModem::setRegisters(int first, const QVector<quint16> &values)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < values.size(); ++i)
        m_slave.setReg(first + i, values.at(i));
}

QList<QByteArray> SimulatedModem::receivedFrames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

void SimulatedModem::clearReceivedFrames()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frames.clear();
}

SimulatedModemOptions SimulatedModem::options() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_slave.options();
}

void SimulatedModem::setOptions(const SimulatedModemOptions &options)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    SimulatedModemOptions kept = options;
    // The line is open already; a new device name would only make the
    // connection text lie.
    if (m_running) {
        kept.port = m_slave.options().port;
        kept.tcpPort = m_slave.options().tcpPort;
        kept.modbusTcpPort = m_slave.options().modbusTcpPort;
        kept.udpPort = m_slave.options().udpPort;
        kept.tcpAddress = m_slave.options().tcpAddress;
    }
    m_slave.setOptions(kept);
}

void SimulatedModem::setWriteObserver(WriteObserver observer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeObserver = std::move(observer);
}

void SimulatedModem::setExchangeObserver(ExchangeObserver observer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_exchangeObserver = std::move(observer);
}

// The speed of the line a request came by.
int SimulatedModem::rateOf(const ServedLine &line) const
{
    return line.rate(options().baudRate);
}

std::chrono::milliseconds SimulatedModem::frameGap(const ServedLine &line) const
{
    const auto characters = std::chrono::milliseconds(Modbus::FrameGapBits * 1000 / rateOf(line) + 1);
    return std::max<std::chrono::milliseconds>(characters, MinimumFrameGap);
}

std::chrono::nanoseconds SimulatedModem::characterTime(const ServedLine &line) const
{
    return std::chrono::nanoseconds(Modbus::BitsPerCharacter * 1000000000LL / rateOf(line));
}

void SimulatedModem::serve()
{
    std::vector<ServedLine *> lines;
    if (m_line)
        lines.push_back(m_line.get());
    for (const auto &server : m_servers)
        lines.push_back(server.get());
    for (;;) {
        // Wake for the earliest end of silence on any line.
        int timeout = -1;
        for (const ServedLine *line : lines) {
            if (line->pending.isEmpty())
                continue;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(line->silenceEnds - Clock::now());
            const int wait = static_cast<int>(std::max<long long>(left.count(), 0));
            timeout = timeout < 0 ? wait : std::min(timeout, wait);
        }
        // The order to stop, then each line's own descriptor and the one
        // that brings it a new peer.
        std::vector<pollfd> fds{watched(m_wakeRead, POLLIN)};
        for (const ServedLine *line : lines) {
            fds.push_back(watched(line->fd(), POLLIN));
            fds.push_back(watched(line->acceptFd(), POLLIN));
        }
        const int ready = pollFor(fds.data(), fds.size(), std::chrono::milliseconds(timeout));
        if (ready < 0) {
            if (interrupted())
                continue;
            break;
        }
        if (fds[0].revents != 0)
            break;
        const ServedLine *ended = nullptr;
        for (size_t i = 0; i < lines.size() && !ended; ++i) {
            ServedLine &line = *lines[i];
            if (fds[2 * i + 2].revents & POLLIN)
                line.accept();
            // The peer went away, or the line was hung up on purpose.
            if (fds[2 * i + 1].revents != 0 && !receive(line)) {
                if (!line.outlivesPeer())
                    ended = &line;
                else
                    line.dropPeer();
            }
        }
        if (ended)
            break;
        for (ServedLine *line : lines) {
            if (line->fd() >= 0 && !line->pending.isEmpty() && Clock::now() >= line->silenceEnds) {
                // Silence ends whatever could not be framed by its header: an
                // unknown function (which earns exception 1 if its CRC is
                // right), a truncated frame or noise.
                const QByteArray frame = line->pending;
                line->pending.clear();
                handleFrame(*line, frame, line->firstByteAt);
            }
        }
        for (ServedLine *line : lines) {
            if (line->hungUp && !line->outlivesPeer())
                ended = line;
            else if (line->hungUp)
                line->dropPeer();
        }
        if (ended)
            break;
    }
    for (const auto &server : m_servers)
        server->dropPeer();
    if (m_line && m_line->hungUp) {
        m_line->close();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = QStringLiteral("the line was hung up on purpose");
    }
    m_running = false;
}

// Reads what the line has and frames it. False when the line is gone: a
// given port hung up or ended (a USB adapter pulled out; we hold the pty
// slave open ourselves, so a pty never does), a client closed its
// connection, or a hangUp fault closed it.
bool SimulatedModem::receive(ServedLine &line)
{
    char buffer[512];
    const ssize_t got = line.read(buffer, sizeof buffer);
    if (got < 0 && (wouldBlock() || interrupted()))
        return true;
    if (got <= 0) {
        if (!line.outlivesPeer()) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_error = QStringLiteral("the line hung up");
        }
        return false;
    }
    const Clock::time_point now = Clock::now();
    if (options().echo && !line.write(buffer, static_cast<int>(got), m_wakeRead))
        return false;
    if (line.pending.isEmpty())
        line.firstByteAt = now;
    line.pending.append(buffer, static_cast<int>(got));
    line.silenceEnds = now + frameGap(line);
    takeFrames(line);
    return !line.hungUp;
}

// Frames are cut from the pending bytes by their headers; a frame that
// follows another in one burst counts as starting where the first ended.
void SimulatedModem::takeFrames(ServedLine &line)
{
    QByteArray &pending = line.pending;
    while (!pending.isEmpty() && !line.hungUp) {
        const int length = line.framing().requestLength(pending.constData(), pending.size());
        if (length == 0)
            return;
        if (length < 0) {
            if (pending.size() > MaxPendingBytes) {
                const QByteArray noise = pending;
                pending.clear();
                handleFrame(line, noise, line.firstByteAt);
            }
            return;
        }
        if (pending.size() < length)
            return;
        const QByteArray frame = pending.left(length);
        pending.remove(0, length);
        handleFrame(line, frame, line.firstByteAt);
        line.firstByteAt += length * characterTime(line);
    }
}

void SimulatedModem::handleFrame(ServedLine &line, const QByteArray &frame, Clock::time_point firstByteAt)
{
    if (!line.hearsPeer(options().baudRate))
        return;
    // A frame that fails its check gets no answer at all, exactly as on a
    // shared bus; a gateway that cannot read a header closes the connection.
    const Framing &framing = line.framing();
    const std::optional<Framing::ServedRequest> request = framing.unwrapRequest(frame);
    if (!request && line.dropsPeerOnBadFrame())
        line.hungUp = true;
    ModbusSlave::Reply reply;
    SimulatedModemOptions current;
    WriteObserver observer;
    ExchangeObserver exchangeObserver;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.append(frame);
        if (request) {
            reply = m_slave.handle(request->unit, request->pdu);
            current = m_slave.activeOptions();
        }
        observer = m_writeObserver;
        exchangeObserver = m_exchangeObserver;
    }
    QByteArray answerFrame;
    if (!reply.pdu.isEmpty()) {
        answerFrame = framing.wrapAnswer(frame, reply.unit, reply.pdu);
        if (reply.wrongCheck)
            answerFrame = framing.damageFrameCheck(answerFrame);
    }
    if (exchangeObserver)
        exchangeObserver(frame, answerFrame);
    if (reply.registersWritten && observer)
        observer(reply.firstRegister, reply.count);
    if (answerFrame.isEmpty())
        return;
    // On a real line the request is over only one wire time after its start.
    Clock::time_point requestEnd =
        current.pacing ? firstByteAt + framing.serialLength(frame.size()) * characterTime(line) : firstByteAt;
    // A gateway sends the answer once the modem's line has carried all of it.
    if (line.forwardsWhole() && current.pacing) {
        requestEnd += framing.serialLength(answerFrame.size()) * characterTime(line);
        current.pacing = false;
    }
    QByteArray answer = QByteArray(std::max(current.leadingBytes, 0), char(0xFF)) + answerFrame;
    answer.chop(std::max(current.cutBytes, 0));
    answer += QByteArray(std::max(current.trailingBytes, 0), char(0xFF));
    // A copy right behind the answer follows it on the same schedule, as on a wire.
    if (current.doubledAnswerMs == 0)
        answer += answer;
    sendAnswer(line, answer, current, requestEnd);
    if (current.doubledAnswerMs > 0 && !line.hungUp) {
        SimulatedModemOptions copy;
        copy.pacing = current.pacing;
        copy.answerDelayMs = current.doubledAnswerMs;
        sendAnswer(line, answer, copy, Clock::now());
    }
}

void SimulatedModem::sendAnswer(ServedLine &line, const QByteArray &answer, const SimulatedModemOptions &options,
                                Clock::time_point earliestStart)
{
    const Clock::time_point start =
        std::max(earliestStart, Clock::now()) + std::chrono::milliseconds(std::max(options.answerDelayMs, 0));
    if (!waitUntil(start))
        return;
    const int size = answer.size();
    const bool byteWise = options.pacing || options.byteGapMs > 0;
    const int splitAt = (options.splitPauseMs > 0 || options.hangUp) && size >= 2 ? size / 2 : size;
    const auto byteTime = options.pacing ? characterTime(line) : std::chrono::nanoseconds(0);
    const auto byteGap = std::chrono::milliseconds(std::max(options.byteGapMs, 0));

    // Byte i is due when its last bit is on the line: deadlines run from
    // the answer's start, so a late wake-up delays one byte, not the rest.
    Clock::time_point due = start;
    for (int sent = 0; sent < size;) {
        if (sent == splitAt && options.hangUp) {
            hangUp(line);
            return;
        }
        if (sent == splitAt) {
            due = std::max(due, Clock::now()) + std::chrono::milliseconds(options.splitPauseMs);
            if (!waitUntil(due))
                return;
        }
        const int end = byteWise ? sent + 1 : (sent < splitAt ? splitAt : size);
        if (byteWise) {
            if (sent > 0 && sent != splitAt)
                due += byteGap;
            due += byteTime;
            if (!waitUntil(due))
                return;
        }
        if (!line.write(answer.constData() + sent, end - sent, m_wakeRead))
            return;
        sent = end;
    }
    ++m_answersSent;
}

// The line dies once the client has read the first half of an answer. A
// hang-up throws away whatever the client has not read yet, so over a pty
// our own hold on its slave watches the input queue, which the kernel fills
// a moment after the write; a TCP connection is closed in order after it.
// The line dies once the client has read the first half of an answer; a
// TCP connection is closed in order after it.
void SimulatedModem::hangUp(ServedLine &line)
{
    const Clock::time_point latest = Clock::now() + HangUpDelay;
    if (!waitUntil(Clock::now() + HangUpSettle))
        return;
    if (!line.awaitPeerRead(latest, [this](Clock::time_point deadline) { return waitUntil(deadline); }))
        return;
    line.hungUp = true;
}

bool SimulatedModem::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        pollfd wake = watched(m_wakeRead, POLLIN);
        const int ready = pollFor(&wake, 1, std::chrono::duration_cast<std::chrono::nanoseconds>(left));
        if (ready > 0)
            return false;
        if (ready < 0 && !interrupted())
            return false;
    }
}
