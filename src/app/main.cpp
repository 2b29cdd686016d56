#include "mainwindow.h"
#include "workingfolder.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
