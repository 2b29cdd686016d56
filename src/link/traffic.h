#ifndef TRAFFIC_H
#define TRAFFIC_H

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>

// One line of the traffic with the modem, as people read it: a frame that
// crossed the wire, with what it is or how it was judged, or a job's start
// or end. The command-line tool's --trace prints these lines.
struct TrafficEntry {
    // Status: a message the window showed its user, which the log keeps too.
    enum Kind { Sent, Received, JobStarted, JobEnded, Status };

    QDateTime at;
    Kind kind = Sent;
    QByteArray bytes;     // the frame's, for Sent and Received
    QString words;        // "read settings block, 71 registers", "answer accepted in 48 ms"
    bool failure = false; // an answer not accepted, a job that failed

    // "21:14:03.123 >> 40 03 00 00 00 47 0A E9  read settings block, 71
    // registers": the local time to the millisecond, ">>" to the modem,
    // "<<" from it, "--" a job's start or end, "::" a message, the bytes,
    // the words.
    QString line() const;
};

Q_DECLARE_METATYPE(TrafficEntry)

// What a Modbus exception code means: "illegal data address" for 2.
QString exceptionName(int code);

#endif // TRAFFIC_H
