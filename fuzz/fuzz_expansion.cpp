// Phrase splitting and expansion over the test thesaurus: the first byte picks the
// depth, the rest is the phrase. Each piece the split keeps is expanded, and the
// whole phrase's word tree is grown, as the window and the lookup tool do.

#include "common/AppError.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static TSpellCheck spellCheck(nullptr,
                                  std::make_unique<MythesSource>(QStringList{QStringLiteral(VERBARIUM_FUZZ_THESAURUS)}));
    static const SynonymExpansion::Lookup lookup = SynonymExpansion::lookupThrough(spellCheck);
    if (size == 0)
        return 0;
    const int depth = data[0] % 4; // 3: out of range, as a bad setting would be
    const QString phrase = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    try {
        const auto split = SynonymExpansion::SplitPhrase(phrase, depth);
        if (const auto *pieces = std::get_if<QStringList>(&split)) {
            for (const QString &piece : *pieces)
                SynonymExpansion::ExpandWord(piece, depth, lookup);
        }
        WordTree tree;
        tree.fill(phrase, lookup);
    } catch (const AppError &) {
    }
    return 0;
}
