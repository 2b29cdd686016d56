#include "rtuframing.h"

#include <algorithm>
#include <cstring>

namespace {

using Modbus::CrcLength;
using Modbus::ReadAnswerHeaderLength;
constexpr int WriteHeaderLength = Modbus::WriteRequestHeaderLength;
// The shortest request that can carry an address, a function and a CRC.
constexpr int MinimumRequestLength = 4;

quint8 byteAt(const char *data, int offset)
{
    return static_cast<quint8>(data[offset]);
}

quint16 wordAt(const char *data, int offset)
{
    return static_cast<quint16>((byteAt(data, offset) << 8) | byteAt(data, offset + 1));
}

void putWord(char *data, int offset, quint16 value)
{
    data[offset] = static_cast<char>(value >> 8);
    data[offset + 1] = static_cast<char>(value & 0xFF);
}

} // namespace

Framing::Request RtuFraming::readRegisters(quint16 first, quint16 count)
{
    return {readRequest(first, count), Modbus::readAnswerLength(count)};
}

Framing::Request RtuFraming::writeRegisters(quint16 first, const QByteArray &hostOrderData)
{
    return {writeRequest(first, hostOrderData), Modbus::WriteAnswerLength};
}

int RtuFraming::completeAnswerLength(const char *data, int length) const
{
    return ::completeAnswerLength(data, length);
}

// No answer to a read or a write starts with a copy of the request, so one
// that does is the echo of a two-wire adapter.
bool RtuFraming::mayBeEcho(const char *request, int requestLength, const char *received, int length) const
{
    return std::memcmp(received, request, size_t(std::min(length, requestLength))) == 0;
}

AnswerCheck RtuFraming::check(const char *request, int requestLength, const char *answer, int answerLength) const
{
    if (!answerPassesCrc(answer, answerLength)) {
        AnswerCheck damaged;
        damaged.outcome = AnswerCheck::Damaged;
        return damaged;
    }
    return checkAnswer(request, requestLength, answer, answerLength);
}

// 3.5 characters of silence, fixed at 1.75 ms above 19200 baud.
std::chrono::microseconds RtuFraming::frameGap(int lineRate) const
{
    return lineRate > Modbus::FixedFrameGapAbove || lineRate <= 0
        ? std::chrono::microseconds(Modbus::FixedFrameGapMicroseconds)
        : std::chrono::microseconds(Modbus::FrameGapBits * 1000000LL / lineRate);
}

// A read request is 8 bytes; a write request says its byte count at
// offset 6. Any other function has no length a slave could know.
int RtuFraming::requestLength(const char *data, int length) const
{
    if (length < 2)
        return 0;
    const quint8 function = byteAt(data, 1);
    if (function == Modbus::ReadHoldingRegisters)
        return Modbus::ReadRequestLength;
    if (function != Modbus::WriteMultipleRegisters)
        return -1;
    if (length < WriteHeaderLength)
        return 0;
    return WriteHeaderLength + byteAt(data, 6) + CrcLength;
}

std::optional<Framing::ServedRequest> RtuFraming::unwrapRequest(const QByteArray &frame) const
{
    if (frame.size() < MinimumRequestLength || crc16(frame.constData(), frame.size()) != 0)
        return std::nullopt;
    return ServedRequest{byteAt(frame.constData(), 0), frame.mid(1, frame.size() - 1 - CrcLength)};
}

// RTU answers carry no trace of their request: the address and the check
// sum are all there is around the answer.
QByteArray RtuFraming::wrapAnswer(const QByteArray &, quint8 unit, const QByteArray &pdu) const
{
    QByteArray frame(1 + pdu.size() + CrcLength, '\0');
    frame[0] = static_cast<char>(unit);
    std::copy(pdu.constBegin(), pdu.constEnd(), frame.begin() + 1);
    appendCrc16(frame.data(), frame.size());
    return frame;
}

