#ifndef SIMULATEDMODEMOPTIONS_H
#define SIMULATEDMODEMOPTIONS_H

#include <QString>
#include <QtGlobal>

// How the simulated modem is reached and how it misbehaves. Every field can
// change between two exchanges (SimulatedModem::setOptions); only `port`,
// the servers' ports and `tcpAddress` are fixed once the modem has started.
struct SimulatedModemOptions {
    // Line.
    QString port;                 // tty device to serve; empty opens a pseudo-terminal
    int baudRate = 9600;          // for the connection text, a given port's speed, and pacing
                                  // when the line's own speed cannot be read; on a
                                  // pseudo-terminal a client at another speed is not heard
    // >= 0: besides the line, a serial device server's TCP port on
    // `tcpAddress` (0: any free one), passing Modbus RTU frames unchanged to
    // a serial side at `baudRate`. One client at a time; a new connection
    // replaces the one before, as a client that vanished may never close it.
    int tcpPort = -1;
    // >= 0: besides the line, a Modbus TCP gateway's port on `tcpAddress`,
    // its serial side at `baudRate`; one client at a time as above.
    int modbusTcpPort = -1;
    // >= 0: besides the line, a data unit's UDP port on `tcpAddress`, its
    // serial side at `baudRate`; answers go to the sender of the last datagram.
    int udpPort = -1;
    QString tcpAddress = QStringLiteral("127.0.0.1");

    // Faults.
    bool silent = false;          // never answers and performs nothing
    bool wrongCrc = false;        // every answer carries a wrong CRC
    int wrongCrcBlock = -1;       // only answers to requests from this first register do
    int exceptionBlock = -1;      // requests from this first register get `exceptionCode`
    quint8 exceptionCode = 4;     // server device failure unless told otherwise
    bool oldFirmware = false;     // register map without register 70 (no KeepCon)
    int answerDelayMs = 0;        // silence before the first byte of an answer
    int byteGapMs = 0;            // silence between two bytes of an answer
    int splitPauseMs = 0;         // > 0: the answer goes out in two halves with this pause
    int answerAddress = -1;       // 0..255: answers carry this address instead of the modem's
    int droppedRegister = -1;     // writes to this register are acknowledged but not kept
    int trailingBytes = 0;        // noise bytes that follow every answer at once
    int leadingBytes = 0;         // noise bytes that go out just before every answer
    int cutBytes = 0;             // the last bytes of every answer that never go out
    bool hangUp = false;          // the line dies half-way through an answer: a moment after
                                  // the first half the modem closes its end of the
                                  // pseudo-terminal and stops; over TCP it closes
                                  // that connection and serves on
    // >= 0: the faults above, but for the old firmware and the dropped
    // register, strike only requests from this first register.
    int faultBlock = -1;
    // The line's timing: each request takes its wire time (10 bits a byte)
    // before the answer can start, and each answer byte is due one character
    // time after the one before, on a schedule from the answer's start.
    bool pacing = false;
    bool echo = false;            // a two-wire adapter: every byte received comes straight back
    // >= 0: every answer goes out a second time this many ms after the first
    // (a device server replaying, a second master's answer), before the
    // modem takes the next request.
    int doubledAnswerMs = -1;

    // These options as they apply to a request from `firstRegister`.
    SimulatedModemOptions forRequest(int firstRegister) const
    {
        if (faultBlock < 0 || firstRegister == faultBlock)
            return *this;
        SimulatedModemOptions healthy = *this;
        healthy.silent = healthy.wrongCrc = healthy.hangUp = false;
        healthy.wrongCrcBlock = healthy.exceptionBlock = healthy.answerAddress = -1;
        healthy.answerDelayMs = healthy.byteGapMs = healthy.splitPauseMs = 0;
        healthy.trailingBytes = healthy.leadingBytes = healthy.cutBytes = 0;
        healthy.doubledAnswerMs = -1;
        return healthy;
    }
};

#endif // SIMULATEDMODEMOPTIONS_H
