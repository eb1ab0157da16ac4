#include "thesaurus/WordForms.h"

#include "common/AppError.h"
#include "thesaurus/HunspellCatalog.h"
#include "thesaurus/HunspellDictionary.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/WordNetExceptions.h"
#include "thesaurus/WordNetReader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

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

QString withFirst(QString word, bool upper)
{
    if (!word.isEmpty())
        word[0] = upper ? word.at(0).toUpper() : word.at(0).toLower();
    return word;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool elides(const QString &language)
{
    return language == u"fr" || language == u"it" || language == u"ca";
}

// Languages that write their nouns with a capital: there a lower-case word that the
// dictionary knows is no noun, and a noun is never its last part.
bool capitalisesNouns(const QString &language)
{
    return language == u"de";
}

// A root of one or two letters that is the word's beginning answers nothing ("her"
// is no "h", "his" no "hi"), and a root shorter than four letters none of seven or
// more: so short a root of so long a word is a chance reading.
constexpr qsizetype MinRoot = 3;
constexpr qsizetype ShortRoot = 4;
constexpr qsizetype LongWord = 7;
// A compound's last part is a word of its own of at least four letters ("gebracht"
// holds "acht", "Cookies" "Kies"); a guessed split leaves at least three before it.
constexpr qsizetype MinTail = 4;
constexpr qsizetype MinHead = 3;

bool rootFits(const QString &word, const QString &root)
{
    if (root.size() < MinRoot && keepsBeginning(word, root))
        return false;
    return root.size() >= ShortRoot || word.size() < LongWord;
}

// How many letters two words share at their beginning, without case or accents.
qsizetype commonBeginning(const QString &word, const QString &stem)
{
    qsizetype common = 0;
    const qsizetype most = std::min(word.size(), stem.size());
    while (common < most && baseLetter(word.at(common)) == baseLetter(stem.at(common)))
        ++common;
    return common;
}

// How far a stem is from the word: the letters of each past their common
// beginning. An inflection changes only the end ("Kollegen" is 1 from "Kollege",
// 2 from "Kolleg"; "Vögel" 0 from "Vogel").
qsizetype distance(const QString &word, const QString &stem)
{
    const qsizetype common = commonBeginning(word, stem);
    return (word.size() - common) + (stem.size() - common);
}

// Whether the spell check's root is a plain inflection of the word, taken at once:
// the word's beginning kept, and at most one letter apart at the end on each side
// ("maisons" -> "maison", "utilisez" -> "utiliser"). Any other root waits for the
// full analysis, which may name a nearer one ("Kollegen": "Kollege" before "Kolleg").
bool plainInflection(const QString &word, const QString &root)
{
    const qsizetype common = commonBeginning(word, root);
    return common >= 3 && word.size() - common <= 1 && root.size() - common <= 1;
}

// WordNet's suffix rules (morphy's detachment table): an ending and what replaces
// it, for each part of speech that inflects.
struct SuffixRule {
    const char16_t *ending;
    const char16_t *replacement;
};
constexpr SuffixRule NounRules[] = {{u"s", u""},      {u"ses", u"s"},   {u"xes", u"x"},   {u"zes", u"z"},
                                    {u"ches", u"ch"}, {u"shes", u"sh"}, {u"men", u"man"}, {u"ies", u"y"}};
constexpr SuffixRule VerbRules[] = {{u"s", u""},   {u"ies", u"y"}, {u"es", u"e"},  {u"es", u""},
                                    {u"ed", u"e"}, {u"ed", u""},   {u"ing", u"e"}, {u"ing", u""}};
constexpr SuffixRule AdjectiveRules[] = {{u"er", u""}, {u"est", u""}, {u"er", u"e"}, {u"est", u"e"}};

// The words tried for one typed word: each is looked up once, and the first with
// synonyms becomes the answer.
class Attempts
{
public:
    Attempts(WordForms::Root &result, const SynonymExpansion::Lookup &exact) : m_result(result), m_exact(exact)
    {
        m_tried.insert(result.typed);
    }

    bool answers(const QString &word, WordForms::Rule rule)
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
        m_result.rule = rule;
        return true;
    }

    // Hunspell's stems of one word, its readings without a prefix first: the stems
    // that keep its beginning, nearest first (an inflection before a derivation;
    // of two as near, the one whose first letter has the word's case, which in
    // German tells a noun from a verb), then the other stems of those readings
    // ("sont" -> "être"), then a prefixed reading's stem with its prefix put back
    // ("requires" gives "require", never "quire"; "programs" gives "program", never
    // "gram").
    bool stemsAnswer(const QList<HunspellDictionary::Analysis> &analyses, const QString &word, WordForms::Rule rule)
    {
        struct Candidate {
            QString stem;
            qsizetype distance;
            bool otherCase;
        };
        QList<Candidate> near;
        QStringList others;
        QStringList prefixed;
        for (const HunspellDictionary::Analysis &analysis : analyses) {
            for (const QString &stem : analysis.stems) {
                if (analysis.prefixed) {
                    const QString whole = keepsBeginning(word, stem) ? stem : withPrefixBack(word, stem);
                    if (keepsBeginning(word, whole))
                        prefixed.append(whole);
                } else if (keepsBeginning(word, stem)) {
                    near.append({stem, distance(word, stem), stem.at(0).isUpper() != word.at(0).isUpper()});
                } else {
                    others.append(stem);
                }
            }
        }
        std::stable_sort(near.begin(), near.end(), [](const Candidate &a, const Candidate &b) {
            return a.distance != b.distance ? a.distance < b.distance : a.otherCase < b.otherCase;
        });
        QStringList ordered;
        for (const Candidate &candidate : std::as_const(near))
            ordered.append(candidate.stem);
        ordered += others;
        ordered += prefixed;
        for (const QString &stem : std::as_const(ordered)) {
            if (rootFits(word, stem) && answers(stem, rule))
                return true;
        }
        return false;
    }

    // A compound's last part answers for it, itself or its stem ("Konfigurationsdateien" -> "Datei").
    // A part that the typed word's capital made upper case is tried in lower case
    // too, where the dictionary knows it so ("Hellgelb" -> "gelb").
    bool lastPartAnswers(const HunspellDictionary &dictionary, const QString &part)
    {
        constexpr WordForms::Rule rule = WordForms::Rule::CompoundTail;
        if (answers(part, rule))
            return true;
        const QString lower = withFirst(part, false);
        if (lower != part && dictionary.spell(lower) && answers(lower, rule))
            return true;
        QList<HunspellDictionary::Analysis> analyses = dictionary.analyze(part);
        // The stems of the part as Hunspell gives them, and in the part's case.
        QList<HunspellDictionary::Analysis> inCase = analyses;
        for (HunspellDictionary::Analysis &analysis : inCase) {
            for (QString &stem : analysis.stems)
                stem = inCaseOf(part, stem);
        }
        return stemsAnswer(inCase, part, rule) || stemsAnswer(analyses, part, rule);
    }

private:
    WordForms::Root &m_result;
    const SynonymExpansion::Lookup &m_exact;
    QSet<QString> m_tried;
};

