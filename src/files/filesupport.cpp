#include "filesupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QXmlStreamReader>

namespace FileSupport {

void limitReader(QXmlStreamReader &reader)
{
    reader.setEntityExpansionLimit(EntityExpansionLimit);
}

QByteArray readLimited(QIODevice *device)
{
    // In chunks: read(n) sets aside n bytes whatever the document's size.
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray data;
    while (data.size() <= MaxDocumentBytes) {
        const QByteArray chunk = device->read(qMin(Chunk, MaxDocumentBytes + 1 - data.size()));
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    return data;
}

QString openFailureReason(const QString &fileName, const QFileDevice &file)
{
    if (fileName.isEmpty())
        return QCoreApplication::translate("SettingsFile", "No file name given.");
    const QFileInfo info(fileName);
    if (info.isDir() || !info.absoluteDir().exists())
        return writeProblem(fileName);
    return QCoreApplication::translate("SettingsFile", "\"%1\" cannot be opened: %2").arg(fileName, file.errorString());
}

QString writeProblem(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isDir())
        return QCoreApplication::translate("SettingsFile", "\"%1\" is a folder, not a file.").arg(fileName);
    if (!info.absoluteDir().exists())
        return QCoreApplication::translate("SettingsFile", "The folder \"%1\" does not exist.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    const QFileInfo folder(info.absolutePath());
    if (info.exists() ? !info.isWritable() : !folder.isWritable())
        return QCoreApplication::translate("SettingsFile", "\"%1\" may not be written by this user.").arg(fileName);
    return QString();
}

} // namespace FileSupport
