#include "TestFiles.h"

#include "thesaurus/Commonness.h"
#include "thesaurus/SynonymExpansion.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using SynonymExpansion::ColumnWords;
using SynonymExpansion::Entry;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);

// A column as "word/tier" items; "w" is tier 0, "w/1" tier 1, "w/2" tier 2.
ColumnWords column(const QString &text)
{
    ColumnWords entries;
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('/'));
        entries.append({parts[0], SynonymExpansion::Tier(parts.value(1, QStringLiteral("0")).toInt())});
    }
    return entries;
}

QString render(const ColumnWords &entries)
{
    QStringList items;
    for (const Entry &entry : entries)
        items.append(entry.tier == SynonymExpansion::DirectSynonym
                         ? entry.text
                         : entry.text + QLatin1Char('/') + QString::number(int(entry.tier)));
    return items.join(QLatin1Char(' '));
}

} // namespace

class TestCommonness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The rank of a word here is the number in its name ("c3" ranks 3); a word
    // without a number is unknown.
    void mostCommonFirst_data()
    {
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("ordered");
        QTest::newRow("first level by rank") << QStringLiteral("c3 c1 c2") << QStringLiteral("c1 c2 c3");
        QTest::newRow("ties keep the data's order") << QStringLiteral("b2 a1 c2 d1") << QStringLiteral("a1 d1 b2 c2");
        QTest::newRow("unknown words last, in order") << QStringLiteral("x c2 y c1") << QStringLiteral("c1 c2 x y");
        QTest::newRow("deeper words stay under their word")
            << QStringLiteral("c3 a9/1 b8/1 c1 d5/1") << QStringLiteral("c1 d5/1 c3 b8/1 a9/1");
        QTest::newRow("three tiers, each ordered among its own")
            << QStringLiteral("c2 e5/1 f9/2 g1/2 d4/1 c1") << QStringLiteral("c1 c2 d4/1 e5/1 g1/2 f9/2");
        QTest::newRow("one word") << QStringLiteral("c1/0") << QStringLiteral("c1");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
    }
    void mostCommonFirst()
    {
        QFETCH(QString, entries);
        QFETCH(QString, ordered);
        const auto rank = [](const QString &word) {
            bool ok = false;
            const int number = word.mid(1).toInt(&ok);
            return ok ? number : Commonness::Unknown;
        };
        const ColumnWords before = column(entries);
        const ColumnWords after = SynonymExpansion::MostCommonFirst(before, rank);
        QCOMPARE(render(after), ordered);
        QCOMPARE(after.size(), before.size());
    }

    void scowlLevels_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("rank");
        QTest::newRow("most common list") << QStringLiteral("run") << 10;
        QTest::newRow("in two lists: the lower level") << QStringLiteral("bright") << 10;
        QTest::newRow("rarest list") << QStringLiteral("nitid") << 95;
        QTest::newRow("capitalised, listed in lower case") << QStringLiteral("Shiny") << 35;
        QTest::newRow("listed capitalised") << QStringLiteral("Penny") << 35;
        QTest::newRow("several words: the rarest") << QStringLiteral("bright as a new penny") << Commonness::Unknown;
        QTest::newRow("several known words: the rarest") << QStringLiteral("a new day") << 35;
        QTest::newRow("hyphenated: the rarest part") << QStringLiteral("self-luminous") << 95;
        QTest::newRow("not listed") << QStringLiteral("coruscant") << Commonness::Unknown;
        QTest::newRow("only in another kind of list") << QStringLiteral("colour") << Commonness::Unknown;
    }
    void scowlLevels()
    {
        QFETCH(QString, word);
        QFETCH(int, rank);
        const std::unique_ptr<ScowlLevels> levels = ScowlLevels::load({DataDir + QStringLiteral("/scowl")});
        QVERIFY(levels);
        QCOMPARE(levels->rank(word), rank);
    }

    void scowlMissing()
    {
        QTemporaryDir empty;
        QVERIFY(!ScowlLevels::load({empty.path(), empty.path() + QStringLiteral("/none")}));
    }

    // How many entries of the default fixture list each word.
    void entryCounts_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("entries");
        QTest::newRow("three entries, twice in one") << QStringLiteral("dawn") << 3;
        QTest::newRow("a phrase") << QStringLiteral("coffee shop") << 2;
        QTest::newRow("twice in one entry, once with a note") << QStringLiteral("race") << 1;
        QTest::newRow("an antonym is not listed") << QStringLiteral("stop") << 0;
        QTest::newRow("as written") << QStringLiteral("Quick") << 1;
        QTest::newRow("headword only") << QStringLiteral("morning") << 1;
        QTest::newRow("nowhere") << QStringLiteral("zebra") << 0;
    }
    void entryCounts()
    {
        QFETCH(QString, word);
        QFETCH(int, entries);
        const std::unique_ptr<EntryCounts> counts = EntryCounts::count(DataDir
                                                                       + QStringLiteral("/thesaurus/th_en_US_v2.dat"));
        QCOMPARE(counts->entriesListing(word), entries);
        QCOMPARE(counts->rank(word), entries == 0 ? Commonness::Unknown : -entries);
    }

    // Counted once, then read from the cache; a changed data file or a damaged
    // cache is counted anew.
    void entryCountsCache()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString dat = dir.filePath(QStringLiteral("th_en_US_v2.dat"));
        QVERIFY(QFile::copy(DataDir + QStringLiteral("/thesaurus/th_en_US_v2.dat"), dat));
        const QString cache = dir.filePath(QStringLiteral("cache/verbarium-pro"));

        const auto first = EntryCounts::cached(dat, cache);
        QVERIFY(!first->fromCache());
        QCOMPARE(first->entriesListing(QStringLiteral("dawn")), 3);
        const QString cacheFile = EntryCounts::cachePath(dat, cache);
        QVERIFY(QFile::exists(cacheFile));

        const auto second = EntryCounts::cached(dat, cache);
        QVERIFY(second->fromCache());
        QCOMPARE(second->entriesListing(QStringLiteral("dawn")), 3);

        // One more entry listing "dawn": the file's size changes.
        QFile data(dat);
        QVERIFY(data.open(QIODevice::Append));
        data.write("zzz|1\n(noun)|dawn\n");
        data.close();
        const auto changed = EntryCounts::cached(dat, cache);
        QVERIFY(!changed->fromCache());
        QCOMPARE(changed->entriesListing(QStringLiteral("dawn")), 4);

        // The cache cut short: counted again, not read half.
        const QByteArray whole = TestFiles::readAll(cacheFile);
        TestFiles::writeAll(cacheFile, whole.first(whole.size() - 5));
        const auto damaged = EntryCounts::cached(dat, cache);
        QVERIFY(!damaged->fromCache());
        QCOMPARE(damaged->entriesListing(QStringLiteral("dawn")), 4);
        QVERIFY(EntryCounts::cached(dat, cache)->fromCache());
    }

    // A FIFO in place of the cache is neither waited on nor replaced: the data is
    // counted each time.
    void fifoInPlaceOfTheCache()
    {
        QTemporaryDir dir;
        const QString dat = DataDir + QStringLiteral("/thesaurus/th_en_US_v2.dat");
        const QString cacheFile = EntryCounts::cachePath(dat, dir.path());
        QCOMPARE(mkfifo(QFile::encodeName(cacheFile).constData(), 0600), 0);
        const auto counted = EntryCounts::cached(dat, dir.path());
        QVERIFY(!counted->fromCache());
        QCOMPARE(counted->entriesListing(QStringLiteral("dawn")), 3);
        QVERIFY(!EntryCounts::cached(dat, dir.path())->fromCache());
        QVERIFY(!QFileInfo(cacheFile).isFile());
    }

    // A cache that cannot be written still answers.
    void unwritableCache()
    {
        const auto counts = EntryCounts::cached(DataDir + QStringLiteral("/thesaurus/th_en_US_v2.dat"),
                                                QStringLiteral("/dev/null/x"));
        QCOMPARE(counts->entriesListing(QStringLiteral("dawn")), 3);
    }
};

QTEST_GUILESS_MAIN(TestCommonness)
#include "test_commonness.moc"
