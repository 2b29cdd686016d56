#ifndef SERIALLINK_H
#define SERIALLINK_H

#include <QByteArray>
#include <QString>

#include <memory>

class QSerialPort;

// The one channel to the modem: a blocking request/answer wrapper around a
// QSerialPort, created, used and destroyed within one worker job. It knows
// nothing of frames or check sums; it sends bytes and collects whatever
// comes back until the line falls silent.
class SerialLink {
public:
    static constexpr int DefaultAnswerTimeout = 6000;   // ms, first exchange after open
    static constexpr int DefaultNextTimeout = 6000;     // ms, every later exchange
    static constexpr int DefaultByteGapTimeout = 500;   // ms of silence that ends an answer
    static constexpr int MaxAnswerLength = 1023;

    // The system always uses the defaults; tests shorten them.
    explicit SerialLink(int answerTimeout = DefaultAnswerTimeout, int nextTimeout = DefaultNextTimeout,
                        int byteGapTimeout = DefaultByteGapTimeout);
    ~SerialLink();
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // "dev=<port name>;baud=<rate>", blanks around the parts and "=" ignored.
    // Returns why the text cannot be used (a rate that is not a whole
    // number, a part other than dev and baud), or an empty text.
    QString configure(const QByteArray &config);
    // 0 on success; -1 when the port cannot be opened or refuses a line setting.
    int open();
    // Sends the request (nothing when length is 0) and collects the answer;
    // returns its length, 0..MaxAnswerLength.
    int exchange(const char *request, int length);
    // The last answer, followed by a NUL.
    const char *answer() const;
    void close();

    QString portName() const;
    int baudRate() const;

private:
    bool applyLineSettings();
    int collectAnswer(int waitLimit);

    std::unique_ptr<QSerialPort> port;
    QString m_portName;
    int m_baudRate;
    const int answerTimeout;
    const int nextTimeout;
    const int byteGapTimeout;
    int firstExchange = 0;
    char rxBuffer[MaxAnswerLength + 1] = {};
};

#endif // SERIALLINK_H
