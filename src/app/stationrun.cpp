#include "stationrun.h"

StationRun::StationRun(ProvisionRequest request, QObject *parent)
    : QObject(parent)
{
    const auto said = [this](bool failure) {
        return [this, failure](const QString &line) {
            // The report's problem, while it opens on the page's thread.
            if (opening) {
                openingFailure = line;
                return;
            }
            News news;
            news.line = line;
            news.failure = failure;
            take(std::move(news));
        };
    };
    engine = std::make_unique<FleetProvisioner>(std::move(request), said(false), said(true));
    engine->setPortChanged([this](const FleetProvisioner::PortState &state) {
        News news;
        news.kind = News::Port;
        news.port = state;
        take(std::move(news));
    });
    engine->setModemDone([this](const FleetProvisioner::ModemOutcome &outcome) {
        News news;
        news.kind = News::Modem;
        news.modem = outcome;
        take(std::move(news));
    });
}

StationRun::~StationRun()
{
    if (thread) {
        engine->stop();
        thread->wait();
    }
    // News the page never took go under the lock they came under, which
    // race checkers see (QThread's wait they do not).
    std::lock_guard<std::mutex> locker(mutex);
    waiting.clear();
}

bool StationRun::start(QString *why)
{
    // A damaged or unwritable report is said before any port opens.
    opening = true;
    const bool opened = engine->openReport();
    opening = false;
    if (!opened) {
        *why = openingFailure;
        return false;
    }
    clock.start();
    thread.reset(QThread::create([this] {
        News news;
        news.kind = News::Ended;
        news.status = engine->run();
        take(std::move(news));
    }));
    thread->start();
    return true;
}

void StationRun::stop()
{
    stopped = true;
    engine->stop();
}

void StationRun::take(News news)
{
    bool first = false;
    {
        std::lock_guard<std::mutex> locker(mutex);
        first = waiting.isEmpty();
        waiting.append(std::move(news));
    }
    if (first)
        QMetaObject::invokeMethod(this, &StationRun::deliver, Qt::QueuedConnection);
}

void StationRun::deliver()
{
    QVector<News> batch;
    {
        std::lock_guard<std::mutex> locker(mutex);
        batch.swap(waiting);
    }
    for (const News &news : qAsConst(batch)) {
        if (news.kind == News::Ended) {
            ended = clock.elapsed();
            thread->wait();
        }
    }
    if (!batch.isEmpty())
        emit arrived(batch);
}
