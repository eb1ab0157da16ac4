#pragma once

#include <QStringList>

// The answer of one lookup, read meaning by meaning: each meaning with its own
// list of synonyms. Any call may throw AppError. The windows read whole lists
// (ThesaurusSource::appendSynonyms); this finer reading is for checking the data.
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
