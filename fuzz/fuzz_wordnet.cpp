// The WordNet reader. One input holds four files, each ended by a line that is
// exactly "~~~~": index.noun, data.noun, index.adj, data.adj (missing parts are
// empty files). The lemmas of both indexes are looked up as nouns and as
// adjectives; damaged files may only ever answer with AppError.

#include "FuzzFiles.h"

#include "common/AppError.h"
#include "thesaurus/WordNetReader.h"

#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> parts;
    qsizetype at = 0;
    while (parts.size() < 4) {
        const qsizetype split = input.indexOf("\n~~~~\n", at);
        if (split < 0) {
            parts.append(input.sliced(at));
            break;
        }
        parts.append(input.sliced(at, split + 1 - at));
        at = split + 6;
    }
    parts.resize(4);
    FuzzFiles::write(QStringLiteral("index.noun"), parts[0]);
    FuzzFiles::write(QStringLiteral("data.noun"), parts[1]);
    FuzzFiles::write(QStringLiteral("index.adj"), parts[2]);
    FuzzFiles::write(QStringLiteral("data.adj"), parts[3]);

    WordNetReader reader({FuzzFiles::folder()});
    QStringList words{QStringLiteral("bright"), QStringLiteral("Ice cream"), QString()};
    // At most about 64 lemmas, taken across both indexes.
    for (const QByteArray &index : {parts[0], parts[2]}) {
        const QList<QByteArray> lines = index.split('\n');
        const qsizetype step = std::max<qsizetype>(1, lines.size() / 30);
        for (qsizetype i = 0; i < lines.size() && words.size() < 64; i += step) {
            const qsizetype blank = lines[i].indexOf(' ');
            if (blank > 0)
                words.append(QString::fromUtf8(lines[i].first(blank)));
        }
    }
    for (const QString &word : std::as_const(words)) {
        for (const auto partOfSpeech : {WordNetReader::PartOfSpeech::Noun, WordNetReader::PartOfSpeech::Adjective}) {
            try {
                reader.senses(word, partOfSpeech);
            } catch (const AppError &) {
            }
        }
    }
    reader.takeNotes();
    return 0;
}
