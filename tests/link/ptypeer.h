#ifndef PTYPEER_H
#define PTYPEER_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>
#include <thread>

// The far end of a pseudo-terminal for the link tests: a thread on the master
// side that records everything the link sends and answers by a fixed script
// ("once N bytes have come, write these, pause, write those"). It holds the
// slave side open itself, so the master never reads EIO while the link has
// the port closed.
class PtyPeer {
public:
    PtyPeer() = default;
    ~PtyPeer();
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    // Script steps, run in order; give them all before start().
    PtyPeer &expect(int totalBytes) { return add(Expect, totalBytes); }  // until this many bytes in all
    PtyPeer &send(const QByteArray &bytes) { return add(Send, 0, bytes); }
    PtyPeer &pause(int milliseconds) { return add(Pause, milliseconds); } // still recording meanwhile

    bool start();
    QString portName() const { return slaveName; }
    QByteArray received() const;
    bool scriptDone() const { return done.load(); }
    // Bytes written to the line that the link has not read from the port yet.
    int bytesWaitingForLink() const;

private:
    enum Kind { Expect, Send, Pause };
    struct Step {
        Kind kind;
        int count;
        QByteArray bytes;
    };

    PtyPeer &add(Kind kind, int count, const QByteArray &bytes = {});
    void run();
    void collectFor(int milliseconds);
    bool writeAll(const QByteArray &bytes);

    QVector<Step> script;
    QString slaveName;
    int masterFd = -1;
    int slaveFd = -1;
    std::thread worker;
    std::atomic<bool> stopping{false};
    std::atomic<bool> done{false};
    mutable std::mutex lock;
    QByteArray receivedBytes;
};

#endif // PTYPEER_H
