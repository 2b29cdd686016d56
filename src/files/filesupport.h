#pragma once

#include <QByteArray>
#include <QDateTime>
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

// Bounds of a document's shape that no settings file or upload list comes
// near (a settings file has 39 elements of one or two attributes). They are
// counted before the XML reader sees the document: the reader compares an
// element's attributes with each other, so one element of a hundred thousand
// attributes would keep it busy for minutes.
constexpr int MaxElements = 10000;
constexpr int MaxAttributes = 64;   // of one element

struct ShapeProblem {
    qint64 offset = -1;   // of the element that goes beyond a bound; -1: none
    QString reason;
    bool exists() const { return offset >= 0; }
};

// The first element of `document` beyond MaxElements, or with more than
// MaxAttributes attributes. It reads the bytes as they stand, comments,
// CDATA sections and quoted values skipped, in one pass.
ShapeProblem shapeProblem(const QByteArray &document);
// The line, counted from 1, that holds byte `offset` of `document`.
qint64 lineAt(const QByteArray &document, qint64 offset);

// At most `limit` + 1 bytes of `device`: one byte more than the limit means
// the document is too large.
QByteArray readLimited(QIODevice *device, qint64 limit = MaxDocumentBytes);

// The present moment with its offset from UTC, so that the times files
// keep say which hour it was when the clocks go back.
QDateTime nowWithOffset();

// A readable reason why `file` could not be opened under `fileName`. Qt's
// own text is "Unknown error" for a folder or a missing parent folder, which
// tells the operator nothing.
QString openFailureReason(const QString &fileName, const QFileDevice &file);

// Why a file could not be written under `fileName` (a folder, a missing
// folder, no right to write there), or an empty text when it could be.
QString writeProblem(const QString &fileName);

// Who is logged in, as the system names them.
QString userName();

} // namespace FileSupport
