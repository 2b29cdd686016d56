#ifndef RFC2217CARRIER_H
#define RFC2217CARRIER_H

#include "tcpcarrier.h"

#include <QByteArray>
#include <QVector>

#include <array>
#include <initializer_list>
#include <optional>

class QElapsedTimer;

// Telnet's byte stream taken apart into the data it carries and the
// commands between: IAC IAC is a data byte 0xFF, IAC and a verb a command,
// IAC SB ... IAC SE a subnegotiation. A command may be cut anywhere by the
// segments a connection delivers, so the reader keeps where it stopped.
class TelnetReader {
public:
    // Takes the next bytes of the stream: their data goes to `data`, and
    // each command completed among them to `commands`, without its IAC: the
    // verb, then its option (of DO, DONT, WILL, WONT and SB), then an SB's
    // parameters, their 0xFF undoubled, without the closing IAC SE.
    void take(const char *bytes, int length, QByteArray *data, QVector<QByteArray> *commands);
    void reset();

    // `bytes` as data in the stream: every 0xFF doubled.
    static QByteArray escaped(const QByteArray &bytes);

private:
    enum class State { Data, Command, Option, Parameters, ParametersCommand };

    void takeCommand(char byte, QByteArray *data, QVector<QByteArray> *commands);

    State state = State::Data;
    QByteArray partial;   // the command being read
};

// An RFC 2217 serial server (telnet with COM-PORT-OPTION) in front of the
// modem's line. Its port's rate is set from here, so that a rate changed
// in the modem need not be followed by a trip to the cabinet: before the
// first request the port is set to the connection's rate and 8N1, and
// each setting must come back as asked, or nothing is sent.
class Rfc2217Carrier : public TcpCarrier {
public:
    Rfc2217Carrier(const NetworkAddress &server, int baudRate);
    ~Rfc2217Carrier() override;

    bool open(QString *why) override;
    void close() override;
    bool lost() const override;
    QByteArray dropStaleInput() override;
    void send(const char *data, int length) override;
    qint64 read(char *into, int max, int waitMs) override;
    int lineRate() const override { return baudRate; }

private:
    // How an option stands on one side of the connection.
    enum class Option : quint8 { Off, Asked, On };
    struct Side {
        std::array<Option, 256> options{};
        char agree;    // WILL for this side's options, DO for the server's
        char refuse;   // WONT, DONT
    };

    bool negotiate(QString *why);
    template <typename Done>
    bool awaitServer(const QElapsedTimer &clock, Done done, QString *why);
    // Takes in what came, if anything: its data kept, its commands obeyed
    // and this side's answers queued.
    bool takeIn();
    void obey(const QByteArray &command);
    void answer(Side &side, quint8 option, bool enable, bool wanted);
    void ask(Side &side, quint8 option);
    void queueCommand(std::initializer_list<char> command);
    void sendCommands();

    const int baudRate;
    TelnetReader reader;
    QByteArray incoming;   // data come but not yet read
    QByteArray commandsOut;   // this side's commands not yet sent
    Side ours;             // the options of this side
    Side theirs;           // the options of the server's side
    // The server's answers to the four port settings, by setting.
    std::array<std::optional<QByteArray>, 4> settingsAnswers;
};

#endif // RFC2217CARRIER_H
