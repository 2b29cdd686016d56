#pragma once

#include <QFile>
#include <QString>

// The log of a session: lines appended as they happen, each handed to the
// system at once, so that a crash loses nothing written before it. The
// files are bounded: the current one grows to `fileLimit` bytes, then it
// becomes "….log.1", the one before "….log.2", and so on; only the newest
// `kept` files stay.
class ActivityLog {
public:
    static constexpr qint64 DefaultFileLimit = 1024 * 1024;
    static constexpr int DefaultKept = 10;

    explicit ActivityLog(QString folder, qint64 fileLimit = DefaultFileLimit, int kept = DefaultKept);

    // "2026-12-07 " and the line; false when the log cannot be written (a
    // log that fails never stops the work it records).
    bool append(const QString &line);

    QString folder() const { return logFolder; }
    // Why the last append failed.
    QString errorString() const { return lastError; }
    QString currentFile() const;
    // The name of file `generation`: 0 the current one, 1 the one before.
    QString fileName(int generation) const;

private:
    bool openCurrent();
    void rotate();

    const QString logFolder;
    const qint64 fileLimit;
    const int kept;
    QFile file;
    QString lastError;
};
