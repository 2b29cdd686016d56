#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Puts `bytes` into a real file, exactly as given.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The internal subset of a "billion laughs" document: &a9; expands to 10^9 "ha".
inline QByteArray nestedEntities(const QByteArray &root)
{
    QByteArray subset = "<!DOCTYPE " + root + " [\n<!ENTITY a0 \"ha\">\n";
    for (int level = 1; level <= 9; ++level)
        subset += "<!ENTITY a" + QByteArray::number(level) + " \""
            + QByteArray("&a" + QByteArray::number(level - 1) + ';').repeated(10) + "\">\n";
    return subset + "]>\n";
}
