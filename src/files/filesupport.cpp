#include "filesupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>

namespace FileSupport {

void limitReader(QXmlStreamReader &reader)
{
    reader.setEntityExpansionLimit(EntityExpansionLimit);
}

QByteArray readLimited(QIODevice *device, qint64 limit)
{
    // In chunks: read(n) sets aside n bytes whatever the document's size.
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray data;
    while (data.size() <= limit) {
        const QByteArray chunk = device->read(qMin(Chunk, limit + 1 - data.size()));
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    return data;
}

ShapeProblem shapeProblem(const QByteArray &document)
{
    const char *const data = document.constData();
    const qint64 size = document.size();
    const auto startsAt = [&](qint64 at, const char *text) {
        const qint64 length = qint64(qstrlen(text));
        return at + length <= size && std::memcmp(data + at, text, size_t(length)) == 0;
    };
    // The position of the last byte of `terminator`'s next occurrence after
    // `from`, or the end of the document.
    const auto through = [&](qint64 from, const char *terminator) {
        const qint64 found = document.indexOf(terminator, int(from));
        return found < 0 ? size : found + qint64(qstrlen(terminator)) - 1;
    };
    int elements = 0;
    for (qint64 i = 0; i < size; ++i) {
        if (data[i] != '<')
            continue;
        const qint64 start = i;
        if (startsAt(i, "<!--")) {
            i = through(i + 4, "-->");
        } else if (startsAt(i, "<![CDATA[")) {
            i = through(i + 9, "]]>");
        } else if (startsAt(i, "<?")) {
            i = through(i + 2, "?>");
        } else if (startsAt(i, "<!") || startsAt(i, "</")) {
            i = through(i + 2, ">");
        } else {
            if (++elements > MaxElements)
                return {start, QCoreApplication::translate("SettingsFile",
                        "The document has more than %1 elements; a settings file has about 40.").arg(MaxElements)};
            // Every attribute has its "=", and no "=" of a value counts.
            int attributes = 0;
            char quote = 0;
            for (++i; i < size && (quote || data[i] != '>'); ++i) {
                if (quote) {
                    if (data[i] == quote)
                        quote = 0;
                } else if (data[i] == '"' || data[i] == '\'') {
                    quote = data[i];
                } else if (data[i] == '=' && ++attributes > MaxAttributes) {
                    return {start, QCoreApplication::translate("SettingsFile",
                            "An element has more than %1 attributes; a setting has one or two.").arg(MaxAttributes)};
                }
            }
        }
    }
    return {};
}

qint64 lineAt(const QByteArray &document, qint64 offset)
{
    return std::count(document.constBegin(), document.constBegin() + qBound<qint64>(0, offset, document.size()), '\n') + 1;
}

QDateTime nowWithOffset()
{
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc());
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

QString userName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? qEnvironmentVariable("USERNAME") : name;
}

} // namespace FileSupport
