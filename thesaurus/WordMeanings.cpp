#include "thesaurus/WordMeanings.h"

#include "thesaurus/AntonymMarkers.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

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
    // Most words are lower-case ASCII with single blanks: already folded, and
    // shared rather than copied twice, as matching folds every word it compares.
    bool plain = word.isEmpty() || (word.front() != u' ' && word.back() != u' ');
    for (qsizetype i = 0; plain && i < word.size(); ++i) {
        const char16_t c = word.at(i).unicode();
        plain = c >= u' ' && c < 0x7f && (c < u'A' || c > u'Z') && (c != u' ' || word.at(i - 1) != u' ');
    }
    return plain ? word : word.simplified().toCaseFolded();
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
    for (const QStringView note : notes.tokenize(u"; ")) {
        if (const QString *relation = labelRelation(note.trimmed()))
            return *relation;
    }
    return notes.toString();
}

QList<Meaning> fromEntry(const ThesaurusEntry &entry)
{
    QList<Meaning> meanings;
    meanings.reserve(entry.meanings.size());
    // What a label tells, read once for a run of meanings with the same label, as
    // the data gives them ("(adj)" ten times, then "(adv)").
    std::optional<QString> lastLabel;
    QStringList labelParts;
    bool antonymMeaning = false;
    const QString *shared = nullptr;
    for (const ThesaurusEntry::Meaning &data : entry.meanings) {
        if (lastLabel != data.label) {
            lastLabel = data.label;
            labelParts = partsOfSpeechOf(entry.language, data.label);
            const QStringView bare = unbracketed(data.label);
            antonymMeaning = isAntonymLabel(entry.language, bare);
            shared = labelRelation(bare);
        }
        Meaning meaning;
        meaning.label = data.label;
        meaning.partsOfSpeech = labelParts;
        if (meaning.partsOfSpeech.size() == 1)
            meaning.partOfSpeech = meaning.partsOfSpeech.front();
        QSet<QString> antonymsSeen;
        meaning.words.reserve(data.synonyms.size());
        QString lastNotes;
        QString lastRelation = shared ? *shared : Plain;
        for (qsizetype i = 0; i < data.synonyms.size(); ++i) {
            if (antonymMeaning) {
                appendOnce(meaning.antonyms, antonymsSeen, data.synonyms[i]);
                continue;
            }
            const QString notes = data.notes.value(i);
            // Most words of a meaning carry the same note ("similar term"): named once.
            if (notes != lastNotes) {
                lastNotes = notes;
                lastRelation = notes.isEmpty() && shared ? *shared : relationOf(notes);
            }
            meaning.words.append({data.synonyms[i], lastRelation});
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

namespace {

// A part of speech's senses, and which of them hold each word they are matched
// by: a sense's own words, those of the synsets it points to as broader or
// similar, and its antonyms, folded, the headword taken out (every sense holds
// it). Made once per lookup: "run" has 55 meanings to match against 57 senses, and
// each meaning then costs one hash lookup per word. The senses holding a word are
// a chain through holders, the latest first.
struct ReadSenses {
    struct Holder {
        int sense;
        int next; // -1 ends the chain
    };
    QList<WordNetReader::Sense> senses;
    QHash<QString, int> words; // folded word → its chain's first holder
    QList<Holder> holders;

    void add(const QString &word, int sense, const QString &head)
    {
        const QString key = folded(word);
        if (key == head)
            return;
        auto at = words.find(key);
        if (at == words.end())
            at = words.insert(key, -1);
        if (*at >= 0 && holders[*at].sense == sense)
            return; // named twice by the same sense
        holders.append({sense, *at});
        *at = int(holders.size() - 1);
    }
};

ReadSenses withWords(QList<WordNetReader::Sense> senses, const QString &head)
{
    ReadSenses read{std::move(senses), {}, {}};
    qsizetype words = 0;
    for (const WordNetReader::Sense &sense : std::as_const(read.senses)) {
        words += sense.words.size() + sense.antonyms.size();
        for (const WordNetReader::LinkedSynset &linked : sense.broaderTerms)
            words += linked.words.size();
        for (const WordNetReader::LinkedSynset &linked : sense.similarTerms)
            words += linked.words.size();
    }
    read.words.reserve(words);
    read.holders.reserve(words);
    for (qsizetype i = 0; i < read.senses.size(); ++i) {
        const WordNetReader::Sense &sense = read.senses[i];
        const auto add = [&](const QStringList &list) {
            for (const QString &word : list)
                read.add(word, int(i), head);
        };
        add(sense.words);
        for (const WordNetReader::LinkedSynset &linked : sense.broaderTerms)
            add(linked.words);
        for (const WordNetReader::LinkedSynset &linked : sense.similarTerms)
            add(linked.words);
        for (const WordNetReader::Antonym &antonym : sense.antonyms)
            read.add(antonym.antonym, int(i), head);
    }
    return read;
}

// The sense of the part of speech sharing the most words with the meaning (its
// words and antonyms, each counted once), ties to the earlier; -1 when none shares one.
int bestSense(const Meaning &meaning, WordNetReader::PartOfSpeech partOfSpeech, const ReadSenses &read, const QString &head)
{
    QVarLengthArray<int, 64> shared(read.senses.size(), 0);
    QVarLengthArray<int, 64> counted; // the chains already counted
    const auto count = [&](const QString &word) {
        const QString key = folded(word);
        if (key == head)
            return;
        const auto at = read.words.constFind(key);
        if (at == read.words.cend() || counted.contains(*at))
            return;
        counted.append(*at);
        for (int h = *at; h >= 0; h = read.holders[h].next)
            ++shared[read.holders[h].sense];
    };
    for (const Word &word : meaning.words)
        count(word.text);
    for (const QString &antonym : meaning.antonyms)
        count(antonym);
    int best = -1;
    int bestShared = 0;
    for (qsizetype i = 0; i < read.senses.size(); ++i) {
        if (read.senses[i].partOfSpeech == partOfSpeech && shared[i] > bestShared) {
            bestShared = shared[i];
            best = int(i);
        }
    }
    return best;
}

} // namespace

int matchSense(const Meaning &meaning, const QString &headword, const QList<WordNetReader::Sense> &senses)
{
    WordNetReader::PartOfSpeech partOfSpeech;
    if (!wordNetPartOfSpeech(meaning.partOfSpeech, partOfSpeech))
        return -1;
    const QString head = folded(headword);
    return bestSense(meaning, partOfSpeech, withWords(senses, head), head);
}

void addDefinitions(QList<Meaning> &meanings, const QString &headword, WordNetReader &wordNet)
{
    if (!wordNet.isPresent())
        return;
    const QString head = folded(headword);
    std::array<std::optional<ReadSenses>, 4> senses;
    for (Meaning &meaning : meanings) {
        WordNetReader::PartOfSpeech partOfSpeech;
        if (!wordNetPartOfSpeech(meaning.partOfSpeech, partOfSpeech))
            continue;
        auto &read = senses[size_t(partOfSpeech)];
        if (!read)
            read = withWords(wordNet.senses(headword, partOfSpeech), head);
        const int at = bestSense(meaning, partOfSpeech, *read, head);
        if (at < 0)
            continue;
        const WordNetReader::Sense &sense = read->senses.at(at);
        meaning.definition = sense.definition;
        meaning.examples = sense.examples;
        if (sense.antonyms.isEmpty())
            continue;
        QSet<QString> seen;
        for (const QString &antonym : std::as_const(meaning.antonyms))
            seen.insert(antonym.toCaseFolded());
        for (const WordNetReader::Antonym &antonym : sense.antonyms)
            appendOnce(meaning.antonyms, seen, antonym.antonym);
    }
}

} // namespace WordMeanings
