#include "connectiontext.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <vector>

namespace {

const QLatin1String DeviceKey("dev");
const QLatin1String RateKey("baud");

// One ";"-separated part: its key and value with their blanks trimmed, as
// the text's own type trims them (the link's Latin-1 bytes, or the text a
// front end edits), so that both read a part alike.
template <typename Text>
struct Part {
    Text whole;
    Text key;
    Text value;
    bool hasValue;   // the part has an "="
};

template <typename Text, typename Separator>
std::vector<Part<Text>> partsOf(const Text &text, Separator partSeparator, Separator valueSeparator)
{
    std::vector<Part<Text>> parts;
    for (const Text &whole : text.split(partSeparator)) {
        const auto pieces = whole.split(valueSeparator);
        const bool hasValue = pieces.size() > 1;
        parts.push_back({whole, pieces.at(0).trimmed(), hasValue ? pieces.at(1).trimmed() : Text(), hasValue});
    }
    return parts;
}

std::vector<Part<QString>> partsOf(const QString &text)
{
    return partsOf(text, QLatin1Char(';'), QLatin1Char('='));
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

} // namespace

// The refusals are the link's own words, in its translation context.
ConnectionText ConnectionText::parse(const QByteArray &text)
{
    ConnectionText read;
    const QString shown = QString::fromLatin1(text);
    for (const Part<QByteArray> &part : partsOf(text, ';', '=')) {
        // Empty parts, as after a closing ";", say nothing.
        if (part.whole.trimmed().isEmpty())
            continue;
        if (part.hasValue && part.key == "dev") {
            read.device = QString::fromLatin1(part.value);
            read.deviceNamed = true;
            read.server.reset();
            if (NetworkAddress::isNetworkDevice(read.device)) {
                QString problem;
                read.server = NetworkAddress::parse(read.device, &problem);
                if (!read.server) {
                    read.problem = QCoreApplication::translate("SerialLink",
                            "The connection \"%1\" names no server: %2").arg(shown, problem);
                    return read;
                }
            }
        } else if (part.hasValue && part.key == "baud") {
            const int rate = wholeNumber(part.value);
            if (rate <= 0) {
                read.problem = QCoreApplication::translate("SerialLink",
                        "The connection \"%1\" has no baud rate: \"%2\" is not a rate such as 9600")
                    .arg(shown, QString::fromLatin1(part.value));
                return read;
            }
            read.baudRate = rate;
        } else {
            // A bare device name, a misspelt key: the port would open with
            // a default the technician never chose.
            read.problem = QCoreApplication::translate("SerialLink",
                    "The connection \"%1\" has an unknown part \"%2\"; it takes dev=PORT;baud=RATE")
                .arg(shown, QString::fromLatin1(part.whole.trimmed()));
            return read;
        }
    }
    return read;
}

QString ConnectionText::of(const QString &device, std::optional<int> baudRate)
{
    QString text = DeviceKey + QLatin1Char('=') + device;
    if (baudRate)
        text += QLatin1Char(';') + RateKey + QLatin1Char('=') + QString::number(*baudRate);
    return text;
}

QString ConnectionText::ofServer(const NetworkAddress &server)
{
    return of(server.device());
}

QString ConnectionText::text() const
{
    return of(device, baudRate);
}

QString ConnectionText::part(const QString &text, const QString &key)
{
    QString value;
    for (const Part<QString> &part : partsOf(text)) {
        if (part.hasValue && part.key == key)
            value = part.value;
    }
    return value;
}

QString ConnectionText::withPart(const QString &text, const QString &key, const QString &value)
{
    const QString replacement = key + QLatin1Char('=') + value;
    QStringList rewritten;
    bool replaced = false;
    for (const Part<QString> &part : partsOf(text)) {
        const bool ours = part.hasValue && part.key == key;
        rewritten << (ours ? replacement : part.whole);
        replaced = replaced || ours;
    }
    if (!replaced) {
        rewritten.removeAll(QString());
        if (key == DeviceKey)
            rewritten.prepend(replacement);
        else
            rewritten.append(replacement);
    }
    return rewritten.join(QLatin1Char(';'));
}
