#include "workermessages.h"

#include <QRegularExpression>

#include <array>
#include <iterator>

namespace WorkerMessages {

namespace {

struct Entry {
    Kind kind;
    const char *format;
};

// A sentence that has a form "on %d step" is tried in that form first,
// for its shorter form is a prefix of it.
const Entry entries[] = {
    {Kind::PortNotOpen, "The Port %s was not open"},
    {Kind::Started, "Start process whith %s"},
    {Kind::UnknownJob, "There is onknowed thread %d"},
    {Kind::BadCheckSumAtStep, "There is bad CRC16 sum of %d bytes on %d step"},
    {Kind::BadCheckSum, "There is bad CRC16 sum of %d bytes"},
    {Kind::ReceivedEntry, "Recieved %d[%d] bytes"},
    {Kind::Received, "Recieved %d bytes"},
    {Kind::Read, "It is Readed %d"},
    {Kind::WriteProgress, "Recieved %d%%"},
    {Kind::Written, "It is Ready %d%%"},
    {Kind::UnaskedAtStep, "There are %d bytes on the line that no request asked for on %d step"},
    {Kind::Unasked, "There are %d bytes on the line that no request asked for"},
    {Kind::SurplusAtStep, "There are %d bytes where one answer of %d was due on %d step"},
    {Kind::Surplus, "There are %d bytes where one answer of %d was due"},
    {Kind::ExceptionAtStep, "The device answered with exception %d on %d step"},
    {Kind::Exception, "The device answered with exception %d"},
    {Kind::MismatchAtStep, "The answer of %d bytes does not match the request on %d step"},
    {Kind::Mismatch, "The answer of %d bytes does not match the request"},
};

// The sentence as a pattern: %s any text, %d a number, %% itself. A
// number stands whole ("8 bytes" is not "80 bytes").
QRegularExpression patternOf(const char *format)
{
    const QString text = QString::fromLatin1(format);
    QString pattern;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && i + 1 < text.size()) {
            const QChar conversion = text.at(++i);
            // A text at the sentence's end runs to the end of the message.
            if (conversion == QLatin1Char('s'))
                pattern += QLatin1String(i + 1 == text.size() ? "(.*)" : "(.*?)");
            else if (conversion == QLatin1Char('d'))
                pattern += QLatin1String("(-?\\d+)(?!\\d)");
            else
                pattern += QRegularExpression::escape(QString(conversion));
        } else {
            pattern += QRegularExpression::escape(QString(text.at(i)));
        }
    }
    return QRegularExpression(pattern);
}

} // namespace

const char *format(Kind kind)
{
    for (const Entry &entry : entries) {
        if (entry.kind == kind)
            return entry.format;
    }
    return "";
}

bool namesStep(Kind kind)
{
    return QByteArray(format(kind)).endsWith(" on %d step");
}

Found find(const QString &text)
{
    static const auto patterns = [] {
        std::array<QRegularExpression, std::size(entries)> made;
        for (size_t i = 0; i < std::size(entries); ++i)
            made[i] = patternOf(entries[i].format);
        return made;
    }();
    Found found;
    for (size_t i = 0; i < std::size(entries); ++i) {
        const QRegularExpressionMatch match = patterns[i].match(text);
        // The earliest wins; at one place, the longer form, which comes first.
        if (!match.hasMatch() || (found.exists() && match.capturedStart() >= found.position))
            continue;
        found.kind = entries[i].kind;
        found.position = match.capturedStart();
        found.length = match.capturedLength();
        found.arguments = match.capturedTexts().mid(1);
    }
    return found;
}

} // namespace WorkerMessages
