#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;
class QIODevice;
class QXmlStreamReader;

namespace FileSupport {

// No document this system reads needs entity expansion at all; both readers
// refuse every DOCTYPE, and this limit stands behind them.
constexpr int EntityExpansionLimit = 1024;

void limitReader(QXmlStreamReader &reader);

// Settings files and upload lists are a few kilobytes; nothing larger is
// parsed, so that a huge file costs neither time nor memory.
constexpr qint64 MaxDocumentBytes = 1024 * 1024;

// At most MaxDocumentBytes + 1 bytes of `device`: one byte more than the
// limit means the document is too large.
QByteArray readLimited(QIODevice *device);

// A readable reason why `file` could not be opened under `fileName`. Qt's
// own text is "Unknown error" for a folder or a missing parent folder, which
// tells the operator nothing.
QString openFailureReason(const QString &fileName, const QFileDevice &file);

// Why a file could not be written under `fileName` (a folder, a missing
// folder, no right to write there), or an empty text when it could be.
QString writeProblem(const QString &fileName);

} // namespace FileSupport
