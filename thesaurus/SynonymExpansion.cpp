#include "thesaurus/SynonymExpansion.h"

#include "thesaurus/Depth.h"
#include "thesaurus/TSpellCheck.h"

#include "thesaurus/WordKeySet.h"

#include <algorithm>
#include <vector>

namespace SynonymExpansion {

std::variant<QStringList, Refusal> SplitPhrase(const QString &phrase, int depthIndex)
{
    QStringList pieces = phrase.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (pieces.size() > MaxWords)
        return Refusal{tooManyWordsMessage(), int(pieces.size())};
    if (pieces.size() > MaxDoraz3Words && Depths::fromIndex(depthIndex) == Depth::Doraz3)
        return Refusal{tooManyDoraz3WordsMessage(), int(pieces.size())};
    return pieces;
}

Lookup lookupThrough(TSpellCheck &spellCheck)
{
    return [&spellCheck](const QString &word, QStringList &synonyms) { spellCheck.GetSynonyms(word, synonyms); };
}

namespace {

// The column under construction: its entries, and the set that knows which words
// it holds.
class Column
{
public:
    Column() : m_keys(TextAt{&m_entries}) {}
    Column(const Column &) = delete;
    Column &operator=(const Column &) = delete;

    // Takes the word over when the column does not hold it yet.
    bool add(QString &word, Tier tier)
    {
        if (!m_keys.insert(word, std::uint32_t(m_entries.size())))
            return false;
        m_entries.append({std::move(word), tier});
        return true;
    }
    const QString &last() const { return m_entries.constLast().text; }
    void reserve(qsizetype size)
    {
        m_entries.reserve(size);
        m_keys.reserve(size);
    }
    ColumnWords take() { return std::move(m_entries); }

private:
    struct TextAt {
        const ColumnWords *entries;
        const QString &operator()(std::uint32_t i) const { return (*entries)[i].text; }
    };
    ColumnWords m_entries;
    WordKeySet<TextAt> m_keys;
};

} // namespace

ColumnWords ExpandWord(const QString &word, int depthIndex, const Lookup &lookup)
{
    const int depth = int(Depths::fromIndex(depthIndex));
    Column column;
    QStringList direct;
    lookup(word, direct);
    column.reserve(direct.size()); // the least it will hold, most of it at depth 0
    // The lists are ours: their words move into the column.
    for (QString &s : direct) {
        if (!column.add(s, DirectSynonym) || depth < 1)
            continue;
        QStringList second;
        lookup(column.last(), second);
        for (QString &t : second) {
            if (!column.add(t, SecondLevel) || depth < 2)
                continue;
            QStringList third;
            lookup(column.last(), third);
            for (QString &u : third)
                column.add(u, ThirdLevel);
        }
    }
    return column.take();
}

ColumnWords MostCommonFirst(const ColumnWords &entries, const Rank &rank)
{
    // In the pre-order walk, an entry's deeper words follow it up to the next entry
    // of its tier or a shallower one: each block of siblings is sorted, and each
    // sibling's own block after it.
    std::vector<int> ranks(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        ranks[size_t(i)] = rank(entries[i].text);
    ColumnWords ordered;
    ordered.reserve(entries.size());
    std::vector<std::pair<qsizetype, qsizetype>> siblings; // each sibling's first and end, reused per block
    const auto orderBlock = [&](auto &&self, qsizetype begin, qsizetype end) -> void {
        if (begin >= end)
            return;
        const int tier = entries[begin].tier;
        const size_t first = siblings.size();
        for (qsizetype i = begin; i < end; ++i) {
            if (entries[i].tier <= tier) {
                if (siblings.size() > first)
                    siblings.back().second = i;
                siblings.push_back({i, end});
            }
        }
        std::stable_sort(siblings.begin() + qsizetype(first), siblings.end(),
                         [&](const auto &a, const auto &b) { return ranks[size_t(a.first)] < ranks[size_t(b.first)]; });
        const std::vector<std::pair<qsizetype, qsizetype>> block(siblings.begin() + qsizetype(first), siblings.end());
        siblings.resize(first);
        for (const auto &[at, blockEnd] : block) {
            ordered.append(entries[at]);
            self(self, at + 1, blockEnd);
        }
    };
    orderBlock(orderBlock, 0, entries.size());
    return ordered;
}

} // namespace SynonymExpansion
