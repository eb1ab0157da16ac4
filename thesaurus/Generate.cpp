#include "thesaurus/Generate.h"

#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordMeanings.h"

#include <algorithm>

namespace SynonymExpansion {

namespace {

bool holdsWord(const QString &piece)
{
    return std::any_of(piece.cbegin(), piece.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

// "the" twice in a phrase, or "The" and "the", is one word that found nothing.
void addMiss(QList<Miss> &misses, int piece, WordForms::Root root)
{
    const QString word = root.core().toCaseFolded();
    for (Miss &miss : misses) {
        if (miss.root.core().toCaseFolded() == word) {
            miss.alsoAt.append(piece);
            return;
        }
    }
    misses.append({piece, std::move(root), {}});
}

// The root's synonyms as the options filter its first level.
QStringList filteredFirstLevel(TSpellCheck &spellCheck, TSpellCheckLanguage language, const QString &root,
                               const GenerateOptions &options)
{
    const ThesaurusEntry entry = spellCheck.source()->entry(root, LanguageTable::identifier(language));
    const QStringList partsOfSpeech = WordMeanings::hasPartsOfSpeech(entry.language) ? options.partsOfSpeech
                                                                                     : QStringList();
    return WordMeanings::firstTierWords(WordMeanings::fromEntry(entry), partsOfSpeech, options.broaderTerms);
}

} // namespace

std::variant<Generated, Refusal> Generate(TSpellCheck &spellCheck, TSpellCheckLanguage language, const QString &phrase,
                                          int depthIndex, const GenerateOptions &options)
{
    if (phrase.isEmpty())
        return Refusal{emptyPhraseMessage(), 0};
    auto split = SplitPhrase(phrase, depthIndex);
    if (auto *refusal = std::get_if<Refusal>(&split))
        return std::move(*refusal);
    const QStringList &pieces = std::get<QStringList>(split);

    Generated result;
    result.pieceCount = int(pieces.size());
    spellCheck.setLanguage(language);
    const Lookup lookup = lookupThrough(spellCheck);
    try {
        for (int piece = 0; piece < pieces.size(); ++piece) {
            const QString &word = pieces[piece];
            WordForms::Root root = spellCheck.ResolveWord(word);
            // An inactive thesaurus never opens a dictionary: nothing to tell.
            if (spellCheck.Active())
                result.notes += spellCheck.wordForms().takeNotes();
            if (options.filtersFirstLevel() && root.found())
                root.synonyms = filteredFirstLevel(spellCheck, language, root.root, options);
            ColumnWords entries = ExpandWord(word, depthIndex, WordForms::rootedLookup(root, lookup));
            if (options.rank)
                entries = MostCommonFirst(entries, options.rank);
            if (!entries.isEmpty())
                result.columns.append({piece, word, root.root, std::move(entries)});
            else if (holdsWord(word))
                addMiss(result.misses, piece, std::move(root));
        }
    } catch (const AppError &error) {
        result.failure = error;
    }
    return result;
}

} // namespace SynonymExpansion
