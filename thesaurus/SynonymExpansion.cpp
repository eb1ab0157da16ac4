#include "thesaurus/SynonymExpansion.h"

#include "thesaurus/Depth.h"
#include "thesaurus/TSpellCheck.h"

#include "thesaurus/WordKeySet.h"

#include <algorithm>

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
    // The column as a tree: an entry's children are the entries one tier deeper
    // that follow it before the next entry of its own tier or a shallower one.
    struct Node {
        qsizetype entry;
        int rank;
        QList<qsizetype> children; // into nodes
    };
    QList<Node> nodes;
    nodes.reserve(entries.size());
    QList<qsizetype> roots;
    qsizetype parents[ThirdLevel + 1] = {-1, -1, -1};
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int tier = std::clamp(int(entries[i].tier), 0, int(ThirdLevel));
        nodes.append({i, rank(entries[i].text), {}});
        const qsizetype parent = tier == 0 ? -1 : parents[tier - 1];
        (parent < 0 ? roots : nodes[parent].children).append(i);
        parents[tier] = i;
        for (int deeper = tier + 1; deeper <= ThirdLevel; ++deeper)
            parents[deeper] = -1;
    }
    const auto byRank = [&](qsizetype a, qsizetype b) { return nodes[a].rank < nodes[b].rank; };
    ColumnWords ordered;
    ordered.reserve(entries.size());
    const auto walk = [&](auto &&self, QList<qsizetype> &level) -> void {
        std::stable_sort(level.begin(), level.end(), byRank);
        for (const qsizetype at : level) {
            ordered.append(entries[nodes[at].entry]);
            self(self, nodes[at].children);
        }
    };
    walk(walk, roots);
    return ordered;
}

} // namespace SynonymExpansion
