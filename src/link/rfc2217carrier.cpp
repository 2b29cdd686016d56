#include "rfc2217carrier.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Telnet's commands and the two options this side takes.
constexpr char Iac = char(0xFF);
constexpr char Dont = char(0xFE);
constexpr char Do = char(0xFD);
constexpr char Wont = char(0xFC);
constexpr char Will = char(0xFB);
constexpr char Sb = char(0xFA);
constexpr char Nop = char(0xF1);
constexpr char Se = char(0xF0);
constexpr quint8 Binary = 0;
constexpr quint8 ComPort = 44;

// What a subnegotiation may hold beyond this is of no use here, and a
// server's stream must not grow it without end.
constexpr int MaxParameters = 64;

// COM-PORT-OPTION's settings in the order sent, numbered from 1; the
// server answers each under its number plus 100 with the value it set.
constexpr int SettingCount = 4;   // rate, data size, parity, stop size
constexpr int ServerAnswer = 100;
constexpr char DataBits = 8;
constexpr char NoParity = 1;
constexpr char OneStopBit = 1;

bool isNegotiation(char verb)
{
    return verb == Do || verb == Dont || verb == Will || verb == Wont;
}

} // namespace

void TelnetReader::take(const char *bytes, int length, QByteArray *data, QVector<QByteArray> *commands)
{
    for (int i = 0; i < length; ++i) {
        const char byte = bytes[i];
        switch (state) {
        case State::Data:
            if (byte == Iac)
                state = State::Command;
            else
                data->append(byte);
            break;
        case State::Command:
            takeCommand(byte, data, commands);
            break;
        case State::Option:
            partial.append(byte);
            commands->append(partial);
            state = State::Data;
            break;
        case State::Parameters:
            if (byte == Iac)
                state = State::ParametersCommand;
            else if (partial.size() < MaxParameters)
                partial.append(byte);
            break;
        case State::ParametersCommand:
            if (byte == Iac) {
                if (partial.size() < MaxParameters)
                    partial.append(byte);
                state = State::Parameters;
                break;
            }
            // A command other than SE ends the parameters too, and counts.
            commands->append(partial);
            if (byte == Se)
                state = State::Data;
            else
                takeCommand(byte, data, commands);
            break;
        }
    }
}

void TelnetReader::takeCommand(char byte, QByteArray *data, QVector<QByteArray> *commands)
{
    state = State::Data;
    partial = QByteArray(1, byte);
    if (byte == Iac)
        data->append(byte);
    else if (isNegotiation(byte))
        state = State::Option;
    else if (byte == Sb)
        state = State::Parameters;
    else
        commands->append(partial);
}

void TelnetReader::reset()
{
    state = State::Data;
    partial.clear();
}

QByteArray TelnetReader::escaped(const QByteArray &bytes)
{
    QByteArray doubled;
    doubled.reserve(bytes.size() + int(bytes.count(Iac)));
    for (const char byte : bytes) {
        doubled.append(byte);
        if (byte == Iac)
            doubled.append(byte);
    }
    return doubled;
}

Rfc2217Carrier::Rfc2217Carrier(const NetworkAddress &server, int baudRate)
    // Its telnet options and port settings are the connection's, set up by
    // each job's open.
    : TcpCarrier(server, false)
    , baudRate(baudRate)
{
    ours.agree = Will;
    ours.refuse = Wont;
    theirs.agree = Do;
    theirs.refuse = Dont;
}

Rfc2217Carrier::~Rfc2217Carrier() = default;

bool Rfc2217Carrier::open(QString *why)
{
    if (!TcpCarrier::open(why))
        return false;
    if (negotiate(why))
        return true;
    close();
    return false;
}

void Rfc2217Carrier::close()
{
    TcpCarrier::close();
    reader.reset();
    incoming.clear();
    commandsOut.clear();
    ours.options.fill(Option::Off);
    theirs.options.fill(Option::Off);
    settingsAnswers.fill(std::nullopt);
}

