#include "TestFiles.h"

#include "common/AppError.h"
#include "thesaurus/WordNetReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using PartOfSpeech = WordNetReader::PartOfSpeech;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA "/wordnet");

QString folder(const char *name)
{
    return DataDir + QLatin1Char('/') + QLatin1String(name);
}

// A sense as one line: "s " for a satellite, its words, " = " and its
// definition, then each example in quotes, "!word>antonym" for each antonym and
// "^" (or "^i:" for an instance) with the words of each broader term.
QString render(const WordNetReader::Sense &sense)
{
    QString line = (sense.satellite ? QStringLiteral("s ") : QString()) + sense.words.join(QStringLiteral(", "))
                   + QStringLiteral(" = ") + sense.definition;
    for (const QString &example : sense.examples)
        line += QStringLiteral(" \"") + example + QLatin1Char('"');
    for (const WordNetReader::Antonym &antonym : sense.antonyms)
        line += QStringLiteral(" !") + antonym.word + QLatin1Char('>') + antonym.antonym;
    for (const WordNetReader::LinkedSynset &term : sense.broaderTerms)
        line += (term.instance ? QStringLiteral(" ^i:") : QStringLiteral(" ^")) + term.words.join(QLatin1Char('/'));
    return line;
}

QStringList render(const QList<WordNetReader::Sense> &senses)
{
    QStringList lines;
    for (const WordNetReader::Sense &sense : senses)
        lines.append(render(sense));
    return lines;
}

// The message of the AppError a lookup throws; empty when it throws none.
QString errorOf(WordNetReader &reader, const QString &word, PartOfSpeech partOfSpeech)
{
    try {
        reader.senses(word, partOfSpeech);
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestWordNet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void senses_data();
    void senses();
    void offsetsAndKinds();
    void damagedLines_data();
    void damagedLines();
    void indexOutOfOrder();
    void missingFilesOfOnePartOfSpeech();
    void absentWordNet();
    void searchPath();
    void fileChangedWhileOpen();
};

void TestWordNet::senses_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<PartOfSpeech>("partOfSpeech");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("expected");

    const QStringList bank = {
        QStringLiteral("bank = sloping land (especially the slope beside a body of water) \"they pulled the canoe up "
                       "on the bank\" \"he sat on the bank of the river and watched the currents\" ^slope/incline"),
        QStringLiteral("depository financial institution, bank, banking concern = a financial institution that "
                       "accepts deposits and channels the money into lending activities \"he cashed a check at the "
                       "bank\" ^financial institution"),
    };
    const QStringList bright = {
        QStringLiteral("bright = emitting or reflecting light readily or in large amounts \"the sun was bright and "
                       "hot\" \"a bright sunlit room\" !bright>dull"),
        QStringLiteral("s bright, brilliant, vivid = having striking color \"bright dress\""),
    };
    const QStringList iceCream = {
        QStringLiteral("ice cream, icecream = frozen dessert containing cream and sugar ^frozen dessert")};
    for (const char *name : {"healthy", "damaged", "unsorted"}) {
        const QByteArray prefix = QByteArray(name) + QByteArray(": ");
        QTest::newRow(QByteArray(prefix + QByteArray("several senses, in order")).constData())
            << folder(name) << PartOfSpeech::Noun << "bank" << bank;
        QTest::newRow(QByteArray(prefix + QByteArray("multi-word lemma")).constData())
            << folder(name) << PartOfSpeech::Noun << "Ice  cream" << iceCream;
        QTest::newRow(QByteArray(prefix + QByteArray("antonym and satellite")).constData())
            << folder(name) << PartOfSpeech::Adjective << "bright" << bright;
    }
    QTest::newRow("multi-word lemma with '_'") << folder("healthy") << PartOfSpeech::Noun << "ice_cream" << iceCream;
    QTest::newRow("instance hypernym; the index's first lemma")
        << folder("healthy") << PartOfSpeech::Noun << "Albert Einstein"
        << QStringList{QStringLiteral("Einstein, Albert Einstein = physicist born in Germany who formulated the "
                                      "special theory of relativity ^i:physicist")};
    QTest::newRow("antonym from the other side")
        << folder("healthy") << PartOfSpeech::Adjective << "dull"
        << QStringList{QStringLiteral("dull = emitting or reflecting very little light \"a dull glow\" !dull>bright")};
    QTest::newRow("adjective marker dropped")
        << folder("healthy") << PartOfSpeech::Adjective << "galore"
        << QStringList{QStringLiteral("s abounding, galore = existing in abundance")};
    QTest::newRow("verb with frames") << folder("healthy") << PartOfSpeech::Verb << "run"
                                      << QStringList{QStringLiteral(
                                             "run = move fast by using one's feet \"Don't run--you'll be out of breath\" "
                                             "^travel rapidly/speed/hurry")};
    QTest::newRow("adverb; its pertainym is no antonym")
        << folder("healthy") << PartOfSpeech::Adverb << "brightly"
        << QStringList{QStringLiteral("brightly, bright = with brightness \"the stars shone brightly\"")};
    QTest::newRow("not a lemma") << folder("healthy") << PartOfSpeech::Noun << "zebra" << QStringList{};
    QTest::newRow("past the last lemma") << folder("healthy") << PartOfSpeech::Noun << "zzz" << QStringList{};
    QTest::newRow("before the first lemma") << folder("healthy") << PartOfSpeech::Noun << "aaa" << QStringList{};
    QTest::newRow("a prefix of a lemma") << folder("healthy") << PartOfSpeech::Noun << "ban" << QStringList{};
    QTest::newRow("another part of speech") << folder("healthy") << PartOfSpeech::Verb << "bank" << QStringList{};
    QTest::newRow("empty word") << folder("healthy") << PartOfSpeech::Noun << "  " << QStringList{};
    QTest::newRow("licence words are no lemmas") << folder("healthy") << PartOfSpeech::Noun << "1" << QStringList{};
}

