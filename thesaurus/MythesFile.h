#pragma once

#include "thesaurus/MythesIndex.h"
#include "thesaurus/ThesaurusEntry.h"

#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>
#include <optional>

// One thesaurus data pair in the MyThes format (.idx/.dat). Opening reads the data
// file's encoding and opens its index (MythesIndex), which checks its lines a block
// at a time. A lookup finds the word's lines in the index and reads just the
// entries they name from the data file, checking every line, count and field as it
// reads them: damage fails the lookups that meet it, with a message naming the
// file, and every healthy entry still answers. The data file is read with
// positioned reads, not mapped, so a file cut short while open reads as a damaged
// entry; the index, cut short while mapped, reads as changed (MappedFile).
class MythesFile
{
public:
    using Meaning = ThesaurusEntry::Meaning;
    using Entry = ThesaurusEntry;

    // The most meanings one entry may claim and the longest line it may have: what
    // one lookup reads is bounded by these.
    static constexpr int MaxMeanings = 10000;
    static constexpr int MaxLineLength = 1 << 20;
    static constexpr int MaxIndexLineLength = MythesIndex::MaxLineLength;
    // The longest line the MyThes library reads whole; real data has longer ones
    // (two in the Polish file), which this reader takes whole as well.
    static constexpr int MythesLineLength = 16000;

    // The longest encoding name that the first line of a data file may hold.
    static constexpr int MaxEncodingLength = 64;
    // The index's limits (MythesIndex), named here too for the callers that size data by them.
    static constexpr qint64 MaxIndexSize = MythesIndex::MaxSize;
    static constexpr qsizetype IndexBlockSize = MythesIndex::BlockSize;

    // Opens the pair and checks its index. Throws AppError naming the file when it
    // is damaged; damage in the data file's entries is met by the lookups.
    MythesFile(const QString &idxPath, const QString &datPath);
    ~MythesFile();
    MythesFile(const MythesFile &) = delete;
    MythesFile &operator=(const MythesFile &) = delete;

    // The word's entry; when the word as given has none, its lower-case form's.
    // Each meaning keeps its label and each synonym its notes. Throws AppError
    // naming the file when that entry is damaged.
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
    using IndexLines = MythesIndex::Lines;

    // Opens the data file and reads its encoding; returns the encoder of its
    // headwords (none for UTF-8), which the index searches with.
    QStringEncoder openData();
    template <typename OnLine>
    void forEachMeaningLine(const IndexLines &lines, OnLine &&onLine);
    // A field of a meaning line, its notes taken off, appended to the synonyms
    // unless a note names it an antonym (the flat lists hold no antonyms).
    // asciiLine: the data is UTF-8 and the field's line all ASCII.
    void addDataSynonym(QByteArrayView field, QStringList &synonyms, bool asciiLine);
    QString decoded(QByteArrayView bytes);

    QString m_datPath;
    QString m_encoding;
    QString m_language;           // by the data file's name: "en", "de"
    QStringList m_antonymMarkers; // besides "antonym", by the language in the file's name
    bool m_utf8 = false;
    class DataFile;
    class DataLines;
    std::unique_ptr<DataFile> m_dat;
    qsizetype m_firstEntry = 0; // the data's first byte after its encoding line
    QByteArray m_readBuffer;    // the entries' bytes as a lookup reads them
    QStringDecoder m_decoder;
    // The last note of a UTF-8 field, from its '(' on, and whether it names an
    // antonym: the fields of a meaning mostly carry the same note.
    QByteArray m_lastNote;
    bool m_lastNoteNamesAntonym = false;
    // Opened once the data file is, whose size and encoding it needs.
    std::optional<MythesIndex> m_index;
};
