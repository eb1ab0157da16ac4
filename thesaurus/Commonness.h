#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <climits>
#include <memory>
#include <utility>
#include <vector>

// How common a word is, as a rank: a lower rank is a more common word. Ordering a
// column "most common first" sorts by it.
class Commonness
{
public:
    // The rank of a word the source knows nothing of: after every known word.
    static constexpr int Unknown = INT_MAX;

    virtual ~Commonness() = default;
    virtual int rank(const QString &word) const = 0;
};

// English: the level of SCOWL's word lists (Debian's scowl package:
// dict/scowl/english-words.NN, NN from 10, the most common words, to 95, the
// rarest). A word's rank is the lowest level whose list holds it as written or in
// lower case; a term of several words or parts ("bright as a new penny",
// "self-luminous") not listed whole takes its rarest part's level.
class ScowlLevels : public Commonness
{
public:
    // dict/scowl under the data folders (ThesaurusCatalog::dataFolders).
    static QStringList defaultSearchPath();

    // The lists of the first folder that holds any; none when no folder does.
    static std::unique_ptr<ScowlLevels> load(const QStringList &folders = defaultSearchPath());

    int rank(const QString &word) const override;
    qsizetype size() const { return m_count; }
    const QString &folder() const { return m_folder; }

private:
    // The words are kept as 64-bit hashes in an open-addressing table, the level
    // in each slot's low bits: a lookup reads one slot, mostly, where a hash of
    // half a million strings would read three places in memory.
    static constexpr quint64 LevelMask = 0x7F;
    static quint64 keyOf(QStringView word);
    void fill(const std::vector<std::pair<quint64, int>> &words);
    int find(QStringView word) const;
    int levelOf(QStringView word) const;

    QString m_folder;
    std::vector<quint64> m_slots; // 0: empty
    qsizetype m_count = 0;
};

// Any language: how many entries of its thesaurus list the word, each entry
// counted once however often it lists the word. Words that many entries share are
// the everyday ones, so the more entries, the lower the rank; a word no entry
// lists is Unknown. Counting reads the whole data file (a second or so for the
// largest), so the counts are kept in a cache file keyed by the data file's path,
// size and time.
class EntryCounts : public Commonness
{
public:
    // $XDG_CACHE_HOME/verbarium-pro (~/.cache/verbarium-pro without it).
    static QString defaultCacheFolder();

    // Counts the data file's entries. Throws AppError when it cannot be read.
    static std::unique_ptr<EntryCounts> count(const QString &datPath);
    // The cached counts of the data file when the cache matches it; otherwise
    // counts them and writes the cache (a cache that cannot be written is left
    // unwritten: the counts are still answered). Throws AppError as count() does.
    static std::unique_ptr<EntryCounts> cached(const QString &datPath, const QString &cacheFolder = defaultCacheFolder());

    int rank(const QString &word) const override;
    // The number of entries that list the word (as written, else in lower case).
    int entriesListing(const QString &word) const;
    qsizetype size() const { return m_counts.size(); }
    // Whether the last cached() call found its answer in the cache.
    bool fromCache() const { return m_fromCache; }

    // The cache file of a data file in a cache folder.
    static QString cachePath(const QString &datPath, const QString &cacheFolder);

private:
    QHash<QString, int> m_counts;
    bool m_fromCache = false;
};
