#include "thesaurus/WordNetReader.h"

#include <QTest>

#include <algorithm>

using PartOfSpeech = WordNetReader::PartOfSpeech;

// The reader over the WordNet installed on the machine (Debian's wordnet-base).
class TestWordNetSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installedWordNet();
};

void TestWordNetSystem::installedWordNet()
{
    WordNetReader reader({QStringLiteral("/usr/share/wordnet")});
    if (!reader.hasPartOfSpeech(PartOfSpeech::Adjective) || !reader.hasPartOfSpeech(PartOfSpeech::Noun))
        QSKIP("no WordNet installed in /usr/share/wordnet");

    const QList<WordNetReader::Sense> bright = reader.senses(QStringLiteral("bright"), PartOfSpeech::Adjective);
    QVERIFY(bright.size() > 1);
    QVERIFY(!bright[0].definition.isEmpty());
    QVERIFY(bright[0].words.contains(QStringLiteral("bright")));
    // Its head sense has "dull" for an antonym; some later sense is a satellite.
    bool dull = false;
    for (const WordNetReader::Antonym &antonym : bright[0].antonyms)
        dull = dull || antonym.antonym == QStringLiteral("dull");
    QVERIFY(dull);
    QVERIFY(std::any_of(bright.cbegin(), bright.cend(), [](const auto &sense) { return sense.satellite; }));

    // A multi-word lemma, a hypernym and examples in its gloss.
    const QList<WordNetReader::Sense> iceCream = reader.senses(QStringLiteral("ice cream"), PartOfSpeech::Noun);
    QVERIFY(!iceCream.isEmpty());
    QVERIFY(!iceCream[0].broaderTerms.isEmpty());
    const QList<WordNetReader::Sense> dog = reader.senses(QStringLiteral("dog"), PartOfSpeech::Noun);
    QVERIFY(dog.size() > 1);
    QVERIFY(!dog[0].examples.isEmpty());
    QVERIFY(!reader.senses(QStringLiteral("run"), PartOfSpeech::Verb).isEmpty());
    QVERIFY(!reader.senses(QStringLiteral("quickly"), PartOfSpeech::Adverb).isEmpty());
    // The installed index is in order: nothing to tell.
    QVERIFY(reader.takeNotes().isEmpty());
}

QTEST_GUILESS_MAIN(TestWordNetSystem)
#include "test_wordnetsystem.moc"
