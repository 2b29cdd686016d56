#include "privatefiles.h"

#include "filesupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#include <io.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFiles {

namespace {

QString shown(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

#ifndef Q_OS_WIN
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}
#endif

} // namespace

std::optional<QByteArray> readRegular(const QString &fileName, qint64 limit, QString *why)
{
#ifdef Q_OS_WIN
    const QFileInfo info(fileName);
    if (info.isSymLink() || !info.isFile()) {
        *why = QCoreApplication::translate("PrivateFiles", "%1 is not a file").arg(shown(fileName));
        return std::nullopt;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("%1: %2").arg(shown(fileName), file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = FileSupport::readLimited(&file, limit);
#else
    // Not blocking, so that a FIFO does not wait for a writer; the check
    // is made on what was opened, not on the name.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = errno == ELOOP ? QCoreApplication::translate("PrivateFiles", "%1 is a link, not a file").arg(shown(fileName))
                              : QStringLiteral("%1: %2").arg(shown(fileName), systemError());
        return std::nullopt;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        *why = QCoreApplication::translate("PrivateFiles", "%1 is not a file").arg(shown(fileName));
        return std::nullopt;
    }
    QByteArray bytes;
    char chunk[64 * 1024];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *why = QStringLiteral("%1: %2").arg(shown(fileName), systemError());
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(chunk, int(got));
    }
    ::close(fd);
#endif
    if (bytes.size() > limit) {
        *why = QCoreApplication::translate("PrivateFiles", "%1 is larger than %2 bytes").arg(shown(fileName)).arg(limit);
        return std::nullopt;
    }
    return bytes;
}

bool isRegular(const QString &fileName)
{
    const QFileInfo info(fileName);
    return !info.isSymLink() && info.isFile();
}

bool writeNew(const QString &fileName, const QByteArray &bytes, QString *why)
{
#ifdef Q_OS_WIN
    // A save file is on the disk when committed, or not there at all; the
    // folder's rights are the user's own already.
    if (QFileInfo::exists(fileName)) {
        *why = QCoreApplication::translate("PrivateFiles", "%1 exists already").arg(shown(fileName));
        return false;
    }
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *why = QStringLiteral("%1: %2").arg(shown(fileName), file.errorString());
    return false;
#else
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *why = QStringLiteral("%1: %2").arg(shown(fileName), systemError());
        return false;
    }
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!written)
        *why = QStringLiteral("%1: %2").arg(shown(fileName), systemError());
    ::close(fd);
    if (!written)
        ::unlink(name.constData());
    return written;
#endif
}

bool openForAppend(QFile &file, QString *why)
{
#ifdef Q_OS_WIN
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    *why = file.errorString();
    return false;
#else
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                          0600);
    if (fd < 0) {
        *why = systemError();
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        *why = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
#endif
}

bool flushToDisk(QFileDevice &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    // A file Qt opened by its name may have no C library descriptor; then
    // what was written is with the system, which writes it out itself.
    const int fd = file.handle();
    return fd < 0 || ::_commit(fd) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool flushFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    // NTFS keeps a folder's entries in its own journal.
    Q_UNUSED(folder)
    return true;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
#endif
}

} // namespace PrivateFiles