// Inverting both bytes changes the check sum whatever it was, so the
// master's test over the whole frame can no longer give 0.
QByteArray RtuFraming::damageFrameCheck(QByteArray frame) const
{
    if (frame.size() >= CrcLength) {
        frame[frame.size() - 2] = static_cast<char>(~frame.at(frame.size() - 2));
        frame[frame.size() - 1] = static_cast<char>(~frame.at(frame.size() - 1));
    }
    return frame;
}

bool answerPassesCrc(const char *answer, int length)
{
    return length >= 3 && crc16(answer, length) == 0;
}

QByteArray readRequest(quint16 firstRegister, quint16 count)
{
    QByteArray frame(Modbus::ReadRequestLength, '\0');
    char *bytes = frame.data();
    bytes[0] = static_cast<char>(Modbus::DeviceAddress);
    bytes[1] = static_cast<char>(Modbus::ReadHoldingRegisters);
    putWord(bytes, 2, firstRegister);
    putWord(bytes, 4, count);
    appendCrc16(bytes, frame.size());
    return frame;
}

QByteArray writeRequest(quint16 firstRegister, const QByteArray &hostOrderData)
{
    const int registerCount = (hostOrderData.size() + 1) / 2;
    const int dataLength = 2 * registerCount;
    QByteArray frame(WriteHeaderLength + dataLength + CrcLength, '\0');
    char *bytes = frame.data();
    bytes[0] = static_cast<char>(Modbus::DeviceAddress);
    bytes[1] = static_cast<char>(Modbus::WriteMultipleRegisters);
    putWord(bytes, 2, firstRegister);
    putWord(bytes, 4, static_cast<quint16>(registerCount));
    bytes[6] = static_cast<char>(dataLength);
    std::copy(hostOrderData.constBegin(), hostOrderData.constEnd(), bytes + WriteHeaderLength);
    swapPairs(bytes + WriteHeaderLength, dataLength);
    appendCrc16(bytes, frame.size());
    return frame;
}

int completeAnswerLength(const char *data, int length)
{
    if (length < Modbus::ExceptionAnswerLength)
        return 0;
    const quint8 function = byteAt(data, 1);
    int frame = 0;
    if (function & Modbus::ExceptionFlag)
        frame = Modbus::ExceptionAnswerLength;
    else if (function == Modbus::ReadHoldingRegisters)
        frame = ReadAnswerHeaderLength + byteAt(data, 2) + CrcLength;
    else if (function == Modbus::WriteMultipleRegisters)
        frame = Modbus::WriteAnswerLength;
    return frame > 0 && length >= frame && crc16(data, frame) == 0 ? frame : 0;
}

AnswerCheck checkAnswer(const char *request, int requestLength, const char *answer, int answerLength,
                        int checkLength)
{
    AnswerCheck check;
    // Both read and write requests carry address, function, first register
    // and count; anything shorter is not a request this code built.
    if (requestLength < 6 || answerLength < ReadAnswerHeaderLength)
        return check;

    const quint8 function = byteAt(request, 1);
    if (byteAt(answer, 0) != Modbus::DeviceAddress)
        return check;

    if (answerLength == Modbus::ExceptionAnswerLength - CrcLength + checkLength
        && byteAt(answer, 1) == (function | Modbus::ExceptionFlag)) {
        check.outcome = AnswerCheck::Exception;
        check.exceptionCode = byteAt(answer, 2);
        return check;
    }
    if (byteAt(answer, 1) != function)
        return check;

    const quint16 registerCount = wordAt(request, 4);
    switch (function) {
    case Modbus::ReadHoldingRegisters: {
        const int dataLength = 2 * registerCount;
        if (dataLength <= 0xFF && byteAt(answer, 2) == dataLength
            && answerLength == ReadAnswerHeaderLength + dataLength + checkLength)
            check.outcome = AnswerCheck::Accepted;
        break;
    }
    case Modbus::WriteMultipleRegisters:
        if (answerLength == Modbus::WriteAnswerLength - CrcLength + checkLength
            && wordAt(answer, 2) == wordAt(request, 2)
            && wordAt(answer, 4) == registerCount)
            check.outcome = AnswerCheck::Accepted;
        break;
    default:
        break;
    }
    return check;
}
