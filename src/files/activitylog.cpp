#include "activitylog.h"

#include "userfolders.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>

ActivityLog::ActivityLog(QString folder, qint64 fileLimit, int kept)
    : logFolder(std::move(folder))
    , fileLimit(fileLimit)
    , kept(kept)
{
}

QString ActivityLog::currentFile() const
{
    return fileName(0);
}

QString ActivityLog::fileName(int generation) const
{
    const QString name = logFolder + QLatin1String("/gprs-configurator.log");
    return generation == 0 ? name : name + QLatin1Char('.') + QString::number(generation);
}

bool ActivityLog::append(const QString &line)
{
    const QByteArray bytes =
        (QDate::currentDate().toString(Qt::ISODate) + QLatin1Char(' ') + line).toUtf8() + '\n';
    if (!file.isOpen() && !openCurrent())
        return false;
    // A line never starts a file it would not fit, unless the file is empty.
    if (file.size() > 0 && file.size() + bytes.size() > fileLimit) {
        rotate();
        if (!openCurrent())
            return false;
    }
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    lastError = file.errorString();
    return false;
}

bool ActivityLog::openCurrent()
{
    if (!UserFolders::makePrivate(logFolder)) {
        lastError = QCoreApplication::translate("ActivityLog", "the folder cannot be made");
        return false;
    }
    file.setFileName(currentFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    lastError = file.errorString();
    return false;
}

void ActivityLog::rotate()
{
    file.close();
    QFile::remove(fileName(kept - 1));
    for (int generation = kept - 2; generation >= 0; --generation)
        QFile::rename(fileName(generation), fileName(generation + 1));
}
