#include "carrier.h"

#include <QIODevice>
#include <QThread>

namespace {

// The wait for written bytes is counted in slices of this length, so that a
// request to stop is noticed within one.
constexpr int WriteWaitSlice = 100;   // ms

} // namespace

Carrier::~Carrier() = default;

bool Carrier::isOpen() const
{
    return device() && device()->isOpen();
}

void Carrier::send(const char *data, int length)
{
    device()->write(data, length);
    flush();
    while (device()->bytesToWrite() > 0 && !stopRequested() && device()->waitForBytesWritten(WriteWaitSlice)) {
    }
}

qint64 Carrier::read(char *into, int max, int waitMs)
{
    if (device()->bytesAvailable() == 0)
        device()->waitForReadyRead(waitMs);
    return device()->read(into, max);
}

bool Carrier::stopRequested()
{
    return QThread::currentThread()->isInterruptionRequested();
}
