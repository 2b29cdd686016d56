#include "modbusslave.h"

#include "modbusframe.h"

namespace {

constexpr quint8 BroadcastAddress = 0;
using Modbus::CrcLength;
constexpr int WriteHeaderLength = Modbus::WriteRequestHeaderLength;

quint8 byteAt(const QByteArray &frame, int offset)
{
    return static_cast<quint8>(frame.at(offset));
}

quint16 wordAt(const QByteArray &frame, int offset)
{
    return static_cast<quint16>((byteAt(frame, offset) << 8) | byteAt(frame, offset + 1));
}

void appendWord(QByteArray &frame, quint16 value)
{
    frame.append(static_cast<char>(value >> 8));
    frame.append(static_cast<char>(value & 0xFF));
}

} // namespace

ModbusSlave::ModbusSlave(quint8 address)
    : m_address(address), m_registers(RegisterCount, 0)
{
}

quint16 ModbusSlave::reg(int index) const
{
    return index >= 0 && index < RegisterCount ? m_registers.at(index) : 0;
}

void ModbusSlave::setReg(int index, quint16 value)
{
    if (index >= 0 && index < RegisterCount)
        m_registers[index] = value;
}

bool ModbusSlave::inMap(int first, int count) const
{
    const int end = first + count;
    if (first < 0 || count < 0 || end > RegisterCount)
        return false;
    if (!m_options.oldFirmware)
        return true;
    return end <= OldFirmwareSettingsEnd || first >= EntryBlocksStart;
}

ModbusSlave::Reply ModbusSlave::handle(const QByteArray &request)
{
    // The faults that strike this request, when they strike only one block.
    m_active = m_options.forRequest(request.size() >= 4 ? wordAt(request, 2) : -1);
    // A frame that fails its CRC or is meant for another slave gets no
    // answer at all, exactly as on a shared bus; nor does anything while
    // the modem plays dead.
    if (m_active.silent || !framing.requestIntact(request))
        return {};
    const quint8 address = byteAt(request, 0);
    const bool broadcast = address == BroadcastAddress;
    if (address != m_address && !broadcast)
        return {};

    const quint8 function = byteAt(request, 1);
    if (function == Modbus::ReadHoldingRegisters)
        return readRegisters(request, broadcast);
    if (function == Modbus::WriteMultipleRegisters)
        return writeRegisters(request, broadcast);
    if (broadcast)
        return {};
    Reply reply;
    reply.frame = exceptionFrame(function, IllegalFunction);
    finish(reply.frame, -1);
    return reply;
}

ModbusSlave::Reply ModbusSlave::readRegisters(const QByteArray &request, bool broadcast)
{
    Reply reply;
    // Reads make no sense to every slave at once, and a frame of the wrong
    // length is not a read this slave can parse.
    if (broadcast || request.size() != Modbus::ReadRequestLength)
        return reply;
    reply.firstRegister = wordAt(request, 2);
    reply.count = wordAt(request, 4);

    // The order of the checks is the one Modbus prescribes: count, then
    // address range, then execution.
    if (reply.count < 1 || reply.count > MaxReadCount)
        reply.frame = exceptionFrame(Modbus::ReadHoldingRegisters, IllegalDataValue);
    else if (!inMap(reply.firstRegister, reply.count))
        reply.frame = exceptionFrame(Modbus::ReadHoldingRegisters, IllegalDataAddress);
    else if (reply.firstRegister == m_active.exceptionBlock)
        reply.frame = exceptionFrame(Modbus::ReadHoldingRegisters, m_active.exceptionCode);
    else {
        reply.frame.append(static_cast<char>(m_address));
        reply.frame.append(static_cast<char>(Modbus::ReadHoldingRegisters));
        reply.frame.append(static_cast<char>(2 * reply.count));
        for (int i = 0; i < reply.count; ++i)
            appendWord(reply.frame, m_registers.at(reply.firstRegister + i));
    }
    finish(reply.frame, reply.firstRegister);
    return reply;
}

ModbusSlave::Reply ModbusSlave::writeRegisters(const QByteArray &request, bool broadcast)
{
    Reply reply;
    if (request.size() < WriteHeaderLength + CrcLength
        || request.size() != WriteHeaderLength + byteAt(request, 6) + CrcLength)
        return reply;
    reply.firstRegister = wordAt(request, 2);
    reply.count = wordAt(request, 4);
    const int byteCount = byteAt(request, 6);

    if (reply.count < 1 || reply.count > MaxWriteCount || byteCount != 2 * reply.count)
        reply.frame = exceptionFrame(Modbus::WriteMultipleRegisters, IllegalDataValue);
    else if (!inMap(reply.firstRegister, reply.count))
        reply.frame = exceptionFrame(Modbus::WriteMultipleRegisters, IllegalDataAddress);
    else if (reply.firstRegister == m_active.exceptionBlock)
        reply.frame = exceptionFrame(Modbus::WriteMultipleRegisters, m_active.exceptionCode);
    else {
        for (int i = 0; i < reply.count; ++i) {
            if (reply.firstRegister + i != m_active.droppedRegister)
                m_registers[reply.firstRegister + i] = wordAt(request, WriteHeaderLength + 2 * i);
        }
        reply.registersWritten = true;
        reply.frame = request.left(6);
    }
    // A broadcast is performed but never answered, not even with an exception.
    if (broadcast) {
        reply.frame.clear();
        return reply;
    }
    finish(reply.frame, reply.firstRegister);
    return reply;
}

QByteArray ModbusSlave::exceptionFrame(quint8 function, quint8 code) const
{
    QByteArray frame;
    frame.append(static_cast<char>(m_address));
    frame.append(static_cast<char>(function | Modbus::ExceptionFlag));
    frame.append(static_cast<char>(code));
    return frame;
}

void ModbusSlave::finish(QByteArray &frame, int firstRegister) const
{
    if (m_active.answerAddress >= 0)
        frame[0] = static_cast<char>(m_active.answerAddress);
    frame.append(QByteArray(CrcLength, '\0'));
    appendCrc16(frame.data(), frame.size());
    // Inverting both bytes changes the check sum whatever it was, so the
    // master's test over the whole frame can no longer give 0.
    if (m_active.wrongCrc || (firstRegister >= 0 && firstRegister == m_active.wrongCrcBlock)) {
        frame[frame.size() - 2] = static_cast<char>(~frame.at(frame.size() - 2));
        frame[frame.size() - 1] = static_cast<char>(~frame.at(frame.size() - 1));
    }
}
