#include "modbusslave.h"

#include "modbusframe.h"

namespace {

constexpr quint8 BroadcastAddress = 0;
// Function, first register, count.
constexpr int ReadRequestLength = 5;
// Function, first register, count, byte count.
constexpr int WriteHeaderLength = 6;

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

QByteArray exceptionPdu(quint8 function, quint8 code)
{
    QByteArray pdu;
    pdu.append(static_cast<char>(function | Modbus::ExceptionFlag));
    pdu.append(static_cast<char>(code));
    return pdu;
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

ModbusSlave::Reply ModbusSlave::handle(quint8 unit, const QByteArray &pdu)
{
    // The faults that strike this request, when they strike only one block.
    m_active = m_options.forRequest(pdu.size() >= 3 ? wordAt(pdu, 1) : -1);
    // A request meant for another slave gets no answer at all, exactly as
    // on a shared bus; nor does anything while the modem plays dead.
    const bool broadcast = unit == BroadcastAddress;
    if (m_active.silent || pdu.isEmpty() || (unit != m_address && !broadcast))
        return {};

    const quint8 function = byteAt(pdu, 0);
    if (function == Modbus::ReadHoldingRegisters)
        return readRegisters(pdu, broadcast);
    if (function == Modbus::WriteMultipleRegisters)
        return writeRegisters(pdu, broadcast);
    if (broadcast)
        return {};
    Reply reply;
    reply.pdu = exceptionPdu(function, IllegalFunction);
    finish(reply, -1);
    return reply;
}

ModbusSlave::Reply ModbusSlave::readRegisters(const QByteArray &request, bool broadcast)
{
    Reply reply;
    // Reads make no sense to every slave at once, and a request of the wrong
    // length is not a read this slave can parse.
    if (broadcast || request.size() != ReadRequestLength)
        return reply;
    reply.firstRegister = wordAt(request, 1);
    reply.count = wordAt(request, 3);

    // The order of the checks is the one Modbus prescribes: count, then
    // address range, then execution.
    if (reply.count < 1 || reply.count > MaxReadCount)
        reply.pdu = exceptionPdu(Modbus::ReadHoldingRegisters, IllegalDataValue);
    else if (!inMap(reply.firstRegister, reply.count))
        reply.pdu = exceptionPdu(Modbus::ReadHoldingRegisters, IllegalDataAddress);
    else if (reply.firstRegister == m_active.exceptionBlock)
        reply.pdu = exceptionPdu(Modbus::ReadHoldingRegisters, m_active.exceptionCode);
    else {
        reply.pdu.append(static_cast<char>(Modbus::ReadHoldingRegisters));
        reply.pdu.append(static_cast<char>(2 * reply.count));
        for (int i = 0; i < reply.count; ++i)
            appendWord(reply.pdu, m_registers.at(reply.firstRegister + i));
    }
    finish(reply, reply.firstRegister);
    return reply;
}

ModbusSlave::Reply ModbusSlave::writeRegisters(const QByteArray &request, bool broadcast)
{
    Reply reply;
    if (request.size() < WriteHeaderLength || request.size() != WriteHeaderLength + byteAt(request, 5))
        return reply;
    reply.firstRegister = wordAt(request, 1);
    reply.count = wordAt(request, 3);
    const int byteCount = byteAt(request, 5);

    if (reply.count < 1 || reply.count > MaxWriteCount || byteCount != 2 * reply.count)
        reply.pdu = exceptionPdu(Modbus::WriteMultipleRegisters, IllegalDataValue);
    else if (!inMap(reply.firstRegister, reply.count))
        reply.pdu = exceptionPdu(Modbus::WriteMultipleRegisters, IllegalDataAddress);
    else if (reply.firstRegister == m_active.exceptionBlock)
        reply.pdu = exceptionPdu(Modbus::WriteMultipleRegisters, m_active.exceptionCode);
    else {
        for (int i = 0; i < reply.count; ++i) {
            if (reply.firstRegister + i != m_active.droppedRegister)
                m_registers[reply.firstRegister + i] = wordAt(request, WriteHeaderLength + 2 * i);
        }
        reply.registersWritten = true;
        reply.pdu = request.left(WriteHeaderLength - 1);
    }
    // A broadcast is performed but never answered, not even with an exception.
    if (broadcast) {
        reply.pdu.clear();
        return reply;
    }
    finish(reply, reply.firstRegister);
    return reply;
}

// The faults that change where an answer seems to come from and whether it
// passes its check; the framing applies them on the wire.
void ModbusSlave::finish(Reply &reply, int firstRegister) const
{
    reply.unit = m_active.answerAddress >= 0 ? static_cast<quint8>(m_active.answerAddress) : m_address;
    reply.wrongCheck = m_active.wrongCrc || (firstRegister >= 0 && firstRegister == m_active.wrongCrcBlock);
}
