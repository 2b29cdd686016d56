#include "mainwindow.h"
#include "workingfolder.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <optional>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const char Usage[] =
    "Usage: gprs-configurator [options]\n"
    "A window in which a technician reads the settings of a GPRS modem over Modbus RTU,\n"
    "changes them, writes them back, and saves and loads them as settings files.\n"
    "\n"
    "Options:\n"
    "  --help     Display this help and exit.\n"
    "  --version  Output version information and exit.\n"
    "\n"
    "The Qt toolkit's own options (-platform, -style, ...) are taken as well.\n"
    "From a script: gprs-configurator-cli --help.\n";

// --help and --version are answered before the application object exists,
// which needs a display; any other command line is the window's. Returns
// the exit status when answered.
std::optional<int> answered(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const bool help = std::strcmp(argv[i], "--help") == 0;
        if (!help && std::strcmp(argv[i], "--version") != 0)
            continue;
#ifdef Q_OS_WIN
        // A window program has no console: it borrows the one it was started
        // from, unless its output goes to a file or a pipe already.
        if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN && AttachConsole(ATTACH_PARENT_PROCESS)
            && !std::freopen("CONOUT$", "w", stdout))
            return 2;
#endif
        if (help)
            std::fputs(Usage, stdout);
        else
            std::printf("gprs-configurator %s\nCopyright (C) 2026 GPRS configurator developers\n"
                        "License MIT: <https://opensource.org/licenses/MIT>\n",
                        GPRS_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answered(argc, argv))
        return *status;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 scales to the screen by itself; Qt 5 only when asked, before the
    // application object exists. Without it the fixed-size form stays tiny
    // on a screen at 150 or 200 %.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication a(argc, argv);
    // Before the window reads its start-up file from the working folder.
    WorkingFolder::enter();
    MainWindow w;
    w.show();
    return a.exec();
}
