#pragma once

#include <QFile>
#include <QString>

namespace RegularFile {

// Opens a file for reading only when it is a regular file. A FIFO would block the
// open until a writer comes, and a device or a folder never reads as a file, so
// they are refused at once. On failure the file stays closed and `error` says why,
// in words fit for a message ("No such file or directory", "it is a folder").
bool openForReading(QFile &file, QString &error);

// Why a path could not be opened or looked at, from the errno of the failure, in
// the same words: a link to nothing and a loop of links are named as such, where
// the system's words would say "No such file" of a name that is there.
QString reasonFor(const QString &path, int errorNumber);

} // namespace RegularFile
