#include "deviceprocedures.h"

#include "modbusframe.h"
#include "seriallink.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int ReadAnswerHeaderLength = 3;     // address, function, byte count
constexpr int WriteRequestHeaderLength = 7;   // address, function, first register, count, byte count
constexpr int CrcLength = 2;

constexpr int EntryFirstRegisterHigh = 0x01;  // entry block k starts at 0x0100 + 0x40·k
constexpr int EntryRegisterStride = 0x40;
constexpr int EntryRegisters = DeviceSettings::EntryBlockBytes / 2;

// An acknowledged block counts 20 when its answer has the normal 8 bytes.
int progressOf(int answerLength)
{
    return answerLength * 100 / 40;
}

// Address, function, byte count, the data, the check sum.
int readAnswerLength(int dataBytes)
{
    return ReadAnswerHeaderLength + dataBytes + CrcLength;
}

char byteOf(int value)
{
    return static_cast<char>(value & 0xFF);
}

// What the modem holds after a Write stopped at entry block `failedBlock`:
// the settings block and the entry blocks before it were acknowledged.
QString partlyWritten(int failedBlock)
{
    if (failedBlock == 0)
        return QCoreApplication::translate("DeviceProcedures",
                "The modem accepted the new main settings, but still holds its old phone numbers and "
                "mirror servers: write again");
    if (failedBlock == 1)
        return QCoreApplication::translate("DeviceProcedures",
                "The modem accepted the new main settings and phone number 1 with its mirror server, but "
                "still holds the old rest: write again");
    return QCoreApplication::translate("DeviceProcedures",
            "The modem accepted the new main settings and phone numbers 1 to %1 with their mirror servers, "
            "but still holds the old rest: write again")
        .arg(failedBlock);
}

} // namespace

DeviceProcedures::DeviceProcedures(SerialLink &link, bool withKeepCon, Report report, StopRequested stopRequested)
    : link(link)
    , settingsRegisters(withKeepCon ? DeviceSettings::SettingsBlockBytesWithKeepCon / 2
                                    : DeviceSettings::SettingsBlockBytes / 2)
    , settingsBytes(withKeepCon ? DeviceSettings::SettingsBlockBytesWithKeepCon : DeviceSettings::SettingsBlockBytes)
    , withKeepCon(withKeepCon)
    , report(std::move(report))
    , stopRequested(std::move(stopRequested))
{
}

QString DeviceProcedures::read(const Commit &commit)
{
    txBuffer.fill(0);
    txBuffer[0] = byteOf(Modbus::DeviceAddress);
    txBuffer[1] = byteOf(Modbus::ReadHoldingRegisters);
    txBuffer[5] = byteOf(settingsRegisters);
    QString failure;
    int answerLength = send(Modbus::ReadRequestLength, readAnswerLength(settingsBytes));
    if (!accepted(Modbus::ReadRequestLength, answerLength, 0, &failure))
        return failure;

    report(QString::asprintf("Recieved %d bytes", answerLength));
    QByteArray answer = answerData(answerLength, settingsBytes);
    hexDump(answer.constData(), answerLength);
    swapPairs(answer.data() + ReadAnswerHeaderLength, settingsBytes);
    hexDump(answer.constData(), answerLength);

    // Nothing reaches the worker's record before all five blocks are in, so
    // a Read that fails half-way leaves it as it was.
    DeviceSettings record;
    record.decodeSettingsBlock(answer.mid(ReadAnswerHeaderLength, settingsBytes), withKeepCon);

    txBuffer[2] = byteOf(EntryFirstRegisterHigh);
    txBuffer[5] = byteOf(EntryRegisters);
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k) {
        txBuffer[3] = byteOf(EntryRegisterStride * k);
        answerLength = send(Modbus::ReadRequestLength, readAnswerLength(DeviceSettings::EntryBlockBytes));
        if (!accepted(Modbus::ReadRequestLength, answerLength, 0, &failure))
            return failure;

        report(QString::asprintf("Recieved %d[%d] bytes", k, answerLength));
        answer = answerData(answerLength, DeviceSettings::EntryBlockBytes);
        hexDump(answer.constData(), answerLength);
        swapPairs(answer.data() + ReadAnswerHeaderLength, DeviceSettings::EntryBlockBytes);
        record.decodeEntryBlock(k, answer.mid(ReadAnswerHeaderLength, DeviceSettings::EntryBlockBytes));
    }

    commit(record);
    return QString::asprintf("It is Readed %d", answerLength);
}

