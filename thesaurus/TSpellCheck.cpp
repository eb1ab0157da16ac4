#include "thesaurus/TSpellCheck.h"

#include "common/AppError.h"
#include "thesaurus/MythesSource.h"

TSpellCheck::TSpellCheck(QObject *AOwner, std::unique_ptr<ThesaurusSource> source)
    : QObject(AOwner), m_source(source ? std::move(source) : std::make_unique<MythesSource>())
{
    for (char c = 'A'; c <= 'Z'; ++c)
        LetterChars.insert(c);
    for (char c = 'a'; c <= 'z'; ++c)
        LetterChars.insert(c);
    try {
        FActive = true;
        m_source->start();
    } catch (const std::exception &) {
        FActive = false; // no thesaurus: every lookup stays empty
    }
}

TSpellCheck::~TSpellCheck()
{
    if (!FActive)
        return;
    try {
        m_source->quit();
    } catch (const std::exception &) {
        // Nothing sensible is left to do with a source that fails while shutting down.
    }
}

bool TSpellCheck::GetSynonyms(QString StrWord, QStringList &Synonyms)
{
    Synonyms.clear();
    if (!FActive)
        return false;
    return m_source->appendSynonyms(StrWord, LanguageTable::identifier(FLanguage), Synonyms);
}

WordForms &TSpellCheck::wordForms()
{
    if (!m_wordForms)
        m_wordForms = std::make_unique<WordForms>();
    return *m_wordForms;
}

WordForms::Root TSpellCheck::ResolveWord(const QString &typed)
{
    if (!FActive)
        return {typed, {}, {}, {}, 0, typed.size()}; // nothing to find, nothing to suggest
    return wordForms().resolve(typed, LanguageTable::identifier(FLanguage),
                               [this](const QString &word, QStringList &synonyms) { GetSynonyms(word, synonyms); });
}
