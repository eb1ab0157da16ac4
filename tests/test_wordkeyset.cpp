#include "thesaurus/WordKeySet.h"

#include <QStringList>
#include <QTest>

namespace {

// The owner of the words, as a result column keeps them: the set only points into it.
struct Owner {
    struct TextAt {
        const QStringList *words;
        const QString &operator()(std::uint32_t i) const { return (*words)[i]; }
    };
    QStringList words;
    WordKeySet<TextAt> keys{TextAt{&words}};

    bool add(const QString &word)
    {
        if (!keys.insert(word, std::uint32_t(words.size())))
            return false;
        words.append(word);
        return true;
    }
};

} // namespace

class TestWordKeySet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The second word is added after the first: is it taken as a new word?
    void letterCase_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("sameWord");

        QTest::newRow("same word") << "bright"
                                   << "bright" << true;
        QTest::newRow("ASCII case") << "Bright"
                                    << "bRIGHT" << true;
        QTest::newRow("A umlaut, upper and lower") << QStringLiteral("\u00C4rger") << QStringLiteral("\u00E4RGER") << true;
        QTest::newRow("A umlaut is not A") << QStringLiteral("\u00C4rger") << "Arger" << false;
        QTest::newRow("Kelvin sign is k") << QStringLiteral("\u212Aelvin") << "kelvin" << true;
        QTest::newRow("Kelvin sign is K") << QStringLiteral("\u212A") << "K" << true;
        QTest::newRow("k is Kelvin sign, ASCII first") << "k" << QStringLiteral("\u212A") << true;
        QTest::newRow("sharp s, twice") << QStringLiteral("stra\u00DFe") << QStringLiteral("STRA\u00DFE") << true;
        // Folding is one letter for one letter: "ß" does not become "ss".
        QTest::newRow("sharp s is not ss") << QStringLiteral("stra\u00DFe") << "strasse" << false;
        QTest::newRow("sharp s is not SS") << QStringLiteral("\u00DF") << "SS" << false;
        QTest::newRow("non-ASCII late in the word") << QStringLiteral("caf\u00C9") << QStringLiteral("CAF\u00E9") << true;
        QTest::newRow("prefix") << "run"
                                << "runs" << false;
        QTest::newRow("empty and a word") << ""
                                          << "a" << false;
        QTest::newRow("empty twice") << ""
                                     << "" << true;
    }
    void letterCase()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, sameWord);

        Owner owner;
        QVERIFY(owner.add(first));
        QCOMPARE(owner.add(second), !sameWord);
        // Equal words hash alike, or the set could not find them.
        if (sameWord)
            QCOMPARE(WordKeySet<Owner::TextAt>::foldedHash(first), WordKeySet<Owner::TextAt>::foldedHash(second));
        // The first form is the one kept.
        QCOMPARE(owner.words.first(), first);
        QCOMPARE(owner.words.size(), sameWord ? 1 : 2);
    }

    // Many words in a small table: they share slots and the table grows many times,
    // from no reserve at all. Every word stays findable in every letter case, and
    // nothing distinct is lost.
    void collisionsAndGrowth()
    {
        Owner owner;
        constexpr int Words = 5000;
        for (int i = 0; i < Words; ++i)
            QVERIFY2(owner.add(QStringLiteral("w%1").arg(i)), qPrintable(QString::number(i)));
        QCOMPARE(owner.words.size(), Words);
        for (int i = 0; i < Words; ++i) {
            QVERIFY2(!owner.add(QStringLiteral("W%1").arg(i)), qPrintable(QString::number(i)));
            QVERIFY2(!owner.add(QStringLiteral("w%1").arg(i)), qPrintable(QString::number(i)));
        }
        QCOMPARE(owner.words.size(), Words);
        // Words of the same letters in other orders land near each other and are still apart.
        const QStringList anagrams = {QStringLiteral("listen"), QStringLiteral("silent"), QStringLiteral("enlist"),
                                      QStringLiteral("tinsel"), QStringLiteral("inlets")};
        for (const QString &word : anagrams)
            QVERIFY(owner.add(word));
        for (const QString &word : anagrams)
            QVERIFY(!owner.add(word.toUpper()));
    }

    // A reserve after words were added moves them into the bigger table; a smaller
    // one changes nothing.
    void reserveKeepsTheWords()
    {
        Owner owner;
        const QStringList words = {QStringLiteral("a"), QStringLiteral("\u00C4"), QStringLiteral("\u212A"),
                                   QStringLiteral("\u00DF"), QStringLiteral("b")};
        for (const QString &word : words)
            QVERIFY(owner.add(word));
        for (const qsizetype size : {qsizetype(1000), qsizetype(2), qsizetype(100000)}) {
            owner.keys.reserve(size);
            QVERIFY(!owner.add(QStringLiteral("A")));
            QVERIFY(!owner.add(QStringLiteral("\u00E4")));
            QVERIFY(!owner.add(QStringLiteral("k")));
            QVERIFY(!owner.add(QStringLiteral("\u00DF")));
            QVERIFY(!owner.add(QStringLiteral("B")));
        }
        QVERIFY(owner.add(QStringLiteral("c")));
        QCOMPARE(owner.words.size(), words.size() + 1);
    }
};

QTEST_GUILESS_MAIN(TestWordKeySet)
#include "test_wordkeyset.moc"
