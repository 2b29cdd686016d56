#ifndef SERIALPORTS_H
#define SERIALPORTS_H

#include <QList>
#include <QSerialPort>
#include <QString>
#include <QStringList>

// The machine's serial ports, and what a connection's device is known by.
namespace SerialPorts {

struct Port {
    QString name;           // as a connection text takes it: /dev/ttyUSB0, COM3
    QString description;    // "USB Serial Port", when the system knows one
    QString manufacturer;   // "FTDI"
    QString identity;       // "VID:PID 0403:6001, serial A12345", what is known of it
};

// Listed afresh on every call, in the system's order.
QList<Port> available();
QStringList availableNames();


// What the device of a connection's dev part is known by: a serial port's
// own device (links and the forms of its name followed), or each address of
// a server with its port. Two dev parts name the same device when these
// share one; a server whose name cannot be looked up is known by its text.
QStringList deviceIdentities(const QString &device);

// Why `portName` did not open, from the port's own error, as a sentence for
// the operator: no such port (and which there are), a port another program
// holds, or one this user may not open.
QString whyNotOpen(const QString &portName, QSerialPort::SerialPortError error, const QString &errorString);

} // namespace SerialPorts

#endif // SERIALPORTS_H
