#include "thesaurus/WordNetExceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QStringList &WordNetExceptions::fileNames()
{
    static const QStringList names = {QStringLiteral("noun.exc"), QStringLiteral("verb.exc"), QStringLiteral("adj.exc"),
                                      QStringLiteral("adv.exc")};
    return names;
}

WordNetExceptions WordNetExceptions::load(const QStringList &searchPath)
{
    WordNetExceptions table;
    for (const QString &folder : searchPath) {
        const QDir dir(folder);
        bool any = false;
        for (const QString &name : fileNames()) {
            if (QFileInfo::exists(dir.filePath(name))) {
                table.read(dir.filePath(name));
                any = true;
            }
        }
        if (any) {
            table.m_folder = dir.absolutePath();
            break;
        }
    }
    return table;
}

void WordNetExceptions::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(4096);
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2 || fields[0].isEmpty())
            continue;
        const QString form = QString::fromUtf8(fields[0]).replace(QLatin1Char('_'), QLatin1Char(' '));
        QStringList &bases = m_bases[form];
        for (qsizetype i = 1; i < fields.size(); ++i) {
            const QString base = QString::fromUtf8(fields[i]).replace(QLatin1Char('_'), QLatin1Char(' '));
            if (!bases.contains(base))
                bases.append(base);
        }
    }
}
