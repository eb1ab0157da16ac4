#include "ScriptedSource.h"
#include "TestWords.h"

#include "common/AppError.h"
#include "thesaurus/Generate.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordForms.h"

#include <QTest>

using namespace SynonymExpansion;
using TestWords::words;

namespace {

// A phrase of n words "w1 w2 ...".
QString phraseOf(int n)
{
    QStringList list;
    for (int i = 1; i <= n; ++i)
        list.append(QStringLiteral("w%1").arg(i));
    return list.join(QLatin1Char(' '));
}

// Column entries as "text:tier".
QStringList shown(const ColumnWords &column)
{
    QStringList result;
    for (const Entry &e : column)
        result.append(QStringLiteral("%1:%2").arg(e.text).arg(e.tier));
    return result;
}

// The real Hunspell fixtures find the roots of typed words; the script answers the lookups.
const QString WordFormsDir = QStringLiteral(VERBARIUM_TEST_DATA "/wordforms");

struct Generator {
    std::shared_ptr<ScriptedSource::Log> log;
    std::unique_ptr<TSpellCheck> spellCheck;

    explicit Generator(const QString &script, int throwAtCall = -1)
    {
        auto source = ScriptedSource::fromText(script);
        source->throwAtCall = throwAtCall;
        log = source->log;
        spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
        spellCheck->setWordForms(std::make_unique<WordForms>(QStringList{WordFormsDir}));
    }
    std::variant<Generated, Refusal> run(const QString &phrase, int depth, TSpellCheckLanguage language = wdEnglishUS)
    {
        return Generate(*spellCheck, language, phrase, depth);
    }
};

// Columns as "piece word>root: text:tier, ...", misses as "piece word?suggestion, ..."
// and, for a word the phrase repeats, " also at piece piece".
QStringList shown(const Generated &generated)
{
    QStringList result;
    for (const GeneratedColumn &column : generated.columns)
        result.append(QStringLiteral("%1 %2>%3: %4")
                          .arg(column.piece)
                          .arg(column.word, column.root, shown(column.entries).join(QStringLiteral(", "))));
    for (const Miss &miss : generated.misses) {
        QString line =
            QStringLiteral("%1 %2?%3").arg(miss.piece).arg(miss.root.typed, miss.root.suggestions.join(QStringLiteral(", ")));
        if (!miss.alsoAt.isEmpty()) {
            line += QStringLiteral(" also at");
            for (const int piece : miss.alsoAt)
                line += QStringLiteral(" %1").arg(piece);
        }
        result.append(line);
    }
    return result;
}

} // namespace

