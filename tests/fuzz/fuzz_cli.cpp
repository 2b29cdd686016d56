// The command-line tool's argument check on any arguments (split at NUL
// bytes); it opens nothing, so every input is safe to try.
#include "commandline.h"

#include <QBuffer>
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments;
    for (const QByteArray &part : QByteArray(reinterpret_cast<const char *>(data), int(size)).split('\0'))
        arguments << QString::fromUtf8(part);
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const std::optional<int> status = checkCommandLine(arguments, out, err);
    if (status && *status != 0 && *status != 2)
        __builtin_trap();
    return 0;
}
