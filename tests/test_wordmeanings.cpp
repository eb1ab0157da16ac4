#include "thesaurus/Generate.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordMeanings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using WordMeanings::Meaning;
using Sense = WordNetReader::Sense;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);

// A meaning as one line: "pos label: word, word/relation | !antonym = definition".
QString render(const Meaning &meaning)
{
    QStringList words;
    for (const WordMeanings::Word &word : meaning.words)
        words.append(word.relation.isEmpty() ? word.text : word.text + QLatin1Char('/') + word.relation);
    QString line = meaning.partOfSpeech + QLatin1Char(' ') + meaning.label + QStringLiteral(": ")
                   + words.join(QStringLiteral(", "));
    for (const QString &antonym : meaning.antonyms)
        line += QStringLiteral(" !") + antonym;
    if (!meaning.definition.isEmpty())
        line += QStringLiteral(" = ") + meaning.definition;
    for (const QString &example : meaning.examples)
        line += QStringLiteral(" \"") + example + QLatin1Char('"');
    return line;
}

QStringList render(const QList<Meaning> &meanings)
{
    QStringList lines;
    for (const Meaning &meaning : meanings)
        lines.append(render(meaning));
    return lines;
}

// A thesaurus over the meanings fixtures in a language, WordNet from a fixture
// folder (none when empty), word forms from the word-forms fixture.
std::unique_ptr<TSpellCheck> thesaurus(TSpellCheckLanguage language, const QString &wordNetFolder)
{
    auto spellCheck = std::make_unique<TSpellCheck>(
        nullptr, std::make_unique<MythesSource>(QStringList{DataDir + QStringLiteral("/meanings")}));
    spellCheck->setLanguage(language);
    spellCheck->setWordForms(std::make_unique<WordForms>(QStringList{DataDir + QStringLiteral("/wordforms")}));
    spellCheck->setWordNet(std::make_unique<WordNetReader>(
        wordNetFolder.isEmpty() ? QStringList{} : QStringList{DataDir + QStringLiteral("/wordnet/") + wordNetFolder}));
    return spellCheck;
}

using Words = std::initializer_list<const char *>;

QStringList list(Words words)
{
    QStringList made;
    for (const char *word : words)
        made.append(QString::fromUtf8(word));
    return made;
}

Sense sense(WordNetReader::PartOfSpeech partOfSpeech, Words words, const char *definition, Words similar = {})
{
    Sense made;
    made.partOfSpeech = partOfSpeech;
    made.words = list(words);
    made.definition = QString::fromUtf8(definition);
    if (similar.size() > 0)
        made.similarTerms.append({list(similar), 0, false});
    return made;
}

Meaning meaningOf(const char *partOfSpeech, Words words, Words antonyms = {})
{
    Meaning meaning;
    meaning.partOfSpeech = QString::fromUtf8(partOfSpeech);
    for (const QString &word : list(words))
        meaning.words.append({word, {}});
    meaning.antonyms = list(antonyms);
    return meaning;
}

} // namespace

