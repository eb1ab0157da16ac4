#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringConverter>
#include <QVarLengthArray>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

class AppError;
class MappedFile;

// The index (.idx) of a MyThes pair: a header (the encoding, the number of
// entries) and a line "headword|offset" for each entry of the data file, in the
// order of the headwords. The file is mapped; opening checks its header and its
// first block of lines, and every other block is checked the first time a search
// reads a line that starts in it. A search goes by halves over the mapped bytes;
// a damaged line fails only the lookup of its own word, and an index out of order
// is searched through a sorted copy of its line positions. An index cut short
// while mapped reads as changed (MappedFile), and every search then fails.
class MythesIndex
{
public:
    // Where the index lines of a headword start, in the index's order; nearly
    // always one, held without an allocation.
    using Lines = QVarLengthArray<qsizetype, 4>;

    // The longest line of the index (and of an entry's first line in the data).
    static constexpr int MaxLineLength = 190;
    // The largest index file read; real ones are a few MiB.
    static constexpr qint64 MaxSize = qint64(256) << 20;
    // The index is checked in blocks of this many bytes, each when a search first
    // reads a line that starts in it.
    static constexpr qsizetype BlockSize = 4096;

    // Maps the index and checks it as above. Headwords are searched in UTF-8, or
    // through the encoder, the data's encoding, when utf8 is false. dataSize tells
    // the data file's size as it is when a block is checked: a line that points
    // past it is damaged. Throws AppError naming the file when it is damaged.
    MythesIndex(const QString &path, bool utf8, QStringEncoder encoder, std::function<qint64()> dataSize);
    ~MythesIndex();
    MythesIndex(const MythesIndex &) = delete;
    MythesIndex &operator=(const MythesIndex &) = delete;

    // The lines of the word's entries; when the word as given has none, of its
    // lower-case form's. Throws AppError when a damaged line may be the word's own.
    Lines linesOf(const QString &word);
    // The lines of the entries of a headword as the file's bytes spell it.
    Lines linesOfKey(QByteArrayView key);
    // The line that starts at a position, without its line break.
    QByteArrayView indexLine(qsizetype start) const
    {
        const QByteArrayView rest = m_bytes.sliced(start);
        const void *newline = rest.isEmpty() ? nullptr : std::memchr(rest.data(), '\n', size_t(rest.size()));
        QByteArrayView line = newline ? rest.first(static_cast<const char *>(newline) - rest.data()) : rest;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }
    // How many bytes to read first for the entry of the line at a position.
    qint64 entrySizeHint(qsizetype indexLineStart, qint64 offset) const;

    // Whether the index was cut short while mapped.
    bool indexChanged() const;
    const QString &path() const { return m_path; }

private:
    Lines linesOfExact(const QString &word);
    Lines linesOfKeyUnsorted(QByteArrayView key);
    void checkIndexBlock(qsizetype block);
    AppError indexError(const QString &what) const;
    void throwIfIndexChanged() const;
    bool isDamagedLine(qsizetype lineStart) const;

    QString m_path;
    bool m_utf8 = false;
    QStringEncoder m_encoder;
    std::function<qint64()> m_dataSize;
    std::unique_ptr<MappedFile> m_map;
    QByteArrayView m_bytes; // the index file, whole, mapped
    qsizetype m_body = 0;   // where its lines of headwords start
    // The index's lines are checked a block at a time, as searches first read them.
    std::vector<bool> m_blockChecked;
    qsizetype m_blocksLeft = 0;
    qint64 m_declaredEntries = 0;
    qint64 m_countedEntries = 0;              // in the checked blocks
    QHash<qsizetype, QString> m_damagedLines; // in the checked blocks: where they start, and what is wrong
    bool m_indexSorted = true;                // as far as the checked blocks tell
    bool m_sortedLinesMade = false;
    std::vector<qsizetype> m_sortedLines; // the lines by headword, when the file has them out of order
};
