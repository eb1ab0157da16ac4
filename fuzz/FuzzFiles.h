#pragma once

// Writing a fuzz input to a file of its own, for the readers that take a path.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

namespace FuzzFiles {

// A folder for this process's files, made once.
inline const QString &folder()
{
    static const QString path = [] {
        // In memory where the machine has it: the fuzzer writes the files thousands
        // of times a second.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString made = base + QStringLiteral("/verbarium-fuzz-%1").arg(::getpid());
        QDir().mkpath(made);
        return made;
    }();
    return path;
}

inline QString write(const QString &name, const QByteArray &bytes)
{
    const QString path = folder() + QLatin1Char('/') + name;
    // A new file each time: a file truncated and written again in place is flushed
    // by some file systems, which is slow.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        __builtin_trap(); // the fuzzer cannot work without its files
    return path;
}

} // namespace FuzzFiles