// English: WordNet's suffix rules, each base checked against WordNet's index of
// the part of speech ("regulations" -> "regulation", never the verb "regulate";
// "refers" -> "refer", never "ref"). A form that WordNet's lists of irregular forms
// name is theirs alone, and nouns ending in "ss" or of two letters keep their end,
// as WordNet's own morphy has it. No Hunspell dictionary is loaded for this.
bool suffixRulesAnswer(Attempts &attempts, WordNetReader &index, const QString &form)
{
    using PartOfSpeech = WordNetReader::PartOfSpeech;
    const auto tryRules = [&](PartOfSpeech partOfSpeech, auto &rules) {
        for (const SuffixRule &rule : rules) {
            const QString ending = QString::fromUtf16(rule.ending);
            if (form.size() <= ending.size() || !form.endsWith(ending))
                continue;
            const QString base = form.chopped(ending.size()) + QString::fromUtf16(rule.replacement);
            bool known = false;
            try {
                known = index.contains(base, partOfSpeech);
            } catch (const AppError &) {
                // A damaged line of the index knows no word; the rest of it still answers.
            }
            if (known && attempts.answers(base, WordForms::Rule::SuffixRule))
                return true;
        }
        return false;
    };
    const bool nounKeepsEnd = form.endsWith(u"ss") || form.size() <= 2;
    return (!nounKeepsEnd && tryRules(PartOfSpeech::Noun, NounRules)) || tryRules(PartOfSpeech::Verb, VerbRules)
           || tryRules(PartOfSpeech::Adjective, AdjectiveRules);
}

