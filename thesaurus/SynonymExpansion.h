#pragma once

#include "thesaurus/SynonymLookup.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

class TSpellCheck;

// Turning a typed phrase into columns of tiered synonyms.
namespace SynonymExpansion {

inline constexpr int MaxWords = 10;
inline constexpr int MaxDoraz3Words = 3;

// The depth a word of a column was found at. The numbers are those the lookup
// tool prints and the result lists hand out as their tier role.
enum Tier : int {
    DirectSynonym = 0, // a synonym of the typed word
    SecondLevel = 1,   // a synonym of a direct synonym
    ThirdLevel = 2,    // a synonym of a second-level word
};

// One word of a column with the depth it was found at.
struct Entry {
    QString text;
    Tier tier = DirectSynonym;
    bool operator==(const Entry &) const = default;
};
using ColumnWords = QList<Entry>;

// The phrase cut at every U+0020 (empty pieces included), or the message that refuses it.
struct Refusal {
    QString message;
    int pieceCount = 0;
};
std::variant<QStringList, Refusal> SplitPhrase(const QString &phrase, int depthIndex);

// The thesaurus service's lookups as a Lookup.
Lookup lookupThrough(TSpellCheck &spellCheck);

// The column of one typed word: a pre-order walk of its synonyms down to the depth
// (index 1 gives tier 1, 2 gives tier 2, anything else direct synonyms only), each
// word once, compared without regard to letter case, in its first form and place.
ColumnWords ExpandWord(const QString &word, int depthIndex, const Lookup &lookup);

// How common a word is: a lower rank is a more common word (Commonness::rank).
using Rank = std::function<int(const QString &word)>;

// The column with its first-level words ordered by rank, each keeping the deeper
// words that followed it, which are ordered the same way among themselves; words
// of the same rank keep their order. Nothing is added or dropped.
ColumnWords MostCommonFirst(const ColumnWords &entries, const Rank &rank);

} // namespace SynonymExpansion

namespace SynonymExpansion {
inline QString emptyPhraseMessage()
{
    return QStringLiteral("Write a phrase, first!");
}
inline QString tooManyWordsMessage()
{
    return QStringLiteral("Max 10 words at a time !");
}
inline QString tooManyDoraz3WordsMessage()
{
    return QStringLiteral("Only 3 words at a time when requesting an Doraz 3 result!");
}
} // namespace SynonymExpansion