void TestWordNet::senses()
{
    QFETCH(QString, folder);
    QFETCH(PartOfSpeech, partOfSpeech);
    QFETCH(QString, word);
    QFETCH(QStringList, expected);

    WordNetReader reader({folder});
    QVERIFY(reader.isPresent());
    QCOMPARE(render(reader.senses(word, partOfSpeech)), expected);
}

void TestWordNet::offsetsAndKinds()
{
    WordNetReader reader({folder("healthy")});
    const QList<WordNetReader::Sense> bright = reader.senses(QStringLiteral("bright"), PartOfSpeech::Adjective);
    QCOMPARE(bright.size(), 2);
    // The offsets are those the data's lines start at.
    const QByteArray data = TestFiles::readAll(folder("healthy") + QStringLiteral("/data.adj"));
    for (const WordNetReader::Sense &sense : bright) {
        QCOMPARE(sense.partOfSpeech, PartOfSpeech::Adjective);
        QCOMPARE(data.mid(sense.offset - 1, 9), QByteArray("\n") + QByteArray::number(sense.offset).rightJustified(8, '0'));
    }
    QVERIFY(!bright[0].satellite);
    QVERIFY(bright[1].satellite);
    const WordNetReader::Antonym &antonym = bright[0].antonyms.value(0);
    QCOMPARE(antonym.partOfSpeech, PartOfSpeech::Adjective);
    QCOMPARE(reader.senses(QStringLiteral("dull"), PartOfSpeech::Adjective).value(0).offset, antonym.offset);
    const QList<WordNetReader::Sense> bank = reader.senses(QStringLiteral("bank"), PartOfSpeech::Noun);
    QCOMPARE(bank.value(0).broaderTerms.value(0).offset,
             reader.senses(QStringLiteral("slope"), PartOfSpeech::Noun).value(0).offset);
    QVERIFY(reader.takeNotes().isEmpty());
}

void TestWordNet::damagedLines_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("what");

    QTest::newRow("offset past the end") << "far"
                                         << "data.noun"
                                         << "byte 99999999, where a synset should start, is past its end";
    QTest::newRow("offset inside a line") << "shifted"
                                          << "data.noun"
                                          << "is not there: the line read there starts with";
    QTest::newRow("word count lies") << "liar"
                                     << "data.noun"
                                     << "declares 3 words but holds 2";
    QTest::newRow("pointer count lies") << "pointy"
                                        << "data.noun"
                                        << "declares 2 pointers but holds 1";
    QTest::newRow("sense count lies") << "senseless"
                                      << "index.noun"
                                      << "declares 3 senses but names 2";
    QTest::newRow("line cut short") << "cut"
                                    << "data.noun"
                                    << "is cut short: its line has no end";
}

void TestWordNet::damagedLines()
{
    QFETCH(QString, word);
    QFETCH(QString, file);
    QFETCH(QString, what);

    WordNetReader reader({folder("damaged")});
    const QString message = errorOf(reader, word, PartOfSpeech::Noun);
    QVERIFY2(message.startsWith(QStringLiteral("The WordNet file \"%1\" is damaged: ")
                                    .arg(QDir::toNativeSeparators(folder("damaged") + QLatin1Char('/') + file))),
             qPrintable(message));
    QVERIFY2(message.contains(what), qPrintable(message));
    // Asked again, the same answer; the healthy entries still answer.
    QCOMPARE(errorOf(reader, word, PartOfSpeech::Noun), message);
    QCOMPARE(reader.senses(QStringLiteral("slope"), PartOfSpeech::Noun).size(), 1);
    QCOMPARE(reader.senses(QStringLiteral("bank"), PartOfSpeech::Noun).size(), 2);
}

void TestWordNet::indexOutOfOrder()
{
    WordNetReader reader({folder("unsorted")});
    // Every lemma is found, those moved out of their place too.
    for (const char *lemma : {"albert einstein", "bank", "depository financial institution", "slope", "incline"})
        QVERIFY2(!reader.senses(QString::fromLatin1(lemma), PartOfSpeech::Noun).isEmpty(), lemma);
    const QStringList notes = reader.takeNotes();
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes[0].contains(QStringLiteral("index.noun")) && notes[0].contains(QStringLiteral("out of order")),
             qPrintable(notes[0]));
    QVERIFY(reader.takeNotes().isEmpty());
}

