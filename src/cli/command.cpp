#include "command.h"

#include "console.h"
#include "programoptions.h"

#include <QCommandLineParser>

namespace {

// The summary's lines as one paragraph, broken before column 80.
QString paragraph(const QStringList &lines)
{
    QString sentence = lines.join(QLatin1Char(' '));
    if (sentence.isEmpty())
        return sentence;
    sentence[0] = sentence.at(0).toUpper();
    sentence += QLatin1Char('.');
    QString wrapped, line;
    for (const QString &word : sentence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 79) {
            wrapped += line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return wrapped + line;
}

} // namespace

QList<QCommandLineOption> Command::sharedOptions() const
{
    return {ProgramOptions::quiet()};
}

QString Command::help() const
{
    QCommandLineParser parser;
    parser.setApplicationDescription(paragraph(summary()));
    parser.addOptions(options() + sharedOptions() + QList<QCommandLineOption>{ProgramOptions::help()});
    for (const auto &argument : arguments())
        parser.addPositionalArgument(argument.first, argument.second);
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: %1 %2 [options] %3").arg(QLatin1String(ProgramName), name(), synopsis());
    text.replace(0, text.indexOf(QLatin1Char('\n')), usage.trimmed());
    text += QStringLiteral("\nExamples:\n");
    for (const auto &example : examples())
        text += QStringLiteral("  %1:\n    %2 %3\n").arg(example.first, QLatin1String(ProgramName), example.second);
    return text;
}

int Command::usageError(const QString &problem)
{
    return console.usageError(problem, name());
}

QString Command::misplacedOptions(const QCommandLineParser &parser) const
{
    QStringList given, names;
    for (const QCommandLineOption &option : options()) {
        const QString shown = QStringLiteral("--") + option.names().constLast();
        names << shown;
        if (parser.isSet(option))
            given << shown;
    }
    if (given.isEmpty())
        return {};
    // All of them are named, whichever were given: the message says whose they are.
    const QString last = names.takeLast();
    const QString listed = names.isEmpty() ? last : QStringLiteral("%1 and %2").arg(names.join(QStringLiteral(", ")), last);
    return QStringLiteral("%1 %2 to %3").arg(listed, QLatin1String(names.isEmpty() ? "belongs" : "belong"), name());
}
