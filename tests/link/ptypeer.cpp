#include "ptypeer.h"

#include <chrono>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Short enough that stopping the peer is quick, long enough not to spin.
constexpr int IdlePollMs = 20;

} // namespace

PtyPeer::~PtyPeer()
{
    stopping = true;
    if (worker.joinable())
        worker.join();
    if (slaveFd >= 0)
        ::close(slaveFd);
    if (masterFd >= 0)
        ::close(masterFd);
}

PtyPeer &PtyPeer::add(Kind kind, int count, const QByteArray &bytes)
{
    script.append({kind, count, bytes});
    return *this;
}

bool PtyPeer::start()
{
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    char name[256];
    termios tio;
    if (masterFd < 0 || ::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0
        || ::ptsname_r(masterFd, name, sizeof name) != 0 || (slaveFd = ::open(name, O_RDWR | O_NOCTTY)) < 0
        || ::tcgetattr(slaveFd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    if (::tcsetattr(slaveFd, TCSANOW, &tio) != 0)
        return false;
    slaveName = QString::fromLocal8Bit(name);
    worker = std::thread([this] { run(); });
    return true;
}

QByteArray PtyPeer::received() const
{
    std::lock_guard<std::mutex> guard(lock);
    return receivedBytes;
}

int PtyPeer::bytesWaitingForLink() const
{
    int waiting = 0;
    return ::ioctl(slaveFd, TIOCINQ, &waiting) == 0 ? waiting : -1;
}

void PtyPeer::run()
{
    using Clock = std::chrono::steady_clock;
    for (const Step &step : qAsConst(script)) {
        if (step.kind == Send && !writeAll(step.bytes))
            return;
        while (step.kind == Expect && !stopping && received().size() < step.count)
            collectFor(IdlePollMs);
        const auto end = Clock::now() + std::chrono::milliseconds(step.kind == Pause ? step.count : 0);
        while (!stopping && Clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            collectFor(int(qBound<qint64>(1, left.count(), IdlePollMs)));
        }
        if (stopping)
            return;
    }
    done = true;
    while (!stopping)
        collectFor(IdlePollMs);
}

void PtyPeer::collectFor(int milliseconds)
{
    pollfd fd{masterFd, POLLIN, 0};
    if (::poll(&fd, 1, milliseconds) <= 0 || !(fd.revents & POLLIN))
        return;
    char chunk[4096];
    const ssize_t got = ::read(masterFd, chunk, sizeof chunk);
    if (got > 0) {
        std::lock_guard<std::mutex> guard(lock);
        receivedBytes.append(chunk, int(got));
    }
}

bool PtyPeer::writeAll(const QByteArray &bytes)
{
    // The master blocks, and no script sends more than the line holds.
    for (int written = 0; written < bytes.size();) {
        const ssize_t n = ::write(masterFd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno != EINTR)
            return false;
        written += int(qMax<ssize_t>(n, 0));
    }
    return true;
}
