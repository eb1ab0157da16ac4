#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVarLengthArray>

#include <memory>
#include <vector>

class AppError;
class MappedFile;

// One thesaurus data pair in the MyThes format (.idx/.dat). Opening maps the index
// and checks its header; its lines are checked a block at a time, the first time a
// search reads one (the open checks the first block, which is the whole of a small
// index). A lookup searches the index by halves and reads just the entries it names
// from the data file, checking every line, count and field as it reads them: damage
// fails the lookups that meet it, with a message naming the file, and every healthy
// entry still answers. The data file is read with positioned reads, not mapped, so a
// file cut short while open reads as a damaged entry; the index, cut short while
// mapped, reads as changed (MappedFile).
class MythesFile
{
public:
    struct Meaning {
        QStringList synonyms;
        QStringList antonyms; // fields noted as antonyms, kept apart
    };
    struct Entry {
        bool found = false;
        QList<Meaning> meanings;
    };

    // The most meanings one entry may claim and the longest line it may have: what
    // one lookup reads is bounded by these.
    static constexpr int MaxMeanings = 10000;
    static constexpr int MaxLineLength = 1 << 20;
    static constexpr int MaxIndexLineLength = 190;
    // The longest line the MyThes library reads whole; real data has longer ones
    // (two in the Polish file), which this reader takes whole as well.
    static constexpr int MythesLineLength = 16000;

    // The longest encoding name that the first line of a data file may hold.
    static constexpr int MaxEncodingLength = 64;
    // The largest index file read; real ones are a few MiB.
    static constexpr qint64 MaxIndexSize = qint64(256) << 20;
    // The index is checked in blocks of this many bytes, each when a search first
    // reads a line that starts in it.
    static constexpr qsizetype IndexBlockSize = 4096;

    // Opens the pair and checks its index. Throws AppError naming the file when it
    // is damaged; damage in the data file's entries is met by the lookups.
    MythesFile(const QString &idxPath, const QString &datPath);
    ~MythesFile();
    MythesFile(const MythesFile &) = delete;
    MythesFile &operator=(const MythesFile &) = delete;

    // The word's entry; when the word as given has none, its lower-case form's.
    // Throws AppError naming the file when that entry is damaged.
    Entry lookup(const QString &word);
    // The same word's synonyms, meaning after meaning, appended to the list;
    // whether the word has an entry.
    bool appendSynonyms(const QString &word, QStringList &synonyms);

    // Whether the index was cut short while mapped: every lookup fails then, and
    // only opening the files again reads them as they are now.
    bool indexChanged() const;

    QString encoding() const { return m_encoding; }
    QString datPath() const { return m_datPath; }

    // "city (generic term)" -> synonym "city" with the note "generic term"; the
    // notes of a field tell whether it is an antonym: "antonym" in any file, or
    // one of the markers of the file's language (AntonymMarkers).
    static void addField(QStringView field, Meaning &meaning, const QStringList &antonymMarkers = {});

    // The codec name as the data names it, mapped to one the converters know.
    static QByteArray codecName(QByteArray dataName);

private:
    // Where the index lines of a headword start, in the index's order; nearly
    // always one, held without an allocation.
    using IndexLines = QVarLengthArray<qsizetype, 4>;

    void openData();
    void openIndex(const QString &idxPath);
    void checkIndexBlock(qsizetype block);
    AppError indexError(const QString &what) const;
    void throwIfIndexChanged() const;
    IndexLines linesOf(const QString &word);
    IndexLines linesOfExact(const QString &word);
    IndexLines linesOfKey(QByteArrayView key);
    IndexLines linesOfKeyUnsorted(QByteArrayView key);
    bool isDamagedLine(qsizetype lineStart) const;
    QByteArrayView indexLine(qsizetype start) const;
    qint64 entrySizeHint(qsizetype indexLineStart, qint64 offset) const;
    template <typename OnLine>
    void forEachMeaningLine(const IndexLines &lines, OnLine &&onLine);
    // A field of a meaning line, its notes taken off, appended to the synonyms or,
    // when a note names an antonym, to the antonyms (left out without a list).
    // asciiLine: the data is UTF-8 and the field's line all ASCII.
    void addDataField(QByteArrayView field, QStringList &synonyms, QStringList *antonyms, bool asciiLine);
    QString decoded(QByteArrayView bytes);

    QString m_idxPath;
    QString m_datPath;
    QString m_encoding;
    QStringList m_antonymMarkers; // besides "antonym", by the language in the file's name
    bool m_utf8 = false;
    class DataFile;
    class DataLines;
    std::unique_ptr<DataFile> m_dat;
    qsizetype m_firstEntry = 0; // the data's first byte after its encoding line
    QByteArray m_readBuffer;    // the entries' bytes as a lookup reads them
    std::unique_ptr<MappedFile> m_indexMap;
    QByteArrayView m_index; // the index file, whole, mapped
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
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
    // The last note of a UTF-8 field, from its '(' on, and whether it names an
    // antonym: the fields of a meaning mostly carry the same note.
    QByteArray m_lastNote;
    bool m_lastNoteNamesAntonym = false;
};
