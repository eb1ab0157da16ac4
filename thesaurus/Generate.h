#pragma once

#include "common/AppError.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/WordForms.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

class TSpellCheck;

namespace SynonymExpansion {

// The column of one typed word that found synonyms.
struct GeneratedColumn {
    int piece = 0; // the word's place in the phrase
    QString word;  // as typed
    QString root;  // the word that answered for it
    ColumnWords entries;
};

// A typed word that found nothing, with the spellings that would find something.
// A word the phrase holds more than once is one miss, at its first place.
struct Miss {
    int piece = 0; // the word's place in the phrase
    WordForms::Root root;
    QList<int> alsoAt; // the later places of the same word
};

// What a phrase gave, in the order of its words. Pieces that found nothing leave no
// column; only those holding a letter or a digit count as missed words.
struct Generated {
    int pieceCount = 0;
    QList<GeneratedColumn> columns;
    QList<Miss> misses;
    QStringList notes; // dictionaries that could not be used, each told once
    // A lookup failed: the columns and misses finished before it are kept.
    std::optional<AppError> failure;
};

// What a writer may choose beyond the depth; the defaults give every column as
// the data has it.
struct GenerateOptions {
    // First-level words only from meanings of these parts of speech ("noun",
    // "verb", "adj", "adv"); none, or a language whose data names none: all.
    QStringList partsOfSpeech;
    // Off: words the data marks as broader terms are left out of the first level,
    // unless they also stand plainly in another meaning.
    bool broaderTerms = true;
    // Set: each column is ordered most common first (MostCommonFirst).
    Rank rank;

    bool filtersFirstLevel() const { return !partsOfSpeech.isEmpty() || !broaderTerms; }
};

// Splits the phrase, expands each piece through the root of the typed word in the
// language, and drops the pieces that found nothing; or refuses the phrase (empty,
// or too many words for the depth) before any lookup.
std::variant<Generated, Refusal> Generate(TSpellCheck &spellCheck, TSpellCheckLanguage language, const QString &phrase,
                                          int depthIndex, const GenerateOptions &options = {});

} // namespace SynonymExpansion