void TestWordNet::missingFilesOfOnePartOfSpeech()
{
    // partial/ has nouns and verbs, index.adj without data.adj, and no adverbs.
    WordNetReader reader({folder("partial")});
    QVERIFY(reader.isPresent());
    QVERIFY(reader.hasPartOfSpeech(PartOfSpeech::Noun));
    QVERIFY(reader.hasPartOfSpeech(PartOfSpeech::Verb));
    QVERIFY(!reader.hasPartOfSpeech(PartOfSpeech::Adjective));
    QVERIFY(!reader.hasPartOfSpeech(PartOfSpeech::Adverb));
    QCOMPARE(reader.senses(QStringLiteral("bank"), PartOfSpeech::Noun).size(), 2);
    QCOMPARE(reader.senses(QStringLiteral("run"), PartOfSpeech::Verb).size(), 1);
    QVERIFY(reader.senses(QStringLiteral("bright"), PartOfSpeech::Adjective).isEmpty());
    QVERIFY(reader.senses(QStringLiteral("brightly"), PartOfSpeech::Adverb).isEmpty());
    const QString notes = reader.takeNotes().join(QLatin1Char('\n'));
    QVERIFY2(notes.contains(QStringLiteral("data.adj")) && notes.contains(QStringLiteral("index.adv")), qPrintable(notes));
}

void TestWordNet::absentWordNet()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    WordNetReader reader({empty.path() + QStringLiteral("/nothing"), empty.path()});
    QVERIFY(!reader.isPresent());
    QVERIFY(reader.folder().isEmpty());
    for (int p = 0; p < 4; ++p) {
        QVERIFY(!reader.hasPartOfSpeech(PartOfSpeech(p)));
        QVERIFY(reader.senses(QStringLiteral("bank"), PartOfSpeech(p)).isEmpty());
    }
    QVERIFY(reader.takeNotes().isEmpty());
}

void TestWordNet::searchPath()
{
    // The first folder with WordNet's files wins.
    QTemporaryDir empty;
    WordNetReader reader({empty.path(), folder("partial"), folder("healthy")});
    QCOMPARE(reader.folder(), QDir(folder("partial")).absolutePath());

    // wordnet/ under every folder of $XDG_DATA_DIRS, in their order.
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", "/opt/one:/opt/two/");
    const QStringList path = WordNetReader::defaultSearchPath();
    qputenv("XDG_DATA_DIRS", saved);
    const qsizetype one = path.indexOf(QStringLiteral("/opt/one/wordnet"));
    QVERIFY2(one >= 0 && one < path.indexOf(QStringLiteral("/opt/two/wordnet")), qPrintable(path.join(u':')));
    QVERIFY(path.contains(QStringLiteral("/usr/share/wordnet")));
    for (const QString &entry : path)
        QVERIFY2(entry.endsWith(QStringLiteral("/wordnet")), qPrintable(entry));

    // A reader made with the default path answers from $XDG_DATA_DIRS.
    QTemporaryDir data;
    QVERIFY(data.isValid());
    QVERIFY(QDir().mkpath(data.filePath(QStringLiteral("wordnet"))));
    for (const char *name : {"index.noun", "data.noun"})
        QVERIFY(QFile::copy(folder("healthy") + QLatin1Char('/') + QLatin1String(name),
                            data.filePath(QStringLiteral("wordnet/")) + QLatin1String(name)));
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());
    WordNetReader fromEnvironment;
    qputenv("XDG_DATA_DIRS", saved);
    QCOMPARE(fromEnvironment.folder(), data.filePath(QStringLiteral("wordnet")));
    QCOMPARE(fromEnvironment.senses(QStringLiteral("bank"), PartOfSpeech::Noun).size(), 2);
    QVERIFY(!fromEnvironment.hasPartOfSpeech(PartOfSpeech::Verb));
}

void TestWordNet::fileChangedWhileOpen()
{
    // A data file cut short under the map reads as changed, not as whatever its
    // missing pages hold.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : {"index.noun", "data.noun"})
        QVERIFY(QFile::copy(folder("healthy") + QLatin1Char('/') + QLatin1String(name), dir.filePath(QLatin1String(name))));
    WordNetReader reader({dir.path()});
    QCOMPARE(reader.senses(QStringLiteral("slope"), PartOfSpeech::Noun).size(), 1);
    QFile data(dir.filePath(QStringLiteral("data.noun")));
    QVERIFY(data.resize(0));
    const QString message = errorOf(reader, QStringLiteral("bank"), PartOfSpeech::Noun);
    QVERIFY2(message.contains(QStringLiteral("data.noun")) && message.contains(QStringLiteral("changed")),
             qPrintable(message));
}

QTEST_GUILESS_MAIN(TestWordNet)
#include "test_wordnet.moc"