QString DeviceProcedures::write(const DeviceSettings &record)
{
    txBuffer.fill(0);
    txBuffer[0] = byteOf(Modbus::DeviceAddress);
    txBuffer[1] = byteOf(Modbus::WriteMultipleRegisters);
    txBuffer[5] = byteOf(settingsRegisters);
    txBuffer[6] = byteOf(settingsBytes);
    char *data = txBuffer.data() + WriteRequestHeaderLength;
    const QByteArray settingsBlock = record.encodeSettingsBlock(withKeepCon);
    std::copy_n(settingsBlock.constData(), std::min<int>(settingsBlock.size(), settingsBytes), data);
    swapPairs(data, settingsBytes);
    const int settingsRequestLength = WriteRequestHeaderLength + settingsBytes + CrcLength;
    QString failure;
    int answerLength = send(settingsRequestLength, Modbus::WriteAnswerLength);
    if (!accepted(settingsRequestLength, answerLength, 0, &failure))
        return failure;
    report(QString::asprintf("Recieved %d%%", progressOf(answerLength)));

    txBuffer[4] = 0;
    txBuffer[5] = byteOf(EntryRegisters);
    txBuffer[6] = byteOf(DeviceSettings::EntryBlockBytes);
    const int entryRequestLength = WriteRequestHeaderLength + DeviceSettings::EntryBlockBytes + CrcLength;
    for (int k = 0; k < DeviceSettings::EntryBlockCount; ++k) {
        txBuffer[2] = byteOf(EntryFirstRegisterHigh);
        txBuffer[3] = byteOf(EntryRegisterStride * k);
        const QByteArray entryBlock = record.encodeEntryBlock(k);
        std::fill_n(data, DeviceSettings::EntryBlockBytes, '\0');
        std::copy_n(entryBlock.constData(), std::min<int>(entryBlock.size(), DeviceSettings::EntryBlockBytes), data);
        swapPairs(data, DeviceSettings::EntryBlockBytes);
        answerLength = send(entryRequestLength, Modbus::WriteAnswerLength);
        if (!accepted(entryRequestLength, answerLength, k + 1, &failure))
            return failure.isEmpty() ? failure : failure + QLatin1String(". ") + partlyWritten(k);
        report(QString::asprintf("Recieved %d%%", 20 + 20 * k + progressOf(answerLength)));
    }

    return QString::asprintf("It is Ready %d%%", 100);
}

// Finishes the frame at the start of txBuffer and exchanges it; the link
// ends the exchange as soon as the answer is a frame of `answerLength`
// bytes. Returns the answer length, or -1 when the job is asked to stop:
// then no exchange is started, and one cut short is not judged.
int DeviceProcedures::send(int length, int answerLength)
{
    if (stopRequested())
        return -1;
    appendCrc16(txBuffer.data(), length);
    hexDump(txBuffer.data(), length);
    const int received = link.exchange(txBuffer.data(), length, answerLength);
    if (stopRequested())
        return -1;
    return received;
}

// Whether the answer passes the check sum and fits its request; if not,
// `failure` says why, or stays empty when the job was asked to stop.
// `step` is 1..4 for the entry writes, whose messages name it, else 0.
bool DeviceProcedures::accepted(int requestLength, int answerLength, int step, QString *failure) const
{
    failure->clear();
    if (answerLength < 0)
        return false;

    if (!answerPassesCrc(link.answer(), answerLength)) {
        *failure = step ? QString::asprintf("There is bad CRC16 sum of %d bytes on %d step", answerLength, step)
                        : QString::asprintf("There is bad CRC16 sum of %d bytes", answerLength);
        // Silence is the commonest failure in the field, and the check sum
        // alone tells the technician nothing about it; nor about a port
        // that went away in the middle of the job.
        if (link.portLost())
            *failure += QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures",
                    "The port stopped working: check that the adapter is still plugged in");
        else if (answerLength == 0)
            *failure += QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures",
                    "Nothing was received: check the cable, the port and its baud rate, and for "
                    "firmware without the keep-connection register clear \"Enable Keep Connection\"");
        return false;
    }
    const AnswerCheck check = checkAnswer(txBuffer.data(), requestLength, link.answer(), answerLength);
    switch (check.outcome) {
    case AnswerCheck::Accepted:
        return true;
    case AnswerCheck::Exception:
        *failure = step ? QString::asprintf("The device answered with exception %d on %d step",
                                            check.exceptionCode, step)
                        : QString::asprintf("The device answered with exception %d", check.exceptionCode);
        break;
    case AnswerCheck::Mismatch:
        *failure = step ? QString::asprintf("The answer of %d bytes does not match the request on %d step",
                                            answerLength, step)
                        : QString::asprintf("The answer of %d bytes does not match the request", answerLength);
        break;
    }
    return false;
}

// A copy of the accepted answer. checkAnswer has made sure it holds the whole
// block; the zero padding only guards the copy should that ever change.
QByteArray DeviceProcedures::answerData(int answerLength, int dataLength) const
{
    QByteArray answer(link.answer(), answerLength);
    const int needed = ReadAnswerHeaderLength + dataLength;
    if (answer.size() < needed)
        answer.append(QByteArray(needed - answer.size(), '\0'));
    return answer;
}
