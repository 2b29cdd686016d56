#include "userfolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace UserFolders {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QLatin1String("/gprs-configurator");
}

QString logFolder()
{
    return dataFolder() + QLatin1String("/logs");
}

QString journalFolder()
{
    return dataFolder() + QLatin1String("/journal");
}

bool makePrivate(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    // On Windows the user's data folder is private already; these are the
    // POSIX rights.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

} // namespace UserFolders
