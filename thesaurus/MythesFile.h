#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>

class MyThes;

// One thesaurus data pair (.idx/.dat), checked once when it is opened and then
// read through the MyThes library. MyThes trusts its input; the check makes sure
// that every lookup it will ever do reads a well-formed, bounded entry.
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
    // MyThes reads lines of up to this length whole; entries with longer lines
    // (real data has a few) are read here instead.
    static constexpr int MythesLineLength = 16000;
    static constexpr int MaxIndexLineLength = 190;

    // Opens and checks the pair. Throws AppError naming the file when it is damaged.
    MythesFile(const QString &idxPath, const QString &datPath);
    ~MythesFile();
    MythesFile(const MythesFile &) = delete;
    MythesFile &operator=(const MythesFile &) = delete;

    // The word's entry; when the word as given has none, its lower-case form's.
    Entry lookup(const QString &word);

    QString encoding() const { return m_encoding; }
    QString datPath() const { return m_datPath; }

    // "city (generic term)" -> synonym "city" with the note "generic term"; the
    // notes of a field tell whether it is an antonym.
    static void addField(QStringView field, Meaning &meaning);

    // The codec name as the data names it, mapped to one the converters know.
    static QByteArray codecName(QByteArray dataName);

private:
    void check(const QString &idxPath, const QString &datPath);
    bool lookupExact(const QString &word, Entry &entry);
    void readLongEntry(qint64 offset, Entry &entry);
    QString decoded(QByteArrayView bytes);

    QString m_datPath;
    QString m_encoding;
    bool m_utf8 = false;
    std::unique_ptr<MyThes> m_thes;
    QHash<QByteArray, qint64> m_longEntries; // headword -> offset
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};
