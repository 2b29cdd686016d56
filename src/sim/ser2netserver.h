#ifndef SER2NETSERVER_H
#define SER2NETSERVER_H

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// ser2net, the RFC 2217 server of Linux, in front of a serial device (the
// simulated modem's pseudo-terminal): a process of its owner's, its
// configuration in a temporary folder, on a free loopback port, ended with
// the object. The package's own service plays no part.
class Ser2NetServer {
public:
    // The port's own rate, before a client sets another.
    static constexpr int DeviceRate = 9600;

    // The program, or an empty text when it is not installed.
    static QString program();

    explicit Ser2NetServer(const QString &device);
    ~Ser2NetServer();
    Ser2NetServer(const Ser2NetServer &) = delete;
    Ser2NetServer &operator=(const Ser2NetServer &) = delete;

    // Starts the server and waits until its port takes connections; false,
    // with `why`, when it does not.
    bool start(QString *why);
    // "dev=rfc2217://127.0.0.1:PORT;baud=RATE".
    QByteArray connectionText(int baudRate) const;

private:
    const QString device;
    QTemporaryDir folder;
    QProcess process;
    quint16 m_port = 0;
};

#endif // SER2NETSERVER_H
