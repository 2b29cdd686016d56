#ifndef DEVICEPROCEDURES_H
#define DEVICEPROCEDURES_H

#include "devicesettings.h"

#include <QString>

#include <array>
#include <functional>

class SerialLink;

// The two jobs that talk to the modem, each a fixed run of five exchanges on
// an open link: the settings block first, then the four entry blocks. The
// first answer that is not accepted ends the job with its message; nothing
// is retried.
class DeviceProcedures {
public:
    using Report = std::function<void(const QString &)>;
    using StopRequested = std::function<bool()>;
    using Commit = std::function<void(const DeviceSettings &)>;

    // `withKeepCon` selects the 71-register settings block that carries
    // KeepCon; without it the block has 70 registers.
    DeviceProcedures(SerialLink &link, bool withKeepCon, Report report, StopRequested stopRequested);

    // Reads all five blocks into a fresh record and hands it to `commit`
    // only when every answer was accepted, then reports "It is Readed".
    // Returns whether the Read completed.
    bool read(const Commit &commit);
    // Writes `record`'s five blocks. Returns whether all were acknowledged.
    bool write(const DeviceSettings &record);

private:
    static constexpr int TxBufferSize = 256;

    enum class Verdict { Accepted, Rejected, Stopped };

    int send(int length);
    Verdict judge(int requestLength, int answerLength, int step);
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
