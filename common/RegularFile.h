#pragma once

#include <QFile>
#include <QString>

namespace RegularFile {

// Opens a file for reading only when it is a regular file. A FIFO would block the
// open until a writer comes, and a device or a folder never reads as a file, so
// they are refused at once. On failure the file stays closed and `error` says why,
// in words fit for a message ("No such file or directory", "it is a folder").
bool openForReading(QFile &file, QString &error);

} // namespace RegularFile
