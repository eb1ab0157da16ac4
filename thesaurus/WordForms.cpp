#include "thesaurus/WordForms.h"

#include "common/AppError.h"
#include "thesaurus/HunspellCatalog.h"
#include "thesaurus/HunspellDictionary.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/WordNetExceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A letter without case or accents: "Ä" and "a" agree.
QChar baseLetter(QChar letter)
{
    if (letter.unicode() < 0x80)
        return letter.toCaseFolded();
    const QString decomposed = letter.decomposition();
    return (decomposed.isEmpty() ? letter : decomposed.at(0)).toCaseFolded();
}

// Whether the stem begins as the word does, for its first letters or as many as
// it has, without case or accents: "Häuser" and "haus" keep the beginning, and for
// three letters "Häuser" and "Haus" do too, "rerun" and "run" do not.
bool keepsBeginning(const QString &word, const QString &stem, qsizetype letters = 1)
{
    const qsizetype needed = std::min({letters, word.size(), stem.size()});
    if (needed == 0)
        return false;
    for (qsizetype i = 0; i < needed; ++i) {
        if (baseLetter(word.at(i)) != baseLetter(stem.at(i)))
            return false;
    }
    return true;
}

// "requires" read as re- + "quire": the prefix is what stands before the stem's
// start in the word, and goes back on the stem ("require").
QString withPrefixBack(const QString &word, const QString &stem)
{
    const QString start = stem.left(std::min<qsizetype>(3, stem.size()));
    for (qsizetype p = 1; p + start.size() <= word.size(); ++p) {
        if (QStringView(word).mid(p, start.size()).compare(start, Qt::CaseInsensitive) == 0)
            return word.left(p) + stem;
    }
    return {};
}

// A part that Hunspell gives in lower case takes the typed word's capital.
QString inCaseOf(const QString &word, QString part)
{
    if (!word.isEmpty() && !part.isEmpty() && word.at(0).isUpper())
        part[0] = part.at(0).toUpper();
    return part;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool elides(const QString &language)
{
    return language == u"fr" || language == u"it" || language == u"ca";
}

// The words tried for one typed word: each is looked up once, and the first with
// synonyms becomes the answer.
class Attempts
{
public:
    Attempts(WordForms::Root &result, const SynonymExpansion::Lookup &exact) : m_result(result), m_exact(exact)
    {
        m_tried.insert(result.typed);
    }

    bool answers(const QString &word)
    {
        if (word.isEmpty() || m_tried.contains(word))
            return false;
        m_tried.insert(word);
        QStringList synonyms;
        m_exact(word, synonyms);
        if (synonyms.isEmpty())
            return false;
        m_result.root = word;
        m_result.synonyms = std::move(synonyms);
        return true;
    }

    // A stem that keeps the first three letters of the word, or failing that the
    // stem with the word's prefix put back ("requires" read as re- + "quire" gives
    // "require").
    bool stemAnswers(const QString &word, const QString &stem)
    {
        if (keepsBeginning(word, stem, 3) && answers(stem))
            return true;
        const QString whole = withPrefixBack(word, stem);
        return keepsBeginning(word, whole, 3) && answers(whole);
    }

    // A compound's last part answers for it, itself or its stem ("Konfigurationsdateien" -> "Datei").
    // A stem that Hunspell gives in lower case is tried first in the part's case, as typed.
    bool lastPartAnswers(const HunspellDictionary &dictionary, const QString &part)
    {
        if (answers(part))
            return true;
        for (const HunspellDictionary::Analysis &analysis : dictionary.analyze(part)) {
            for (const QString &stem : analysis.stems) {
                if (!analysis.prefixed && keepsBeginning(part, stem) && (answers(inCaseOf(part, stem)) || answers(stem)))
                    return true;
            }
        }
        return false;
    }

private:
    WordForms::Root &m_result;
    const SynonymExpansion::Lookup &m_exact;
    QSet<QString> m_tried;
};

// Hunspell's spell check names the root of the first reading it finds, at a small
// part of the cost of a full analysis; most inflections end here. For a compound it
// names the first part, and what follows that part is the compound's last part, or
// a compound of its own.
bool spellingAnswers(Attempts &attempts, const HunspellDictionary &dictionary, QString word)
{
    constexpr int MaxParts = 4;
    for (int part = 0; part < MaxParts; ++part) {
        const HunspellDictionary::Check check = dictionary.check(word);
        if (!check.correct || check.root.isEmpty() || check.root == word)
            return false;
        if (!check.compound)
            return part == 0 ? attempts.stemAnswers(word, check.root) : false;
        if (!word.startsWith(check.root, Qt::CaseInsensitive) || word.size() - check.root.size() < 2)
            return false;
        word = inCaseOf(word, word.sliced(check.root.size()));
        if (attempts.lastPartAnswers(dictionary, word))
            return true;
    }
    return false;
}

// Hunspell's full analysis: every reading of the word, with its prefixes and parts.
bool analysisAnswers(Attempts &attempts, const HunspellDictionary &dictionary, const QString &core)
{
    const QList<HunspellDictionary::Analysis> analyses = dictionary.analyze(core);
    // Stems that keep the word's beginning, from readings without a prefix first:
    // "programs" answers with "program", never "gram".
    for (const HunspellDictionary::Analysis &analysis : analyses) {
        if (analysis.prefixed)
            continue;
        for (const QString &stem : analysis.stems) {
            if (keepsBeginning(core, stem) && attempts.answers(stem))
                return true;
        }
    }
    // An irregular form read without a prefix names a root of another beginning
    // ("sont" -> "être"): taken after every root that keeps the beginning.
    for (const HunspellDictionary::Analysis &analysis : analyses) {
        if (analysis.prefixed)
            continue;
        for (const QString &stem : analysis.stems) {
            if (attempts.answers(stem))
                return true;
        }
    }
    // Only a reading with a prefix: its stem with the prefix back ("requires" gives
    // "require", never "quire").
    for (const HunspellDictionary::Analysis &analysis : analyses) {
        if (!analysis.prefixed)
            continue;
        for (const QString &stem : analysis.stems) {
            const QString whole = keepsBeginning(core, stem) ? stem : withPrefixBack(core, stem);
            if (keepsBeginning(core, whole) && attempts.answers(whole))
                return true;
        }
    }

    // A compound answers by its last part.
    bool compoundRead = false;
    for (const HunspellDictionary::Analysis &analysis : analyses) {
        if (analysis.compoundLast.isEmpty())
            continue;
        compoundRead = true;
        if (attempts.lastPartAnswers(dictionary, inCaseOf(core, analysis.compoundLast)))
            return true;
    }
    if (!compoundRead && dictionary.compounds() && dictionary.spell(core)) {
        // Hunspell accepts the compound without naming its parts: the longest tail it
        // accepts, and whose word has synonyms, is the last part.
        constexpr qsizetype MinPart = 3;
        for (qsizetype i = MinPart; i + MinPart <= core.size(); ++i) {
            const QString tail = inCaseOf(core, core.mid(i));
            if (dictionary.spell(tail) && attempts.lastPartAnswers(dictionary, tail))
                return true;
        }
    }
    return false;
}

} // namespace

