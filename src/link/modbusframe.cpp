#include "modbusframe.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

std::atomic<FILE *> traceOutput{stdout};

constexpr int DumpBytesPerLine = 64;
using Modbus::CrcLength;
using Modbus::ReadAnswerHeaderLength;
constexpr int WriteHeaderLength = Modbus::WriteRequestHeaderLength;

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

quint16 crc16(const char *data, int length)
{
    quint16 crc = 0xFFFF;
    for (int i = 0; i < length; ++i) {
        crc ^= byteAt(data, i);
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 0x0001)
                crc = static_cast<quint16>((crc >> 1) ^ 0xA001);
            else
                crc = static_cast<quint16>(crc >> 1);
        }
    }
    return crc;
}

void appendCrc16(char *frame, int totalLength)
{
    if (totalLength < CrcLength)
        return;
    const quint16 crc = crc16(frame, totalLength - CrcLength);
    frame[totalLength - 2] = static_cast<char>(crc & 0xFF);
    frame[totalLength - 1] = static_cast<char>(crc >> 8);
}

void swapPairs(char *data, int length)
{
    for (int i = 0; i + 1 < length; i += 2) {
        const char low = data[i];
        data[i] = data[i + 1];
        data[i + 1] = low;
    }
}

QByteArray hexDumpText(const char *data, int length)
{
    QByteArray text;
    text.reserve(length * 3 + length / DumpBytesPerLine + 9);
    char digits[4];
    for (int i = 0; i < length; ++i) {
        std::snprintf(digits, sizeof digits, " %.2X", static_cast<unsigned>(byteAt(data, i)));
        text.append(digits);
        if ((i + 1) % DumpBytesPerLine == 0)
            text.append('\n');
    }
    text.append(" enddamp\n");
    return text;
}

void setTraceOutput(FILE *output)
{
    traceOutput = output;
}

void trace(const QByteArray &text)
{
    FILE *output = traceOutput;
    if (!output)
        return;
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), output);
    std::fflush(output);
}

void hexDump(const char *data, int length)
{
    trace(hexDumpText(data, length));
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

AnswerCheck checkAnswer(const char *request, int requestLength, const char *answer, int answerLength)
{
    AnswerCheck check;
    // Both read and write requests carry address, function, first register
    // and count; anything shorter is not a request this code built.
    if (requestLength < 6 || answerLength < ReadAnswerHeaderLength)
        return check;

    const quint8 function = byteAt(request, 1);
    if (byteAt(answer, 0) != Modbus::DeviceAddress)
        return check;

    if (answerLength == Modbus::ExceptionAnswerLength
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
            && answerLength == ReadAnswerHeaderLength + dataLength + CrcLength)
            check.outcome = AnswerCheck::Accepted;
        break;
    }
    case Modbus::WriteMultipleRegisters:
        if (answerLength == Modbus::WriteAnswerLength && wordAt(answer, 2) == wordAt(request, 2)
            && wordAt(answer, 4) == registerCount)
            check.outcome = AnswerCheck::Accepted;
        break;
    default:
        break;
    }
    return check;
}
