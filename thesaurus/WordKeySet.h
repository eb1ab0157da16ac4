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
        if ((m_count + 1) * 2 > m_slots.size())
            reserve(qsizetype(std::max<std::size_t>(m_count * 2, 8)));
        const std::uint32_t wordHash = std::uint32_t(foldedHash(word));
        const std::size_t slot = find(word, wordHash);
        if (m_slots[slot] != Free)
            return false;
        m_slots[slot] = slotValue(wordHash, index);
        ++m_count;
        return true;
    }

    void reserve(qsizetype words)
    {
        std::size_t wanted = 16;
        while (wanted < std::size_t(words) * 2)
            wanted *= 2;
        if (wanted <= m_slots.size())
            return;
        std::vector<std::uint64_t> old(wanted, Free);
        old.swap(m_slots);
        const std::size_t mask = wanted - 1;
        for (const std::uint64_t value : old) {
            if (value == Free)
                continue;
            std::size_t slot = std::size_t(value >> 32) & mask;
            while (m_slots[slot] != Free)
                slot = (slot + 1) & mask;
            m_slots[slot] = value;
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
    // A slot holds the low half of its word's hash above the owner's index plus
    // one: a look-up reads the slot alone until the hash halves match, and only
    // then the owner's word. 0 is a free slot.
    static constexpr std::uint64_t Free = 0;
    static std::uint64_t slotValue(std::uint32_t hash, std::uint32_t index)
    {
        return std::uint64_t(hash) << 32 | (std::uint64_t(index) + 1);
    }

    std::size_t find(const QString &word, std::uint32_t wordHash) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = std::size_t(wordHash) & mask;; slot = (slot + 1) & mask) {
            const std::uint64_t value = m_slots[slot];
            if (value == Free)
                return slot;
            if (std::uint32_t(value >> 32) == wordHash) {
                // Most words met again are met in the same letter case: that test is cheap.
                const QString &held = m_textAt(std::uint32_t(value) - 1);
                if (held == word || held.compare(word, Qt::CaseInsensitive) == 0)
                    return slot;
            }
        }
    }

    TextAt m_textAt;
    std::size_t m_count = 0;
    std::vector<std::uint64_t> m_slots;
};
