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
    // Each block's exchange as it starts: whether it writes, and the block.
    using Step = std::function<void(bool write, int block)>;
    using Blocks = DeviceSettings::Blocks;
    // Why an exchange was not accepted.
    enum class Failure {
        None,
        Stopped,         // the job was asked to stop
        NoAnswer,        // silence
        CutShort,        // part of an answer, then silence or a lost line
        BadCheckSum,     // a whole answer whose frame check failed
        Exception,       // the modem refused the request: see exceptionCode
        Mismatch,        // an intact answer that is not the one asked for
        SecondAnswer,    // more bytes than one answer, or bytes nobody asked for
        PortLost,        // the port or the server's connection went away
    };
    // What the technician can do about a failure, when it takes one of the
    // front end's own controls: only the front end can word it.
    enum class Advice {
        CheckLine,               // nothing came back on a serial line
        CheckServer,             // nothing came back through a serial device server
        KeepConRegisterMissing,  // the 71-register settings block was refused
    };
    // The front end's sentence for `advice`; an empty text says nothing.
    using Advise = std::function<QString(Advice)>;

    struct Outcome {
        QString lastMessage;     // empty when the job was asked to stop
        bool succeeded = false;  // every block was moved
        int failedBlock = -1;    // the block whose exchange failed
        Failure failure = Failure::None;
        int exceptionCode = 0;   // for Failure::Exception
    };

    // Configures `link` from the connection text. Returns why the text
    // cannot be used (one SerialLink::configure refuses, or a baud rate
    // outside the modem's table, at which no modem answers and every
    // exchange would wait for the wire time of a crawling line; a server's
    // address takes any), or an empty text.
    static QString configureLink(SerialLink &link, const QString &connection);

    // `withKeepCon` selects the 71-register settings block that carries
    // KeepCon; without it the block has 70 registers.
    DeviceProcedures(SerialLink &link, bool withKeepCon, Advise advise, Report report,
                     StopRequested stopRequested, Traffic traffic = {}, Step step = {});

    // Reads `blocks` into a fresh record and hands it to `commit` only when
    // every answer was accepted; entries of the blocks not read stay empty.
    Outcome read(const Commit &commit, Blocks blocks = DeviceSettings::allBlocks());
    // Writes `record`'s `blocks`.
    Outcome write(const DeviceSettings &record, Blocks blocks = DeviceSettings::allBlocks());

private:
    int send(const Framing::Request &framed, const QString &what);
    bool accepted(int answerLength, int block, bool write, QString *failure);
    Outcome failed(const QString &lastMessage, int block) const;
    QString advised(Advice advice) const;
    void traceAnswer(int answerLength, const QString &words, bool failure);
    QString cutShortWords(int answerLength) const;
    QString otherFramingWords(int answerLength) const;
    QByteArray answerData(int answerLength, int needed) const;

    SerialLink &link;
    const bool withKeepCon;
    const Advise advise;
    Report report;
    StopRequested stopRequested;
    Traffic traffic;
    Step step;
    Framing &framing;          // the link's
    QByteArray request;        // the frame of the exchange in progress
    int expectedLength = 0;    // of its answer
    Failure failure = Failure::None;   // of the last exchange not accepted
    int exceptionCode = 0;
    QElapsedTimer sinceSent;   // since it was handed to the link
};

#endif // DEVICEPROCEDURES_H