bool Rfc2217Carrier::negotiate(QString *why)
{
    QElapsedTimer clock;
    clock.start();
    // Frames are bytes of any value: binary both ways, so that no server
    // takes a CR in them for the end of a line.
    ask(ours, Binary);
    ask(theirs, Binary);
    ask(ours, ComPort);
    sendCommands();
    if (!awaitServer(clock, [this] { return ours.options[ComPort] != Option::Asked; }, why))
        return false;
    if (ours.options[ComPort] != Option::On) {
        *why = QCoreApplication::translate("SerialLink",
                "%1 does not let its serial port be set (it refuses RFC 2217's COM-PORT-OPTION): turn RFC 2217 on "
                "for that port, or set the port's rate in the server and connect with tcp://%1.").arg(server.shown());
        return false;
    }
    QByteArray rate(4, '\0');
    qToBigEndian<quint32>(quint32(baudRate), rate.data());
    const std::array<QByteArray, SettingCount> asked{rate, QByteArray(1, DataBits), QByteArray(1, NoParity),
                                                     QByteArray(1, OneStopBit)};
    // In one segment behind this side's answers to what the server asked
    // so far.
    for (int i = 0; i < SettingCount; ++i) {
        const char start[] = {Iac, Sb, char(ComPort), char(i + 1)};
        commandsOut.append(start, int(sizeof start));
        commandsOut += TelnetReader::escaped(asked[size_t(i)]) + Iac + Se;
    }
    sendCommands();
    const auto allAnswered = [this] {
        return std::all_of(settingsAnswers.begin(), settingsAnswers.end(), [](const auto &a) { return a.has_value(); });
    };
    if (!awaitServer(clock, allAnswered, why))
        return false;
    // Frames at another rate than the modem's would come out garbled.
    const QByteArray &rateSet = *settingsAnswers[0];
    if (rateSet.size() == rate.size() && rateSet != rate) {
        *why = QCoreApplication::translate("SerialLink",
                "%1 set its serial port to %2 baud instead of %3: the port does not take that rate; choose a rate "
                "that both the port and the modem take.")
                   .arg(server.shown())
                   .arg(qFromBigEndian<quint32>(rateSet.constData()))
                   .arg(baudRate);
        return false;
    }
    for (int i = 0; i < SettingCount; ++i) {
        if (*settingsAnswers[size_t(i)] != asked[size_t(i)]) {
            *why = QCoreApplication::translate("SerialLink",
                    "%1 did not set its serial port to %2 baud, 8 data bits, no parity and 1 stop bit, as the "
                    "modem's frames need: check the port's settings in the server.")
                       .arg(server.shown())
                       .arg(baudRate);
            return false;
        }
    }
    sendCommands();
    return true;
}

// Takes in what the server says until `done`; false, with `why` said, when
// the server closes the connection or the negotiation's time runs out.
template <typename Done>
bool Rfc2217Carrier::awaitServer(const QElapsedTimer &clock, Done done, QString *why)
{
    for (;;) {
        const bool came = takeIn();
        if (done())
            return true;
        // What came is acknowledged at once, by this side's answers or else a
        // no-operation: ser2net sends a segment only once the one before is
        // acknowledged, which this side's system may otherwise put off by
        // 40 ms, and it sends a notice of the modem lines' state or its
        // answer to a refused option on its own before the port's settings.
        if (came && commandsOut.isEmpty())
            queueCommand({Nop});
        sendCommands();
        if (TcpCarrier::lost()) {
            *why = lossExplanation();
            return false;
        }
        const qint64 left = NetworkAddress::ConnectTimeout - clock.elapsed();
        if (left <= 0) {
            *why = QCoreApplication::translate("SerialLink",
                    "%1 did not answer the settings of its serial port within %2 s: check that it is an RFC 2217 "
                    "server.").arg(server.shown()).arg(NetworkAddress::ConnectTimeout / 1000.0);
            return false;
        }
        device()->waitForReadyRead(int(left));
    }
}

