#include "workingfolder.h"

#include "usersettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

const char LastFolderKey[] = "files/lastFolder";

bool sameFolder(const QString &a, const QString &b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()).compare(QDir::cleanPath(QFileInfo(b).absoluteFilePath()),
#ifdef Q_OS_WIN
                                                                       Qt::CaseInsensitive
#else
                                                                       Qt::CaseSensitive
#endif
                                                                       )
        == 0;
}

} // namespace

namespace WorkingFolder {

QString choose(const QString &current, const QString &programFolder, bool programFolderWritable,
               const QString &documents)
{
    if (!sameFolder(current, programFolder) || programFolderWritable || documents.isEmpty())
        return current;
    return documents + QLatin1String("/GPRS configurator");
}

bool isWritable(const QString &folder)
{
    QTemporaryFile probe(folder + QLatin1String("/.write-probe-XXXXXX"));
    return probe.open();
}

void enter()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString current = QDir::currentPath();
    const QString folder =
        choose(current, programFolder, !sameFolder(current, programFolder) || isWritable(programFolder),
               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (folder != current && QDir().mkpath(folder))
        QDir::setCurrent(folder);
}

QString dialogStart()
{
    const QString remembered = userSettings().value(QLatin1String(LastFolderKey)).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString current = QDir::currentPath();
    const QString temporary = QDir(QDir::tempPath()).canonicalPath();
    if (!temporary.isEmpty() && QDir(current).canonicalPath().startsWith(temporary + QLatin1Char('/'))) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    return current;
}

void rememberDialogFolder(const QString &fileName)
{
    userSettings().setValue(QLatin1String(LastFolderKey), QFileInfo(fileName).absolutePath());
}

} // namespace WorkingFolder
