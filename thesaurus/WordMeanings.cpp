#include "thesaurus/WordMeanings.h"

#include "thesaurus/AntonymMarkers.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <optional>

namespace WordMeanings {

namespace {

struct Label {
    const char *language;
    const char16_t *label; // without its brackets, compared letter case aside
    const char *partOfSpeech;
};

// The labels of the installed LibreOffice thesaurus files, surveyed with
// tools/survey-notes.py --labels. Labels naming several parts of speech
// ("(Adjectif Nom)") or none ("-", "(?)") are left out: they name no single one.
constexpr Label Labels[] = {
    {"en", u"noun", "noun"},
    {"en", u"verb", "verb"},
    {"en", u"adj", "adj"},
    {"en", u"adv", "adv"},
    {"gug", u"noun", "noun"},
    {"gug", u"adj", "adj"},
    {"fr", u"nom", "noun"},
    {"fr", u"verbe", "verb"},
    {"fr", u"adjectif", "adj"},
    {"fr", u"adverbe", "adv"},
    {"it", u"s.m.", "noun"},
    {"it", u"s.f.", "noun"},
    {"it", u"s.m.f.", "noun"},
    {"it", u"s.m.inv.", "noun"},
    {"it", u"s.f.inv.", "noun"},
    {"it", u"s.m.pl.", "noun"},
    {"it", u"s.f.pl.", "noun"},
    {"it", u"v.", "verb"},
    {"it", u"v.tr.", "verb"},
    {"it", u"v.intr.", "verb"},
    {"it", u"v.rifl.", "verb"},
    {"it", u"agg.", "adj"},
    {"it", u"avv.", "adv"},
    {"es", u"m.", "noun"},
    {"es", u"f.", "noun"},
    {"es", u"m. fig.", "noun"},
    {"es", u"f. fig.", "noun"},
    {"es", u"adj.", "adj"},
    {"es", u"tr.", "verb"},
    {"es", u"intr.", "verb"},
    {"es", u"prnl.", "verb"},
    {"es", u"intr.-prnl.", "verb"},
    {"es", u"adv.", "adv"},
    {"bg", u"\u0441\u044A\u0449.", "noun"},      // същ.
    {"bg", u"\u0433\u043B.", "verb"},            // гл.
    {"bg", u"\u043F\u0440\u0438\u043B.", "adj"}, // прил.
    {"bg", u"\u043D\u0430\u0440.", "adv"},       // нар.
    {"cs", u"podst. jm.", "noun"},
    {"cs", u"slov.", "verb"},
    {"cs", u"p\u0159\u00EDd. jm.", "adj"}, // příd. jm.
    {"cs", u"p\u0159\u00EDsl.", "adv"},    // přísl.
    {"gl", u"substantivo", "noun"},
    {"gl", u"substantivo feminino", "noun"},
    {"gl", u"substantivo masculino", "noun"},
    {"gl", u"adxectivo", "adj"},
    {"gl", u"adxectivo feminino", "adj"},
    {"gl", u"verbo transitivo", "verb"},
    {"gl", u"verbo intransitivo", "verb"},
    {"gl", u"verbo transitivo / pronominal", "verb"},
    {"gl", u"adverbio", "adv"},
    {"id", u"n", "noun"},
    {"id", u"v", "verb"},
    {"id", u"a", "adj"},
    {"id", u"adv", "adv"},
    {"ro", u"subst", "noun"},
    {"ro", u"verb", "verb"},
    {"ro", u"adj", "adj"},
    {"ro", u"adv", "adv"},
    {"sl", u"sam.", "noun"},
    {"sl", u"gl.", "verb"},
    {"sl", u"prid.", "adj"},
    {"sl", u"prisl.", "adv"},
    {"ar", u"\u0627\u0633\u0645", "noun"},       // اسم
    {"ar", u"\u0645\u0635\u062F\u0631", "noun"}, // مصدر, a verbal noun
    {"ar", u"\u0641\u0639\u0644", "verb"},       // فعل
    {"lv", u"lietv", "noun"},
};

// Notes and labels that name a word's relation to the headword.
struct RelationName {
    const char16_t *note; // compared letter case aside
    const QString *relation;
};

const RelationName Relations[] = {
    {u"similar term", &Similar},
    {u"related term", &Related},
    {u"generic term", &Generic},
    {u"Oberbegriff", &Generic},                                                                     // German
    {u"\u0441\u0445\u043E\u0434\u043D\u044B\u0439 \u0442\u0435\u0440\u043C\u0438\u043D", &Similar}, // сходный термин
    {u"\u0441\u0432\u044F\u0437\u0430\u043D\u043D\u044B\u0439 \u0442\u0435\u0440\u043C\u0438\u043D", &Related}, // связанный термин
    {u"\u0441\u0438\u043D\u043E\u043D\u0438\u043C", &Plain}, // синоним
};

// The label without its brackets: "(adj)" and "[adj]" give "adj".
QStringView unbracketed(QStringView label)
{
    label = label.trimmed();
    if (label.size() >= 2
        && ((label.front() == u'(' && label.back() == u')') || (label.front() == u'[' && label.back() == u']')))
        label = label.sliced(1, label.size() - 2).trimmed();
    return label;
}

bool isAntonymLabel(const QString &language, QStringView label)
{
    if (label.compare(u"antonym", Qt::CaseInsensitive) == 0 || label.compare(u"ant", Qt::CaseInsensitive) == 0)
        return true;
    if (language == u"ru" && label.compare(u"\u0430\u043D\u0442\u043E\u043D\u0438\u043C", Qt::CaseInsensitive) == 0)
        return true;
    for (const QString &marker : AntonymMarkers::forLanguage(language)) {
        if (label.compare(marker, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The label's relation when it names one for all its words.
const QString *labelRelation(QStringView label)
{
    for (const RelationName &name : Relations) {
        if (label.compare(QStringView(name.note), Qt::CaseInsensitive) == 0)
            return name.relation;
    }
    return nullptr;
}

void appendOnce(QStringList &list, QSet<QString> &seen, const QString &word)
{
    if (!word.isEmpty() && !seen.contains(word.toCaseFolded())) {
        seen.insert(word.toCaseFolded());
        list.append(word);
    }
}

QString folded(const QString &word)
{
    return word.simplified().toCaseFolded();
}

} // namespace

QStringList Meaning::plainWords() const
{
    QStringList list;
    for (const Word &word : words) {
        if (word.relation != Generic)
            list.append(word.text);
    }
    return list;
}

QStringList Meaning::broaderTerms() const
{
    QStringList list;
    for (const Word &word : words) {
        if (word.relation == Generic)
            list.append(word.text);
    }
    return list;
}

const QStringList &partsOfSpeech()
{
    static const QStringList all{QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adj"),
                                 QStringLiteral("adv")};
    return all;
}

QString partOfSpeechOf(QStringView language, QStringView label)
{
    const QStringView bare = unbracketed(label);
    if (bare.isEmpty())
        return {};
    for (const Label &row : Labels) {
        if (language.compare(QLatin1StringView(row.language), Qt::CaseInsensitive) == 0
            && bare.compare(QStringView(row.label), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(row.partOfSpeech);
    }
    return {};
}

QStringList partsOfSpeechOf(QStringView language, QStringView label)
{
    if (const QString one = partOfSpeechOf(language, label); !one.isEmpty())
        return {one};
    QStringList parts;
    for (const QStringView piece : unbracketed(label).split(u' ', Qt::SkipEmptyParts)) {
        if (piece == u"/")
            continue;
        const QString part = partOfSpeechOf(language, piece);
        if (part.isEmpty())
            return {};
        if (!parts.contains(part))
            parts.append(part);
    }
    return parts;
}

bool hasPartsOfSpeech(QStringView language)
{
    return std::any_of(std::begin(Labels), std::end(Labels), [&](const Label &row) {
        return language.compare(QLatin1StringView(row.language), Qt::CaseInsensitive) == 0;
    });
}

QStringList firstTierWords(const QList<Meaning> &meanings, const QStringList &partsOfSpeech, bool broaderTerms)
{
    const auto kept = [&](const Meaning &meaning) {
        return partsOfSpeech.isEmpty()
               || std::any_of(meaning.partsOfSpeech.cbegin(), meaning.partsOfSpeech.cend(),
                              [&](const QString &part) { return partsOfSpeech.contains(part); });
    };
    QSet<QString> plain; // words standing plainly in a meaning kept
    if (!broaderTerms) {
        for (const Meaning &meaning : meanings) {
            if (!kept(meaning))
                continue;
            for (const Word &word : meaning.words) {
                if (word.relation != Generic)
                    plain.insert(word.text.toCaseFolded());
            }
        }
    }
    QStringList words;
    for (const Meaning &meaning : meanings) {
        if (!kept(meaning))
            continue;
        for (const Word &word : meaning.words) {
            if (broaderTerms || word.relation != Generic || plain.contains(word.text.toCaseFolded()))
                words.append(word.text);
        }
    }
    return words;
}

QString relationOf(QStringView notes)
{
    if (notes.isEmpty())
        return Plain;
    // Several notes ("ugs.; Oberbegriff"): a relation among them wins.
    for (const QStringView note : notes.split(u"; ")) {
        if (const QString *relation = labelRelation(note.trimmed()))
            return *relation;
    }
    return notes.toString();
}

QList<Meaning> fromEntry(const ThesaurusEntry &entry)
{
    QList<Meaning> meanings;
    meanings.reserve(entry.meanings.size());
    for (const ThesaurusEntry::Meaning &data : entry.meanings) {
        Meaning meaning;
        meaning.label = data.label;
        meaning.partsOfSpeech = partsOfSpeechOf(entry.language, data.label);
        if (meaning.partsOfSpeech.size() == 1)
            meaning.partOfSpeech = meaning.partsOfSpeech.front();
        const QStringView bare = unbracketed(data.label);
        const bool antonymMeaning = isAntonymLabel(entry.language, bare);
        const QString *shared = labelRelation(bare);
        QSet<QString> antonymsSeen;
        for (qsizetype i = 0; i < data.synonyms.size(); ++i) {
            if (antonymMeaning) {
                appendOnce(meaning.antonyms, antonymsSeen, data.synonyms[i]);
                continue;
            }
            const QString notes = data.notes.value(i);
            const QString relation = notes.isEmpty() && shared ? *shared : relationOf(notes);
            meaning.words.append({data.synonyms[i], relation});
        }
        for (const QString &antonym : data.antonyms)
            appendOnce(meaning.antonyms, antonymsSeen, antonym);
        meanings.append(std::move(meaning));
    }
    return meanings;
}

bool wordNetPartOfSpeech(const QString &partOfSpeech, WordNetReader::PartOfSpeech &out)
{
    static const std::array<WordNetReader::PartOfSpeech, 4> order{
        WordNetReader::PartOfSpeech::Noun, WordNetReader::PartOfSpeech::Verb, WordNetReader::PartOfSpeech::Adjective,
        WordNetReader::PartOfSpeech::Adverb};
    const qsizetype at = partsOfSpeech().indexOf(partOfSpeech);
    if (at < 0)
        return false;
    out = order[size_t(at)];
    return true;
}

int matchSense(const Meaning &meaning, const QString &headword, const QList<WordNetReader::Sense> &senses)
{
    WordNetReader::PartOfSpeech partOfSpeech;
    if (!wordNetPartOfSpeech(meaning.partOfSpeech, partOfSpeech))
        return -1;
    const QString head = folded(headword);
    QSet<QString> meaningWords;
    for (const Word &word : meaning.words)
        meaningWords.insert(folded(word.text));
    for (const QString &antonym : meaning.antonyms)
        meaningWords.insert(folded(antonym));
    meaningWords.remove(head);
    if (meaningWords.isEmpty())
        return -1;

    int best = -1;
    qsizetype bestShared = 0;
    for (qsizetype i = 0; i < senses.size(); ++i) {
        const WordNetReader::Sense &sense = senses[i];
        if (sense.partOfSpeech != partOfSpeech)
            continue;
        QSet<QString> senseWords;
        const auto add = [&](const QStringList &words) {
            for (const QString &word : words)
                senseWords.insert(folded(word));
        };
        add(sense.words);
        for (const WordNetReader::LinkedSynset &linked : sense.broaderTerms)
            add(linked.words);
        for (const WordNetReader::LinkedSynset &linked : sense.similarTerms)
            add(linked.words);
        for (const WordNetReader::Antonym &antonym : sense.antonyms)
            senseWords.insert(folded(antonym.antonym));
        senseWords.remove(head);
        qsizetype shared = 0;
        for (const QString &word : std::as_const(meaningWords))
            shared += senseWords.contains(word) ? 1 : 0;
        if (shared > bestShared) {
            bestShared = shared;
            best = int(i);
        }
    }
    return best;
}

void addDefinitions(QList<Meaning> &meanings, const QString &headword, WordNetReader &wordNet)
{
    if (!wordNet.isPresent())
        return;
    std::array<std::optional<QList<WordNetReader::Sense>>, 4> senses;
    for (Meaning &meaning : meanings) {
        WordNetReader::PartOfSpeech partOfSpeech;
        if (!wordNetPartOfSpeech(meaning.partOfSpeech, partOfSpeech))
            continue;
        auto &read = senses[size_t(partOfSpeech)];
        if (!read)
            read = wordNet.senses(headword, partOfSpeech);
        const int at = matchSense(meaning, headword, *read);
        if (at < 0)
            continue;
        const WordNetReader::Sense &sense = read->at(at);
        meaning.definition = sense.definition;
        meaning.examples = sense.examples;
        QSet<QString> seen;
        for (const QString &antonym : std::as_const(meaning.antonyms))
            seen.insert(antonym.toCaseFolded());
        for (const WordNetReader::Antonym &antonym : sense.antonyms)
            appendOnce(meaning.antonyms, seen, antonym.antonym);
    }
}

} // namespace WordMeanings
