#include "modbusframe.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<FILE *> traceOutput{stdout};

constexpr int DumpBytesPerLine = 64;
using Modbus::CrcLength;

quint8 byteAt(const char *data, int offset)
{
    return static_cast<quint8>(data[offset]);
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
