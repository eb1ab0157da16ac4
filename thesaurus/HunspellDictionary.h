#pragma once

#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class Hunspell;

// One Hunspell dictionary (.aff/.dic pair), spoken to in QStrings: the words are
// converted to and from the dictionary's own encoding.
class HunspellDictionary
{
public:
    // One way Hunspell reads a word.
    struct Analysis {
        QStringList stems;     // the roots it names ("st:")
        bool prefixed = false; // something stands before the root: a prefix or an elision
        QString compoundLast;  // the last part of a compound ("pa:"), empty for none
    };

    // Checks and loads the pair; throws AppError with the reason when it cannot be used.
    HunspellDictionary(const QString &affPath, const QString &dicPath);
    ~HunspellDictionary();
    HunspellDictionary(const HunspellDictionary &) = delete;
    HunspellDictionary &operator=(const HunspellDictionary &) = delete;

    // What Hunspell's spell check says of a word: cheap next to a full analysis.
    struct Check {
        bool correct = false;
        bool compound = false; // accepted as a compound; root is then its first part
        QString root;          // the root of the first reading found; empty when the word is its own
    };

    bool spell(const QString &word) const;
    Check check(const QString &word) const;
    QList<Analysis> analyze(const QString &word) const;
    QStringList suggest(const QString &word) const;
    // Every stem Hunspell names for the word, of every reading, prefixes and all.
    QStringList stems(const QString &word) const;
    // Whether the affix file joins words into compounds freely, as German does.
    bool compounds() const { return m_compounds; }
    QString dicPath() const { return m_dicPath; }

    // Reads one analysis line of Hunspell (" fl:A st:quire fl:S").
    static Analysis parseAnalysis(const QString &line);

private:
    std::string encode(const QString &word) const;
    // The decoded answer of one of Hunspell's word-list calls.
    QStringList decodedList(const QString &word, std::vector<std::string> (Hunspell::*call)(const std::string &)) const;
    QString decode(const std::string &text) const;

    std::unique_ptr<Hunspell> m_hunspell;
    QString m_dicPath;
    QByteArray m_encoding;
    bool m_utf8 = false; // most dictionaries: no converter needed
    mutable QStringEncoder m_encoder;
    mutable QStringDecoder m_decoder;
    bool m_compounds = false;
};
