#ifndef RTUFRAMING_H
#define RTUFRAMING_H

#include "framing.h"
#include "modbusframe.h"

#include <QByteArray>

// Modbus RTU: the slave's address before the function, the CRC-16 after
// the data, frames told apart by their headers and by 3.5 characters of
// silence.
class RtuFraming : public Framing {
public:
    Request readRegisters(quint16 first, quint16 count) override;
    Request writeRegisters(quint16 first, const QByteArray &hostOrderData) override;
    int readDataOffset() const override { return Modbus::ReadAnswerHeaderLength; }
    int completeAnswerLength(const char *data, int length) const override;
    bool mayBeEcho(const char *request, int requestLength, const char *received, int length) const override;
    AnswerCheck check(const char *request, int requestLength, const char *answer, int answerLength) const override;
    std::chrono::microseconds frameGap(int lineRate) const override;
    int requestLength(const char *data, int length) const override;
    std::optional<ServedRequest> unwrapRequest(const QByteArray &frame) const override;
    QByteArray wrapAnswer(const QByteArray &requestFrame, quint8 unit, const QByteArray &pdu) const override;
    QByteArray damageFrameCheck(QByteArray frame) const override;
};

// The rules of the RTU frame, as the framing above applies them; the tests
// and the fuzz targets call them directly.

// The acceptance test: at least 3 bytes, and the CRC over all of them,
// the received check sum included, is 0.
bool answerPassesCrc(const char *answer, int length);

// An 8-byte read of `count` holding registers from `firstRegister`, CRC included.
QByteArray readRequest(quint16 firstRegister, quint16 count);

// A write of the registers whose little-endian image is `hostOrderData`
// (an odd last byte is padded with 0): 9 + 2N bytes, pairs swapped, CRC included.
QByteArray writeRequest(quint16 firstRegister, const QByteArray &hostOrderData);

// The length of the answer frame at the start of `data`, as its own header
// gives it (a read answer: 5 + its byte count; a write answer: 8; an
// exception answer: 5), when all of it is there with a check sum of 0;
// otherwise 0. An answer that is complete by its header is over, whatever
// the request expected: anything after it belongs to no answer of ours.
int completeAnswerLength(const char *data, int length);

// Checks an answer that already passed the CRC test against its request:
// an exception answer from the device, or the answer the request calls for
// (same address and function; for a read the byte count 2N and 5 + 2N bytes;
// for a write 8 bytes repeating the first register and the count).
// Anything else, an echo of the request included, is a Mismatch. Both
// frames start with the address; `checkLength` bytes of check close the
// answer (none where another framing carries the PDU).
AnswerCheck checkAnswer(const char *request, int requestLength, const char *answer, int answerLength,
                        int checkLength = Modbus::CrcLength);

#endif // RTUFRAMING_H