// The last part of a compound. The part is a word the dictionary knows, of at
// least four letters, and where nouns are capitalised a noun part answers only a
// word written as a noun or one the dictionary does not know. The parts Hunspell
// names come first: the spell check's first part and what follows it, then the
// analysis's last part; then, in a language whose dictionary compounds, a cut
// into two words it knows.
class CompoundTails
{
public:
    CompoundTails(Attempts &attempts, const HunspellDictionary &dictionary, const QString &core, bool capitalisedNouns)
        : m_attempts(attempts), m_dictionary(dictionary), m_core(core), m_capitalisedNouns(capitalisedNouns)
    {
    }

    // Written with a hyphen, the word shows its own last part ("Sahne-Frischkäse",
    // "süß-sauer"), in a language whose dictionary compounds.
    bool hyphenAnswers()
    {
        const qsizetype hyphen = m_core.lastIndexOf(QLatin1Char('-'));
        if (!m_dictionary.compounds() || hyphen < 1 || hyphen + 1 >= m_core.size())
            return false;
        return partAnswers(m_core.sliced(hyphen + 1), false);
    }

    // The spell check named the first part of a compound: what follows answers, or
    // the rest of that rest ("Hauskonfigurationsdatei" -> "Konfigurationsdatei" -> "Datei").
    bool afterFirstPartAnswers(HunspellDictionary::Check check)
    {
        constexpr int MaxParts = 4;
        QString rest = m_core;
        for (int part = 0; part < MaxParts && check.correct && check.compound; ++part) {
            if (check.root.isEmpty() || !rest.startsWith(check.root, Qt::CaseInsensitive))
                return false;
            rest = inCaseOf(m_core, rest.sliced(check.root.size()));
            if (rest.size() < MinTail)
                return false;
            if (partAnswers(rest, true))
                return true;
            check = m_dictionary.check(rest);
        }
        return false;
    }

    bool analysisAnswers(const QList<HunspellDictionary::Analysis> &analyses, bool known)
    {
        for (const HunspellDictionary::Analysis &analysis : analyses) {
            if (!analysis.compoundLast.isEmpty() && partAnswers(inCaseOf(m_core, analysis.compoundLast), known))
                return true;
        }
        return false;
    }

    // In a language whose dictionary compounds, a word it reads as a compound or
    // does not know, cut where both sides are words the dictionary knows, the
    // shortest such last part first ("Raserstrecke" -> "Strecke", never
    // "erstrecken"). The first part may end in a linking "s", "n", "es" or "en"
    // ("Formationsflug" -> "Flug").
    bool splitAnswers(bool known)
    {
        if (!m_dictionary.compounds())
            return false;
        for (qsizetype i = m_core.size() - MinTail; i >= MinHead; --i) {
            if (headFits(m_core.first(i)) && partAnswers(inCaseOf(m_core, m_core.sliced(i)), known))
                return true;
        }
        return false;
    }

private:
    // A first part the dictionary knows, as written or as a noun; a linking letter
    // follows only a noun where nouns are capitalised ("aufstreuen" holds no "auf" + "s").
    bool headFits(const QString &head) const
    {
        const auto known = [&](const QString &word) {
            return m_dictionary.spell(word) || (m_capitalisedNouns && m_dictionary.spell(withFirst(word, true)));
        };
        if (known(head))
            return true;
        for (const char16_t *link : {u"s", u"n", u"es", u"en"}) {
            const QString linking = QString::fromUtf16(link);
            if (head.size() - linking.size() < MinHead || !head.endsWith(linking))
                continue;
            const QString bare = head.chopped(linking.size());
            const bool fits = m_capitalisedNouns ? m_dictionary.spell(withFirst(bare, true))
                                                       && !m_dictionary.spell(withFirst(bare, false))
                                                 : known(bare);
            if (fits)
                return true;
        }
        return false;
    }

    bool partAnswers(const QString &part, bool known)
    {
        if (part.size() < MinTail || !part.at(0).isLetter())
            return false;
        const bool asWritten = m_dictionary.spell(part);
        const bool asNoun = !asWritten && m_capitalisedNouns && part.at(0).isLower()
                            && m_dictionary.spell(withFirst(part, true));
        if (!asWritten && !asNoun)
            return false;
        if (m_capitalisedNouns && known && m_core.at(0).isLower()) {
            // A lower-case word the dictionary knows is no noun: a noun is not its part.
            const bool noun = asNoun || (part.at(0).isUpper() && !m_dictionary.spell(withFirst(part, false)));
            if (noun)
                return false;
        }
        return m_attempts.lastPartAnswers(m_dictionary, asNoun ? withFirst(part, true) : part);
    }