class TestSynonymExpansion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitPhrase_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("pieces"); // when accepted
        QTest::addColumn<QString>("refusal");    // empty when accepted

        const QStringList ten = phraseOf(10).split(QLatin1Char(' '));
        const QString max10 = tooManyWordsMessage();
        const QString max3 = tooManyDoraz3WordsMessage();

        QTest::newRow("two words") << "bright morning" << 0 << words("bright, morning") << QString();
        QTest::newRow("two spaces give an empty piece")
            << "bright  morning" << 0 << QStringList{QStringLiteral("bright"), QString(), QStringLiteral("morning")}
            << QString();
        QTest::newRow("leading and trailing spaces")
            << " a " << 1 << QStringList{QString(), QStringLiteral("a"), QString()} << QString();
        QTest::newRow("only other white space cuts nothing")
            << QStringLiteral("a\tb\u00A0c\nd") << 0 << QStringList{QStringLiteral("a\tb\u00A0c\nd")} << QString();
        QTest::newRow("three spaces, depth 0") << "   " << 0 << QStringList(4, QString()) << QString();
        QTest::newRow("three spaces, depth 2") << "   " << 2 << QStringList{} << max3;

        QTest::newRow("10 words, depth 0") << phraseOf(10) << 0 << ten << QString();
        QTest::newRow("10 words, depth 1") << phraseOf(10) << 1 << ten << QString();
        QTest::newRow("10 words and a trailing space") << phraseOf(10) + QLatin1Char(' ') << 0 << QStringList{} << max10;
        for (int depth : {-1, 0, 1, 2, 7})
            QTest::addRow("11 words, depth %d", depth) << phraseOf(11) << depth << QStringList{} << max10;

        QTest::newRow("4 words, depth 0") << phraseOf(4) << 0 << phraseOf(4).split(QLatin1Char(' ')) << QString();
        QTest::newRow("4 words, depth 1") << phraseOf(4) << 1 << phraseOf(4).split(QLatin1Char(' ')) << QString();
        QTest::newRow("4 words, depth 2") << phraseOf(4) << 2 << QStringList{} << max3;
        QTest::newRow("4 words, depth -1 acts as 0")
            << phraseOf(4) << -1 << phraseOf(4).split(QLatin1Char(' ')) << QString();
        QTest::newRow("4 words, depth 7") << phraseOf(4) << 7 << phraseOf(4).split(QLatin1Char(' ')) << QString();
        QTest::newRow("3 words, depth 2") << phraseOf(3) << 2 << phraseOf(3).split(QLatin1Char(' ')) << QString();
    }
    void splitPhrase()
    {
        QFETCH(QString, phrase);
        QFETCH(int, depth);
        QFETCH(QStringList, pieces);
        QFETCH(QString, refusal);

        const auto result = SplitPhrase(phrase, depth);
        if (refusal.isEmpty()) {
            QVERIFY(std::holds_alternative<QStringList>(result));
            QCOMPARE(std::get<QStringList>(result), pieces);
        } else {
            QVERIFY(std::holds_alternative<Refusal>(result));
            QCOMPARE(std::get<Refusal>(result).message, refusal);
        }
    }

    void messages()
    {
        QCOMPARE(emptyPhraseMessage(), QStringLiteral("Write a phrase, first!"));
        QCOMPARE(tooManyWordsMessage(), QStringLiteral("Max 10 words at a time !"));
        QCOMPARE(tooManyDoraz3WordsMessage(), QStringLiteral("Only 3 words at a time when requesting an Doraz 3 result!"));
    }

    void expandWord_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("column");  // "text:tier"
        QTest::addColumn<QStringList>("lookups"); // in order

        const QString chain = QStringLiteral("w: a; a: b; b: c; c: d");
        QTest::newRow("chain, depth 0") << chain << 0 << words("a:0") << words("w");
        QTest::newRow("chain, depth 1") << chain << 1 << words("a:0, b:1") << words("w, a");
        QTest::newRow("chain, depth 2") << chain << 2 << words("a:0, b:1, c:2") << words("w, a, b");
        QTest::newRow("chain, depth -1") << chain << -1 << words("a:0") << words("w");
        QTest::newRow("chain, depth 7") << chain << 7 << words("a:0") << words("w");

        QTest::newRow("repeat across meanings kept once")
            << "w: a, b | c | b, d" << 0 << words("a:0, b:0, c:0, d:0") << words("w");
        QTest::newRow("pre-order walk") << "w: a, b; a: c, d; b: e; c: f; e: g" << 2
                                        << words("a:0, c:1, f:2, d:1, b:0, e:1, g:2") << words("w, a, c, d, b, e");
        QTest::newRow("letter case variants are one word, the first form stays")
            << "w: Quick, quick, QUICK, fast; fast: quick, speedy" << 1 << words("Quick:0, fast:0, speedy:1")
            << words("w, Quick, fast");
        QTest::newRow("case folding beyond ASCII")
            << "w: Ärger, ärger, ÄRGER, Straße" << 0 << words("Ärger:0, Straße:0") << words("w");
        QTest::newRow("whole words only")
            << "w: run, run up, rerun, Run, ru" << 0 << words("run:0, run up:0, rerun:0, ru:0") << words("w");
        QTest::newRow("first place kept over a later lower tier")
            << "w: a, b; a: b, c" << 1 << words("a:0, b:1, c:1") << words("w, a");
        QTest::newRow("tier-2 word skipped again at tier 0")
            << "w: a, c; a: b; b: c, d" << 2 << words("a:0, b:1, c:2, d:2") << words("w, a, b");
        QTest::newRow("the typed word itself may appear")
            << "w: a; a: w, b" << 2 << words("a:0, w:1, b:1") << words("w, a, w, b");
        QTest::newRow("lookups: the word, tier 0, then tier 1 entries")
            << "w: a, b, a; a: c, d, b; b: e; c: f, a" << 2 << words("a:0, c:1, f:2, d:1, b:1, e:2")
            << words("w, a, c, d, b");
        QTest::newRow("nothing found") << "other: a" << 2 << QStringList{} << words("w");
    }
    void expandWord()
    {
        QFETCH(QString, script);
        QFETCH(int, depth);
        QFETCH(QStringList, column);
        QFETCH(QStringList, lookups);

        auto source = ScriptedSource::fromText(script);
        const auto log = source->log;
        TSpellCheck spellCheck(nullptr, std::move(source));
        spellCheck.setLanguage(wdEnglishUK);

        QCOMPARE(shown(ExpandWord(QStringLiteral("w"), depth, lookupThrough(spellCheck))), column);
        QCOMPARE(log->words(), lookups);
        for (const ScriptedSource::Call &call : std::as_const(log->calls))
            QCOMPARE(call.languageId, 2057);
    }

    void expandWordPassesErrorsOn()
    {
        auto source = ScriptedSource::fromText(QStringLiteral("w: a, b; a: c; b: d"));
        source->throwAtCall = 2; // the lookup of "b"
        TSpellCheck spellCheck(nullptr, std::move(source));
        QVERIFY_THROWS_EXCEPTION(AppError, ExpandWord(QStringLiteral("w"), 1, lookupThrough(spellCheck)));
    }
    void generate_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("result");

        const QString script = QStringLiteral("bright: shining, vivid; shining: gleaming; run: dash; copy: replica");
        QTest::newRow("typed word through its root")
            << "brighter copies" << 0
            << QStringList{QStringLiteral("0 brighter>bright: shining:0, vivid:0"),
                           QStringLiteral("1 copies>copy: replica:0")};
        QTest::newRow("depth reaches the column")
            << "bright" << 1 << QStringList{QStringLiteral("0 bright>bright: shining:0, gleaming:1, vivid:0")};
        QTest::newRow("empty pieces and punctuation: no column, no miss, places kept")
            << "run  -- run" << 0
            << QStringList{QStringLiteral("0 run>run: dash:0"), QStringLiteral("3 run>run: dash:0")};
        QTest::newRow("a miss with the spellings that would find something")
            << "brigt run" << 0 << QStringList{QStringLiteral("1 run>run: dash:0"), QStringLiteral("0 brigt?bright")};
        QTest::newRow("a word the dictionary knows but the thesaurus does not")
            << "glass" << 0 << QStringList{QStringLiteral("0 glass?")};
    }
    void generate()
    {
        QFETCH(QString, phrase);
        QFETCH(int, depth);
        QFETCH(QStringList, result);

        Generator generator(QStringLiteral("bright: shining, vivid; shining: gleaming; run: dash; copy: replica"));
        auto outcome = generator.run(phrase, depth);
        QVERIFY(std::holds_alternative<Generated>(outcome));
        const Generated &generated = std::get<Generated>(outcome);
        QCOMPARE(shown(generated), result);
        QCOMPARE(generated.pieceCount, int(phrase.split(QLatin1Char(' ')).size()));
        QVERIFY(!generated.failure);
        QVERIFY(generated.notes.isEmpty());
    }

    // The fixture dictionary accepts "the", which has no synonyms; "then" has some.
    void generateTellsEachMissOnce_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("a word spelled right: no suggestions") << "the" << QStringList{QStringLiteral("0 the?")};
        QTest::newRow("twice: one miss") << "the bright the"
                                         << QStringList{QStringLiteral("1 bright>bright: shining:0"),
                                                        QStringLiteral("0 the? also at 2")};
        QTest::newRow("in other cases and punctuation: one miss")
            << "The the, THE" << QStringList{QStringLiteral("0 The? also at 1 2")};
        QTest::newRow("misspelt, twice: one miss with suggestions")
            << "thenn the thenn" << QStringList{QStringLiteral("0 thenn?then also at 2"), QStringLiteral("1 the?")};
    }
    void generateTellsEachMissOnce()
    {
        QFETCH(QString, phrase);
        QFETCH(QStringList, result);
        Generator generator(QStringLiteral("bright: shining; then: next"));
        auto outcome = generator.run(phrase, 0);
        QVERIFY(std::holds_alternative<Generated>(outcome));
        QCOMPARE(shown(std::get<Generated>(outcome)), result);
    }

    void generateLooksUpInTheGivenLanguage()
    {
        Generator generator(QStringLiteral("bright: vivid"));
        QVERIFY(std::holds_alternative<Generated>(generator.run(QStringLiteral("bright"), 0, wdEnglishUK)));
        QVERIFY(!generator.log->calls.isEmpty());
        for (const ScriptedSource::Call &call : std::as_const(generator.log->calls))
            QCOMPARE(call.languageId, 2057);
    }

    void generateRefusesBeforeAnyLookup_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pieceCount");
        QTest::newRow("empty") << QString() << 0 << emptyPhraseMessage() << 0;
        QTest::newRow("11 words") << phraseOf(11) << 0 << tooManyWordsMessage() << 11;
        QTest::newRow("4 words at depth 2") << phraseOf(4) << 2 << tooManyDoraz3WordsMessage() << 4;
    }
    void generateRefusesBeforeAnyLookup()
    {
        QFETCH(QString, phrase);
        QFETCH(int, depth);
        QFETCH(QString, message);
        QFETCH(int, pieceCount);

        Generator generator(QStringLiteral("w1: a"));
        auto outcome = generator.run(phrase, depth);
        const auto *refusal = std::get_if<Refusal>(&outcome);
        QVERIFY(refusal);
        QCOMPARE(refusal->message, message);
        QCOMPARE(refusal->pieceCount, pieceCount);
        QVERIFY(generator.log->calls.isEmpty());
    }

    void generateKeepsWhatWasFinishedBeforeAFailure()
    {
        const QString script = QStringLiteral("bright: vivid; run: dash");
        const QString phrase = QStringLiteral("bright zzz run bright");
        // Where the first lookup of "run" falls, counted on a run that does not fail.
        Generator counting(script);
        QVERIFY(std::holds_alternative<Generated>(counting.run(phrase, 0)));
        const int runCall = int(counting.log->words().indexOf(QStringLiteral("run")));
        QVERIFY(runCall > 0);

        Generator failing(script, runCall);
        auto outcome = failing.run(phrase, 0);
        QVERIFY(std::holds_alternative<Generated>(outcome));
        const Generated &generated = std::get<Generated>(outcome);
        QVERIFY(generated.failure);
        QCOMPARE(generated.failure->message(), QStringLiteral("scripted failure at call %1").arg(runCall));
        QCOMPARE(shown(generated), (QStringList{QStringLiteral("0 bright>bright: vivid:0"), QStringLiteral("1 zzz?")}));
        QCOMPARE(generated.pieceCount, 4);
        QCOMPARE(failing.log->calls.size(), runCall + 1); // nothing looked up after the failure
    }

    void generateTellsDictionariesThatCannotBeUsed()
    {
        auto source = ScriptedSource::fromText(QStringLiteral("bright: vivid"));
        TSpellCheck spellCheck(nullptr, std::move(source));
        spellCheck.setWordForms(std::make_unique<WordForms>(
            QStringList{QStringLiteral(VERBARIUM_TEST_DATA "/wordforms-damaged/missing-aff"), WordFormsDir}));
        auto outcome = Generate(spellCheck, wdEnglishUS, QStringLiteral("brigt brighter"), 0);
        QVERIFY(std::holds_alternative<Generated>(outcome));
        QCOMPARE(std::get<Generated>(outcome).notes.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSynonymExpansion)
#include "test_synonymexpansion.moc"
