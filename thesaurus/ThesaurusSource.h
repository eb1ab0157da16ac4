#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// The answer of one lookup, read meaning by meaning: each meaning with its own
// list of synonyms. Any call may throw AppError.
class SynonymInfo
{
public:
    virtual ~SynonymInfo() = default;
    virtual int meaningCount() = 0;
    // The synonyms of meaning 1 to meaningCount(), in the data's order.
    virtual QStringList synonymList(int meaning) = 0;
    // Whether the word has an entry at all.
    virtual bool found() = 0;
};

// Where synonyms come from. The real one reads the MyThes data files; tests script one.
class ThesaurusSource
{
public:
    virtual ~ThesaurusSource() = default;
    // Throws AppError when the source cannot serve any lookup.
    virtual void start() = 0;
    // A lookup by word and Windows language identifier. Throws AppError on damaged data.
    virtual std::unique_ptr<SynonymInfo> synonymInfo(const QString &word, std::int32_t languageId) = 0;
    // Appends the synonyms of every meaning, in order, and answers the found
    // verdict. On an error the list keeps what was appended before it. Sources that
    // can do better than meaning by meaning override it.
    virtual bool appendSynonyms(const QString &word, std::int32_t languageId, QStringList &synonyms)
    {
        const std::unique_ptr<SynonymInfo> info = synonymInfo(word, languageId);
        const int meanings = info->meaningCount();
        for (int i = 1; i <= meanings; ++i)
            synonyms += info->synonymList(i);
        return info->found();
    }
    virtual void quit() = 0;
    // Whether anything can be found in a language at all, so that users can be told.
    virtual bool hasData(std::int32_t languageId) const
    {
        Q_UNUSED(languageId);
        return true;
    }
};