bool Rfc2217Carrier::takeIn()
{
    const QByteArray stream = device()->readAll();
    QVector<QByteArray> commands;
    reader.take(stream.constData(), stream.size(), &incoming, &commands);
    for (const QByteArray &command : commands)
        obey(command);
    return !stream.isEmpty();
}

void Rfc2217Carrier::obey(const QByteArray &command)
{
    const char verb = command.at(0);
    const quint8 option = command.size() > 1 ? quint8(command.at(1)) : 0;
    if (verb == Do || verb == Dont) {
        answer(ours, option, verb == Do, option == Binary || option == ComPort);
    } else if (verb == Will || verb == Wont) {
        answer(theirs, option, verb == Will, option == Binary);
    } else if (verb == Sb && option == ComPort && command.size() > 2) {
        const int setting = quint8(command.at(2)) - ServerAnswer;
        if (setting >= 1 && setting <= SettingCount)
            settingsAnswers[size_t(setting - 1)] = command.mid(3);
    }
    // Anything else (a no-operation, a go-ahead, the server's notices of its
    // lines' state) is of no use to the frames.
}

// A request is answered only when it changes how the option stands, so
// that the two sides never go on answering each other's answers.
void Rfc2217Carrier::answer(Side &side, quint8 option, bool enable, bool wanted)
{
    Option &state = side.options[option];
    if (!enable) {
        if (state == Option::On)
            queueCommand({side.refuse, char(option)});
        state = Option::Off;
    } else if (!wanted) {
        queueCommand({side.refuse, char(option)});
    } else {
        if (state == Option::Off)
            queueCommand({side.agree, char(option)});
        state = Option::On;
    }
}

void Rfc2217Carrier::ask(Side &side, quint8 option)
{
    side.options[option] = Option::Asked;
    queueCommand({side.agree, char(option)});
}

void Rfc2217Carrier::queueCommand(std::initializer_list<char> command)
{
    commandsOut += Iac;
    commandsOut.append(command.begin(), int(command.size()));
}

void Rfc2217Carrier::sendCommands()
{
    if (commandsOut.isEmpty())
        return;
    Carrier::send(commandsOut.constData(), commandsOut.size());
    commandsOut.clear();
}

bool Rfc2217Carrier::lost() const
{
    return TcpCarrier::lost() && incoming.isEmpty();
}

QByteArray Rfc2217Carrier::dropStaleInput()
{
    // The commands in it still count: only its data is stale.
    device()->waitForReadyRead(0);
    takeIn();
    sendCommands();
    QByteArray dropped;
    dropped.swap(incoming);
    return dropped;
}

void Rfc2217Carrier::send(const char *data, int length)
{
    const QByteArray onWire = TelnetReader::escaped(QByteArray::fromRawData(data, length));
    Carrier::send(onWire.constData(), onWire.size());
}

qint64 Rfc2217Carrier::read(char *into, int max, int waitMs)
{
    QElapsedTimer clock;
    clock.start();
    bool came = takeIn();
    // Commands alone are no answer: the wait goes on for data.
    while (incoming.isEmpty()) {
        const qint64 left = std::max<qint64>(waitMs - clock.elapsed(), 0);
        if (!device()->waitForReadyRead(int(left)))
            break;
        came = takeIn() || came;
    }
    // As in the negotiation: the rest of an answer that ser2net split
    // waits for this part's acknowledgement, which a no-operation sends at
    // once rather than after the system's 40 ms.
    if (came && commandsOut.isEmpty())
        queueCommand({Nop});
    sendCommands();
    const int taken = std::min(max, int(incoming.size()));
    std::memcpy(into, incoming.constData(), size_t(taken));
    incoming.remove(0, taken);
    return taken;
}
