#include "modbustcpframing.h"

#include "modbusframe.h"
#include "rtuframing.h"

namespace {

constexpr int LengthFieldEnd = 6;   // the header up to the unit id
// A unit id and a function at the least.
constexpr int MinimumLengthField = 2;

quint16 wordAt(const char *data, int offset)
{
    return static_cast<quint16>((quint8(data[offset]) << 8) | quint8(data[offset + 1]));
}

// How many bytes the length field says follow it.
int lengthField(const char *data)
{
    return wordAt(data, 4);
}

// Whether the header's protocol and length can belong to a Modbus frame.
bool plausibleHeader(const char *data)
{
    const int following = lengthField(data);
    return wordAt(data, 2) == 0 && following >= MinimumLengthField
        && following <= ModbusTcpFraming::MaxLength - LengthFieldEnd;
}

// The length of the answer PDU after the unit id, as its own bytes give
// it: a read says its byte count, a write and an exception have theirs.
int pduLength(const char *pdu, int available)
{
    const quint8 function = quint8(pdu[0]);
    if (function & Modbus::ExceptionFlag)
        return 2;
    if (function == Modbus::WriteMultipleRegisters)
        return 5;
    if (function == Modbus::ReadHoldingRegisters)
        return available >= 2 ? 2 + quint8(pdu[1]) : 0;
    return -1;
}

// Whether the frame's length field agrees with what its PDU says it holds.
bool lengthFits(const char *frame)
{
    const int following = lengthField(frame);
    return pduLength(frame + ModbusTcpFraming::HeaderLength, following - 1) == following - 1;
}

} // namespace

QByteArray ModbusTcpFraming::frame(quint16 transaction, quint8 unit, const QByteArray &pdu)
{
    QByteArray bytes(HeaderLength, '\0');
    bytes[0] = char(transaction >> 8);
    bytes[1] = char(transaction & 0xFF);
    bytes[4] = char((pdu.size() + 1) >> 8);
    bytes[5] = char((pdu.size() + 1) & 0xFF);
    bytes[6] = char(unit);
    return bytes + pdu;
}

// The PDU is the RTU frame's without its address and check sum, so the RTU
// builders make it; a new transaction id tells this request's answer from
// a late one to the request before.
Framing::Request ModbusTcpFraming::numbered(const QByteArray &rtuFrame, int rtuAnswerLength)
{
    const QByteArray pdu = rtuFrame.mid(1, rtuFrame.size() - 1 - Modbus::CrcLength);
    const quint8 unit = quint8(rtuFrame.at(0));
    return {frame(++lastTransaction, unit, pdu), rtuAnswerLength - 1 - Modbus::CrcLength + HeaderLength};
}

Framing::Request ModbusTcpFraming::readRegisters(quint16 first, quint16 count)
{
    return numbered(readRequest(first, count), Modbus::readAnswerLength(count));
}

Framing::Request ModbusTcpFraming::writeRegisters(quint16 first, const QByteArray &hostOrderData)
{
    return numbered(writeRequest(first, hostOrderData), Modbus::WriteAnswerLength);
}

int ModbusTcpFraming::completeAnswerLength(const char *data, int length) const
{
    if (length < HeaderLength + 1 || !plausibleHeader(data))
        return 0;
    const int frameLength = LengthFieldEnd + lengthField(data);
    return length >= frameLength && lengthFits(data) ? frameLength : 0;
}

// A header no frame can have leaves nothing to find the next frame by, so
// everything goes; a whole frame with another transaction id answers a
// request before this one, and one whose length field disagrees with its
// PDU is no answer at all.
int ModbusTcpFraming::staleLength(const char *request, int requestLength, const char *received, int length) const
{
    if (length < LengthFieldEnd)
        return 0;
    if (!plausibleHeader(received))
        return length;
    const int frameLength = LengthFieldEnd + lengthField(received);
    if (length < frameLength || length < HeaderLength + 1)
        return 0;
    const bool ours = requestLength >= 2 && wordAt(received, 0) == wordAt(request, 0);
    return ours && lengthFits(received) ? 0 : frameLength;
}

// A frame whose header does not fit its bytes is as damaged as an RTU frame
// whose check fails; a whole one is judged as over RTU, the unit id
// standing where the RTU address does, with no check sum after it.
AnswerCheck ModbusTcpFraming::check(const char *request, int requestLength, const char *answer,
                                    int answerLength) const
{
    AnswerCheck check;
    if (completeAnswerLength(answer, answerLength) != answerLength) {
        check.outcome = AnswerCheck::Damaged;
        return check;
    }
    if (requestLength < HeaderLength || wordAt(answer, 0) != wordAt(request, 0))
        return check;
    const int unitAt = HeaderLength - 1;
    return checkAnswer(request + unitAt, requestLength - unitAt, answer + unitAt, answerLength - unitAt, 0);
}

// What the gateway keeps on its serial side, where RTU's rules hold.
std::chrono::microseconds ModbusTcpFraming::frameGap(int lineRate) const
{
    return RtuFraming().frameGap(lineRate);
}

int ModbusTcpFraming::requestLength(const char *data, int length) const
{
    return length < LengthFieldEnd ? 0 : LengthFieldEnd + lengthField(data);
}

std::optional<Framing::ServedRequest> ModbusTcpFraming::unwrapRequest(const QByteArray &frame) const
{
    if (frame.size() < HeaderLength + 1 || !plausibleHeader(frame.constData())
        || LengthFieldEnd + lengthField(frame.constData()) != frame.size())
        return std::nullopt;
    return ServedRequest{quint8(frame.at(HeaderLength - 1)), frame.mid(HeaderLength)};
}

QByteArray ModbusTcpFraming::wrapAnswer(const QByteArray &requestFrame, quint8 unit, const QByteArray &pdu) const
{
    const quint16 transaction = requestFrame.size() >= 2 ? wordAt(requestFrame.constData(), 0) : 0;
    return frame(transaction, unit, pdu);
}

// On the RTU side the header's seven bytes are the address and the check sum.
int ModbusTcpFraming::serialLength(int frameLength) const
{
    return frameLength - HeaderLength + 1 + Modbus::CrcLength;
}
