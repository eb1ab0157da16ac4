#pragma once

#include "thesaurus/SynonymLookup.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

class HunspellCatalog;
class HunspellDictionary;
class WordNetExceptions;
class WordNetReader;

// Which word answers for a word the user typed. A word with synonyms of its own
// answers for itself, with no further work. Otherwise, in this order: the word
// without the punctuation around it, without an elided article (French, Italian,
// Catalan), an irregular English form's base (WordNet's exception lists), an
// English base by WordNet's suffix rules that WordNet's index knows, a Hunspell
// stem (inflections before derivations, the word's beginning kept), any other stem
// of a reading without a prefix ("sont" -> "être"), a stem with its prefix put
// back, and the last part of a word that Hunspell reads as a compound or does not
// know. A word that none of these rescues and that the dictionary does not accept
// gets the dictionary's spelling suggestions that have synonyms; a word it accepts
// is spelled right and gets none.
//
// Hunspell dictionaries are loaded at the first miss in their language and kept.
class WordForms
{
public:
    // What found the root, so that a reviewer can read each rule's choices.
    enum class Rule {
        None,             // nothing answered
        Entry,            // the word's own entry
        Punctuation,      // the word without its punctuation (an abbreviation keeps its full stop)
        Apostrophe,       // plain apostrophes for typographic ones
        Elision,          // the word without an elided article
        IrregularForm,    // WordNet's lists of irregular forms
        SuffixRule,       // WordNet's suffix rules, the base checked against WordNet's index
        HunspellCheck,    // the root that Hunspell's spell check names
        HunspellAnalysis, // a stem of Hunspell's full analysis
        CompoundTail,     // the last part of a compound
    };
    // A short name of the rule for tools ("suffix-rule", "compound-tail").
    static QString ruleName(Rule rule);

    struct Root {
        QString typed;
        QString root;            // the word whose synonyms answer; empty when nothing does
        QStringList synonyms;    // the root's synonyms, as its own lookup gives them
        QStringList suggestions; // on a miss the dictionary rejects: at most MaxSuggestions spellings with synonyms
        // Where the word proper stands in the typed text, without punctuation or an elision.
        qsizetype coreStart = 0;
        qsizetype coreLength = 0;
        Rule rule = Rule::None;

        bool found() const { return !root.isEmpty(); }
        QString core() const { return typed.mid(coreStart, coreLength); }
        // The typed text with the word proper replaced, its punctuation and elision kept.
        QString withCore(const QString &replacement) const;
    };

    static constexpr int MaxSuggestions = 5;

    // The thesaurus search path, then VERBARIUM_DICTIONARY_PATH (a list, separated
    // like PATH) or, without it, /usr/share/hunspell and /usr/share/wordnet.
    static QStringList defaultSearchPath();

    explicit WordForms(const QStringList &searchPath = defaultSearchPath());
    ~WordForms();
    WordForms(const WordForms &) = delete;
    WordForms &operator=(const WordForms &) = delete;

    // Resolves a typed word in a language; exact looks a word up as it is given.
    // Errors of the lookup (AppError) reach the caller.
    Root resolve(const QString &typed, std::int32_t languageId, const SynonymExpansion::Lookup &exact);

    // A lookup that answers the typed word's first lookup with the root's synonyms
    // and every other lookup exactly: the expansion and the tree below the typed
    // word stay what they are for any word.
    static SynonymExpansion::Lookup rootedLookup(const Root &root, const SynonymExpansion::Lookup &exact);

    // The notes on dictionaries that could not be used, each given once.
    QStringList takeNotes();

    // The dictionary of a language, loaded now if need be; none when there is none
    // or it cannot be used.
    HunspellDictionary *dictionaryFor(std::int32_t languageId);
    // Whether a language's dictionary has been loaded already (it never is before a miss).
    bool isLoaded(std::int32_t languageId) const;
    // Where a language's dictionary is, without loading it; empty when it has none.
    QString dictionaryPath(std::int32_t languageId);

    const QStringList &searchPath() const { return m_searchPath; }

private:
    const WordNetExceptions &wordNet();
    WordNetReader &wordNetIndex();

    QStringList m_searchPath;
    std::unique_ptr<HunspellCatalog> m_catalog;
    std::unordered_map<std::int32_t, HunspellDictionary *> m_byLanguage;
    QHash<QString, std::shared_ptr<HunspellDictionary>> m_open; // by .dic path
    QSet<QString> m_unusable;                                   // .dic paths that failed to load: tried and told once
    std::unique_ptr<WordNetExceptions> m_wordNet;
    std::unique_ptr<WordNetReader> m_wordNetIndex;
    QStringList m_notes;
};
