#include "ScriptedSource.h"
#include "TestWords.h"

#include "common/AppError.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"
#include "thesaurus/WordTreeFill.h"

#include <QTest>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <mutex>

using TestWords::words;

namespace {

// The tree as indented lines, two spaces a level, like the word tree window shows it.
QString outline(const WordTree &tree)
{
    QStringList lines;
    for (const WordTree::Node &node : tree.nodes)
        lines.append(QString(2 * node.level, QLatin1Char(' ')) + node.text);
    return lines.join(QLatin1Char('\n'));
}

// With the parents right, the outline says everything: each node hangs from the
// nearest node before it one level up.
bool parentsConsistent(const WordTree &tree, QString *problem)
{
    if (tree.nodes.isEmpty() || tree.nodes[0].level != 0 || tree.nodes[0].parent != -1) {
        *problem = QStringLiteral("the root is not the first node");
        return false;
    }
    for (int i = 1; i < tree.nodes.size(); ++i) {
        int expected = i - 1;
        while (expected >= 0 && tree.nodes[expected].level != tree.nodes[i].level - 1)
            --expected;
        if (tree.nodes[i].level < 1 || tree.nodes[i].level > 3 || tree.nodes[i].parent != expected
            || tree.nodes[i].level > tree.nodes[i - 1].level + 1) {
            *problem = QStringLiteral("node %1 \"%2\" at level %3 has parent %4")
                           .arg(i)
                           .arg(tree.nodes[i].text)
                           .arg(tree.nodes[i].level)
                           .arg(tree.nodes[i].parent);
            return false;
        }
    }
    return true;
}

// A made-up thesaurus big enough for several hand-overs: "w" has `wide` synonyms
// w0, w1, ...; each of those has `wide` of its own (w0_0, ...), and each of these
// `wide` more, a few of them repeated so that the dedupe has work.
SynonymExpansion::Lookup wideLookup(int wide)
{
    return [wide](const QString &word, QStringList &synonyms) {
        synonyms.clear();
        if (word.count(QLatin1Char('_')) > 1)
            return;
        for (int i = 0; i < wide; ++i)
            synonyms.append(word + (word == QStringLiteral("w") ? QString() : QStringLiteral("_")) + QString::number(i));
        synonyms.append(QStringLiteral("W0")); // equal to a level-1 word but for its case
    };
}

// Everything a background fill hands over, until it has ended.
QList<WordTree::Node> takeAll(WordTreeFill &fill)
{
    QList<WordTree::Node> nodes;
    while (fill.take(nodes)) {
    }
    return nodes;
}

} // namespace

class TestWordTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fill_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("tree");        // outline
        QTest::addColumn<QStringList>("lookups"); // the root, every level-1 entry, every level-2 node

        QTest::newRow("order and levels; level 3 is not looked up")
            << "w: a, b; a: c; c: d; d: e; b: f"
            << "w\n  a\n    c\n      d\n  b\n    f" << words("w, a, c, b, f");
        QTest::newRow("level 2 skips a placed word, lower case first")
            << "w: a, b; a: word; b: Word, WORD, other"
            << "w\n  a\n    word\n  b\n    other" << words("w, a, word, b, other");
        QTest::newRow("level 2 skips a placed word, upper case first")
            << "w: a, b; a: WORD; b: word"
            << "w\n  a\n    WORD\n  b" << words("w, a, WORD, b");
        QTest::newRow("level 3 skips a placed word and its repeats")
            << "w: a, b; a: c; c: a, d, D, d"
            << "w\n  a\n    c\n      d\n  b" << words("w, a, c, b");
        QTest::newRow("a level-3 word blocks it at level 2 later")
            << "w: a, b; a: c; c: d; b: d, e"
            << "w\n  a\n    c\n      d\n  b\n    e" << words("w, a, c, b, e");
        QTest::newRow("level-1 entries all placed, repeats and placed words included")
            << "w: a, A, a | a, c; a: b, c; b: x"
            << "w\n  a\n    b\n      x\n    c\n  A\n  a\n  a\n  c" << words("w, a, b, c, A, a, a, c");
        QTest::newRow("the root word may come back at level 2") << "w: a; a: w, b; b: W"
                                                                << "w\n  a\n    w\n    b" << words("w, a, w, b");
        QTest::newRow("the root word may come back at level 3") << "w: a; a: b; b: W, a"
                                                                << "w\n  a\n    b\n      W" << words("w, a, b");
        QTest::newRow("nothing found") << "other: a"
                                       << "w" << words("w");
    }
    void fill()
    {
        QFETCH(QString, script);
        QFETCH(QString, tree);
        QFETCH(QStringList, lookups);

        auto source = ScriptedSource::fromText(script);
        const auto log = source->log;
        TSpellCheck spellCheck(nullptr, std::move(source));
        WordTree result;
        result.fill(QStringLiteral("w"), SynonymExpansion::lookupThrough(spellCheck));

        QCOMPARE(outline(result), tree);
        QString problem;
        QVERIFY2(parentsConsistent(result, &problem), qPrintable(problem));
        QCOMPARE(result.lookups, lookups);
        QCOMPARE(log->words(), lookups);
    }

    void refillStartsAfresh()
    {
        TSpellCheck spellCheck(nullptr, ScriptedSource::fromText(QStringLiteral("w: a; a: b; v: c; c: b")));
        const auto lookup = SynonymExpansion::lookupThrough(spellCheck);
        WordTree tree;
        tree.fill(QStringLiteral("w"), lookup);
        tree.fill(QStringLiteral("v"), lookup);
        // "b" was placed by the first tree; the second one knows nothing of it.
        QCOMPARE(outline(tree), QStringLiteral("v\n  c\n    b"));
        QCOMPARE(tree.lookups, words("v, c, b"));
    }

    void failingLookupKeepsWhatWasPlaced_data()
    {
        QTest::addColumn<int>("throwAtCall");
        QTest::addColumn<QString>("tree");

        // calls: w, a, c, b
        QTest::newRow("at the root") << 0 << "w";
        QTest::newRow("at a level-2 word") << 2 << "w\n  a\n    c";
        QTest::newRow("at the second level-1 word") << 3 << "w\n  a\n    c\n      d\n  b";
    }
    void failingLookupKeepsWhatWasPlaced()
    {
        QFETCH(int, throwAtCall);
        QFETCH(QString, tree);

        auto source = ScriptedSource::fromText(QStringLiteral("w: a, b; a: c; c: d; b: e"));
        source->throwAtCall = throwAtCall;
        TSpellCheck spellCheck(nullptr, std::move(source));
        WordTree result;
        QVERIFY_THROWS_EXCEPTION(AppError, result.fill(QStringLiteral("w"), SynonymExpansion::lookupThrough(spellCheck)));
        QCOMPARE(outline(result), tree);
        QString problem;
        QVERIFY2(parentsConsistent(result, &problem), qPrintable(problem));
    }

    // The background fill hands over exactly the tree the plain fill makes, in its
    // order, and makes the same lookups.
    void backgroundFillGivesTheSameTree_data()
    {
        fill_data();
        // Several batches; the last one is short.
        QTest::newRow("several batches") << QString() << QString() << QStringList();
    }
    void backgroundFillGivesTheSameTree()
    {
        QFETCH(QString, script);
        const bool wide = script.isEmpty();
        const auto lookupFor = [&](std::shared_ptr<ScriptedSource::Log> *log) -> SynonymExpansion::Lookup {
            if (wide)
                return wideLookup(12);
            auto source = ScriptedSource::fromText(script);
            *log = source->log;
            auto spellCheck = std::make_shared<TSpellCheck>(nullptr, std::move(source));
            return [spellCheck](const QString &word, QStringList &synonyms) { spellCheck->GetSynonyms(word, synonyms); };
        };
        std::shared_ptr<ScriptedSource::Log> plainLog;
        std::shared_ptr<ScriptedSource::Log> backgroundLog;
        WordTree plain;
        plain.fill(QStringLiteral("w"), lookupFor(&plainLog));
        if (wide)
            QVERIFY(plain.nodes.size() > 3 * WordTreeFill::Batch);

        WordTreeFill fill(QStringLiteral("w"), lookupFor(&backgroundLog));
        const QList<WordTree::Node> handed = takeAll(fill);
        fill.finish();
        QCOMPARE(handed, plain.nodes);
        QCOMPARE(fill.tree().nodes, plain.nodes);
        QCOMPARE(fill.tree().lookups, plain.lookups);
        if (!wide)
            QCOMPARE(backgroundLog->words(), plainLog->words());
        // Once everything was taken, there is nothing more.
        QList<WordTree::Node> more;
        QVERIFY(!fill.take(more));
        QVERIFY(more.isEmpty());
    }

    // Nodes are handed over while the lookups go on, not only at the end: the lookup
    // of w8 waits until the taker has had nodes (or gives up after a while).
    void backgroundFillHandsOverWhileItLooksUp()
    {
        std::mutex mutex;
        std::condition_variable changed;
        bool taken = false;
        bool gaveUp = false;
        QThread *lookupThread = nullptr;
        const SynonymExpansion::Lookup wide = wideLookup(12);
        WordTreeFill fill(QStringLiteral("w"), [&](const QString &word, QStringList &synonyms) {
            if (word == QStringLiteral("w8")) {
                std::unique_lock lock(mutex);
                lookupThread = QThread::currentThread();
                gaveUp = !changed.wait_for(lock, std::chrono::seconds(10), [&] { return taken; });
            }
            wide(word, synonyms);
        });

        QList<WordTree::Node> first;
        QVERIFY(fill.take(first));
        {
            const std::lock_guard lock(mutex);
            taken = true;
        }
        changed.notify_all();
        QList<WordTree::Node> rest = takeAll(fill);
        fill.finish();

        QVERIFY2(!gaveUp, "no node was handed over while the fill waited in a lookup");
        QVERIFY(first.size() >= WordTreeFill::Batch);
        QVERIFY(lookupThread != QThread::currentThread());
        WordTree plain;
        plain.fill(QStringLiteral("w"), wide);
        QCOMPARE(first + rest, plain.nodes);
    }

    // A failing lookup ends the fill: the nodes placed before it are handed over,
    // and its error reaches the caller of finish(), unchanged.
    void backgroundFillFailing_data()
    {
        QTest::addColumn<QString>("failAt");
        QTest::newRow("at the root") << "w";
        QTest::newRow("after several batches") << "w9_3";
    }
    void backgroundFillFailing()
    {
        QFETCH(QString, failAt);
        const SynonymExpansion::Lookup wide = wideLookup(12);
        const SynonymExpansion::Lookup failing = [&](const QString &word, QStringList &synonyms) {
            if (word == failAt)
                throw AppError(QStringLiteral("cannot read %1").arg(word));
            wide(word, synonyms);
        };
        WordTree plain;
        QVERIFY_THROWS_EXCEPTION(AppError, plain.fill(QStringLiteral("w"), failing));

        WordTreeFill fill(QStringLiteral("w"), failing);
        const QList<WordTree::Node> handed = takeAll(fill);
        QString message;
        try {
            fill.finish();
        } catch (const AppError &e) {
            message = e.message();
        }
        QCOMPARE(message, QStringLiteral("cannot read %1").arg(failAt));
        QCOMPARE(handed, plain.nodes);
        QCOMPARE(fill.tree().nodes, plain.nodes);
        QCOMPARE(fill.tree().lookups.constLast(), failAt);
        // The error is met once.
        fill.finish();
    }

    // Dropped while it still looks up (the window failed meanwhile): it waits for its
    // thread, which then reaches nothing that is gone.
    void backgroundFillDroppedEarly()
    {
        int lookups = 0;
        {
            const SynonymExpansion::Lookup wide = wideLookup(12);
            WordTreeFill fill(QStringLiteral("w"), [&](const QString &word, QStringList &synonyms) {
                ++lookups;
                wide(word, synonyms);
            });
        }
        WordTree plain;
        plain.fill(QStringLiteral("w"), wideLookup(12));
        QCOMPARE(lookups, plain.lookups.size());
    }
};

QTEST_GUILESS_MAIN(TestWordTree)
#include "test_wordtree.moc"
