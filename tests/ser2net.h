#ifndef SER2NET_H
#define SER2NET_H

// ser2net, the RFC 2217 server of Linux, in front of a serial device (the
// simulated modem's pseudo-terminal): a process of the test's own, its
// configuration in a temporary folder, on a free loopback port, ended with
// the object. The package's own service plays no part.

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

class Ser2Net {
public:
    // The port's own rate, before a client sets another.
    static constexpr int DeviceRate = 9600;

    // The program, or an empty text when it is not installed.
    static QString program()
    {
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
        return onPath.isEmpty()
            ? QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin")})
            : onPath;
    }

    explicit Ser2Net(const QString &device)
        : device(device)
    {
    }

    ~Ser2Net()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    Ser2Net(const Ser2Net &) = delete;
    Ser2Net &operator=(const Ser2Net &) = delete;

    // Starts the server and waits until its port takes connections; false,
    // with `why`, when it does not.
    bool start(QString *why)
    {
        QTcpServer unused;
        if (!folder.isValid() || !unused.listen(QHostAddress::LocalHost)) {
            *why = QStringLiteral("no temporary folder or no free port");
            return false;
        }
        m_port = unused.serverPort();
        unused.close();
        // A new client replaces the one before: the wait for the port below
        // is a client too, which may not be gone yet when the test connects.
        const QString config = folder.filePath(QStringLiteral("ser2net.yaml"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QStringLiteral("%YAML 1.1\n---\n"
                                         "connection: &modem\n"
                                         "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                         "  connector: serialdev,%2,%3n81,local\n"
                                         "  options:\n"
                                         "    kickolduser: true\n"
                                         "    mdns: false\n")
                              .arg(m_port).arg(device).arg(DeviceRate).toUtf8()) < 0) {
            *why = QStringLiteral("cannot write ") + config;
            return false;
        }
        file.close();
        // In the foreground, its log on standard output, no UUCP lock files.
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program(), {QStringLiteral("-d"), QStringLiteral("-u"), QStringLiteral("-c"), config});
        const bool accepts = process.waitForStarted(10000) && QTest::qWaitFor([this] {
            if (process.state() == QProcess::NotRunning)
                return true;
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            return probe.waitForConnected(1000);
        }, 10000);
        if (!accepts || process.state() != QProcess::Running) {
            *why = QStringLiteral("ser2net took no connection (%1, exit status %2): %3")
                       .arg(process.errorString()).arg(process.exitCode())
                       .arg(QString::fromLocal8Bit(process.readAll()));
            return false;
        }
        return true;
    }

    QByteArray connectionText(int baudRate) const
    {
        return QStringLiteral("dev=rfc2217://127.0.0.1:%1;baud=%2").arg(m_port).arg(baudRate).toLatin1();
    }

private:
    const QString device;
    QTemporaryDir folder;
    QProcess process;
    quint16 m_port = 0;
};

#endif // SER2NET_H
