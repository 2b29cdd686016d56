#ifndef TRAFFICRELAY_H
#define TRAFFICRELAY_H

#include "traffic.h"

#include <QObject>
#include <QVector>

#include <mutex>

// Hands the traffic of the worker's thread over to the thread the relay
// lives on, in batches: an entry taken while a batch waits joins it, so a
// burst of frames costs the window one event. The hand-over is a plain
// mutex, which race checkers see through, rather than Qt's queued copy of
// each entry.
class TrafficRelay : public QObject {
    Q_OBJECT

public:
    explicit TrafficRelay(QObject *parent = nullptr) : QObject(parent) {}

    // From any thread.
    void take(const TrafficEntry &entry);

signals:
    // On the relay's thread, in the order taken.
    void arrived(const QVector<TrafficEntry> &entries);

private:
    void deliver();

    std::mutex mutex;
    QVector<TrafficEntry> waiting;
};

#endif // TRAFFICRELAY_H
