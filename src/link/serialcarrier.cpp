#include "serialcarrier.h"

#include "modbusframe.h"
#include "serialports.h"

#include <QCoreApplication>
#include <QSerialPort>

SerialCarrier::SerialCarrier(const QString &portName, int baudRate, bool named)
    : portName(portName), baudRate(baudRate), named(named)
{
}

SerialCarrier::~SerialCarrier() = default;

bool SerialCarrier::open(QString *why)
{
    port = std::make_unique<QSerialPort>();
    port->close();
    port->setPortName(portName);
    if (!port->open(QIODevice::ReadWrite)) {
        *why = SerialPorts::whyNotOpen(portName, port->error(), port->errorString());
        // The connection text alone would not tell which port that was.
        if (!named)
            *why = QCoreApplication::translate("SerialLink",
                    "The connection has no dev part, so the default port %1 was tried. %2")
                .arg(portName, *why);
        return false;
    }
    // A rate the port refuses would leave the line at whatever it was
    // before; better to fail as if unopenable.
    if (!applyLineSettings()) {
        *why = port->errorString();
        port->close();
        return false;
    }
    why->clear();
    return true;
}

bool SerialCarrier::applyLineSettings()
{
    return port->setBaudRate(baudRate, QSerialPort::AllDirections)
        && port->setFlowControl(QSerialPort::NoFlowControl)
        && port->setParity(QSerialPort::NoParity)
        && port->setDataBits(QSerialPort::Data8)
        && port->setStopBits(QSerialPort::OneStop);
}

void SerialCarrier::close()
{
    if (port)
        port->close();
    port.reset();
}

bool SerialCarrier::lost() const
{
    if (!port)
        return false;
    // A hung-up line fails the next read; an unplugged adapter is gone
    // altogether.
    switch (port->error()) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
        return true;
    default:
        return false;
    }
}

QString SerialCarrier::lossExplanation() const
{
    return QCoreApplication::translate("SerialLink",
            "The port stopped working: check that the adapter is still plugged in");
}

QByteArray SerialCarrier::dropStaleInput()
{
    port->clear(QSerialPort::Input);
    return QByteArray();
}

// The request's time on the line at 10 bits a character (8N1), rounded up:
// at 300 baud five seconds for a write of the settings block.
int SerialCarrier::answerDelay(int bytes) const
{
    return baudRate > 0 ? int((qint64(bytes) * Modbus::BitsPerCharacter * 1000 + baudRate - 1) / baudRate) : 0;
}

QIODevice *SerialCarrier::device() const
{
    return port.get();
}

void SerialCarrier::flush()
{
    port->flush();
}
