#ifndef MODBUSTCPFRAMING_H
#define MODBUSTCPFRAMING_H

#include "framing.h"

#include <QByteArray>

// Modbus TCP, as a gateway in front of the modem's RS-485 line takes it:
// each frame starts with the MBAP header (a transaction id, protocol 0,
// the length of what follows, the unit id: the modem's address) and has no
// check sum; the gateway makes the RTU frame on its serial side.
class ModbusTcpFraming : public Framing {
public:
    static constexpr int HeaderLength = 7;     // transaction, protocol, length, unit
    static constexpr int MaxLength = 260;      // the longest frame the standard allows

    Request readRegisters(quint16 first, quint16 count) override;
    Request writeRegisters(quint16 first, const QByteArray &hostOrderData) override;
    int readDataOffset() const override { return HeaderLength + 2; }
    int completeAnswerLength(const char *data, int length) const override;
    int staleLength(const char *request, int requestLength, const char *received, int length) const override;
    bool mayBeEcho(const char *, int, const char *, int) const override { return false; }
    AnswerCheck check(const char *request, int requestLength, const char *answer, int answerLength) const override;
    std::chrono::microseconds frameGap(int lineRate) const override;
    int requestLength(const char *data, int length) const override;
    std::optional<ServedRequest> unwrapRequest(const QByteArray &frame) const override;
    QByteArray wrapAnswer(const QByteArray &requestFrame, quint8 unit, const QByteArray &pdu) const override;
    QByteArray damageFrameCheck(QByteArray frame) const override { return frame; }
    int serialLength(int frameLength) const override;

    // The frame around `pdu` for `unit`, numbered `transaction`.
    static QByteArray frame(quint16 transaction, quint8 unit, const QByteArray &pdu);

private:
    Request numbered(const QByteArray &rtuFrame, int rtuAnswerLength);

    quint16 lastTransaction = 0;
};

#endif // MODBUSTCPFRAMING_H
