#include "console.h"

#include "settingscodecs.h"

#include <QFile>
#include <QIODevice>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

void Console::say(const QString &line)
{
    std::lock_guard<std::mutex> locker(outputMutex);
    if (progressShown) {
        err.write("\r\033[K");
        progressShown = false;
    }
    err.write(QByteArray(ProgramName) + ": " + printableText(line).toUtf8() + '\n');
}

void Console::inform(const QString &line)
{
    if (!quiet)
        say(line);
}

void Console::showProgress(const QString &line)
{
    std::lock_guard<std::mutex> locker(outputMutex);
    err.write("\r\033[K" + printableText(line).left(79).toUtf8());   // one line of a narrow terminal
    progressShown = true;
}

bool Console::errIsTerminal() const
{
    const auto *file = qobject_cast<const QFile *>(&err);
    return file && file->handle() >= 0 && isatty(file->handle());
}

void Console::trace(const QString &line)
{
    err.write(line.toUtf8() + '\n');
}

int Console::usageError(QString problem, const QString &command)
{
    if (problem.endsWith(QLatin1Char('.')))
        problem.chop(1);
    say(problem);
    const QString program = QLatin1String(ProgramName) + (command.isEmpty() ? QString() : QLatin1Char(' ') + command);
    std::lock_guard<std::mutex> locker(outputMutex);
    err.write(QStringLiteral("Try '%1 --help'.\n").arg(program).toUtf8());
    return BadInput;
}

void Console::put(const QByteArray &data)
{
    if (out.write(data) != data.size() && outputFailure.isEmpty())
        outputFailure = out.errorString();
}

int Console::finished(int status)
{
    if (outputFailure.isEmpty())
        return status;
    say(QStringLiteral("standard output: %1").arg(outputFailure));
    return BadInput;
}
