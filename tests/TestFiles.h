#pragma once

// Whole-file reads and writes for tests that check what lands on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

namespace TestFiles {

// The file's bytes; nothing when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What readAllOrMarker gives for a file that cannot be read.
inline const QByteArray Unreadable = "<unreadable>";

// The file's bytes, or Unreadable: a missing file never passes for an empty one.
inline QByteArray readAllOrMarker(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Unreadable;
    return file.readAll();
}

// Fails the running test when the file cannot be opened.
inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// writeAll into a folder that may not exist yet.
inline void writeAllMakingFolders(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeAll(path, bytes);
}

// Whether all of the bytes went into a new file at the path.
inline bool replaceFile(const QString &path, const QByteArray &bytes)
{
    // A new file each time: ext4 flushes a file truncated and rewritten in place,
    // which makes thousands of rewrites slow.
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace TestFiles
