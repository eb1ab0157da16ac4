#pragma once

#include <QByteArray>
#include <QString>

// Writing a file whole and at once: every file the program writes for the user or
// for itself goes through here, so that a full disk, a file-size limit or a crash
// in the middle never leaves a file cut short or empty.
namespace WholeFile {

// Writes `bytes` as the new content of `path`: into a temporary file beside it
// ("<name>.verbarium-XXXXXX"), flushed to the disk and checked, then renamed over
// it. A link is followed and its target written; an existing file keeps its
// permissions. Leftovers of earlier writes of the same file that were cut off (a
// killed process) are removed first; no other file is. Returns an empty text
// when the file was written; otherwise the system's reason ("No space left on
// device"), and the old file, if there was one, is as it was.
QString write(const QString &path, const QByteArray &bytes);

// The temporary files of `path` that earlier writes left behind: the names that
// write() gives its temporary files, not in use by a write that is still running.
// They are removed; returns how many.
int removeLeftovers(const QString &path);

} // namespace WholeFile
