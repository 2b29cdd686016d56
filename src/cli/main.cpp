#include "commandline.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile out, err;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;
    return runCommandLine(QCoreApplication::arguments().mid(1), out, err);
}
