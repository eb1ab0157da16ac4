#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Turning the ticked words of the result columns into text, and writing it.
namespace SelectionExport {

// Line k holds the k-th ticked word of every column that has one, in column order,
// each word followed by the delimiter. No placeholders for shorter columns.
QStringList mergeRows(const QList<QStringList> &tickedPerColumn, const QString &delimiter);

// Every line followed by CR LF, the last one too; no lines give the empty text.
QString outputText(const QStringList &lines);

// The text in the locale's encoding; characters it cannot hold become '?'.
QByteArray toSystemEncoding(const QString &text);

// Writes the text in the system's 8-bit encoding (the locale's, on Linux;
// characters it cannot hold are replaced), without a byte-order mark. The old
// file is replaced only once the new one is written whole; when the write fails
// at any step (a full disk too) the old file stays as it was. Throws AppError
// "Cannot create file "<path>". <reason>".
void writeTextFile(const QString &path, const QString &text);

} // namespace SelectionExport
