#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A word's entry in a thesaurus, meaning by meaning, as the data gives it.
struct ThesaurusEntry {
    struct Meaning {
        // The meaning line's first field as the data writes it: "(adj)", "(Nom)",
        // "-", or empty.
        QString label;
        QStringList synonyms;
        // The notes after each synonym, one string per synonym (same index), the
        // parentheses taken off and several notes joined by "; ": "similar term",
        // "ugs.; veraltet", or empty.
        QStringList notes;
        QStringList antonyms; // fields noted as antonyms, kept apart
    };
    bool found = false;
    QList<Meaning> meanings;
    // The language code of the data file that answered ("en", "de"); empty when
    // its name does not tell.
    QString language;
};
