#pragma once

#include "thesaurus/ThesaurusEntry.h"
#include "thesaurus/WordNetReader.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// A word's meanings as a writer reads them: each with its part of speech, its
// words and how each relates to the word, its antonyms apart and, in English,
// WordNet's definition and examples.
namespace WordMeanings {

// How a word of a meaning relates to the looked-up word. The data's own notes
// that are none of these (a register such as "ugs.") are kept as their text.
inline const QString Plain;
inline const QString Similar = QStringLiteral("similar");
inline const QString Related = QStringLiteral("related");
inline const QString Generic = QStringLiteral("generic");

struct Word {
    QString text;
    QString relation; // Plain, Similar, Related, Generic or the data's own note
    bool operator==(const Word &) const = default;
};

struct Meaning {
    QString label;        // as the data gives it: "(adj)", "(Nom)", "-", ""
    QString partOfSpeech; // "noun", "verb", "adj", "adv", or "" when the label names not just one
    // Every part of speech the label names: one, several for "(Adjectif Nom)", or none.
    QStringList partsOfSpeech;
    QList<Word> words;    // in the data's order
    QStringList antonyms; // the data's, then WordNet's, each once
    QString definition;   // WordNet's, for English; empty otherwise
    QStringList examples;

    // The words that are not broader terms, and the broader terms.
    QStringList plainWords() const;
    QStringList broaderTerms() const;
};

struct Answer {
    QString word; // as asked
    QString root; // the word whose entry answered; empty when none did
    QList<Meaning> meanings;
    // What kept definitions away or is worth telling (WordNet damaged, missing
    // in part): the meanings are there all the same.
    QStringList notes;
    bool found() const { return !root.isEmpty(); }
};

// The parts of speech in the order the panel and the lookup tool group them.
const QStringList &partsOfSpeech();

// The part of speech a meaning's label names in a language's data ("en", "fr",
// "it"…): "(adj)" → "adj", "(Nom)" → "noun", "(s.f.)" → "noun". Empty for a label
// that names none, several ("(Adjectif Nom)") or is unknown.
QString partOfSpeechOf(QStringView language, QStringView label);

// Every part of speech a label names: partOfSpeechOf's, or the parts of a label
// made of several labels ("(Adjectif Nom)", "(adxectivo / substantivo)") when
// each names one; none otherwise.
QStringList partsOfSpeechOf(QStringView language, QStringView label);

// Whether a language's data labels its meanings with parts of speech that the
// table above knows.
bool hasPartsOfSpeech(QStringView language);

// The relation a synonym's notes name: "similar term" → Similar, "Oberbegriff" →
// Generic; other notes as they are; none → Plain.
QString relationOf(QStringView notes);

// The meanings of an entry, in its order. A label that names a relation for the
// whole meaning (Russian data: "(сходный термин)", "(антоним)") gives its words
// that relation, or makes them antonyms.
QList<Meaning> fromEntry(const ThesaurusEntry &entry);

// The first-level words of a word's meanings, in order and repetitions kept as
// the flat synonym list has them, but only from meanings of the given parts of
// speech (all when none is given) and, without broader terms, leaving out the
// words marked as broader terms unless the same word also stands plainly in
// another meaning kept. Antonyms are never among them.
QStringList firstTierWords(const QList<Meaning> &meanings, const QStringList &partsOfSpeech, bool broaderTerms);

// The sense that a meaning stands for: among the senses of its part of speech (a
// satellite adjective counts as an adjective), the one sharing the most words with
// the meaning (the sense's own words, and those of the synsets it points to as
// broader or similar), ties going to WordNet's earlier sense; -1 when no sense
// shares a word. The headword itself is no evidence: every sense holds it.
int matchSense(const Meaning &meaning, const QString &headword, const QList<WordNetReader::Sense> &senses);

// Gives each meaning of an English headword its sense's definition and examples,
// and adds the sense's antonyms that the data lacks. Senses are read once per part
// of speech. Throws AppError when WordNet's data is damaged where it is read.
void addDefinitions(QList<Meaning> &meanings, const QString &headword, WordNetReader &wordNet);

// The part of speech as WordNet files it; false for "" and others.
bool wordNetPartOfSpeech(const QString &partOfSpeech, WordNetReader::PartOfSpeech &out);

} // namespace WordMeanings
