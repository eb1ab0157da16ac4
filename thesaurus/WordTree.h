#pragma once

#include "thesaurus/SynonymExpansion.h"

#include <QList>
#include <QString>
#include <QStringList>

// A word's synonym tree three levels deep, as the word tree window shows it.
struct WordTree {
    struct Node {
        QString text;
        int level = 0;   // 0 for the root
        int parent = -1; // index of the parent node, -1 for the root
        bool operator==(const Node &) const = default;
    };
    QList<Node> nodes;   // in tree order: every node after its parent, children in order
    QStringList lookups; // the words looked up, in order

    // Builds the tree of a word into this one, node by node. Level-1 words are all
    // placed, repetitions included; a level-2 or level-3 word is placed only when no
    // word equal to it without regard to letter case was placed before. The root
    // word itself never counts as placed. A failing lookup (AppError) leaves the
    // nodes placed so far.
    void fill(const QString &word, const SynonymExpansion::Lookup &lookup);
};
