#include "seriallink.h"

#include <QList>
#include <QSerialPort>
#include <QThread>

namespace {

// The wait is counted in polls of at most this length, so that a silent
// line and a request to stop are both noticed within one poll.
constexpr int PollInterval = 100;   // ms

const char DefaultPortName[] = "\\\\.\\COM1";
constexpr int DefaultBaudRate = 9600;

int pollsFor(int milliseconds)
{
    return milliseconds / PollInterval + 1;
}

bool stopRequested()
{
    return QThread::currentThread()->isInterruptionRequested();
}

} // namespace

SerialLink::SerialLink(int answerTimeout, int nextTimeout, int byteGapTimeout)
    : m_portName(QString::fromLatin1(DefaultPortName))
    , m_baudRate(DefaultBaudRate)
    , answerTimeout(answerTimeout)
    , nextTimeout(nextTimeout)
    , byteGapTimeout(byteGapTimeout)
{
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::configure(const QByteArray &config)
{
    const QList<QByteArray> parts = config.split(';');
    for (const QByteArray &part : parts) {
        const QList<QByteArray> pieces = part.split('=');
        if (pieces.size() < 2)
            continue;
        if (pieces.at(0) == "dev")
            m_portName = QString::fromLatin1(pieces.at(1));
        else if (pieces.at(0) == "baud")
            m_baudRate = pieces.at(1).toInt();   // 0 when not a number
    }
}

int SerialLink::open()
{
    port = std::make_unique<QSerialPort>();
    port->close();
    port->setPortName(m_portName);
    if (!port->open(QIODevice::ReadWrite))
        return -1;
    // A rate the port refuses (0 from a mistyped "baud") would leave the
    // line at whatever it was before; better to fail as if unopenable.
    if (!applyLineSettings()) {
        port->close();
        return -1;
    }
    firstExchange = 1;
    return 0;
}

bool SerialLink::applyLineSettings()
{
    return port->setBaudRate(m_baudRate, QSerialPort::AllDirections)
        && port->setFlowControl(QSerialPort::NoFlowControl)
        && port->setParity(QSerialPort::NoParity)
        && port->setDataBits(QSerialPort::Data8)
        && port->setStopBits(QSerialPort::OneStop);
}

int SerialLink::exchange(const char *request, int length)
{
    const int waitLimit = firstExchange ? answerTimeout : nextTimeout;
    firstExchange = 0;

    if (!port || !port->isOpen()) {
        rxBuffer[0] = '\0';
        return 0;
    }
    if (length > 0) {
        port->write(request, length);
        port->flush();
    }
    return collectAnswer(waitLimit);
}

int SerialLink::collectAnswer(int waitLimit)
{
    int received = 0;
    int pollsLeft = pollsFor(waitLimit);
    while (pollsLeft != 0 && !stopRequested()) {
        --pollsLeft;
        port->waitForReadyRead(PollInterval);
        const qint64 got = port->read(rxBuffer + received, MaxAnswerLength - received);
        if (got > 0) {
            received += static_cast<int>(got);
            pollsLeft = pollsFor(byteGapTimeout);
            if (received >= MaxAnswerLength)
                break;
        }
    }
    rxBuffer[received] = '\0';
    return received;
}

const char *SerialLink::answer() const
{
    return rxBuffer;
}

void SerialLink::close()
{
    if (port)
        port->close();
    port.reset();
}

QString SerialLink::portName() const
{
    return m_portName;
}

int SerialLink::baudRate() const
{
    return m_baudRate;
}
