#include "ScriptedSource.h"
#include "TestWords.h"

#include "common/AppError.h"
#include "thesaurus/TSpellCheck.h"

#include <QFile>
#include <QTest>

using TestWords::words;

namespace {

struct Fixture {
    std::shared_ptr<ScriptedSource::Log> log;
    std::unique_ptr<TSpellCheck> spellCheck;
};

Fixture make(std::unique_ptr<ScriptedSource> source)
{
    Fixture f{source->log, nullptr};
    f.spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
    return f;
}

} // namespace

class TestTSpellCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getSynonyms_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("foundFalse");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("found");

        QTest::newRow("meanings in order, repeats kept") << "w: a, b | c | b, d" << false << words("a, b, c, b, d") << true;
        QTest::newRow("empty meaning in the middle") << "w: a | | b" << false << words("a, b") << true;
        QTest::newRow("empty first and last meanings") << "w: | a | " << false << words("a") << true;
        QTest::newRow("found with no synonyms") << "w:" << false << QStringList{} << true;
        QTest::newRow("not found yet has words") << "w: a | b" << true << words("a, b") << false;
        QTest::newRow("unknown word") << "other: a" << false << QStringList{} << false;
    }
    void getSynonyms()
    {
        QFETCH(QString, script);
        QFETCH(bool, foundFalse);
        QFETCH(QStringList, expected);
        QFETCH(bool, found);

        auto source = ScriptedSource::fromText(script);
        if (foundFalse)
            source->foundFalse.insert(QStringLiteral("w"));
        Fixture f = make(std::move(source));
        QStringList list{QStringLiteral("stale")};
        QCOMPARE(f.spellCheck->GetSynonyms(QStringLiteral("w"), list), found);
        QCOMPARE(list, expected);
        QCOMPARE(f.log->words(), QStringList{QStringLiteral("w")});
    }

    // The word goes to the source as typed: case folding is the source's business.
    void wordIsPassedAsTyped()
    {
        Fixture f = make(ScriptedSource::fromText(QStringLiteral("bright: light")));
        QStringList list;
        QVERIFY(!f.spellCheck->GetSynonyms(QStringLiteral("Bright "), list));
        QCOMPARE(f.log->words(), QStringList{QStringLiteral("Bright ")});
    }

    void languageIdentifier_data()
    {
        QTest::addColumn<int>("language"); // -1: never set
        QTest::addColumn<int>("identifier");

        QTest::newRow("default is English US") << -1 << 1033;
        QTest::newRow("no proofing") << int(wdNoProofing) << 1024;
        QTest::newRow("language none") << int(wdLanguageNone) << 0;
        QTest::newRow("German") << int(wdGerman) << 1031;
        QTest::newRow("English UK") << int(wdEnglishUK) << 2057;
        QTest::newRow("Swiss Italian, last") << int(wdSwissItalian) << 2064;
    }
    void languageIdentifier()
    {
        QFETCH(int, language);
        QFETCH(int, identifier);

        Fixture f = make(ScriptedSource::fromText(QStringLiteral("w: a")));
        if (language >= 0)
            f.spellCheck->setLanguage(TSpellCheckLanguage(language));
        QStringList list;
        f.spellCheck->GetSynonyms(QStringLiteral("w"), list);
        f.spellCheck->GetSynonyms(QStringLiteral("v"), list);
        const QList<ScriptedSource::Call> expected{{QStringLiteral("w"), identifier}, {QStringLiteral("v"), identifier}};
        QCOMPARE(f.log->calls, expected);
    }

    void sourceErrorPassesThrough_data()
    {
        QTest::addColumn<int>("throwAtCall");
        QTest::addColumn<int>("throwAtMeaning");
        QTest::addColumn<QStringList>("partial");

        QTest::newRow("at the lookup") << 0 << -1 << QStringList{};
        QTest::newRow("at the first meaning") << -1 << 1 << QStringList{};
        QTest::newRow("at the third meaning") << -1 << 3 << words("a, b, c");
    }
    void sourceErrorPassesThrough()
    {
        QFETCH(int, throwAtCall);
        QFETCH(int, throwAtMeaning);
        QFETCH(QStringList, partial);

        auto source = ScriptedSource::fromText(QStringLiteral("w: a, b | c | d | e"));
        source->throwAtCall = throwAtCall;
        source->throwAtWord = QStringLiteral("w");
        source->throwAtMeaning = throwAtMeaning;
        Fixture f = make(std::move(source));

        QStringList list{QStringLiteral("stale")};
        bool threw = false;
        try {
            f.spellCheck->GetSynonyms(QStringLiteral("w"), list);
        } catch (const AppError &error) {
            threw = true;
            QVERIFY(error.message().startsWith(QStringLiteral("scripted failure")));
        }
        QVERIFY(threw);
        QCOMPARE(list, partial);

        // One failed lookup does not switch the thesaurus off.
        QVERIFY(f.spellCheck->Active());
        QVERIFY(!f.spellCheck->GetSynonyms(QStringLiteral("unknown"), list));
        QCOMPARE(f.log->calls.size(), 2);
    }

    void startedOnceAndQuitOnDestruction()
    {
        Fixture f = make(ScriptedSource::fromText(QStringLiteral("w: a")));
        QVERIFY(f.spellCheck->Active());
        QStringList list;
        f.spellCheck->GetSynonyms(QStringLiteral("w"), list);
        f.spellCheck->GetSynonyms(QStringLiteral("w"), list);
        QCOMPARE(f.log->starts, 1);
        QCOMPARE(f.log->quits, 0);
        f.spellCheck.reset();
        QCOMPARE(f.log->quits, 1);
    }

    void failedStartLeavesItInactive()
    {
        auto source = ScriptedSource::fromText(QStringLiteral("w: a"));
        source->failStart = true;
        std::unique_ptr<TSpellCheck> spellCheck;
        std::shared_ptr<ScriptedSource::Log> log = source->log;
        // Silently: no exception reaches the owner.
        spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
        QVERIFY(!spellCheck->Active());
        QCOMPARE(log->starts, 1);

        QStringList list{QStringLiteral("stale")};
        QVERIFY(!spellCheck->GetSynonyms(QStringLiteral("w"), list));
        QVERIFY(list.isEmpty());
        QVERIFY(log->calls.isEmpty());

        spellCheck.reset();
        QCOMPARE(log->quits, 0);
    }

    // Without a source of its own it reads the MyThes data along the search path,
    // here with the fixture folder first.
    void realSourceReadsTheFixtures()
    {
        qputenv("VERBARIUM_THESAURUS_PATH", QFile::encodeName(QStringLiteral(VERBARIUM_TEST_DATA "/thesaurus")));
        TSpellCheck spellCheck;
        QVERIFY(spellCheck.Active());
        QStringList list;
        QVERIFY(spellCheck.GetSynonyms(QStringLiteral("Bright"), list));
        const QStringList bright = words("brilliant, shining, vivid, smart, smart, clever, brilliant, brightly");
        QCOMPARE(list, bright);
        QVERIFY(spellCheck.GetSynonyms(QStringLiteral("Verbarium"), list));
        QCOMPARE(list, words("thesaurus, word finder"));

        spellCheck.setLanguage(wdNoProofing);
        QVERIFY(!spellCheck.GetSynonyms(QStringLiteral("bright"), list));
        QVERIFY(list.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTSpellCheck)
#include "test_tspellcheck.moc"
