// Our reader of the thesaurus files against the MyThes library, which reads the same
// files its own way: for sampled headwords of every installed language both must
// find the same meanings with the same fields.

#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/MythesFile.h"
#include "thesaurus/ThesaurusCatalog.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio> // mythes.hxx uses FILE without including it
#include <mythes.hxx>

class TestMythesReference : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameEntriesAsTheLibrary_data();
    void sameEntriesAsTheLibrary();
    void headwordIndexedTwiceHasBothEntries();
};

namespace {

// What the library's fields become under our rules for notes, antonyms (with the
// data language's own markers) and empty fields.
MythesFile::Entry expectedFrom(mentry *meanings, int count, QStringDecoder &decoder, const QStringList &antonymMarkers)
{
    MythesFile::Entry entry;
    entry.found = count > 0;
    for (int i = 0; i < count; ++i) {
        MythesFile::Meaning meaning;
        for (int j = 0; j < meanings[i].count; ++j) {
            const QString field = decoder.decode(QByteArrayView(meanings[i].psyns[j]));
            // After an empty field the library keeps the rest of the line as one field.
            if (field.startsWith(QLatin1Char('|'))) {
                for (QStringView part : QStringView(field).split(QLatin1Char('|')))
                    MythesFile::addField(part, meaning, antonymMarkers);
                break;
            }
            MythesFile::addField(field, meaning, antonymMarkers);
        }
        entry.meanings.append(meaning);
    }
    return entry;
}

} // namespace

void TestMythesReference::sameEntriesAsTheLibrary_data()
{
    QTest::addColumn<QString>("idx");
    QTest::addColumn<QString>("dat");
    const ThesaurusCatalog catalog(
        QStringList{QStringLiteral("/usr/share/mythes"), QStringLiteral("/usr/local/share/mythes")});
    for (const QString &locale : catalog.locales()) {
        const ThesaurusCatalog::DataFiles files = catalog.find(locale, locale, {});
        QTest::newRow(qPrintable(locale)) << files.idxPath << files.datPath;
    }
    if (catalog.isEmpty())
        QTest::newRow("no data") << QString() << QString();
}

void TestMythesReference::sameEntriesAsTheLibrary()
{
    QFETCH(QString, idx);
    QFETCH(QString, dat);
    if (idx.isEmpty())
        QSKIP("No thesaurus data is installed");

    MythesFile ours(idx, dat);
    const QStringList markers = AntonymMarkers::forLanguage(AntonymMarkers::languageOfDataFile(dat));
    MyThes library(QFile::encodeName(idx).constData(), QFile::encodeName(dat).constData());
    const QByteArray codec = ours.encoding().compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0
                                 ? QByteArray("UTF-8")
                                 : MythesFile::codecName(ours.encoding().toLatin1());
    QStringDecoder decoder(codec.constData());
    QVERIFY(decoder.isValid());

    QFile index(idx);
    QVERIFY(index.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = index.readAll().split('\n');
    // A headword indexed twice has the meanings of both entries with us; the library
    // picks one of them. Those are left to the fixture tests.
    QHash<QByteArray, int> indexed;
    for (const QByteArray &line : lines)
        ++indexed[line.left(line.lastIndexOf('|'))];
    // Every 37th headword keeps the run short and still spreads over the whole file.
    int compared = 0;
    for (qsizetype i = 2; i < lines.size(); i += 37) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype bar = line.lastIndexOf('|');
        if (bar <= 0)
            continue;
        const QByteArray key = line.first(bar);
        if (indexed.value(key) > 1)
            continue;
        const QString word = decoder.decode(key);
        // Lines MyThes cannot hold whole in its buffer it reads wrongly; skip those entries.
        mentry *meanings = nullptr;
        const int count = library.Lookup(key.constData(), int(key.size()), &meanings);
        const MythesFile::Entry expected = expectedFrom(meanings, count, decoder, markers);
        library.CleanUpAfterLookup(&meanings, count);

        const MythesFile::Entry actual = ours.lookup(word);
        bool longLine = false;
        for (const MythesFile::Meaning &m : actual.meanings)
            longLine = longLine || m.synonyms.join(QLatin1Char('|')).size() > MythesFile::MythesLineLength / 2;
        if (longLine)
            continue;
        QCOMPARE(actual.found, expected.found);
        QCOMPARE(actual.meanings.size(), expected.meanings.size());
        for (qsizetype m = 0; m < actual.meanings.size(); ++m) {
            QCOMPARE(actual.meanings[m].synonyms, expected.meanings[m].synonyms);
            QCOMPARE(actual.meanings[m].antonyms, expected.meanings[m].antonyms);
        }
        ++compared;
    }
    QVERIFY(compared > 0);
}

void TestMythesReference::headwordIndexedTwiceHasBothEntries()
{
    // Real German, Catalan and Romanian data have such pairs, e.g. "entgegenkommen".
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray first = "same|1\n(verb)|alike|equal\n";
    const QByteArray second = "same|1\n(adj)|identical|equal\n";
    const QByteArray other = "zebra|1\n(noun)|horse\n";
    const QByteArray head = "UTF-8\n";
    QFile dat(dir.filePath(QStringLiteral("th_xx_XX.dat")));
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write(head + first + second + other);
    dat.close();
    QFile idx(dir.filePath(QStringLiteral("th_xx_XX.idx")));
    QVERIFY(idx.open(QIODevice::WriteOnly));
    const qsizetype a = head.size(), b = a + first.size(), c = b + second.size();
    idx.write("UTF-8\n3\nsame|" + QByteArray::number(a) + "\nsame|" + QByteArray::number(b) + "\nzebra|"
              + QByteArray::number(c) + "\n");
    idx.close();

    MythesFile file(idx.fileName(), dat.fileName());
    const MythesFile::Entry entry = file.lookup(QStringLiteral("same"));
    QVERIFY(entry.found);
    QCOMPARE(entry.meanings.size(), 2);
    QCOMPARE(entry.meanings[0].synonyms, (QStringList{QStringLiteral("alike"), QStringLiteral("equal")}));
    QCOMPARE(entry.meanings[1].synonyms, (QStringList{QStringLiteral("identical"), QStringLiteral("equal")}));
    QCOMPARE(file.lookup(QStringLiteral("zebra")).meanings.size(), 1);
}

QTEST_GUILESS_MAIN(TestMythesReference)
#include "test_mythesreference.moc"
