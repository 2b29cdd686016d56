#include "seriallink.h"

#include <QCoreApplication>
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

// The rate of a "baud" part: plain digits only; 0, which no port takes,
// for anything else.
int wholeNumber(const QByteArray &text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
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

QString SerialLink::configure(const QByteArray &config)
{
    const QString shown = QString::fromLatin1(config);
    const QList<QByteArray> parts = config.split(';');
    for (const QByteArray &part : parts) {
        // Empty parts, as after a closing ";", say nothing.
        if (part.trimmed().isEmpty())
            continue;
        const QList<QByteArray> pieces = part.split('=');
        const QByteArray key = pieces.at(0).trimmed();
        const QByteArray value = pieces.size() > 1 ? pieces.at(1).trimmed() : QByteArray();
        if (pieces.size() > 1 && key == "dev") {
            m_portName = QString::fromLatin1(value);
        } else if (pieces.size() > 1 && key == "baud") {
            const int rate = wholeNumber(value);
            if (rate <= 0)
                return QCoreApplication::translate("SerialLink",
                        "The connection \"%1\" has no baud rate: \"%2\" is not a rate such as 9600")
                    .arg(shown, QString::fromLatin1(value));
            m_baudRate = rate;
        } else {
            // A bare device name, a misspelt key: the port would open with
            // a default the technician never chose.
            return QCoreApplication::translate("SerialLink",
                    "The connection \"%1\" has an unknown part \"%2\"; it takes dev=PORT;baud=RATE")
                .arg(shown, QString::fromLatin1(part.trimmed()));
        }
    }
    return QString();
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
