#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

struct UploadList {
    bool opened = false;   // false when the file could not be opened
    QStringList files;
};

// The "name" attributes of all "file" elements (exact, case-sensitive local
// name), at any depth, unchanged and in document order. A document that
// breaks off keeps the names read before the reader's first error; one
// beyond FileSupport::MaxDocumentBytes breaks off at that size, and one with
// a DOCTYPE at the DOCTYPE.
UploadList readUploadList(const QString &fileName);
// The same from an open device; `opened` is true when it is readable.
UploadList readUploadListDocument(QIODevice *device);
