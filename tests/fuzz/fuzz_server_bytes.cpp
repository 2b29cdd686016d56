// What a hostile server sends, as each door's reader takes it: the first
// byte cuts the rest in two reads of the telnet stream (whose data must be
// what was sent when escaped), then the bytes go through Modbus TCP's
// answer rules the way the link applies them, through a gateway's request
// rules, and through the recognition of a server's framing.
#include "doorrecognition.h"
#include "modbustcpframing.h"
#include "rfc2217carrier.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, int(size) - 1);
    const int cut = bytes.isEmpty() ? 0 : data[0] % bytes.size();

    TelnetReader reader;
    QByteArray taken;
    QVector<QByteArray> commands;
    reader.take(bytes.constData(), cut, &taken, &commands);
    reader.take(bytes.constData() + cut, bytes.size() - cut, &taken, &commands);
    if (taken.size() > bytes.size())
        __builtin_trap();
    // Data escaped for the stream comes back as it was, with no command.
    TelnetReader again;
    QByteArray echoed;
    QVector<QByteArray> none;
    const QByteArray escaped = TelnetReader::escaped(bytes);
    again.take(escaped.constData(), cut, &echoed, &none);
    again.take(escaped.constData() + cut, escaped.size() - cut, &echoed, &none);
    if (echoed != bytes || !none.isEmpty())
        __builtin_trap();

    // The link's loop: stale frames dropped, then the answer judged.
    ModbusTcpFraming framing;
    const Framing::Request request = framing.readRegisters(0, 71);
    QByteArray received = bytes;
    for (int stale; (stale = framing.staleLength(request.frame.constData(), request.frame.size(),
                                                  received.constData(), received.size())) > 0;) {
        if (stale > received.size())
            __builtin_trap();
        received.remove(0, stale);
    }
    const int whole = framing.completeAnswerLength(received.constData(), received.size());
    if (whole < 0 || whole > received.size())
        __builtin_trap();
    (void)framing.check(request.frame.constData(), request.frame.size(), received.constData(), whole);

    const int length = framing.requestLength(bytes.constData(), bytes.size());
    if (length >= 0 && length <= bytes.size())
        (void)framing.unwrapRequest(bytes.left(length));
    (void)doorSpeaking(bytes);
    return 0;
}
