#include "thesaurus/WordTreeFill.h"

#include <utility>

WordTreeFill::WordTreeFill(const QString &word, SynonymExpansion::Lookup lookup)
    : m_thread([this, word, lookup = std::move(lookup)] { run(word, lookup); })
{
}

WordTreeFill::~WordTreeFill()
{
    // The fill never waits for the taker, so this ends.
    if (m_thread.joinable())
        m_thread.join();
}

void WordTreeFill::run(const QString &word, const SynonymExpansion::Lookup &lookup)
{
    qsizetype handed = 0;
    try {
        // Every node placed before a lookup stays as it is: hand them over while
        // the lookup goes on.
        m_tree.fill(word, [&](const QString &w, QStringList &synonyms) {
            if (m_tree.nodes.size() - handed >= Batch)
                handOver(handed, false);
            lookup(w, synonyms);
        });
    } catch (...) {
        m_error = std::current_exception();
    }
    try {
        handOver(handed, true);
    } catch (...) {
        // No memory for the last copy: the taker still learns that the fill is over.
        if (!m_error)
            m_error = std::current_exception();
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_placed.notify_one();
    }
}

void WordTreeFill::handOver(qsizetype &handed, bool last)
{
    // Copied outside the lock: the texts' data is shared, its counts are atomic.
    QList<WordTree::Node> placed = m_tree.nodes.sliced(handed);
    handed = m_tree.nodes.size();
    {
        const std::lock_guard lock(m_mutex);
        m_ready.append(std::move(placed));
        m_done = last;
    }
    m_placed.notify_one();
}

bool WordTreeFill::take(QList<WordTree::Node> &nodes)
{
    std::unique_lock lock(m_mutex);
    m_placed.wait(lock, [this] { return !m_ready.isEmpty() || m_done; });
    if (m_ready.isEmpty())
        return false;
    if (nodes.isEmpty()) {
        nodes.swap(m_ready); // the fill goes on in the taker's emptied list
    } else {
        nodes.append(m_ready);
        m_ready.clear();
    }
    return true;
}

void WordTreeFill::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}
