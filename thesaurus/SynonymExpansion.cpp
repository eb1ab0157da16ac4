#include "thesaurus/SynonymExpansion.h"

#include "thesaurus/TSpellCheck.h"

#include "thesaurus/WordKeySet.h"

namespace SynonymExpansion {

std::variant<QStringList, Refusal> SplitPhrase(const QString &phrase, int depthIndex)
{
    QStringList pieces = phrase.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (pieces.size() > MaxWords)
        return Refusal{tooManyWordsMessage(), int(pieces.size())};
    if (pieces.size() > MaxDoraz3Words && depthIndex == 2)
        return Refusal{tooManyDoraz3WordsMessage(), int(pieces.size())};
    return pieces;
}

Lookup lookupThrough(TSpellCheck &spellCheck)
{
    return [&spellCheck](const QString &word, QStringList &synonyms) { spellCheck.GetSynonyms(word, synonyms); };
}

QString columnKey(const QString &word)
{
    return WordKeySet::key(word);
}

namespace {

// The column under construction: its entries and the keys of the words it holds.
class Column
{
public:
    bool add(const QString &word, int tier)
    {
        if (!m_keys.insert(word))
            return false;
        m_entries.append({word, tier});
        return true;
    }
    void reserve(qsizetype size)
    {
        m_entries.reserve(size);
        m_keys.reserve(size);
    }
    ColumnWords take() { return std::move(m_entries); }

private:
    ColumnWords m_entries;
    WordKeySet m_keys;
};

} // namespace

ColumnWords ExpandWord(const QString &word, int depthIndex, const Lookup &lookup)
{
    const int depth = (depthIndex == 1 || depthIndex == 2) ? depthIndex : 0;
    Column column;
    QStringList direct;
    lookup(word, direct);
    column.reserve(direct.size()); // the least it will hold, most of it at depth 0
    for (const QString &s : std::as_const(direct)) {
        if (!column.add(s, 0) || depth < 1)
            continue;
        QStringList second;
        lookup(s, second);
        for (const QString &t : std::as_const(second)) {
            if (!column.add(t, 1) || depth < 2)
                continue;
            QStringList third;
            lookup(t, third);
            for (const QString &u : std::as_const(third))
                column.add(u, 2);
        }
    }
    return column.take();
}

} // namespace SynonymExpansion
