#include "thesaurus/WordKeySet.h"

#include <algorithm>

namespace {

bool isAscii(const QString &word)
{
    return std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// FNV-1a over the folded UTF-16 units.
constexpr std::uint64_t FnvOffset = 14695981039346656037ull;
constexpr std::uint64_t FnvPrime = 1099511628211ull;

} // namespace

QString WordKeySet::key(const QString &word)
{
    return word.toCaseFolded();
}

std::uint64_t WordKeySet::hash(const QString &word)
{
    std::uint64_t h = FnvOffset;
    if (isAscii(word)) {
        for (const QChar c : word) {
            char16_t u = c.unicode();
            if (u >= u'A' && u <= u'Z')
                u += u'a' - u'A';
            h = (h ^ u) * FnvPrime;
        }
        return h;
    }
    for (const QChar c : word.toCaseFolded())
        h = (h ^ c.unicode()) * FnvPrime;
    return h;
}

std::size_t WordKeySet::find(const QString &word, std::uint64_t wordHash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::size_t(wordHash) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t at = m_slots[slot];
        if (at == 0)
            return slot;
        const Word &there = m_words[at - 1];
        if (there.hash == wordHash && there.text.compare(word, Qt::CaseInsensitive) == 0)
            return slot;
    }
}

void WordKeySet::reserve(qsizetype words)
{
    m_words.reserve(std::size_t(words));
    std::size_t wanted = 16;
    while (wanted < std::size_t(words) * 2)
        wanted *= 2;
    if (wanted <= m_slots.size())
        return;
    m_slots.assign(wanted, 0);
    const std::size_t mask = wanted - 1;
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        std::size_t slot = std::size_t(m_words[i].hash) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = std::uint32_t(i + 1);
    }
}

bool WordKeySet::insert(const QString &word)
{
    if ((m_words.size() + 1) * 2 > m_slots.size())
        reserve(qsizetype(std::max<std::size_t>(m_words.size() * 2, 8)));
    const std::uint64_t wordHash = hash(word);
    const std::size_t slot = find(word, wordHash);
    if (m_slots[slot] != 0)
        return false;
    m_words.push_back({word, wordHash});
    m_slots[slot] = std::uint32_t(m_words.size());
    return true;
}

bool WordKeySet::contains(const QString &word) const
{
    return !m_slots.empty() && m_slots[find(word, hash(word))] != 0;
}
