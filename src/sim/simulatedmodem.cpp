#include "simulatedmodem.h"

#include "connectiontext.h"
#include "modbusframe.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

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

struct SpeedCode {
    int rate;
    speed_t code;
};

constexpr SpeedCode SpeedCodes[] = {
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300},
    {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

bool speedCodeFor(int rate, speed_t *code)
{
    for (const SpeedCode &entry : SpeedCodes) {
        if (entry.rate == rate) {
            *code = entry.code;
            return true;
        }
    }
    return false;
}

int rateFor(speed_t code)
{
    for (const SpeedCode &entry : SpeedCodes) {
        if (entry.code == code)
            return entry.rate;
    }
    return 0;
}

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd, int baudRate, bool requireSpeed, QString *error)
{
    termios settings;
    if (tcgetattr(fd, &settings) != 0) {
        *error = systemError("tcgetattr");
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    speed_t code;
    if (speedCodeFor(baudRate, &code)) {
        cfsetispeed(&settings, code);
        cfsetospeed(&settings, code);
    } else if (requireSpeed) {
        *error = QStringLiteral("unsupported baud rate %1").arg(baudRate);
        return false;
    }
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    return true;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

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
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = systemError("pipe2");
        return false;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];

    const bool opened = options().port.isEmpty() ? openPseudoTerminal() : openPort();
    if (!opened || !listen()) {
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
        const char wake = 'q';
        while (::write(m_wakeWrite, &wake, 1) < 0 && errno == EINTR) {
        }
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

bool SimulatedModem::openPseudoTerminal()
{
    QString error;
    const int baudRate = options().baudRate;
    m_lineFd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[256];
    if (m_lineFd < 0)
        error = systemError("posix_openpt");
    else if (grantpt(m_lineFd) != 0 || unlockpt(m_lineFd) != 0)
        error = systemError("unlockpt");
    else if (ptsname_r(m_lineFd, name, sizeof name) != 0)
        error = systemError("ptsname_r");
    else if ((m_keptSlaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0)
        error = systemError("open pty slave");
    else if (makeRaw(m_keptSlaveFd, baudRate, false, &error)
             && fcntl(m_lineFd, F_SETFL, fcntl(m_lineFd, F_GETFL) | O_NONBLOCK) != 0)
        error = systemError("fcntl");

    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    if (error.isEmpty())
        m_portName = QString::fromLocal8Bit(name);
    return error.isEmpty();
}

bool SimulatedModem::openPort()
{
    const SimulatedModemOptions current = options();
    QString error;
    const QByteArray device = current.port.toLocal8Bit();
    m_lineFd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_lineFd < 0)
        error = systemError(device.constData());
    else
        makeRaw(m_lineFd, current.baudRate, true, &error);

    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    if (error.isEmpty())
        m_portName = current.port;
    return error.isEmpty();
}

bool SimulatedModem::listen()
{
    const SimulatedModemOptions current = options();
    if (current.tcpPort < 0)
        return true;
    QString error;
    sockaddr_storage address = {};
    socklen_t addressLength = 0;
    const QByteArray host = current.tcpAddress.toLatin1();
    auto *v4 = reinterpret_cast<sockaddr_in *>(&address);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&address);
    if (inet_pton(AF_INET, host.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(quint16(current.tcpPort));
        addressLength = sizeof *v4;
    } else if (inet_pton(AF_INET6, host.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(quint16(current.tcpPort));
        addressLength = sizeof *v6;
    }
    const int yes = 1;
    if (addressLength == 0)
        error = QStringLiteral("\"%1\" is not an IP address to listen on").arg(current.tcpAddress);
    else if ((m_listenFd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) < 0)
        error = systemError("socket");
    else if (::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0)
        error = systemError("setsockopt");
    else if (::bind(m_listenFd, reinterpret_cast<sockaddr *>(&address), addressLength) != 0)
        error = QStringLiteral("TCP port %1 on %2: %3").arg(current.tcpPort).arg(current.tcpAddress,
                                                               QString::fromLocal8Bit(std::strerror(errno)));
    else if (::listen(m_listenFd, 4) != 0)
        error = systemError("listen");
    else if (::getsockname(m_listenFd, reinterpret_cast<sockaddr *>(&address), &addressLength) != 0)
        error = systemError("getsockname");

    std::lock_guard<std::mutex> lock(m_mutex);
    m_error = error;
    if (error.isEmpty())
        m_tcpPort = ntohs(address.ss_family == AF_INET ? v4->sin_port : v6->sin6_port);
    return error.isEmpty();
}

void SimulatedModem::closeAll()
{
    closeFd(m_listenFd);
    closeFd(m_lineFd);
    closeFd(m_keptSlaveFd);
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

int SimulatedModem::tcpPort() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tcpPort;
}

QString SimulatedModem::networkConnectionText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_tcpPort < 0)
        return QString();
    NetworkAddress server;
    server.host = m_slave.options().tcpAddress;
    server.port = quint16(m_tcpPort);
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

int SimulatedModem::lineBaudRate() const
{
    const int fd = m_keptSlaveFd >= 0 ? m_keptSlaveFd : m_lineFd;
    termios settings;
    if (fd >= 0 && tcgetattr(fd, &settings) == 0) {
        const int rate = rateFor(cfgetospeed(&settings));
        if (rate > 0)
            return rate;
    }
    const int fallback = options().baudRate;
    return fallback > 0 ? fallback : 9600;
}

// A client that opens the line at another speed than the modem's sends
// nothing the modem can read. Only a pseudo-terminal tells the client's
// speed; one it cannot name (a custom rate) differs from any standard one.
bool SimulatedModem::speedsMatch() const
{
    if (m_keptSlaveFd < 0)
        return true;
    termios settings;
    if (tcgetattr(m_keptSlaveFd, &settings) != 0)
        return true;
    const int own = options().baudRate;
    const int line = rateFor(cfgetospeed(&settings));
    speed_t ownCode;
    return line > 0 ? line == own : !speedCodeFor(own, &ownCode);
}

// The speed of the line a request came by: over TCP, the server's serial
// side, which runs at the modem's own rate.
int SimulatedModem::rateOf(const Line &line) const
{
    if (!line.network)
        return lineBaudRate();
    const int own = options().baudRate;
    return own > 0 ? own : 9600;
}

std::chrono::milliseconds SimulatedModem::frameGap(const Line &line) const
{
    const auto characters = std::chrono::milliseconds(Modbus::FrameGapBits * 1000 / rateOf(line) + 1);
    return std::max<std::chrono::milliseconds>(characters, MinimumFrameGap);
}

std::chrono::nanoseconds SimulatedModem::characterTime(const Line &line) const
{
    return std::chrono::nanoseconds(Modbus::BitsPerCharacter * 1000000000LL / rateOf(line));
}

void SimulatedModem::serve()
{
    Line serial;
    serial.fd = m_lineFd;
    Line client;
    client.network = true;
    for (;;) {
        // Wake for the earliest end of silence on either line.
        int timeout = -1;
        for (const Line *line : {&serial, &client}) {
            if (line->pending.isEmpty())
                continue;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(line->silenceEnds - Clock::now());
            const int wait = static_cast<int>(std::max<long long>(left.count(), 0));
            timeout = timeout < 0 ? wait : std::min(timeout, wait);
        }
        pollfd fds[4] = {{m_wakeRead, POLLIN, 0}, {serial.fd, POLLIN, 0}, {m_listenFd, POLLIN, 0},
                         {client.fd, POLLIN, 0}};
        const int ready = ::poll(fds, 4, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents != 0)
            break;
        if (fds[2].revents & POLLIN)
            acceptClient(client);
        // The client went away, or its connection was hung up on purpose.
        if (fds[3].revents != 0 && !receive(client))
            replaceClient(client, -1);
        if (fds[1].revents != 0 && !receive(serial))
            break;
        for (Line *line : {&serial, &client}) {
            if (line->fd >= 0 && !line->pending.isEmpty() && Clock::now() >= line->silenceEnds) {
                // Silence ends whatever could not be framed by its header: an
                // unknown function (which earns exception 1 if its CRC is
                // right), a truncated frame or noise.
                const QByteArray frame = line->pending;
                line->pending.clear();
                handleFrame(*line, frame, line->firstByteAt);
            }
        }
        if (serial.hungUp)
            break;
        if (client.hungUp)
            replaceClient(client, -1);
    }
    closeFd(client.fd);
    if (serial.hungUp) {
        // Closing the master side hangs the line up for the client.
        closeFd(m_lineFd);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_error = QStringLiteral("the line was hung up on purpose");
    }
    m_running = false;
}

// Reads what the line has and frames it. False when the line is gone: a
// given port hung up or ended (a USB adapter pulled out; we hold the pty
// slave open ourselves, so a pty never does), a client closed its
// connection, or a hangUp fault closed it.
bool SimulatedModem::receive(Line &line)
{
    char buffer[512];
    const ssize_t got = ::read(line.fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (got <= 0) {
        if (!line.network) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_error = QStringLiteral("the line hung up");
        }
        return false;
    }
    const Clock::time_point now = Clock::now();
    if (options().echo && !writeBytes(line, buffer, static_cast<int>(got)))
        return false;
    if (line.pending.isEmpty())
        line.firstByteAt = now;
    line.pending.append(buffer, static_cast<int>(got));
    line.silenceEnds = now + frameGap(line);
    takeFrames(line);
    return !line.hungUp;
}

void SimulatedModem::acceptClient(Line &client)
{
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // Answers go out byte by byte when paced, as a server's serial side
    // hands them over; none may wait for the one before to be acknowledged.
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    replaceClient(client, fd);
}

// Closes the client's connection, if any, and starts afresh on `fd` (-1: none).
void SimulatedModem::replaceClient(Line &client, int fd)
{
    closeFd(client.fd);
    client = Line();
    client.network = true;
    client.fd = fd;
}

// Frames are cut from the pending bytes by their headers; a frame that
// follows another in one burst counts as starting where the first ended.
void SimulatedModem::takeFrames(Line &line)
{
    QByteArray &pending = line.pending;
    while (!pending.isEmpty() && !line.hungUp) {
        const int length = framing.requestLength(pending.constData(), pending.size());
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

void SimulatedModem::handleFrame(Line &line, const QByteArray &frame, Clock::time_point firstByteAt)
{
    if (!line.network && !speedsMatch())
        return;
    ModbusSlave::Reply reply;
    SimulatedModemOptions current;
    WriteObserver observer;
    ExchangeObserver exchangeObserver;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames.append(frame);
        reply = m_slave.handle(frame);
        current = m_slave.activeOptions();
        observer = m_writeObserver;
        exchangeObserver = m_exchangeObserver;
    }
    if (exchangeObserver)
        exchangeObserver(frame, reply.frame);
    if (reply.registersWritten && observer)
        observer(reply.firstRegister, reply.count);
    if (reply.frame.isEmpty())
        return;
    // On a real line the request is over only one wire time after its start.
    const Clock::time_point requestEnd =
        current.pacing ? firstByteAt + int(frame.size()) * characterTime(line) : firstByteAt;
    QByteArray answer = QByteArray(std::max(current.leadingBytes, 0), char(0xFF)) + reply.frame;
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

void SimulatedModem::sendAnswer(Line &line, const QByteArray &answer, const SimulatedModemOptions &options,
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
        if (!writeBytes(line, answer.constData() + sent, end - sent))
            return;
        sent = end;
    }
    ++m_answersSent;
}

// The line dies once the client has read the first half of an answer. A
// hang-up throws away whatever the client has not read yet, so over a pty
// our own hold on its slave watches the input queue, which the kernel fills
// a moment after the write; a TCP connection is closed in order after it.
void SimulatedModem::hangUp(Line &line)
{
    const Clock::time_point latest = Clock::now() + HangUpDelay;
    if (!waitUntil(Clock::now() + HangUpSettle))
        return;
    int unread = 0;
    while (!line.network && m_keptSlaveFd >= 0 && ::ioctl(m_keptSlaveFd, FIONREAD, &unread) == 0 && unread > 0
           && Clock::now() < latest) {
        if (!waitUntil(Clock::now() + 1ms))
            return;
    }
    line.hungUp = true;
}

bool SimulatedModem::writeBytes(const Line &line, const char *data, int length)
{
    const int fd = line.fd;
    while (length > 0) {
        // A client that closed its connection must not end the modem.
        const ssize_t written = line.network ? ::send(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL)
                                             : ::write(fd, data, static_cast<size_t>(length));
        if (written > 0) {
            data += written;
            length -= static_cast<int>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return false;
        // The client is not reading and the line's buffer is full: wait for
        // room, or for the order to stop.
        pollfd fds[2] = {{fd, POLLOUT, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

bool SimulatedModem::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000LL),
                               static_cast<long>(nanoseconds % 1000000000LL)};
        pollfd wake{m_wakeRead, POLLIN, 0};
        const int ready = ::ppoll(&wake, 1, &timeout, nullptr);
        if (ready > 0)
            return false;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}
