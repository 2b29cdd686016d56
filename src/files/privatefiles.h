#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;
class QFileDevice;

// The user's own files that a crash, a power cut or another user must not
// get at: the journal of Writes and a fleet's report. Written, they are the
// owner's alone (0600 on POSIX systems) and on the disk before the call
// returns; read, they are taken only from a regular file, never through a
// link, from a device or from a FIFO, and never beyond a bound.
namespace PrivateFiles {

// The bytes of `fileName`, at most `limit` of them; nothing, with `why` set,
// when it is not a regular file of its own, cannot be read or is larger.
std::optional<QByteArray> readRegular(const QString &fileName, qint64 limit, QString *why);

// Whether `fileName` names a regular file itself, not through a link.
bool isRegular(const QString &fileName);

// Writes `bytes` to a new file, which must not exist yet, and flushes it to
// the disk. On failure, with `why` set, no file is left behind.
bool writeNew(const QString &fileName, const QByteArray &bytes, QString *why);

// Opens `file` (its name set) for appending, unbuffered, making it the
// owner's alone when it is new.
bool openForAppend(QFile &file, QString *why);

// Hands what was written to `file` to the disk.
bool flushToDisk(QFileDevice &file);
// Hands a folder's entries (a file made or renamed in it) to the disk.
bool flushFolder(const QString &folder);

} // namespace PrivateFiles
