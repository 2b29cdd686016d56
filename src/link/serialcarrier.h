#ifndef SERIALCARRIER_H
#define SERIALCARRIER_H

#include "carrier.h"

#include <memory>

class QSerialPort;

// A serial port of this machine, 8N1 at the connection's rate, wired to
// the modem (directly or through a two-wire adapter).
class SerialCarrier : public Carrier {
public:
    // `named`: the connection named the port; else it is the default one,
    // which the reason it did not open then says.
    SerialCarrier(const QString &portName, int baudRate, bool named);
    ~SerialCarrier() override;

    bool open(QString *why) override;
    void close() override;
    bool lost() const override;
    QString lossExplanation() const override;
    QByteArray dropStaleInput() override;
    int answerDelay(int bytes) const override;
    int answerSpread() const override { return 0; }
    int lineRate() const override { return baudRate; }
    bool farEndKeepsFrameGap() const override { return false; }

protected:
    QIODevice *device() const override;
    void flush() override;

private:
    bool applyLineSettings();

    std::unique_ptr<QSerialPort> port;
    const QString portName;
    const int baudRate;
    const bool named;
};

#endif // SERIALCARRIER_H
