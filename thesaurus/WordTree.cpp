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
    auto isPlaced = [&](const QString &text) { return placed.contains(SynonymExpansion::columnKey(text)); };

    QStringList first;
    lookUp(word, first);
    for (const QString &w1 : std::as_const(first)) {
        const int n1 = place(w1, 1, 0);
        QStringList second;
        lookUp(w1, second);
        for (const QString &w2 : std::as_const(second)) {
            if (isPlaced(w2))
                continue;
            const int n2 = place(w2, 2, n1);
            QStringList third;
            lookUp(w2, third);
            for (const QString &w3 : std::as_const(third)) {
                if (!isPlaced(w3))
                    place(w3, 3, n2);
            }
        }
    }
}
