#pragma once

#include "thesaurus/LanguageTable.h"
#include "thesaurus/ThesaurusSource.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordMeanings.h"

#include <QObject>
#include <QSet>

#include <memory>

// The thesaurus component of the main window. It starts its source once, when it
// is created; a failed start leaves it inactive for good, silently, and every
// lookup then finds nothing.
class TSpellCheck : public QObject
{
    Q_OBJECT

public:
    enum TSpellCheckReplacement { repDefault, repUser };

    // Without a source the real one over the MyThes data files is used.
    explicit TSpellCheck(QObject *AOwner = nullptr, std::unique_ptr<ThesaurusSource> source = {});
    ~TSpellCheck() override;

    // Clears Synonyms, then appends the synonyms of every meaning in order,
    // repetitions included. Returns the source's found verdict, false when inactive.
    // Errors of the source (AppError) reach the caller; Synonyms then holds what
    // was appended before.
    bool GetSynonyms(QString StrWord, QStringList &Synonyms);

    // The word that answers for a typed word in the current language, and its
    // synonyms (see WordForms). A word with synonyms of its own costs one lookup, as
    // GetSynonyms does; errors of the source reach the caller.
    WordForms::Root ResolveWord(const QString &typed);
    // Word forms along the default search path unless set; created at first use.
    WordForms &wordForms();
    void setWordForms(std::unique_ptr<WordForms> wordForms) { m_wordForms = std::move(wordForms); }

    // The meanings of a typed word in the current language, through the same root
    // as ResolveWord; English meanings get WordNet's definitions. Errors of the
    // thesaurus (AppError) reach the caller; damaged WordNet data leaves the
    // meanings without definitions and is told in the answer's notes. When the word
    // had to be resolved, `resolved` (if given) gets that resolution: on a miss, its
    // spelling suggestions.
    WordMeanings::Answer Meanings(const QString &typed, WordForms::Root *resolved = nullptr);
    // WordNet along its default search path unless set; opened at first use.
    WordNetReader &wordNet();
    void setWordNet(std::unique_ptr<WordNetReader> wordNet) { m_wordNet = std::move(wordNet); }

    bool Active() const { return FActive; }
    TSpellCheckLanguage Language() const { return FLanguage; }
    void setLanguage(TSpellCheckLanguage language) { FLanguage = language; }

    ThesaurusSource *source() const { return m_source.get(); }

    // Settable properties that the thesaurus itself never reads.
    bool CompletedMessage = true;
    std::int32_t Color = -16777211; // the system window colour, in the TColor encoding
    TSpellCheckReplacement ReplaceDialog = repDefault;
    QSet<char> LetterChars;

private:
    std::unique_ptr<ThesaurusSource> m_source;
    std::unique_ptr<WordForms> m_wordForms;
    std::unique_ptr<WordNetReader> m_wordNet;
    WordMeanings::Answer meaningsOfRoot(const QString &typed, const QString &root);
    bool FActive = false;
    TSpellCheckLanguage FLanguage = wdEnglishUS;
};