class TestWordMeanings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The labels the installed files use, per language; a label of one language
    // means nothing in another, and labels naming several parts of speech name none.
    void partOfSpeechOfLabels_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("partOfSpeech");
        const auto row = [](const char *name, const char *language, const QString &label, const char *pos) {
            QTest::newRow(name) << QString::fromLatin1(language) << label << QString::fromLatin1(pos);
        };
        row("en adj", "en", QStringLiteral("(adj)"), "adj");
        row("en noun", "en", QStringLiteral("(noun)"), "noun");
        row("en blanks around", "en", QStringLiteral(" (verb) "), "verb");
        row("en other language's label", "en", QStringLiteral("(Nom)"), "");
        row("fr Nom", "fr", QStringLiteral("(Nom)"), "noun");
        row("fr letter case aside", "fr", QStringLiteral("(adverbe)"), "adv");
        row("fr two parts of speech", "fr", QStringLiteral("(Adjectif Nom)"), "");
        row("fr unknown", "fr", QStringLiteral("(?)"), "");
        row("it agg.", "it", QStringLiteral("(agg.)"), "adj");
        row("it s.f.", "it", QStringLiteral("(s.f.)"), "noun");
        row("it v.", "it", QStringLiteral("(v.)"), "verb");
        row("es adj.", "es", QStringLiteral("(adj.)"), "adj");
        row("es m.", "es", QStringLiteral("(m.)"), "noun");
        row("es prnl.", "es", QStringLiteral("(prnl.)"), "verb");
        row("de dash", "de", QStringLiteral("-"), "");
        row("de empty", "de", QString(), "");
        row("id bracketed", "id", QStringLiteral("[n]"), "noun");
        row("bg прил.", "bg", QStringLiteral("(прил.)"), "adj");
        row("cs příd. jm.", "cs", QStringLiteral("(příd. jm.)"), "adj");
        row("ru relation, no part of speech", "ru", QStringLiteral("(синоним)"), "");
    }
    void partOfSpeechOfLabels()
    {
        QFETCH(QString, language);
        QFETCH(QString, label);
        QFETCH(QString, partOfSpeech);
        QCOMPARE(WordMeanings::partOfSpeechOf(language, label), partOfSpeech);
    }

    void relationOfNotes_data()
    {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("relation");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("similar") << QStringLiteral("similar term") << QStringLiteral("similar");
        QTest::newRow("related") << QStringLiteral("related term") << QStringLiteral("related");
        QTest::newRow("generic") << QStringLiteral("generic term") << QStringLiteral("generic");
        QTest::newRow("German broader") << QStringLiteral("Oberbegriff") << QStringLiteral("generic");
        QTest::newRow("register kept as written") << QStringLiteral("ugs.") << QStringLiteral("ugs.");
        QTest::newRow("a relation among notes wins") << QStringLiteral("ugs.; Oberbegriff") << QStringLiteral("generic");
        QTest::newRow("two registers") << QStringLiteral("ugs.; fig.") << QStringLiteral("ugs.; fig.");
    }
    void relationOfNotes()
    {
        QFETCH(QString, notes);
        QFETCH(QString, relation);
        QCOMPARE(WordMeanings::relationOf(notes), relation);
    }

    // Which WordNet sense a meaning stands for.
    void matchSense_data()
    {
        using P = WordNetReader::PartOfSpeech;
        QTest::addColumn<Meaning>("meaning");
        QTest::addColumn<QList<Sense>>("senses");
        QTest::addColumn<int>("expected");
        const QList<Sense> bright{
            sense(P::Adjective, {"bright"}, "emitting light", {"shining", "luminous"}),
            sense(P::Adjective, {"bright", "smart"}, "quick to learn"),
            sense(P::Adjective, {"bright", "brilliant", "vivid"}, "having striking color"),
        };
        QTest::newRow("most shared words") << meaningOf("adj", {"vivid", "brilliant", "smart"}) << bright << 2;
        QTest::newRow("through a similar synset") << meaningOf("adj", {"luminous"}) << bright << 0;
        QTest::newRow("tie goes to the earlier sense") << meaningOf("adj", {"smart", "vivid"}) << bright << 1;
        QTest::newRow("no word shared") << meaningOf("adj", {"happy"}) << bright << -1;
        QTest::newRow("the headword is no evidence") << meaningOf("adj", {"bright", "Bright"}) << bright << -1;
        QTest::newRow("another part of speech") << meaningOf("noun", {"smart"}) << bright << -1;
        QTest::newRow("no part of speech") << meaningOf("", {"smart"}) << bright << -1;
        QTest::newRow("no senses") << meaningOf("adj", {"smart"}) << QList<Sense>{} << -1;
        Sense satellite = sense(P::Adjective, {"bright", "vivid"}, "colourful");
        satellite.satellite = true;
        QTest::newRow("a satellite is an adjective")
            << meaningOf("adj", {"vivid"}) << QList<Sense>{sense(P::Adverb, {"bright", "vivid"}, "x"), satellite} << 1;
        QTest::newRow("letter case aside") << meaningOf("adj", {"Smart"}) << bright << 1;
        QTest::newRow("an antonym is shared evidence") << meaningOf(
            "adj", {}, {"dull"}) << QList<Sense>{bright[1], [&] {
                                                     Sense withAntonym = bright[0];
                                                     withAntonym.antonyms.append({QStringLiteral("bright"),
                                                                                  QStringLiteral("dull"), 0, P::Adjective});
                                                     return withAntonym;
                                                 }()} << 1;
    }
    void matchSense()
    {
        QFETCH(Meaning, meaning);
        QFETCH(QList<Sense>, senses);
        QFETCH(int, expected);
        QCOMPARE(WordMeanings::matchSense(meaning, QStringLiteral("bright"), senses), expected);
    }

    // English: labels, relations, antonyms apart, WordNet's definition and examples
    // for the meanings it matches and its antonyms added once.
    void englishMeaningsWithDefinitions()
    {
        const auto spellCheck = thesaurus(wdEnglishUS, QStringLiteral("healthy"));
        const WordMeanings::Answer answer = spellCheck->Meanings(QStringLiteral("bright"));
        QCOMPARE(answer.root, QStringLiteral("bright"));
        QCOMPARE(render(answer.meanings),
                 (QStringList{
                     QStringLiteral("adj (adj): shining, luminous/similar !dull = emitting or reflecting light readily "
                                    "or in large amounts \"the sun was bright and hot\" \"a bright sunlit room\""),
                     QStringLiteral("adj (adj): vivid, brilliant, colorful/similar = having striking color \"bright "
                                    "dress\""),
                     QStringLiteral("adj (adj): smart, intelligent/similar"),
                     QStringLiteral("noun (noun): brightness, light/generic"),
                     QStringLiteral("adv (adv): brightly = with brightness \"the stars shone brightly\""),
                 }));
        QCOMPARE(answer.meanings[3].broaderTerms(), QStringList{QStringLiteral("light")});
        QCOMPARE(answer.meanings[3].plainWords(), QStringList{QStringLiteral("brightness")});
        QVERIFY(answer.notes.isEmpty());
    }

    // WordNet's antonym of "dull" is "bright", which the data already gives: once.
    void antonymsOnce()
    {
        const auto spellCheck = thesaurus(wdEnglishUS, QStringLiteral("healthy"));
        const WordMeanings::Answer answer = spellCheck->Meanings(QStringLiteral("dull"));
        QCOMPARE(render(answer.meanings),
                 QStringList{QStringLiteral("adj (adj): dim !bright = emitting or reflecting very little light \"a "
                                            "dull glow\"")});
    }

    // An inflected word answers through the root that a Generate would use.
    void inflectedWordAnswersThroughItsRoot()
    {
        const auto spellCheck = thesaurus(wdEnglishUS, QStringLiteral("healthy"));
        const WordMeanings::Answer answer = spellCheck->Meanings(QStringLiteral("brighter"));
        QCOMPARE(answer.word, QStringLiteral("brighter"));
        QCOMPARE(answer.root, QStringLiteral("bright"));
        QCOMPARE(answer.meanings.size(), 5);
        QVERIFY(!answer.meanings[0].definition.isEmpty());
    }

    void unknownWordHasNoMeanings()
    {
        const auto spellCheck = thesaurus(wdEnglishUS, QStringLiteral("healthy"));
        const WordMeanings::Answer answer = spellCheck->Meanings(QStringLiteral("zzyzx"));
        QVERIFY(!answer.found());
        QVERIFY(answer.meanings.isEmpty());
    }

    // Without WordNet, or with it damaged, the meanings stay what the data gives.
    void withoutWordNetMeaningsComeWithoutDefinitions()
    {
        const auto withWordNet = thesaurus(wdEnglishUS, QStringLiteral("healthy"));
        QList<Meaning> expected = withWordNet->Meanings(QStringLiteral("bright")).meanings;
        for (Meaning &meaning : expected) {
            meaning.definition.clear();
            meaning.examples.clear();
        }
        expected[0].antonyms = QStringList{QStringLiteral("dull")};

        const auto without = thesaurus(wdEnglishUS, QString());
        const WordMeanings::Answer answer = without->Meanings(QStringLiteral("bright"));
        QCOMPARE(render(answer.meanings), render(expected));
        QVERIFY(answer.notes.isEmpty());
    }

    void damagedWordNetIsToldAndMeaningsKept()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir healthy(DataDir + QStringLiteral("/wordnet/healthy"));
        for (const QString &name : healthy.entryList(QDir::Files))
            QVERIFY(QFile::copy(healthy.filePath(name), dir.filePath(name)));
        // data.adj cut off in the middle of its first synset's line.
        QFile adj(dir.filePath(QStringLiteral("data.adj")));
        QVERIFY(adj.open(QIODevice::ReadWrite));
        const QByteArray bytes = adj.readAll();
        const qsizetype firstSynset = bytes.indexOf("\n0") + 1;
        QVERIFY(firstSynset > 0);
        QVERIFY(adj.resize(firstSynset + 12));
        adj.close();

        auto spellCheck = thesaurus(wdEnglishUS, QString());
        spellCheck->setWordNet(std::make_unique<WordNetReader>(QStringList{dir.path()}));
        const WordMeanings::Answer answer = spellCheck->Meanings(QStringLiteral("bright"));
        QCOMPARE(answer.meanings.size(), 5);
        for (const Meaning &meaning : answer.meanings)
            QVERIFY2(meaning.definition.isEmpty(), qPrintable(render(meaning)));
        QCOMPARE(answer.notes.size(), 1);
        QVERIFY2(answer.notes[0].contains(QStringLiteral("data.adj")), qPrintable(answer.notes[0]));
    }

    // Other languages: the label table, the data's own notes, no definitions.
    void otherLanguages_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("French labels") << int(wdFrench) << QStringLiteral("clair")
                                       << QStringList{QStringLiteral("adj (Adjectif): lumineux, limpide"),
                                                      QStringLiteral("noun (Nom): clarté"),
                                                      QStringLiteral(" (Adjectif Nom): évident"),
                                                      QStringLiteral("adv (Adverbe): clairement")};
        QTest::newRow("Russian relation labels")
            << int(wdRussian) << QStringLiteral("ад")
            << QStringList{QStringLiteral(" (синоним): преисподняя, пекло"),
                           QStringLiteral(" (сходный термин): бездна/similar"), QStringLiteral(" (антоним):  !рай")};
        QTest::newRow("German notes") << int(wdGerman) << QStringLiteral("hell")
                                      << QStringList{
                                             QStringLiteral(" -: licht, strahlend/ugs., Helligkeit/generic !dunkel")};
    }
    void otherLanguages()
    {
        QFETCH(int, language);
        QFETCH(QString, word);
        QFETCH(QStringList, expected);
        // WordNet is there but defines English only.
        const auto spellCheck = thesaurus(TSpellCheckLanguage(language), QStringLiteral("healthy"));
        const WordMeanings::Answer answer = spellCheck->Meanings(word);
        QCOMPARE(answer.root, word);
        QCOMPARE(render(answer.meanings), expected);
    }

    // A label naming several parts of speech names each.
    void partsOfSpeechOfLabels_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("one") << QStringLiteral("fr") << QStringLiteral("(Nom)") << QStringList{QStringLiteral("noun")};
        QTest::newRow("two") << QStringLiteral("fr") << QStringLiteral("(Adjectif Nom)")
                             << QStringList{QStringLiteral("adj"), QStringLiteral("noun")};
        QTest::newRow("with a slash") << QStringLiteral("gl") << QStringLiteral("(adxectivo / substantivo)")
                                      << QStringList{QStringLiteral("adj"), QStringLiteral("noun")};
        QTest::newRow("one part unknown") << QStringLiteral("fr") << QStringLiteral("(Adjectif Pronom)") << QStringList{};
        QTest::newRow("none") << QStringLiteral("de") << QStringLiteral("-") << QStringList{};
    }
    void partsOfSpeechOfLabels()
    {
        QFETCH(QString, language);
        QFETCH(QString, label);
        QFETCH(QStringList, parts);
        QCOMPARE(WordMeanings::partsOfSpeechOf(language, label), parts);
    }

    // The first level of a Generate as the part-of-speech and broader-term choices
    // filter it; the deeper levels expand what is left as always.
    void generateFilters_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("partsOfSpeech");
        QTest::addColumn<bool>("broaderTerms");
        QTest::addColumn<QString>("column");
        const QStringList none;
        const QStringList nouns{QStringLiteral("noun")};
        const QStringList adjectives{QStringLiteral("adj")};
        QTest::newRow("defaults") << int(wdEnglishUS) << QStringLiteral("glow") << none << true
                                  << QStringLiteral("radiance light shine beam");
        QTest::newRow("nouns") << int(wdEnglishUS) << QStringLiteral("glow") << nouns << true
                               << QStringLiteral("radiance light shine");
        QTest::newRow("no broader terms: plain elsewhere stays")
            << int(wdEnglishUS) << QStringLiteral("glow") << none << false << QStringLiteral("radiance shine beam");
        QTest::newRow("nouns without broader terms: the plain use is filtered out")
            << int(wdEnglishUS) << QStringLiteral("glow") << nouns << false << QStringLiteral("radiance");
        QTest::newRow("verbs and adverbs")
            << int(wdEnglishUS) << QStringLiteral("bright")
            << QStringList{QStringLiteral("adv"), QStringLiteral("verb")} << true << QStringLiteral("brightly");
        QTest::newRow("an inflected word through its root")
            << int(wdEnglishUS) << QStringLiteral("brighter") << QStringList{QStringLiteral("adv")} << true
            << QStringLiteral("brightly");
        QTest::newRow("French adjectives, a two-part label included")
            << int(wdFrench) << QStringLiteral("clair") << adjectives << true
            << QStringLiteral("lumineux limpide évident");
        QTest::newRow("French nouns") << int(wdFrench) << QStringLiteral("clair") << nouns << true
                                      << QStringLiteral("clarté évident");
        QTest::newRow("a language without parts of speech ignores the choice")
            << int(wdGerman) << QStringLiteral("hell") << nouns << true << QStringLiteral("licht strahlend Helligkeit");
        QTest::newRow("German broader term left out")
            << int(wdGerman) << QStringLiteral("hell") << none << false << QStringLiteral("licht strahlend");
    }
    void generateFilters()
    {
        QFETCH(int, language);
        QFETCH(QString, word);
        QFETCH(QStringList, partsOfSpeech);
        QFETCH(bool, broaderTerms);
        QFETCH(QString, column);
        const auto spellCheck = thesaurus(TSpellCheckLanguage(language), QString());
        SynonymExpansion::GenerateOptions options;
        options.partsOfSpeech = partsOfSpeech;
        options.broaderTerms = broaderTerms;
        auto generated = SynonymExpansion::Generate(*spellCheck, TSpellCheckLanguage(language), word, 0, options);
        const auto &result = std::get<SynonymExpansion::Generated>(generated);
        QCOMPARE(result.columns.size(), 1);
        QStringList words;
        for (const SynonymExpansion::Entry &entry : result.columns[0].entries)
            words.append(entry.text);
        QCOMPARE(words.join(QLatin1Char(' ')), column);
    }

    // A source that keeps no meanings answers its flat list as one meaning.
    void flatSourceAnswersOneMeaning()
    {
        class Flat : public ThesaurusSource
        {
        public:
            void start() override {}
            bool appendSynonyms(const QString &word, std::int32_t, QStringList &synonyms) override
            {
                if (word != u"bright")
                    return false;
                synonyms << QStringLiteral("vivid") << QStringLiteral("smart");
                return true;
            }
            void quit() override {}
            bool hasData(std::int32_t) const override { return true; }
        };
        TSpellCheck spellCheck(nullptr, std::make_unique<Flat>());
        spellCheck.setWordForms(std::make_unique<WordForms>(QStringList{}));
        spellCheck.setWordNet(std::make_unique<WordNetReader>(QStringList{}));
        QCOMPARE(render(spellCheck.Meanings(QStringLiteral("bright")).meanings),
                 QStringList{QStringLiteral(" : vivid, smart")});
    }
};

QTEST_GUILESS_MAIN(TestWordMeanings)
#include "test_wordmeanings.moc"
