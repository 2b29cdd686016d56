#ifndef MODBUSFRAME_H
#define MODBUSFRAME_H

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

// Modbus as the modem speaks it: one slave address, reads with function 3,
// writes with function 16; on its serial line every frame closed by the
// CRC-16. The rules of a whole frame are the framing's (rtuframing.h); here
// are the check sum, the registers' byte order and the frame trace.
namespace Modbus {
constexpr quint8 DeviceAddress = 0x40;
constexpr quint8 ReadHoldingRegisters = 0x03;
constexpr quint8 WriteMultipleRegisters = 0x10;
// Set in the function code of an answer that reports an exception.
constexpr quint8 ExceptionFlag = 0x80;
// The exception of a request for registers the slave does not have.
constexpr int IllegalDataAddress = 2;
// A gateway's exceptions: no route to the unit, or the unit did not answer.
constexpr int GatewayPathUnavailable = 0x0A;
constexpr int GatewayTargetFailed = 0x0B;
// The line: 8N1, so 10 bits a character; frames are told apart by 3.5
// characters of silence, fixed at 1.75 ms above 19200 baud.
constexpr int BitsPerCharacter = 10;
constexpr int FrameGapBits = 35;
constexpr int FixedFrameGapAbove = 19200;        // baud
constexpr int FixedFrameGapMicroseconds = 1750;

constexpr int CrcLength = 2;
constexpr int ReadRequestLength = 8;
// Address, function, byte count.
constexpr int ReadAnswerHeaderLength = 3;
// Address, function, first register, count, byte count.
constexpr int WriteRequestHeaderLength = 7;
constexpr int WriteAnswerLength = 8;
constexpr int ExceptionAnswerLength = 5;
// The answer to a read of `registerCount` registers: the header, the
// registers, the check sum.
constexpr int readAnswerLength(int registerCount)
{
    return ReadAnswerHeaderLength + 2 * registerCount + CrcLength;
}
}

// CRC-16/MODBUS (poly 0xA001 reflected, start 0xFFFF, no final XOR).
// A length of 0 or less gives the start value 0xFFFF.
quint16 crc16(const char *data, int length);

// Stores the CRC of the first totalLength-2 bytes in the last two bytes,
// low byte first, as it goes on the wire.
void appendCrc16(char *frame, int totalLength);

// Exchanges the two bytes of every pair in place; the registers travel high
// byte first while the blocks are kept in memory as little-endian words.
// A trailing odd byte is left alone.
void swapPairs(char *data, int length);

// The frame trace: " %.2X" per byte, a line break after every 64th byte,
// then " enddamp" and a line break.
QByteArray hexDumpText(const char *data, int length);

// Where the trace of the jobs goes: standard output unless told otherwise,
// nowhere when given a null pointer. Set it before any job starts.
void setTraceOutput(FILE *output);
// Writes `text` to the trace and flushes it, so the trace keeps pace with
// the line even when it is a pipe.
void trace(const QByteArray &text);
// The trace of one frame: hexDumpText.
void hexDump(const char *data, int length);

#endif // MODBUSFRAME_H
