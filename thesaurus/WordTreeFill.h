#pragma once

#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/WordTree.h"

#include <QList>
#include <QString>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

// Fills a word tree on a thread of its own and hands its nodes over as they are
// placed, so that the word tree window makes its items while the lookups go on.
// The lookup runs on that thread only: whatever it reaches (the thesaurus, its
// files) must not be used anywhere else until finish() has returned.
class WordTreeFill
{
public:
    // Nodes are handed over in batches of at least this many, the last one aside:
    // a wake-up of the taker for every lookup would cost more than it gains.
    static constexpr qsizetype Batch = 256;

    // Starts filling the tree of the word at once.
    WordTreeFill(const QString &word, SynonymExpansion::Lookup lookup);
    // Waits for the thread when finish() was not called.
    ~WordTreeFill();
    WordTreeFill(const WordTreeFill &) = delete;
    WordTreeFill &operator=(const WordTreeFill &) = delete;

    // Waits for nodes not taken yet and appends them, in tree order; false, with
    // nothing appended, once the fill has ended and every node was taken.
    bool take(QList<WordTree::Node> &nodes);

    // Waits for the end of the fill; an error of a lookup is thrown again here,
    // on the caller's thread. The tree is then as far as the fill got.
    void finish();
    // After finish(): the whole tree, its lookups included.
    const WordTree &tree() const { return m_tree; }

private:
    void run(const QString &word, const SynonymExpansion::Lookup &lookup);
    // Moves the nodes placed since the last hand-over to the taker.
    void handOver(qsizetype &handed, bool last);

    WordTree m_tree; // the fill's own until finish()
    std::exception_ptr m_error;

    std::mutex m_mutex;
    std::condition_variable m_placed;
    QList<WordTree::Node> m_ready; // placed, not taken yet
    bool m_done = false;

    std::thread m_thread; // last: it starts once everything above is there
};
