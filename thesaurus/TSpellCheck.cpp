#include "thesaurus/TSpellCheck.h"

#include "common/AppError.h"
#include "thesaurus/MythesSource.h"

#include <algorithm>

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

WordNetReader &TSpellCheck::wordNet()
{
    if (!m_wordNet)
        m_wordNet = std::make_unique<WordNetReader>();
    return *m_wordNet;
}

namespace {

// Whether a word's entry gives it synonyms, as a lookup that answers for it does
// (antonyms alone give none).
bool hasSynonyms(const ThesaurusEntry &entry)
{
    return entry.found
           && std::any_of(entry.meanings.cbegin(), entry.meanings.cend(),
                          [](const ThesaurusEntry::Meaning &meaning) { return !meaning.synonyms.isEmpty(); });
}

// The answer of a root's entry; English meanings get WordNet's definitions.
WordMeanings::Answer answerOf(const QString &typed, const QString &root, const ThesaurusEntry &entry, WordNetReader &wordNet)
{
    WordMeanings::Answer answer{typed, {}, {}, {}};
    if (!entry.found || entry.meanings.isEmpty())
        return answer;
    answer.root = root;
    answer.meanings = WordMeanings::fromEntry(entry);
    // WordNet defines English words only; another language's meanings go without.
    if (entry.language != u"en")
        return answer;
    try {
        WordMeanings::addDefinitions(answer.meanings, root, wordNet);
    } catch (const AppError &error) {
        // A WordNet line found damaged halfway leaves the meanings as the thesaurus
        // gave them, not half defined.
        answer.meanings = WordMeanings::fromEntry(entry);
        answer.notes.append(error.message());
    }
    answer.notes += wordNet.takeNotes();
    return answer;
}

} // namespace

WordMeanings::Answer TSpellCheck::Meanings(const QString &typed, WordForms::Root *resolved)
{
    if (!FActive)
        return {typed, {}, {}, {}};
    // A word with synonyms of its own is its own root, as ResolveWord's first step
    // finds: its entry is read once, not once for the root and again for the meanings.
    const ThesaurusEntry entry = m_source->entry(typed, LanguageTable::identifier(FLanguage));
    if (hasSynonyms(entry))
        return answerOf(typed, typed, entry, wordNet());
    WordForms::Root root = ResolveWord(typed);
    WordMeanings::Answer answer = meaningsOfRoot(typed, root.root);
    if (resolved)
        *resolved = std::move(root);
    return answer;
}

WordMeanings::Answer TSpellCheck::meaningsOfRoot(const QString &typed, const QString &root)
{
    if (root.isEmpty())
        return {typed, {}, {}, {}};
    return answerOf(typed, root, m_source->entry(root, LanguageTable::identifier(FLanguage)), wordNet());
}
