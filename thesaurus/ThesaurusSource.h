#pragma once

#include "thesaurus/ThesaurusEntry.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// Where synonyms come from. The real one reads the MyThes data files; tests script one.
class ThesaurusSource
{
public:
    virtual ~ThesaurusSource() = default;
    // Throws AppError when the source cannot serve any lookup.
    virtual void start() = 0;
    // Appends the synonyms of every meaning of a word, by Windows language
    // identifier, in order, and answers whether the word has an entry. Throws
    // AppError on damaged data; the list then keeps what was appended before.
    virtual bool appendSynonyms(const QString &word, std::int32_t languageId, QStringList &synonyms) = 0;
    virtual void quit() = 0;
    // The word's entry meaning by meaning, labels and notes kept. A source that
    // knows only flat lists answers them as one meaning without a label.
    virtual ThesaurusEntry entry(const QString &word, std::int32_t languageId)
    {
        ThesaurusEntry entry;
        ThesaurusEntry::Meaning meaning;
        entry.found = appendSynonyms(word, languageId, meaning.synonyms);
        if (!meaning.synonyms.isEmpty()) {
            meaning.notes.resize(meaning.synonyms.size());
            entry.meanings.append(std::move(meaning));
        }
        return entry;
    }
    // Whether anything can be found in a language at all, so that users can be told.
    virtual bool hasData(std::int32_t languageId) const = 0;
};
