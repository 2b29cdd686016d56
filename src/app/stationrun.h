#ifndef STATIONRUN_H
#define STATIONRUN_H

#include "fleetprovisioner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QVector>

#include <memory>
#include <mutex>

// One provisioning run of the station page: the fleet's engine on a thread
// of its own, whose ports' news reach the page's thread in batches, through
// a plain lock, as the traffic does.
class StationRun : public QObject {
    Q_OBJECT

public:
    // What a port's thread had to say.
    struct News {
        enum Kind { Port, Modem, Said, Ended };
        Kind kind = Said;
        FleetProvisioner::PortState port{};
        FleetProvisioner::ModemOutcome modem{};
        QString line{};
        bool failure = false;   // for Said
        int status = 0;         // for Ended: the run's, 0 when every row tried was verified
    };

    StationRun(ProvisionRequest request, QObject *parent = nullptr);
    // Stops the run and waits for every port to finish its modem.
    ~StationRun() override;

    // Opens the report and starts the ports; false, with `why`, when the
    // report cannot be used.
    bool start(QString *why);
    // Each port finishes the modem it is writing, and takes no other.
    void stop();
    // Until its end has reached this thread, with the news before it.
    bool isRunning() const { return thread && ended < 0; }
    bool stopAsked() const { return stopped; }
    const FleetProvisioner &fleet() const { return *engine; }
    // How long it has run, or ran.
    qint64 elapsedMs() const { return ended >= 0 ? ended : clock.isValid() ? clock.elapsed() : 0; }

signals:
    // On the run's own thread, in the order they came.
    void arrived(const QVector<StationRun::News> &news);

private:
    void take(News news);
    void deliver();

    std::unique_ptr<FleetProvisioner> engine;
    std::unique_ptr<QThread> thread;
    QElapsedTimer clock;
    qint64 ended = -1;
    bool stopped = false;
    bool opening = false;     // the report, before the ports' threads start
    QString openingFailure;

    std::mutex mutex;
    QVector<News> waiting;
};

#endif // STATIONRUN_H
