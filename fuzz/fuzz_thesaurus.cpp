// The thesaurus pair reader. One input holds both files: the index, a line that is
// exactly "~~~~", then the data file (an input without it is all data, with an
// empty index). Headwords of the index are looked up as given and upper-cased;
// a damaged pair may only ever answer with AppError.

#include "FuzzFiles.h"

#include "common/AppError.h"
#include "thesaurus/MythesFile.h"

#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf("\n~~~~\n");
    const QByteArray idx = split < 0 ? QByteArray() : input.first(split + 1);
    const QByteArray dat = split < 0 ? input : input.sliced(split + 6);
    const QString idxPath = FuzzFiles::write(QStringLiteral("th.idx"), idx);
    const QString datPath = FuzzFiles::write(QStringLiteral("th.dat"), dat);
    try {
        MythesFile file(idxPath, datPath);
        QStringList words{QStringLiteral("run"), QStringLiteral("Bright"), QString()};
        // At most about 64 headwords, taken across the whole index, so that the
        // searches read every part of a large one.
        const QList<QByteArray> lines = idx.split('\n');
        const qsizetype step = std::max<qsizetype>(1, (lines.size() - 2) / 60);
        for (qsizetype i = 2; i < lines.size() && words.size() < 64; i += step) {
            const qsizetype bar = lines[i].lastIndexOf('|');
            if (bar > 0)
                words.append(QString::fromUtf8(lines[i].first(bar)));
        }
        // Upper case goes through the lower-case retry.
        for (const QString &word : std::as_const(words)) {
            try {
                file.lookup(word);
            } catch (const AppError &) {
            }
            try {
                QStringList synonyms;
                file.appendSynonyms(word.toUpper(), synonyms);
            } catch (const AppError &) {
            }
        }
    } catch (const AppError &) {
    }
    return 0;
}
