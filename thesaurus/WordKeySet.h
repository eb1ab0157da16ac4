#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// A set of words that counts two words as one when they are equal without regard
// to letter case: the membership test of a result column and of the word tree.
// It keeps no words of its own, only where its owner keeps them (TextAt maps an
// index to the owner's word), in an open-addressing table hashed by the words'
// case-folded form: these sets take thousands of words per Generate.
template <typename TextAt>
class WordKeySet
{
public:
    explicit WordKeySet(TextAt textAt) : m_textAt(std::move(textAt)) {}

    // Adds the word that the owner is about to keep at index; false (and nothing
    // added) when an equal word is there already.
    bool insert(const QString &word, std::uint32_t index)
    {
        if ((m_hashes.size() + 1) * 2 > m_slots.size())
            reserve(qsizetype(std::max<std::size_t>(m_hashes.size() * 2, 8)));
        const std::uint64_t wordHash = foldedHash(word);
        const std::size_t slot = find(word, wordHash);
        if (m_slots[slot] != Free)
            return false;
        m_slots[slot] = std::uint32_t(m_hashes.size());
        m_hashes.push_back({wordHash, index});
        return true;
    }

    void reserve(qsizetype words)
    {
        m_hashes.reserve(std::size_t(words));
        std::size_t wanted = 16;
        while (wanted < std::size_t(words) * 2)
            wanted *= 2;
        if (wanted <= m_slots.size())
            return;
        m_slots.assign(wanted, Free);
        const std::size_t mask = wanted - 1;
        for (std::size_t i = 0; i < m_hashes.size(); ++i) {
            std::size_t slot = std::size_t(m_hashes[i].hash) & mask;
            while (m_slots[slot] != Free)
                slot = (slot + 1) & mask;
            m_slots[slot] = std::uint32_t(i);
        }
    }

    // FNV-1a over the word's case-folded UTF-16 units: equal for words that the
    // set counts as one.
    static std::uint64_t foldedHash(const QString &word)
    {
        constexpr std::uint64_t Offset = 14695981039346656037ull;
        constexpr std::uint64_t Prime = 1099511628211ull;
        // Plain ASCII is folded on the way; anything else is folded whole first.
        std::uint64_t h = Offset;
        for (const QChar c : word) {
            char16_t u = c.unicode();
            if (u >= 0x80) {
                h = Offset;
                for (const QChar f : word.toCaseFolded())
                    h = (h ^ f.unicode()) * Prime;
                return h;
            }
            if (u >= u'A' && u <= u'Z')
                u += u'a' - u'A';
            h = (h ^ u) * Prime;
        }
        return h;
    }

private:
    static constexpr std::uint32_t Free = UINT32_MAX;

    std::size_t find(const QString &word, std::uint64_t wordHash) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = std::size_t(wordHash) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t at = m_slots[slot];
            if (at == Free)
                return slot;
            const Key &key = m_hashes[at];
            if (key.hash == wordHash) {
                // Most words met again are met in the same letter case: that test is cheap.
                const QString &held = m_textAt(key.index);
                if (held == word || held.compare(word, Qt::CaseInsensitive) == 0)
                    return slot;
            }
        }
    }

    struct Key {
        std::uint64_t hash;
        std::uint32_t index;
    };
    TextAt m_textAt;
    std::vector<Key> m_hashes;
    std::vector<std::uint32_t> m_slots; // into m_hashes
};
