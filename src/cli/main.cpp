#include "commandline.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#ifndef Q_OS_WIN
#include <csignal>
#endif

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // A reader that goes away (`| head`) is a failed write to report, not a
    // signal that ends the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    // Straight to the descriptors, without the C library's buffer, so that a
    // write that fails says so at once.
    QFile out, err;
    if (!out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;
    return runCommandLine(QCoreApplication::arguments().mid(1), out, err);
}
