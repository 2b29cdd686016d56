#ifndef DEVICEPROCEDURES_H
#define DEVICEPROCEDURES_H

#include "devicesettings.h"

#include <QString>

#include <array>
#include <functional>

class SerialLink;

// The two jobs that talk to the modem, each a fixed run of five exchanges on
// an open link: the settings block first, then the four entry blocks. The
// first answer that is not accepted ends the job; nothing is retried.
//
// Progress goes out through `report` as it happens. The job's last word, of
// success or of failure, is returned instead, so that the caller can close
// the port before it says it: whoever hears it may start the next job.
class DeviceProcedures {
public:
    using Report = std::function<void(const QString &)>;
    using StopRequested = std::function<bool()>;
    using Commit = std::function<void(const DeviceSettings &)>;

    // `withKeepCon` selects the 71-register settings block that carries
    // KeepCon; without it the block has 70 registers.
    DeviceProcedures(SerialLink &link, bool withKeepCon, Report report, StopRequested stopRequested);

    // Reads all five blocks into a fresh record and hands it to `commit`
    // only when every answer was accepted. Returns the last message, empty
    // when the job was asked to stop.
    QString read(const Commit &commit);
    // Writes `record`'s five blocks. Returns the last message as read() does.
    QString write(const DeviceSettings &record);

private:
    static constexpr int TxBufferSize = 256;

    int send(int length, int answerLength);
    bool accepted(int requestLength, int answerLength, int step, QString *failure) const;
    QByteArray answerData(int answerLength, int dataLength) const;

    SerialLink &link;
    const int settingsRegisters;
    const int settingsBytes;
    const bool withKeepCon;
    Report report;
    StopRequested stopRequested;
    // Entry requests are built over the settings request and keep the
    // header bytes they do not set themselves.
    std::array<char, TxBufferSize> txBuffer{};
};

#endif // DEVICEPROCEDURES_H
