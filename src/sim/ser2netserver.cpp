#include "ser2netserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

constexpr int StartLimit = 10000;   // ms for the process to take connections

} // namespace

QString Ser2NetServer::program()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    return onPath.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin")})
                            : onPath;
}

Ser2NetServer::Ser2NetServer(const QString &device)
    : device(device)
{
}

Ser2NetServer::~Ser2NetServer()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool Ser2NetServer::start(QString *why)
{
    QTcpServer unused;
    if (!folder.isValid() || !unused.listen(QHostAddress::LocalHost)) {
        *why = QStringLiteral("no temporary folder or no free port");
        return false;
    }
    m_port = unused.serverPort();
    unused.close();
    // A new client replaces the one before: the wait for the port below is
    // a client too, which may not be gone yet when the owner connects. Set
    // up for Modbus: what the modem sends goes on at once, for its silence
    // ends a frame, and ser2net's default wait for two more characters
    // would only hold each answer back.
    const QString config = folder.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QStringLiteral("%YAML 1.1\n---\n"
                                     "connection: &modem\n"
                                     "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                     "  connector: serialdev,%2,%3n81,local\n"
                                     "  options:\n"
                                     "    kickolduser: true\n"
                                     "    chardelay: false\n"
                                     "    mdns: false\n")
                          .arg(m_port)
                          .arg(device)
                          .arg(DeviceRate)
                          .toUtf8())
               < 0) {
        *why = QStringLiteral("cannot write ") + config;
        return false;
    }
    file.close();
    // In the foreground, its log on standard output, no UUCP lock files.
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program(), {QStringLiteral("-d"), QStringLiteral("-u"), QStringLiteral("-c"), config});
    bool accepts = process.waitForStarted(StartLimit);
    // The process gives no sign of being ready but its port.
    QElapsedTimer clock;
    clock.start();
    while (accepts && process.state() == QProcess::Running && clock.elapsed() < StartLimit) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(1000))
            return true;
        QThread::msleep(20);
    }
    *why = QStringLiteral("ser2net took no connection (%1, exit status %2): %3")
               .arg(process.errorString())
               .arg(process.exitCode())
               .arg(QString::fromLocal8Bit(process.readAll()));
    return false;
}

QByteArray Ser2NetServer::connectionText(int baudRate) const
{
    return QStringLiteral("dev=rfc2217://127.0.0.1:%1;baud=%2").arg(m_port).arg(baudRate).toLatin1();
}
