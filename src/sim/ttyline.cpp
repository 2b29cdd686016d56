#include "ttyline.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

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

} // namespace

TtyLine::~TtyLine()
{
    closeFd(keptSlaveFd);
}

bool TtyLine::openPseudoTerminal(int baudRate, QString *error)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[256];
    if (m_fd < 0)
        *error = systemError("posix_openpt");
    else if (grantpt(m_fd) != 0 || unlockpt(m_fd) != 0)
        *error = systemError("unlockpt");
    else if (ptsname_r(m_fd, name, sizeof name) != 0)
        *error = systemError("ptsname_r");
    else if ((keptSlaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0)
        *error = systemError("open pty slave");
    else if (makeRaw(keptSlaveFd, baudRate, false, error)
             && fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK) != 0)
        *error = systemError("fcntl");
    if (error->isEmpty())
        m_name = QString::fromLocal8Bit(name);
    return error->isEmpty();
}

bool TtyLine::openPort(const QString &device, int baudRate, QString *error)
{
    const QByteArray path = device.toLocal8Bit();
    m_fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        *error = systemError(path.constData());
    else
        makeRaw(m_fd, baudRate, true, error);
    if (error->isEmpty())
        m_name = device;
    return error->isEmpty();
}

// Closing the master side hangs the line up for the client; our hold on the
// slave stays until the modem is stopped.
void TtyLine::close()
{
    closeFd(m_fd);
}

int TtyLine::rate(int ownRate) const
{
    const int fd = keptSlaveFd >= 0 ? keptSlaveFd : m_fd;
    termios settings;
    if (fd >= 0 && tcgetattr(fd, &settings) == 0) {
        const int rate = rateFor(cfgetospeed(&settings));
        if (rate > 0)
            return rate;
    }
    return ownRate > 0 ? ownRate : 9600;
}

// A client that opens the line at another speed than the modem's sends
// nothing the modem can read. Only a pseudo-terminal tells the client's
// speed; one it cannot name (a custom rate) differs from any standard one.
bool TtyLine::hearsPeer(int ownRate) const
{
    if (keptSlaveFd < 0)
        return true;
    termios settings;
    if (tcgetattr(keptSlaveFd, &settings) != 0)
        return true;
    const int line = rateFor(cfgetospeed(&settings));
    speed_t ownCode;
    return line > 0 ? line == ownRate : !speedCodeFor(ownRate, &ownCode);
}

// A hang-up throws away whatever the client has not read yet: our own hold
// on the pty's slave watches the input queue, which the kernel fills a
// moment after the write.
bool TtyLine::awaitPeerRead(Clock::time_point latest, const WaitUntil &waitUntil) const
{
    int unread = 0;
    while (keptSlaveFd >= 0 && ::ioctl(keptSlaveFd, FIONREAD, &unread) == 0 && unread > 0 && Clock::now() < latest) {
        if (!waitUntil(Clock::now() + 1ms))
            return false;
    }
    return true;
}
