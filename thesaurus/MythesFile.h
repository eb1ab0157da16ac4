#pragma once

#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>
#include <vector>


// One thesaurus data pair in the MyThes format (.idx/.dat). The whole pair is
// checked once, when it is opened, so that every lookup reads a well-formed,
// bounded entry; lookups then read the entries straight from the mapped data file,
// without copying a field more often than it takes to make its string.
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

    // Opens and checks the pair. Throws AppError naming the file when it is damaged.
    MythesFile(const QString &idxPath, const QString &datPath);
    ~MythesFile();
    MythesFile(const MythesFile &) = delete;
    MythesFile &operator=(const MythesFile &) = delete;

    // The word's entry; when the word as given has none, its lower-case form's.
    Entry lookup(const QString &word);
    // The same word's synonyms, meaning after meaning, appended to the list;
    // whether the word has an entry.
    bool appendSynonyms(const QString &word, QStringList &synonyms);

    QString encoding() const { return m_encoding; }
    QString datPath() const { return m_datPath; }

    // "city (generic term)" -> synonym "city" with the note "generic term"; the
    // notes of a field tell whether it is an antonym: "antonym" in any file, or
    // one of the markers of the file's language (AntonymMarkers).
    static void addField(QStringView field, Meaning &meaning, const QStringList &antonymMarkers = {});

    // The codec name as the data names it, mapped to one the converters know.
    static QByteArray codecName(QByteArray dataName);

private:
    void check(const QString &idxPath, const QString &datPath);
    struct Headword {
        qsizetype offset; // of its entry in the data file, where the word starts the line
        int length;
    };
    using Iterator = std::vector<Headword>::const_iterator;
    using Range = std::pair<Iterator, Iterator>;
    Range entriesOf(const QString &word);
    Range entriesOfExact(const QString &word);
    QByteArrayView headword(const Headword &h) const;
    template <typename OnLine>
    void forEachMeaningLine(Iterator first, Iterator last, OnLine &&onLine) const;
    QString decoded(QByteArrayView bytes);

    QString m_datPath;
    QString m_encoding;
    QStringList m_antonymMarkers; // besides "antonym", by the language in the file's name
    bool m_utf8 = false;
    class MappedFile;
    std::unique_ptr<MappedFile> m_dat;
    std::vector<Headword> m_index; // sorted by headword
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};
