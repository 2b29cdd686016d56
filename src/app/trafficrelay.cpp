#include "trafficrelay.h"

void TrafficRelay::take(const TrafficEntry &entry)
{
    bool first = false;
    {
        std::lock_guard<std::mutex> locker(mutex);
        first = waiting.isEmpty();
        waiting << entry;
    }
    if (first)
        QMetaObject::invokeMethod(this, &TrafficRelay::deliver, Qt::QueuedConnection);
}

void TrafficRelay::deliver()
{
    QVector<TrafficEntry> batch;
    {
        std::lock_guard<std::mutex> locker(mutex);
        batch.swap(waiting);
    }
    if (!batch.isEmpty())
        emit arrived(batch);
}
