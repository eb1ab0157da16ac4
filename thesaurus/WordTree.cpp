#include "thesaurus/WordTree.h"

#include <QSet>

void WordTree::fill(const QString &word, const SynonymExpansion::Lookup &lookup)
{
    nodes = {{word, 0, -1}};
    lookups.clear();
    auto lookUp = [&](const QString &w, QStringList &into) {
        lookups.append(w);
        lookup(w, into);
    };
    QSet<QString> placed;
    auto place = [&](const QString &text, int level, int parent) {
        placed.insert(SynonymExpansion::columnKey(text));
        nodes.append({text, level, parent});
        return int(nodes.size() - 1);
    };
    // Places the word unless an equal one was placed before (-1 then); one key and one hash per word.
    auto placeNew = [&](const QString &text, int level, int parent) {
        const qsizetype before = placed.size();
        placed.insert(SynonymExpansion::columnKey(text));
        if (placed.size() == before)
            return -1;
        nodes.append({text, level, parent});
        return int(nodes.size() - 1);
    };

    QStringList first;
    lookUp(word, first);
    for (const QString &w1 : std::as_const(first)) {
        const int n1 = place(w1, 1, 0);
        QStringList second;
        lookUp(w1, second);
        for (const QString &w2 : std::as_const(second)) {
            const int n2 = placeNew(w2, 2, n1);
            if (n2 < 0)
                continue;
            QStringList third;
            lookUp(w2, third);
            for (const QString &w3 : std::as_const(third))
                placeNew(w3, 3, n2);
        }
    }
}
