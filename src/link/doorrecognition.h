#ifndef DOORRECOGNITION_H
#define DOORRECOGNITION_H

#include "networkaddress.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a server's bytes say about the framing it speaks, whatever the
// connection asked for: telnet's negotiation (an RFC 2217 server), an MBAP
// header (a Modbus TCP gateway) or a whole RTU frame (RTU passed through
// unchanged). Nothing when the bytes are none of these.
std::optional<Door> doorSpeaking(const QByteArray &bytes);

// Whether two doors frame alike, so that one's frames are at home on the
// other: RTU over TCP and over UDP.
bool sameFraming(Door a, Door b);

// The framing a door speaks, as a technician knows it: "Modbus TCP".
QString doorName(Door door);

#endif // DOORRECOGNITION_H
