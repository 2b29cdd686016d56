#include "uploadlist.h"

#include "filesupport.h"

#include <QFile>
#include <QXmlStreamReader>

UploadList readUploadList(const QString &fileName)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return readUploadListDocument(&file);
}

UploadList readUploadListDocument(QIODevice *device)
{
    UploadList list;
    if (!device || !device->isReadable())
        return list;
    list.opened = true;
    // A list beyond the size limit or the shape bounds breaks off there,
    // like a truncated one.
    QByteArray document = FileSupport::readLimited(device).left(FileSupport::MaxDocumentBytes);
    if (const FileSupport::ShapeProblem shape = FileSupport::shapeProblem(document); shape.exists())
        document.truncate(int(shape.offset));
    QXmlStreamReader reader(document);
    FileSupport::limitReader(reader);
    // atEnd() turns true at the first error as well, which ends the list there.
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        // A list never needs a DOCTYPE, and its entities could make a small
        // file expand a thousandfold in memory: the list breaks off there.
        if (token == QXmlStreamReader::DTD)
            break;
        if (token != QXmlStreamReader::StartElement || reader.name() != QLatin1String("file"))
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (attributes.hasAttribute(QStringLiteral("name")))
            list.files.append(attributes.value(QStringLiteral("name")).toString());
    }
    return list;
}
