#include "thesaurus/WordTree.h"

#include "thesaurus/WordKeySet.h"

void WordTree::fill(const QString &word, const SynonymExpansion::Lookup &lookup)
{
    nodes = {{word, 0, -1}};
    lookups.clear();
    auto lookUp = [&](const QString &w, QStringList &into) {
        lookups.append(w);
        lookup(w, into);
    };
    // The placed words are the nodes after the root, which is never one of them.
    const auto textAt = [this](std::uint32_t i) -> const QString & { return nodes[i].text; };
    WordKeySet<decltype(textAt)> placed(textAt);
    auto place = [&](const QString &text, int level, int parent) {
        placed.insert(text, std::uint32_t(nodes.size()));
        nodes.append({text, level, parent});
        return int(nodes.size() - 1);
    };
    // Places the word unless an equal one was placed before (-1 then).
    auto placeNew = [&](const QString &text, int level, int parent) {
        if (!placed.insert(text, std::uint32_t(nodes.size())))
            return -1;
        nodes.append({text, level, parent});
        return int(nodes.size() - 1);
    };

    // One list a level, emptied for each lookup: it keeps the room it grew to.
    QStringList first;
    QStringList second;
    QStringList third;
    lookUp(word, first);
    for (const QString &w1 : std::as_const(first)) {
        const int n1 = place(w1, 1, 0);
        second.clear();
        lookUp(w1, second);
        for (const QString &w2 : std::as_const(second)) {
            const int n2 = placeNew(w2, 2, n1);
            if (n2 < 0)
                continue;
            third.clear();
            lookUp(w2, third);
            for (const QString &w3 : std::as_const(third))
                placeNew(w3, 3, n2);
        }
    }
}