QString WordForms::Root::withCore(const QString &replacement) const
{
    return typed.left(coreStart) + replacement + typed.mid(coreStart + coreLength);
}

QStringList WordForms::defaultSearchPath()
{
    QStringList path = ThesaurusCatalog::defaultSearchPath();
    const QString fromEnvironment = qEnvironmentVariable("VERBARIUM_DICTIONARY_PATH");
    if (qEnvironmentVariableIsSet("VERBARIUM_DICTIONARY_PATH"))
        path += fromEnvironment.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    else
        path += ThesaurusCatalog::defaultHunspellSearchPath() + QStringList{QStringLiteral("/usr/share/wordnet")};
    path.removeDuplicates();
    return path;
}

WordForms::WordForms(const QStringList &searchPath) : m_searchPath(searchPath) {}

WordForms::~WordForms() = default;

QStringList WordForms::takeNotes()
{
    return std::exchange(m_notes, {});
}

QString WordForms::dictionaryPath(std::int32_t languageId)
{
    if (!m_catalog)
        m_catalog = std::make_unique<HunspellCatalog>(m_searchPath);
    const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(languageId);
    return m_catalog->find(info.locale, info.language, info.preferredLocale).dicPath;
}

bool WordForms::isLoaded(std::int32_t languageId) const
{
    const auto it = m_byLanguage.find(languageId);
    return it != m_byLanguage.end() && it->second;
}

