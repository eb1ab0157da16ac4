#include "thesaurus/WordNetExceptions.h"

#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// WordNet's lines are a few words long; a longer one is no line of the list.
constexpr qint64 MaxLineLength = 4096;

// The lines of a list, each whole; a line longer than MaxLineLength is skipped
// whole instead of being cut into pieces that would read as entries of their own.
template <typename OnLine>
void forEachLine(QFile &file, OnLine &&onLine)
{
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(MaxLineLength);
        if (line.endsWith('\n') || file.atEnd()) {
            onLine(line);
            continue;
        }
        // Over-long: the rest of it, up to its line end, goes too.
        while (!file.atEnd() && !file.readLine(MaxLineLength).endsWith('\n')) {
        }
    }
}

} // namespace

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
    // A FIFO under a list's name would hold the open until a writer came.
    QFile file(path);
    QString error;
    if (!RegularFile::openForReading(file, error))
        return;
    forEachLine(file, [this](const QByteArray &line) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2 || fields[0].isEmpty())
            return;
        const QString form = QString::fromUtf8(fields[0]).replace(QLatin1Char('_'), QLatin1Char(' '));
        QStringList &bases = m_bases[form];
        for (qsizetype i = 1; i < fields.size(); ++i) {
            QString base = QString::fromUtf8(fields[i]).replace(QLatin1Char('_'), QLatin1Char(' '));
            // One look in a set, not along the form's list: a list naming one form
            // thousands of times still loads in linear time.
            if (!m_seen.contains({form, base})) {
                m_seen.insert({form, base});
                bases.append(std::move(base));
            }
        }
    });
}
