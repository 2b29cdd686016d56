#ifndef DEVICEPROCEDURES_H
#define DEVICEPROCEDURES_H

#include "devicesettings.h"
#include "framing.h"
#include "traffic.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>

class SerialLink;

// The two jobs that talk to the modem, each a run of exchanges on an open
// link, one block at a time: the settings block first, then the entry blocks
// in order. A full job moves all five blocks; a job given fewer moves only
// those. The first answer that is not accepted ends the job; nothing is
// retried.
//
// Progress goes out through `report` as it happens. The job's last word, of
// success or of failure, is returned instead, so that the caller can close
// the port before it says it: whoever hears it may start the next job.
class DeviceProcedures {
public:
    using Report = std::function<void(const QString &)>;
    using StopRequested = std::function<bool()>;
    using Commit = std::function<void(const DeviceSettings &)>;
    // Every frame sent and every answer, judged, as it happens.
    using Traffic = std::function<void(const TrafficEntry &)>;
    using Blocks = DeviceSettings::Blocks;
    // Who reads the messages: their advice names the window's check box or
    // the command-line tool's option.
    enum class Frontend { Window, CommandLine };

    struct Outcome {
        QString lastMessage;     // empty when the job was asked to stop
        bool succeeded = false;  // every block was moved
        int failedBlock = -1;    // the block whose exchange failed
    };

    // Configures `link` from the connection text. Returns why the text
    // cannot be used (one SerialLink::configure refuses, or a baud rate
    // outside the modem's table, at which no modem answers and every
    // exchange would wait for the wire time of a crawling line; a server's
    // address takes any), or an empty text.
    static QString configureLink(SerialLink &link, const QString &connection);

    // `withKeepCon` selects the 71-register settings block that carries
    // KeepCon; without it the block has 70 registers.
    DeviceProcedures(SerialLink &link, bool withKeepCon, Frontend frontend, Report report,
                     StopRequested stopRequested, Traffic traffic = {});

    // Reads `blocks` into a fresh record and hands it to `commit` only when
    // every answer was accepted; entries of the blocks not read stay empty.
    Outcome read(const Commit &commit, Blocks blocks = DeviceSettings::allBlocks());
    // Writes `record`'s `blocks`.
    Outcome write(const DeviceSettings &record, Blocks blocks = DeviceSettings::allBlocks());

private:
    int send(const Framing::Request &framed, const QString &what);
    bool accepted(int answerLength, int block, bool write, QString *failure);
    void traceAnswer(int answerLength, const QString &words, bool failure);
    QString cutShortWords(int answerLength) const;
    QByteArray answerData(int answerLength, int needed) const;
    QString silenceAdvice() const;

    SerialLink &link;
    const bool withKeepCon;
    const Frontend frontend;
    Report report;
    StopRequested stopRequested;
    Traffic traffic;
    Framing &framing;          // the link's
    QByteArray request;        // the frame of the exchange in progress
    int expectedLength = 0;    // of its answer
    QElapsedTimer sinceSent;   // since it was handed to the link
};

#endif // DEVICEPROCEDURES_H