HunspellDictionary *WordForms::dictionaryFor(std::int32_t languageId)
{
    if (const auto it = m_byLanguage.find(languageId); it != m_byLanguage.end())
        return it->second;
    if (!m_catalog)
        m_catalog = std::make_unique<HunspellCatalog>(m_searchPath);
    const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(languageId);
    const HunspellCatalog::Files files = m_catalog->find(info.locale, info.language, info.preferredLocale);
    HunspellDictionary *dictionary = nullptr;
    if (files.isValid()) {
        std::shared_ptr<HunspellDictionary> &open = m_open[files.dicPath];
        if (!open && !m_unusable.contains(files.dicPath)) {
            try {
                open = std::make_shared<HunspellDictionary>(files.affPath, files.dicPath);
            } catch (const AppError &error) {
                m_unusable.insert(files.dicPath);
                // Told once; the language goes on without word forms.
                m_notes.append(
                    QStringLiteral("The spelling dictionary %1 cannot be used: %2. Words are looked up only as typed.")
                        .arg(QDir::toNativeSeparators(files.dicPath), error.message()));
            }
        }
        dictionary = open.get();
    }
    m_byLanguage.emplace(languageId, dictionary);
    return dictionary;
}

const WordNetExceptions &WordForms::wordNet()
{
    if (!m_wordNet)
        m_wordNet = std::make_unique<WordNetExceptions>(WordNetExceptions::load(m_searchPath));
    return *m_wordNet;
}

WordForms::Root WordForms::resolve(const QString &typed, std::int32_t languageId, const SynonymExpansion::Lookup &exact)
{
    Root result{typed, {}, {}, {}, 0, typed.size()};
    // The hit path: nothing but the lookup of today, the empty word's included.
    exact(typed, result.synonyms);
    if (!result.synonyms.isEmpty()) {
        result.root = typed;
        return result;
    }
    Attempts attempts(result, exact);

    // Punctuation around the word, as a pasted sentence brings it: "bright,", "«maison»".
    qsizetype start = 0;
    qsizetype end = typed.size();
    while (start < end && !isWordChar(typed.at(start)))
        ++start;
    while (end > start && !isWordChar(typed.at(end - 1)))
        --end;
    result.coreStart = start;
    result.coreLength = end - start;
    QString core = result.core();
    if (core.isEmpty() || attempts.answers(core))
        return result;
    // An abbreviation keeps its full stop ("Univ.", "etc.").
    if (end < typed.size() && typed.at(end) == QLatin1Char('.') && attempts.answers(core + QLatin1Char('.')))
        return result;
    // Typographic apostrophes, where the data writes plain ones ("aujourd’hui").
    if (core.contains(QChar(0x2019))) {
        core.replace(QChar(0x2019), QLatin1Char('\''));
        if (attempts.answers(core))
            return result;
    }

    const LanguageTable::LocaleInfo info = LanguageTable::localeForIdentifier(languageId);
    if (elides(info.language) && (core.contains(QLatin1Char('\'')) || core.contains(QChar(0x2019)))) {
        // "l'option", "dell'anno", "d'accord" (when "d'accord" itself has no entry).
        static const QRegularExpression elision(QStringLiteral("^(\\w{1,7}['\\x{2019}])(\\w.*)$"),
                                                QRegularExpression::UseUnicodePropertiesOption);
        const QRegularExpressionMatch match = elision.match(core);
        if (match.hasMatch()) {
            result.coreStart += match.capturedLength(1);
            result.coreLength -= match.capturedLength(1);
            core = match.captured(2);
            if (attempts.answers(core))
                return result;
        }
    }

    if (info.language == u"en") {
        for (const QString &base : wordNet().bases(core.toLower())) {
            if (attempts.answers(base))
                return result;
        }
    }

    HunspellDictionary *dictionary = dictionaryFor(languageId);
    if (!dictionary || spellingAnswers(attempts, *dictionary, core) || analysisAnswers(attempts, *dictionary, core))
        return result;

    // A word the dictionary accepts as it stands is spelled right and simply has no
    // synonyms: spellings of other words would only mislead ("the" is no "then").
    if (dictionary->spell(core))
        return result;
    // A true miss: the spellings that would find something.
    for (const QString &suggestion : dictionary->suggest(core)) {
        if (result.suggestions.size() >= MaxSuggestions)
            break;
        if (suggestion == core || result.suggestions.contains(suggestion))
            continue;
        QStringList synonyms;
        exact(suggestion, synonyms);
        if (!synonyms.isEmpty())
            result.suggestions.append(suggestion);
    }
    return result;
}

SynonymExpansion::Lookup WordForms::rootedLookup(const Root &root, const SynonymExpansion::Lookup &exact)
{
    auto pending = std::make_shared<std::optional<QStringList>>(root.synonyms);
    return [typed = root.typed, pending, exact](const QString &word, QStringList &synonyms) {
        if (pending->has_value() && word == typed) {
            synonyms = std::move(**pending);
            pending->reset();
            return;
        }
        exact(word, synonyms);
    };
}