    Attempts &m_attempts;
    const HunspellDictionary &m_dictionary;
    const QString &m_core;
    bool m_capitalisedNouns;
};

// Hunspell's answers, cheapest first: the spell check's root when it is a plain
// inflection, the parts of a compound that the spell check names, the stems of the
// full analysis, and the last parts of a compound or of an unknown word.
bool hunspellAnswers(Attempts &attempts, const HunspellDictionary &dictionary, const QString &core, bool capitalisedNouns)
{
    CompoundTails tails(attempts, dictionary, core, capitalisedNouns);
    if (tails.hyphenAnswers())
        return true;
    const HunspellDictionary::Check check = dictionary.check(core);
    if (check.correct && !check.compound && !check.root.isEmpty() && plainInflection(core, check.root)
        && rootFits(core, check.root) && attempts.answers(check.root, WordForms::Rule::HunspellCheck))
        return true;
    if (check.compound && tails.afterFirstPartAnswers(check))
        return true;
    const QList<HunspellDictionary::Analysis> analyses = dictionary.analyze(core);
    if (attempts.stemsAnswer(analyses, core, WordForms::Rule::HunspellAnalysis))
        return true;
    const bool compoundRead = check.compound || std::any_of(analyses.cbegin(), analyses.cend(), [](const auto &a) {
                                  return !a.compoundLast.isEmpty();
                              });
    // A word the dictionary accepts as a simple word is never cut. Debian's German
    // dictionary lists real compounds so ("Fladenbrot"), but as many names and
    // derivations, which no cut reads right ("Dortmund" is no "Mund",
    // "Mitgliedschaft" no "Schaft", "fortzusetzen" no "zusetzen").
    const bool simple = check.correct && !compoundRead;
    return tails.analysisAnswers(analyses, check.correct) || (!simple && tails.splitAnswers(check.correct));
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

QString WordForms::ruleName(Rule rule)
{
    switch (rule) {
    case Rule::None: return QStringLiteral("none");
    case Rule::Entry: return QStringLiteral("entry");
    case Rule::Punctuation: return QStringLiteral("punctuation");
    case Rule::Apostrophe: return QStringLiteral("apostrophe");
    case Rule::Elision: return QStringLiteral("elision");
    case Rule::IrregularForm: return QStringLiteral("irregular-form");
    case Rule::SuffixRule: return QStringLiteral("suffix-rule");
    case Rule::HunspellCheck: return QStringLiteral("hunspell-check");
    case Rule::HunspellAnalysis: return QStringLiteral("hunspell-analysis");
    case Rule::CompoundTail: return QStringLiteral("compound-tail");
    }
    return {};
}

WordNetReader &WordForms::wordNetIndex()
{
    // Mapped, not read: the index is searched where a base is asked for.
    if (!m_wordNetIndex)
        m_wordNetIndex = std::make_unique<WordNetReader>(m_searchPath);
    return *m_wordNetIndex;
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
        result.rule = Rule::Entry;
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
    if (core.isEmpty() || attempts.answers(core, Rule::Punctuation))
        return result;
    // An abbreviation keeps its full stop ("Univ.", "etc.").
    if (end < typed.size() && typed.at(end) == QLatin1Char('.')
        && attempts.answers(core + QLatin1Char('.'), Rule::Punctuation))
        return result;
    // Typographic apostrophes, where the data writes plain ones ("aujourd’hui").
    if (core.contains(QChar(0x2019))) {
        core.replace(QChar(0x2019), QLatin1Char('\''));
        if (attempts.answers(core, Rule::Apostrophe))
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
            if (attempts.answers(core, Rule::Elision))
                return result;
        }
    }

    if (info.language == u"en") {
        const QString form = core.toLower();
        const QStringList bases = wordNet().bases(form);
        for (const QString &base : bases) {
            if (attempts.answers(base, Rule::IrregularForm))
                return result;
        }
        if (bases.isEmpty() && suffixRulesAnswer(attempts, wordNetIndex(), form))
            return result;
    }

    HunspellDictionary *dictionary = dictionaryFor(languageId);
    if (!dictionary || hunspellAnswers(attempts, *dictionary, core, capitalisesNouns(info.language)))
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
