#include "app/SelectionExport.h"

#include "common/AppError.h"
#include "common/WholeFile.h"

#include <QDir>
#include <QStringEncoder>

#include <langinfo.h>

namespace SelectionExport {

QStringList mergeRows(const QList<QStringList> &tickedPerColumn, const QString &delimiter)
{
    QStringList lines;
    for (const QStringList &column : tickedPerColumn) {
        for (qsizetype k = 0; k < column.size(); ++k) {
            if (lines.size() <= k)
                lines.append(column[k] + delimiter);
            else
                lines[k] += column[k] + delimiter;
        }
    }
    return lines;
}

QString outputText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QByteArray toSystemEncoding(const QString &text)
{
    // Qt takes every Unix system for UTF-8; the locale may say otherwise.
    QStringEncoder encoder(nl_langinfo(CODESET));
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Utf8);
    return encoder.encode(text);
}

void writeTextFile(const QString &path, const QString &text)
{
    const QString failure = WholeFile::write(path, toSystemEncoding(text));
    if (!failure.isEmpty())
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), failure));
}

} // namespace SelectionExport
