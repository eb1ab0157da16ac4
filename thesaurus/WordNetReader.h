#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class AppError;
class MappedFile;

// WordNet 3.0's synsets as Debian's wordnet-base installs them: for each part of
// speech an index (index.noun, …), one sorted line per lemma naming its synsets'
// byte offsets, and a data file (data.noun, …), one line per synset at that
// offset. Every file is mapped, not read: an index is searched by halves over its
// bytes and a data line is read and checked where the index points. A damaged
// line fails only the lookups that read it (AppError naming the file); an index
// out of order is searched through a sorted copy of its lines, and notes() says
// so; a part of speech whose files are missing answers nothing while the others
// answer.
class WordNetReader
{
public:
    enum class PartOfSpeech { Noun, Verb, Adjective, Adverb };

    // A word of another synset that a pointer leads to.
    struct Antonym {
        QString word;    // the word of the sense's synset the pointer starts from
        QString antonym; // the word it leads to
        qint64 offset = 0;
        PartOfSpeech partOfSpeech = PartOfSpeech::Noun;
    };
    // A synset a pointer leads to: a hypernym (@, and @i for an instance), or a
    // similar synset.
    struct LinkedSynset {
        QStringList words;
        qint64 offset = 0;
        bool instance = false;
    };
    struct Sense {
        qint64 offset = 0;
        PartOfSpeech partOfSpeech = PartOfSpeech::Noun;
        bool satellite = false; // an adjective satellite (s), still an adjective
        QStringList words;      // blanks for '_', adjective markers such as (p) dropped
        QString definition;
        QStringList examples; // the gloss's quoted examples, without their quotes
        QList<Antonym> antonyms;
        QList<LinkedSynset> broaderTerms;
        // Synsets it is similar to (&, between adjectives) or that it names to see
        // also (^).
        QList<LinkedSynset> similarTerms;
    };

    // The longest data line read (real ones reach 13,000 bytes) and index line.
    static constexpr qsizetype MaxDataLineLength = 65536;
    static constexpr qsizetype MaxIndexLineLength = 4096;
    // The largest file mapped; the real ones are at most 15 MB.
    static constexpr qint64 MaxSize = qint64(256) << 20;
    // The index is checked for order in blocks of this many bytes, each when a
    // search first reads a line in it.
    static constexpr qsizetype BlockSize = 4096;

    // wordnet/ under the data folders: $XDG_DATA_HOME/verbarium-pro, every folder of
    // $XDG_DATA_DIRS, beside the executable, then /usr/local/share and /usr/share.
    static QStringList defaultSearchPath();
    // The first folder of the path holding any of WordNet's index or data files.
    // Nothing is read but the files' sizes; files that cannot be opened leave their
    // part of speech absent and are named in notes().
    explicit WordNetReader(const QStringList &searchPath = defaultSearchPath());
    ~WordNetReader();
    WordNetReader(const WordNetReader &) = delete;
    WordNetReader &operator=(const WordNetReader &) = delete;

    // Whether any part of speech can answer.
    bool isPresent() const;
    bool hasPartOfSpeech(PartOfSpeech partOfSpeech) const;
    // The folder the files were found in; empty when absent.
    const QString &folder() const { return m_folder; }

    // The senses of a word in WordNet's order; none when WordNet or the part of
    // speech is absent or the word is not in it. The word is looked up in lower
    // case with '_' for blanks ("Ice cream" → ice_cream). Throws AppError naming
    // the file when a line the lookup reads is damaged.
    QList<Sense> senses(const QString &word, PartOfSpeech partOfSpeech);
    // Whether the word is a lemma of the part of speech's index, looked up as
    // senses() looks it up; no synset is read. Throws AppError as senses() does
    // when the lemma's index line is damaged.
    bool contains(const QString &word, PartOfSpeech partOfSpeech);

    // What the reader met that is worth telling but answers anyway (a missing or
    // unreadable file, an index out of order), each told once; the list is emptied.
    QStringList takeNotes();

    static QString suffix(PartOfSpeech partOfSpeech);

private:
    struct Files;
    struct Synset;
    Synset readSynset(PartOfSpeech partOfSpeech, qint64 offset);
    QList<qint64> offsetsOf(Files &files, PartOfSpeech partOfSpeech, const QByteArray &key);

    QString m_folder;
    std::array<std::unique_ptr<Files>, 4> m_files;
    QStringList m_notes;
};
