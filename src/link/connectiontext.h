#ifndef CONNECTIONTEXT_H
#define CONNECTIONTEXT_H

#include "networkaddress.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The text that names a modem's line, as the technician types it and every
// front end passes it on: "dev=<port name>;baud=<rate>", or
// "dev=SCHEME://HOST:PORT" for a server in front of the modem's line
// (networkaddress.h names the schemes), whose serial side has a rate of its
// own unless the link sets it (rfc2217://, which takes the baud part). Parts are separated by ";", key and value by "=", blanks
// around both ignored; empty parts say nothing.
struct ConnectionText {
    QString device;                          // as the dev part gives it
    bool deviceNamed = false;                // a dev part was given; else the link's default
    std::optional<int> baudRate;             // when a baud part gives one
    std::optional<NetworkAddress> server;    // when the device is SCHEME://HOST:PORT
    QString problem;                         // why the text cannot be used; empty when it can

    // The text as the link takes it, its bytes read as Latin-1. A part the
    // link cannot use (a rate that is not a whole number, a server address
    // without its port, a part other than dev and baud) ends the reading
    // with `problem` said; what came before it is kept. A key given twice
    // takes its last value; "dev=A=B" names A.
    static ConnectionText parse(const QByteArray &text);

    // "dev=DEVICE;baud=RATE", or "dev=DEVICE" without a rate.
    static QString of(const QString &device, std::optional<int> baudRate = std::nullopt);
    // "dev=SCHEME://HOST:PORT", an IPv6 address in brackets.
    static QString ofServer(const NetworkAddress &server);
    // The text of what was read: of(device, baudRate).
    QString text() const;

    // For picking a port or a rate in a text the technician is still
    // typing, which need not be usable yet: the value of the part `key`
    // ("dev" or "baud"), blanks trimmed, its last one when given twice;
    // empty when the text has no such part.
    static QString part(const QString &text, const QString &key);
    // The text with the part `key` set to `value`: the part rewritten where
    // it stands, or added (dev at the front, any other at the end); every
    // other part is kept as it was.
    static QString withPart(const QString &text, const QString &key, const QString &value);
};

#endif // CONNECTIONTEXT_H
