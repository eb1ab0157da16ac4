#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A set of words that counts two words as one when they are equal without regard
// to letter case: the membership test of a result column and of the word tree.
// An open-addressing table over the words themselves, hashed by their case-folded
// form: these sets take thousands of words per Generate, most of them new.
class WordKeySet
{
public:
    // Adds the word; false when an equal one is there already.
    bool insert(const QString &word);
    bool contains(const QString &word) const;
    void reserve(qsizetype words);
    qsizetype size() const { return qsizetype(m_words.size()); }

    // The case-folded form two words are compared by.
    static QString key(const QString &word);

private:
    static std::uint64_t hash(const QString &word);
    std::size_t find(const QString &word, std::uint64_t hash) const;

    struct Word {
        QString text;
        std::uint64_t hash;
    };
    std::vector<Word> m_words;
    std::vector<std::uint32_t> m_slots; // index + 1 into m_words; 0 is free
};
