#include "doorrecognition.h"

#include "modbustcpframing.h"
#include "rtuframing.h"

#include <QCoreApplication>

namespace {

constexpr quint8 Iac = 0xFF;
constexpr quint8 FirstOptionCommand = 0xFA;   // SB; then WILL, WONT, DO, DONT

bool telnetCommandAt(const QByteArray &bytes, int at)
{
    return at + 1 < bytes.size() && quint8(bytes.at(at)) == Iac && quint8(bytes.at(at + 1)) >= FirstOptionCommand
        && quint8(bytes.at(at + 1)) < Iac;
}

// A header whose protocol is 0 and whose length, unit and function make
// a whole answer from the modem.
bool mbapAt(const QByteArray &bytes)
{
    const ModbusTcpFraming framing;
    const int length = framing.completeAnswerLength(bytes.constData(), bytes.size());
    return length > 0 && quint8(bytes.at(ModbusTcpFraming::HeaderLength - 1)) == Modbus::DeviceAddress;
}

} // namespace

std::optional<Door> doorSpeaking(const QByteArray &bytes)
{
    // A telnet server opens with its options, before any answer.
    if (telnetCommandAt(bytes, 0))
        return Door::Rfc2217;
    if (mbapAt(bytes))
        return Door::ModbusTcp;
    if (completeAnswerLength(bytes.constData(), bytes.size()) > 0)
        return Door::RtuOverTcp;
    return std::nullopt;
}

bool sameFraming(Door a, Door b)
{
    const auto plainRtu = [](Door door) { return door == Door::RtuOverTcp || door == Door::RtuOverUdp; };
    return a == b || (plainRtu(a) && plainRtu(b));
}

QString doorName(Door door)
{
    switch (door) {
    case Door::RtuOverTcp:
        return QCoreApplication::translate("NetworkAddress", "Modbus RTU over TCP");
    case Door::ModbusTcp:
        return QCoreApplication::translate("NetworkAddress", "Modbus TCP");
    case Door::Rfc2217:
        return QCoreApplication::translate("NetworkAddress", "RFC 2217 (telnet)");
    case Door::RtuOverUdp:
        return QCoreApplication::translate("NetworkAddress", "Modbus RTU over UDP");
    }
    return QString();
}
