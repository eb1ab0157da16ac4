#include "Version.h"
#include "thesaurus/SynonymExpansion.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString Tool = QStringLiteral(VERBARIUM_LOOKUP_TOOL);
const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);
const QString Fixtures = DataDir + QStringLiteral("/thesaurus");

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QProcessEnvironment fixturesFirst()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VERBARIUM_THESAURUS_PATH"), Fixtures);
    return environment;
}

// Runs the tool; the environment names the fixtures, so that runs without
// --data-dir read them before any installed data.
Run run(const QStringList &arguments, const QString &program = Tool,
        const QProcessEnvironment &environment = fixturesFirst())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Runs the current row's arguments and compares its exit status, standard output
// and standard error, each exactly.
void compareRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run result = run(arguments);
    QCOMPARE(result.err, err);
    QCOMPARE(result.out, out);
    QCOMPARE(result.exitCode, exitCode);
}

QStringList args(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *argument : list)
        result.append(QString::fromUtf8(argument));
    return result;
}

QStringList withData(std::initializer_list<const char *> list, const QString &folder = Fixtures)
{
    return QStringList{QStringLiteral("--data-dir"), folder} + args(list);
}

// The tsv lines of one column from its entries, "word:tier, word:tier".
QString tsvColumn(int column, const QString &typed, const QString &entries)
{
    QString lines;
    for (QString entry : entries.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        entry = entry.trimmed();
        const qsizetype colon = entry.lastIndexOf(QLatin1Char(':'));
        lines += QStringLiteral("%1\t%2\t%3\t%4\n").arg(column).arg(typed, entry.mid(colon + 1), entry.left(colon));
    }
    return lines;
}

} // namespace

class TestLookupTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_empty;
    QTemporaryDir m_unreadable;    // an index that is a FIFO, another that is a folder
    QTemporaryDir m_wordNetParent; // wordnet/, a link to the healthy WordNet fixture

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(Tool).isExecutable(), qPrintable(Tool));
        QVERIFY(m_empty.isValid());
        QVERIFY(m_unreadable.isValid());
        QVERIFY(m_wordNetParent.isValid());
        QVERIFY(QFile::link(DataDir + QStringLiteral("/wordnet/healthy"),
                            m_wordNetParent.filePath(QStringLiteral("wordnet"))));
        QCOMPARE(mkfifo(QFile::encodeName(m_unreadable.filePath(QStringLiteral("th_en_US_v2.idx"))).constData(), 0600), 0);
        QVERIFY(QDir(m_unreadable.path()).mkdir(QStringLiteral("th_de_DE_v2.idx")));
        for (const char *dat : {"th_en_US_v2.dat", "th_de_DE_v2.dat", "th_fr_FR_v2.dat", "th_es_ES_v2.dat"})
            QVERIFY(QFile::copy(Fixtures + QStringLiteral("/th_en_US_v2.dat"),
                                m_unreadable.filePath(QString::fromLatin1(dat))));
        // Indexes that are a link to nothing and a link to itself; an index without
        // its data file, and one whose data file is a link to itself.
        QVERIFY(QFile::link(m_unreadable.filePath(QStringLiteral("nothing")),
                            m_unreadable.filePath(QStringLiteral("th_fr_FR_v2.idx"))));
        QVERIFY(QFile::link(m_unreadable.filePath(QStringLiteral("th_es_ES_v2.idx")),
                            m_unreadable.filePath(QStringLiteral("th_es_ES_v2.idx"))));
        for (const char *idx : {"th_it_IT_v2.idx", "th_pt_PT_v2.idx"})
            QVERIFY(QFile::copy(Fixtures + QStringLiteral("/th_en_US_v2.idx"),
                                m_unreadable.filePath(QString::fromLatin1(idx))));
        QVERIFY(QFile::link(m_unreadable.filePath(QStringLiteral("th_pt_PT_v2.dat")),
                            m_unreadable.filePath(QStringLiteral("th_pt_PT_v2.dat"))));
    }

    void tsv_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors"); // the words that found nothing

        const QString bright0 = QStringLiteral("brilliant:0, shining:0, vivid:0, smart:0, clever:0, brightly:0");
        const QString morning0 = QStringLiteral(
            "morn:0, forenoon:0, dawn:0, daybreak:0, sunrise:0, first light:0, time of day:0, period:0");

        QTest::newRow("two columns, repeats dropped")
            << withData({"bright morning"})
            << tsvColumn(0, QStringLiteral("bright"), bright0) + tsvColumn(1, QStringLiteral("morning"), morning0)
            << QString();
        QTest::newRow("words as separate arguments")
            << withData({"bright", "morning"})
            << tsvColumn(0, QStringLiteral("bright"), bright0) + tsvColumn(1, QStringLiteral("morning"), morning0)
            << QString();
        QTest::newRow("columns numbered in kept order")
            << withData({"zyzzyva  bright"}) << tsvColumn(0, QStringLiteral("bright"), bright0)
            << QStringLiteral("verbarium-lookup: no synonyms for \"zyzzyva\"\n");
        QTest::newRow("typed word kept as typed")
            << withData({"Bright"}) << tsvColumn(0, QStringLiteral("Bright"), bright0) << QString();
        QTest::newRow("depth 1")
            << withData({"--depth", "1", "bright"})
            << tsvColumn(0, QStringLiteral("bright"),
                         QStringLiteral(
                             "brilliant:0, dazzling:1, glittering:1, bright:1, superb:1, splendid:1, shining:0,"
                             "gleaming:1, vivid:0, vibrant:1, colorful:1, smart:0, clever:1, intelligent:1, brightly:0"))
            << QString();
        QTest::newRow("depth 2")
            << withData({"--depth", "2", "bright"})
            << tsvColumn(0, QStringLiteral("bright"),
                         QStringLiteral("brilliant:0, dazzling:1, blinding:2, glaring:2, glittering:1, sparkling:2,"
                                        "glistening:2, bright:1, shining:2, vivid:2, smart:2, clever:2, brightly:2, superb:1,"
                                        "excellent:2, first-rate:2, splendid:1"))
            << QString();
        QTest::newRow("English UK reads the US data")
            << withData({"--language", "english uk", "Verbarium"})
            << tsvColumn(0, QStringLiteral("Verbarium"), QStringLiteral("thesaurus:0, word finder:0")) << QString();
        QTest::newRow("KOI8-R data, UTF-8 out")
            << withData({"--language", "Russian", "Дом"}, DataDir + QStringLiteral("/encodings"))
            << tsvColumn(0, QStringLiteral("Дом"), QStringLiteral("здание:0, жилище:0, очаг:0")) << QString();
        QTest::newRow("search path from the environment")
            << args({"--format", "tsv", "Verbarium"})
            << tsvColumn(0, QStringLiteral("Verbarium"), QStringLiteral("thesaurus:0, word finder:0")) << QString();
        QTest::newRow("tree") << withData({"--tree", "Verbarium"})
                              << "0\tVerbarium\n1\tthesaurus\n2\twordbook\n2\tlexicon\n2\tVerbarium\n3\tword finder\n1\tword finder\n"
                              << QString();
    }
    void tsv()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QString, errors);

        if (!arguments.contains(QStringLiteral("--format")))
            arguments.prepend(QStringLiteral("--format=tsv"));
        const Run result = run(arguments);
        QCOMPARE(result.err, errors);
        QCOMPARE(result.out, output);
        QCOMPARE(result.exitCode, 0);
    }

    // json and text hold what tsv holds.
    void formatsAgree_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("depth 0, two columns") << args({"bright zyzzyva morning"});
        QTest::newRow("depth 2") << args({"--depth", "2", "bright"});
    }
    void formatsAgree()
    {
        QFETCH(QStringList, arguments);

        const Run tsv = run(withData({"--format", "tsv"}) + arguments);
        const Run json = run(withData({"--format", "json"}) + arguments);
        const Run text = run(withData({}) + arguments);
        QCOMPARE(tsv.exitCode, 0);
        QCOMPARE(json.exitCode, 0);
        QCOMPARE(text.exitCode, 0);

        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QString fromJson;
        QString expectedText;
        const QJsonArray columns = document.object().value(QStringLiteral("columns")).toArray();
        QVERIFY(!columns.isEmpty());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const QJsonObject column = columns[c].toObject();
            QCOMPARE(column.value(QStringLiteral("column")).toInt(-1), int(c));
            const QString typed = column.value(QStringLiteral("word")).toString();
            expectedText += typed + QLatin1Char('\n');
            for (const QJsonValue &value : column.value(QStringLiteral("entries")).toArray()) {
                const QJsonObject entry = value.toObject();
                const int tier = entry.value(QStringLiteral("tier")).toInt(-1);
                const QString word = entry.value(QStringLiteral("word")).toString();
                fromJson += QStringLiteral("%1\t%2\t%3\t%4\n").arg(c).arg(typed).arg(tier).arg(word);
                expectedText += QString(2 * (tier + 1), QLatin1Char(' ')) + word + QLatin1Char('\n');
            }
        }
        QCOMPARE(fromJson, tsv.out);
        QCOMPARE(text.out, expectedText);
    }

    void treeFormats()
    {
        const Run json = run(withData({"--tree", "--format", "json", "Verbarium"}));
        QCOMPARE(json.exitCode, 0);
        const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(root.value(QStringLiteral("word")).toString(), QStringLiteral("Verbarium"));
        QCOMPARE(root.value(QStringLiteral("level")).toInt(-1), 0);
        const QJsonArray level1 = root.value(QStringLiteral("children")).toArray();
        QCOMPARE(level1.size(), 2);
        QCOMPARE(level1[1].toObject().value(QStringLiteral("word")).toString(), QStringLiteral("word finder"));
        QVERIFY(!level1[1].toObject().contains(QStringLiteral("children")));
        const QJsonArray level2 = level1[0].toObject().value(QStringLiteral("children")).toArray();
        QCOMPARE(level2.size(), 3);
        const QJsonObject again = level2[2].toObject();
        QCOMPARE(again.value(QStringLiteral("word")).toString(), QStringLiteral("Verbarium"));
        QCOMPARE(again.value(QStringLiteral("level")).toInt(-1), 2);
        const QJsonArray level3 = again.value(QStringLiteral("children")).toArray();
        QCOMPARE(level3.size(), 1);
        QCOMPARE(level3[0].toObject().value(QStringLiteral("word")).toString(), QStringLiteral("word finder"));
        QCOMPARE(level3[0].toObject().value(QStringLiteral("level")).toInt(-1), 3);

        const Run text = run(withData({"--tree", "Verbarium"}));
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(
            text.out,
            QStringLiteral(
                "Verbarium\n  thesaurus\n    wordbook\n    lexicon\n    Verbarium\n      word finder\n  word finder\n"));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // part of stderr; empty: stderr empty

        QTest::newRow("found") << withData({"run"}) << 0 << "";
        QTest::newRow("nothing found") << withData({"zyzzyva"}) << 1 << "verbarium-lookup: no synonyms for \"zyzzyva\"\n";
        QTest::newRow("tree without children")
            << withData({"--tree", "zyzzyva"}) << 1 << "verbarium-lookup: no synonyms for \"zyzzyva\"\n";
        QTest::newRow("only blanks") << withData({"  "}) << 1 << "";
        QTest::newRow("language without data")
            << withData({"--language", "Dutch", "run"}) << 1 << "No thesaurus data is installed for Dutch.";
        QTest::newRow("no data at all") << withData({"run"}, m_empty.path()) << 3
                                        << QStringLiteral("No thesaurus data was found in %1.").arg(m_empty.path());
        QTest::newRow("no data in any folder, all named")
            << QStringList{QStringLiteral("--data-dir"), m_empty.path(), QStringLiteral("--data-dir"),
                           m_unreadable.path(), QStringLiteral("run")}
            << 3 << QStringLiteral("No thesaurus data was found in %1, %2.").arg(m_empty.path(), m_unreadable.path());
        QTest::newRow("index that is a FIFO")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral("Cannot read the thesaurus file \"%1\": it is not a regular file.")
                   .arg(m_unreadable.filePath(QStringLiteral("th_en_US_v2.idx")));
        QTest::newRow("index that is a folder")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral("Cannot read the thesaurus file \"%1\": it is not a regular file.")
                   .arg(m_unreadable.filePath(QStringLiteral("th_de_DE_v2.idx")));
        QTest::newRow("index that is a link to nothing")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral("Cannot read the thesaurus file \"%1\": it is a link to \"%2\", which does not exist.\n")
                   .arg(m_unreadable.filePath(QStringLiteral("th_fr_FR_v2.idx")),
                        m_unreadable.filePath(QStringLiteral("nothing")));
        QTest::newRow("index that is a link to itself")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral("Cannot read the thesaurus file \"%1\": its symbolic links go round in a loop.\n")
                   .arg(m_unreadable.filePath(QStringLiteral("th_es_ES_v2.idx")));
        QTest::newRow("data file missing")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral(
                   "Cannot read the thesaurus file \"%1\": it is missing, though its index th_it_IT_v2.idx is there.\n")
                   .arg(m_unreadable.filePath(QStringLiteral("th_it_IT_v2.dat")));
        QTest::newRow("data file a link to itself")
            << withData({"run"}, m_unreadable.path()) << 3
            << QStringLiteral("Cannot read the thesaurus file \"%1\": its symbolic links go round in a loop.\n")
                   .arg(m_unreadable.filePath(QStringLiteral("th_pt_PT_v2.dat")));
        QTest::newRow("healthy entry of a damaged file")
            << withData({"run"}, DataDir + QStringLiteral("/damaged/entry-cut-short")) << 0 << "";

        QTest::newRow("no phrase") << withData({}) << 2 << SynonymExpansion::emptyPhraseMessage();
        QTest::newRow("empty phrase") << withData({""}) << 2 << SynonymExpansion::emptyPhraseMessage();
        QTest::newRow("11 words") << withData({"a b c d e f g h i j k"}) << 2 << SynonymExpansion::tooManyWordsMessage();
        QTest::newRow("10 words and a blank")
            << withData({"a b c d e f g h i j "}) << 2 << SynonymExpansion::tooManyWordsMessage();
        QTest::newRow("10 words") << withData({"run a b c d e f g h i"}) << 0
                                  << "verbarium-lookup: no synonyms for \"a\"\n";
        QTest::newRow("4 words at depth 2")
            << withData({"--depth", "2", "run a b c"}) << 2 << SynonymExpansion::tooManyDoraz3WordsMessage();
        QTest::newRow("4 words at depth 1") << withData({"--depth", "1", "run a b c"}) << 0 << "no synonyms for \"c\"";
        QTest::newRow("unknown option") << withData({"--colour", "run"}) << 2 << "colour";
        QTest::newRow("depth out of range") << withData({"--depth", "3", "run"}) << 2 << "depth";
        QTest::newRow("depth not a number") << withData({"--depth", "deep", "run"}) << 2 << "depth";
        QTest::newRow("unknown format") << withData({"--format", "xml", "run"}) << 2 << "format";
        QTest::newRow("unknown language") << withData({"--language", "Klingon", "run"}) << 2 << "Klingon";
        QTest::newRow("damaged data")
            << withData({"thesaurus"}, DataDir + QStringLiteral("/damaged/entry-cut-short")) << 3
            << QStringLiteral("The thesaurus file \"%1/damaged/entry-cut-short/th_en_US_v2.dat\" is damaged").arg(DataDir);
        QTest::newRow("damaged data, tree")
            << withData({"--tree", "run"}, DataDir + QStringLiteral("/damaged/offset-other-word")) << 3
            << "th_en_US_v2.idx\" is damaged";
    }
    // The tool starts without an application object; what it would give stays.
    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("start"); // of standard output
        QTest::newRow("--help") << "--help" << QStringLiteral("Usage: %1 [options] PHRASE\n").arg(Tool);
        QTest::newRow("-h") << "-h" << QStringLiteral("Usage: %1 [options] PHRASE\n").arg(Tool);
        QTest::newRow("--help-all, which the help offers")
            << "--help-all" << QStringLiteral("Usage: %1 [options] PHRASE\n").arg(Tool);
        QTest::newRow("--version") << "--version"
                                   << QStringLiteral("verbarium-lookup %1\n").arg(QLatin1String(Version::Text));
        QTest::newRow("-v") << "-v" << QStringLiteral("verbarium-lookup %1\n").arg(QLatin1String(Version::Text));
    }
    void helpAndVersion()
    {
        QFETCH(QString, option);
        QFETCH(QString, start);
        const Run result = run({option, QStringLiteral("run")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QString());
        QVERIFY2(result.out.startsWith(start), qPrintable(result.out));
        if (option.startsWith(u"--help") || option == u"-h") {
            for (const char *part : {"Exit status: 0 found, 1 nothing found", "--data-dir <DIR>", "PHRASE "})
                QVERIFY2(result.out.contains(QLatin1String(part)), part);
        } else {
            QCOMPARE(result.out, start);
        }
    }

    // The thesaurus folder beside the program is on the default search path, found
    // without an application object, also when the program is called through a link.
    void dataBesideTheProgram()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString program = home.filePath(QStringLiteral("bin/verbarium-lookup"));
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("bin/thesaurus"))));
        QVERIFY(QFile::copy(Tool, program));
        for (const char *suffix : {".idx", ".dat"})
            QVERIFY(QFile::copy(Fixtures + QStringLiteral("/th_en_US_v2") + QLatin1String(suffix),
                                home.filePath(QStringLiteral("bin/thesaurus/th_en_US_v2") + QLatin1String(suffix))));
        QVERIFY(QFile::link(program, home.filePath(QStringLiteral("link"))));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VERBARIUM_THESAURUS_PATH"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), home.path());
        for (const QString &called : {program, home.filePath(QStringLiteral("link"))}) {
            const Run result = run(args({"--format", "tsv", "Verbarium"}), called, environment);
            QCOMPARE(result.err, QString());
            QCOMPARE(result.out, tsvColumn(0, QStringLiteral("Verbarium"), QStringLiteral("thesaurus:0, word finder:0")));
            QCOMPARE(result.exitCode, 0);
        }
    }

    // Nothing found prints nothing on standard output: no tree of the typed word alone.
    void nothingFoundPrintsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        for (const char *format : {"text", "tsv", "json"})
            QTest::addRow("tree, %s", format) << withData({"--tree", "--format", format, "zyzzyva"});
        QTest::newRow("tree, punctuation only") << withData({"--tree", "?!"});
        QTest::newRow("tree of roots, tsv") << withData({"--tree", "--root", "--format", "tsv", "zyzzyva"});
        QTest::newRow("columns, text") << withData({"zyzzyva qqqq"});
        QTest::newRow("columns, tsv") << withData({"--format", "tsv", "zyzzyva"});
    }
    void nothingFoundPrintsNothing()
    {
        QFETCH(QStringList, arguments);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.out, QString());
    }

    // Usage errors say what is wrong in the form of other tools, and where the help is.
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("err");
        const QString help = QStringLiteral("Try 'verbarium-lookup --help' for more information.\n");
        QTest::newRow("unknown long option")
            << withData({"--bogus", "run"}) << QStringLiteral("verbarium-lookup: unknown option 'bogus'\n") + help;
        QTest::newRow("unknown short option")
            << withData({"-x", "run"}) << QStringLiteral("verbarium-lookup: unknown option 'x'\n") + help;
        QTest::newRow("two unknown options")
            << withData({"--bogus", "--colour", "run"})
            << QStringLiteral("verbarium-lookup: unknown option 'bogus'\nverbarium-lookup: unknown option 'colour'\n")
                   + help;
        QTest::newRow("option without its value")
            << withData({"run", "--depth"}) << QStringLiteral("verbarium-lookup: missing value after '--depth'\n") + help;
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        const Run result = run(arguments);
        QCOMPARE(result.err, err);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.exitCode, 2);
    }

    void wordForms_data();
    void wordForms();
    void missingInJson();
    void damagedDictionaryIsOneNote();
    void phraseOptions_data();
    void phraseOptions();
    void meanings_data();
    void meanings();
    void meaningsJson();
    void meaningsWithDamagedWordNet();

    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        if (message.isEmpty())
            QCOMPARE(result.err, QString());
        else
            QVERIFY2(result.err.contains(message), qPrintable(result.err));
        if (exitCode >= 2)
            QCOMPARE(result.out, QString());
    }

    // Standard output on a full disk: what was found is lost, and a script must not
    // take the run for a success.
    void outputThatCannotBeWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("columns, text") << withData({"bright morning"});
        QTest::newRow("columns, json") << withData({"--format", "json", "bright"});
        QTest::newRow("nothing found, json still prints") << withData({"--format", "json", "zyzzyva"});
        QTest::newRow("tree, tsv") << withData({"--tree", "--format", "tsv", "bright"});
        QTest::newRow("roots") << withData({"--root", "bright"});
        QTest::newRow("meanings") << withData({"--meanings", "bright"});
    }
    void outputThatCannotBeWritten()
    {
        QFETCH(QStringList, arguments);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        QProcess process;
        process.setProcessEnvironment(fixturesFirst());
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(Tool, arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 4);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("verbarium-lookup: cannot write the output")), qPrintable(err));
    }
};

void TestLookupTool::wordForms_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString forms = DataDir + QStringLiteral("/wordforms");
    QTest::newRow("roots of inflected, irregular and punctuated words")
        << withData({"--root", "--format", "tsv", "brighter requires ran bright, glasses"}, forms) << 0
        << "0\tbrighter\tbright\n1\trequires\trequire\n2\tran\trun\n3\tbright,\tbright\n4\tglasses\tglasses\n"
        << "";
    QTest::newRow("a miss with suggestions")
        << withData({"brigt"}, forms) << 1 << ""
        << "verbarium-lookup: no synonyms for \"brigt\"; did you mean: brig, bright\n";
    QTest::newRow("a miss among finds, in the text format")
        << withData({"--root", "copies qqqq"}, forms) << 0 << "copies -> copy\n"
        << "verbarium-lookup: no synonyms for \"qqqq\"\n";
    QTest::newRow("elision; no dictionary for French")
        << withData({"--language", "French", "--root", "--format", "tsv", "l'option maisons"}, forms) << 0
        << "0\tl'option\toption\n"
        << "verbarium-lookup: no synonyms for \"maisons\"\n";
    QTest::newRow("compound") << withData({"--language", "German", "--root", "--format", "tsv", "Konfigurationsdatei"}, forms)
                              << 0 << "0\tKonfigurationsdatei\tDatei\n"
                              << "";
    QTest::newRow("tree root") << withData({"--tree", "--root", "--format", "tsv", "Brighter"}, forms) << 0
                               << "0\tBrighter\tbright\n"
                               << "";
    QTest::newRow("tree of an inflected word")
        << withData({"--tree", "copies"}, forms) << 0 << "copies\n  duplicate\n  replica\n  imitate\n  reproduce\n"
        << "";
    QTest::newRow("tree miss") << withData({"--tree", "brigt"}, forms) << 1 << ""
                               << "verbarium-lookup: no synonyms for \"brigt\"; did you mean: brig, bright\n";
    // "the" is spelled right: no suggestions, and one line however often it stands.
    QTest::newRow("a word spelled right, twice")
        << withData({"the bright the"}, forms) << 0 << "bright\n  brilliant\n  shining\n  vivid\n"
        << "verbarium-lookup: no synonyms for \"the\"\n";
    QTest::newRow("a word spelled right, tree") << withData({"--tree", "The"}, forms) << 1 << ""
                                                << "verbarium-lookup: no synonyms for \"The\"\n";
}

void TestLookupTool::wordForms()
{
    compareRun();
}

void TestLookupTool::missingInJson()
{
    const Run json = run(withData({"--format", "json", "brigt bright qqqq"}, DataDir + QStringLiteral("/wordforms")));
    QCOMPARE(json.exitCode, 0);
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(document.value(QStringLiteral("columns")).toArray().size(), 1);
    const QJsonArray missing = document.value(QStringLiteral("missing")).toArray();
    QCOMPARE(missing.size(), 2);
    QCOMPARE(missing[0].toObject().value(QStringLiteral("word")).toString(), QStringLiteral("brigt"));
    QCOMPARE(missing[0].toObject().value(QStringLiteral("suggestions")).toArray(),
             QJsonArray({QStringLiteral("brig"), QStringLiteral("bright")}));
    QCOMPARE(missing[1].toObject().value(QStringLiteral("word")).toString(), QStringLiteral("qqqq"));
    QCOMPARE(missing[1].toObject().value(QStringLiteral("suggestions")).toArray(), QJsonArray());
    // The same misses on standard error.
    QCOMPARE(json.err, QStringLiteral("verbarium-lookup: no synonyms for \"brigt\"; did you mean: brig, bright\n"
                                      "verbarium-lookup: no synonyms for \"qqqq\"\n"));

    const Run roots = run(
        withData({"--format", "json", "--root", "brighter qqqq"}, DataDir + QStringLiteral("/wordforms")));
    const QJsonObject rootDocument = QJsonDocument::fromJson(roots.out.toUtf8()).object();
    const QJsonObject first = rootDocument.value(QStringLiteral("roots")).toArray().at(0).toObject();
    QCOMPARE(first.value(QStringLiteral("root")).toString(), QStringLiteral("bright"));
    QCOMPARE(rootDocument.value(QStringLiteral("missing")).toArray().size(), 1);
}

void TestLookupTool::damagedDictionaryIsOneNote()
{
    const Run result = run(
        QStringList{QStringLiteral("--data-dir"), DataDir + QStringLiteral("/wordforms-damaged/missing-aff")}
        + withData({"brighter copies bright"}, DataDir + QStringLiteral("/wordforms")));
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.startsWith(QStringLiteral("bright\n"))); // the lookup as it was
    const QStringList lines = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QStringLiteral("verbarium-lookup: The spelling dictionary"))
                 && lines[0].contains(QStringLiteral("en_US.aff is missing")),
             qPrintable(lines[0]));
    QCOMPARE(lines[1], QStringLiteral("verbarium-lookup: no synonyms for \"brighter\""));
    QCOMPARE(lines[2], QStringLiteral("verbarium-lookup: no synonyms for \"copies\""));
}

namespace {

const QString MeaningsData = DataDir + QStringLiteral("/meanings");
const QString HealthyWordNet = DataDir + QStringLiteral("/wordnet/healthy");

// --meanings over the meanings fixtures, which serve the thesaurus, then the folders
// given (WordNet before word forms, whose folder may hold WordNet files of its own).
QStringList meaningsOf(const QStringList &folders, std::initializer_list<const char *> list)
{
    QStringList arguments;
    for (const QString &folder : QStringList{MeaningsData} + folders)
        arguments << QStringLiteral("--data-dir") << folder;
    return arguments + QStringList{QStringLiteral("--meanings")} + args(list);
}

// "bright" of the fixtures, grouped by part of speech; each meaning keeps its
// number in the data's order.
QString brightText(bool defined)
{
    const auto definition = [defined](const char *lines) { return defined ? QString::fromUtf8(lines) : QString(); };
    return QStringLiteral("\nnoun\n"
                          "  4. brightness\n"
                          "     broader terms: light\n"
                          "\nadj\n"
                          "  1. shining\n")
           + definition("     emitting or reflecting light readily or in large amounts\n"
                        "     \"the sun was bright and hot\"\n"
                        "     \"a bright sunlit room\"\n")
           + QStringLiteral("     similar: luminous\n"
                            "     antonyms: dull\n"
                            "  2. vivid, brilliant\n")
           + definition("     having striking color\n"
                        "     \"bright dress\"\n")
           + QStringLiteral("     similar: colorful\n"
                            "  3. smart\n"
                            "     similar: intelligent\n"
                            "\nadv\n"
                            "  5. brightly\n")
           + definition("     with brightness\n"
                        "     \"the stars shone brightly\"\n");
}

} // namespace

// --order, --pos and --no-broader shape a phrase's columns; without them the
// columns are the data's (the tables above).
void TestLookupTool::phraseOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // contained

    const QString meanings = DataDir + QStringLiteral("/meanings");
    const QString scowl = DataDir + QStringLiteral("/scowl");
    const auto with = [&](std::initializer_list<const char *> list, bool lists = false) {
        QStringList arguments{QStringLiteral("--data-dir"), meanings};
        if (lists)
            arguments << QStringLiteral("--data-dir") << scowl;
        return arguments + args(list);
    };
    QTest::newRow("most common first: SCOWL's levels, unknown words after, in order")
        << with({"--order", "common", "bright"}, true) << 0
        << "bright\n  luminous\n  shining\n  vivid\n  brilliant\n  colorful\n  smart\n  intelligent\n  brightness\n"
           "  light\n  brightly\n"
        << "";
    QTest::newRow("most common first without SCOWL's lists: the data's order, and why")
        << with({"--order", "common", "--format", "tsv", "glow"}) << 0
        << "0\tglow\t0\tradiance\n0\tglow\t0\tlight\n0\tglow\t0\tshine\n0\tglow\t0\tbeam\n"
        << "SCOWL's word lists are not installed";
    QTest::newRow("the data's order named") << with({"--order", "data", "--format", "tsv", "glow"}) << 0
                                            << "0\tglow\t0\tradiance\n0\tglow\t0\tlight\n0\tglow\t0\tshine\n"
                                               "0\tglow\t0\tbeam\n"
                                            << "";
    QTest::newRow("nouns") << with({"--pos", "noun", "glow"}) << 0 << "glow\n  radiance\n  light\n  shine\n"
                           << "";
    QTest::newRow("nouns and verbs") << with({"--pos", "verb,noun", "glow"}) << 0
                                     << "glow\n  radiance\n  light\n  shine\n  beam\n"
                                     << "";
    QTest::newRow("no broader terms") << with({"--no-broader", "glow"}) << 0 << "glow\n  radiance\n  shine\n  beam\n"
                                      << "";
    QTest::newRow("French adjectives") << with({"--language", "French", "--pos", "adj", "clair"}) << 0
                                       << "clair\n  lumineux\n  limpide\n  évident\n"
                                       << "";
    QTest::newRow("German names no parts of speech: every meaning")
        << with({"--language", "German", "--pos", "noun", "--order", "common", "hell"}) << 0
        << "hell\n  licht\n  strahlend\n  Helligkeit\n"
        << "";
    QTest::newRow("a part of speech that is none") << with({"--pos", "nouns", "glow"}) << 2 << ""
                                                   << "The parts of speech must be among noun,verb,adj,adv.";
    QTest::newRow("an order that is none") << with({"--order", "rare", "glow"}) << 2 << ""
                                           << "The order must be data or common.";
    QTest::newRow("not with a tree") << with({"--tree", "--no-broader", "glow"}) << 2 << ""
                                     << "--no-broader cannot be combined with --tree";
    QTest::newRow("not with meanings") << with({"--meanings", "--order", "common", "glow"}) << 2 << ""
                                       << "--order cannot be combined with --meanings";
}

void TestLookupTool::phraseOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run result = run(arguments);
    QVERIFY2(err.isEmpty() ? result.err.isEmpty() : result.err.contains(err), qPrintable(result.err));
    QCOMPARE(result.out, out);
    QCOMPARE(result.exitCode, exitCode);
}

void TestLookupTool::meanings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // exact

    const QString forms = DataDir + QStringLiteral("/wordforms");
    // WordNet's files straight in a --data-dir folder, or in its wordnet/ subfolder.
    QTest::newRow("text, WordNet's definitions")
        << meaningsOf({HealthyWordNet}, {"bright"}) << 0 << QStringLiteral("bright\n") + brightText(true) << "";
    QTest::newRow("text, WordNet in a wordnet/ subfolder")
        << meaningsOf({m_wordNetParent.path()}, {"bright"}) << 0 << QStringLiteral("bright\n") + brightText(true) << "";
    QTest::newRow("text, no WordNet in the folders: no definitions")
        << meaningsOf({}, {"bright"}) << 0 << QStringLiteral("bright\n") + brightText(false) << "";
    QTest::newRow("inflected word names its root") << meaningsOf({HealthyWordNet, forms}, {"brighter"}) << 0
                                                   << QStringLiteral("brighter -> bright\n") + brightText(true) << "";
    QTest::newRow("tsv: number in the data's order, antonyms as a relation")
        << meaningsOf({HealthyWordNet}, {"--format", "tsv", "bright"}) << 0
        << "1\tadj\t\tshining\n1\tadj\tsimilar\tluminous\n1\tadj\tantonym\tdull\n"
           "2\tadj\t\tvivid\n2\tadj\t\tbrilliant\n2\tadj\tsimilar\tcolorful\n"
           "3\tadj\t\tsmart\n3\tadj\tsimilar\tintelligent\n"
           "4\tnoun\t\tbrightness\n4\tnoun\tgeneric\tlight\n5\tadv\t\tbrightly\n"
        << "";
    QTest::newRow("tsv, an antonym that the data marks")
        << meaningsOf({}, {"--format", "tsv", "dull"}) << 0 << "1\tadj\t\tdim\n1\tadj\tantonym\tbright\n"
        << "";
    QTest::newRow("French labels; one naming two parts of speech stays apart")
        << meaningsOf({}, {"--language", "French", "clair"}) << 0
        << QStringLiteral("clair\n\nnoun\n  2. clarté\n\nadj\n  1. lumineux, limpide\n\nadv\n  4. clairement\n"
                          "\nother\n  3. (Adjectif Nom) évident\n")
        << "";
    QTest::newRow("French, tsv") << meaningsOf({}, {"--language", "French", "--format", "tsv", "clair"}) << 0
                                 << QStringLiteral("1\tadj\t\tlumineux\n1\tadj\t\tlimpide\n2\tnoun\t\tclarté\n"
                                                   "3\t\t\tévident\n4\tadv\t\tclairement\n")
                                 << "";
    QTest::newRow("Russian: relations and antonyms from the labels, no headings without parts of speech")
        << meaningsOf({}, {"--language", "Russian", "ад"}) << 0
        << QStringLiteral("ад\n  1. преисподняя, пекло\n  2. similar: бездна\n  3. antonyms: рай\n") << "";
    QTest::newRow("Russian, tsv") << meaningsOf({}, {"--language", "Russian", "--format", "tsv", "ад"}) << 0
                                  << QStringLiteral("1\t\t\tпреисподняя\n1\t\t\tпекло\n2\t\tsimilar\tбездна\n"
                                                    "3\t\tantonym\tрай\n")
                                  << "";
    QTest::newRow("German: a register kept, the broader term and antonym apart")
        << meaningsOf({}, {"--language", "German", "hell"}) << 0
        << "hell\n  1. licht, strahlend (ugs.)\n     antonyms: dunkel\n     broader terms: Helligkeit\n"
        << "";
    QTest::newRow("German, tsv") << meaningsOf({}, {"--language", "German", "--format", "tsv", "hell"}) << 0
                                 << "1\t\t\tlicht\n1\t\tugs.\tstrahlend\n1\t\tgeneric\tHelligkeit\n1\t\tantonym\tdunkel\n"
                                 << "";

    // Nothing found: nothing on standard output in any format.
    for (const char *format : {"text", "tsv", "json"})
        QTest::addRow("no entry, %s", format) << meaningsOf({}, {"--format", format, "zyzzyva"}) << 1 << ""
                                              << "verbarium-lookup: no meanings for \"zyzzyva\"\n";
    QTest::newRow("a misspelling, with the spellings that have meanings")
        << meaningsOf({forms}, {"brigt"}) << 1 << ""
        << "verbarium-lookup: no meanings for \"brigt\"; did you mean: bright\n";
    QTest::newRow("punctuation only") << meaningsOf({}, {"?!"}) << 1 << ""
                                      << "";
    QTest::newRow("language without data")
        << meaningsOf({}, {"--language", "Dutch", "bright"}) << 1 << ""
        << "No thesaurus data is installed for Dutch.\nverbarium-lookup: no meanings for \"bright\"\n";
    QTest::newRow("WordNet missing in part: notes, then the meanings")
        << meaningsOf({DataDir + QStringLiteral("/wordnet/partial")}, {"bright"}) << 0
        << QStringLiteral("bright\n") + brightText(false)
        << QStringLiteral("verbarium-lookup: Cannot read the WordNet file \"%1/wordnet/partial/data.adj\": No such file "
                          "or directory\n"
                          "verbarium-lookup: Cannot read the WordNet file \"%1/wordnet/partial/index.adv\": No such file "
                          "or directory\n")
               .arg(DataDir);

    const QString help = QStringLiteral("\nTry 'verbarium-lookup --help' for more information.\n");
    for (const char *option : {"tree", "root"})
        QTest::addRow("with --%s", option)
            << meaningsOf({}, {"bright"}) + QStringList{QStringLiteral("--") + QLatin1String(option)} << 2 << ""
            << QStringLiteral("verbarium-lookup: --meanings cannot be combined with --") + QLatin1String(option) + help;
    QTest::newRow("with --depth") << meaningsOf({}, {"--depth", "0", "bright"}) << 2 << ""
                                  << QStringLiteral("verbarium-lookup: --meanings cannot be combined with --depth") + help;
    QTest::newRow("no word") << meaningsOf({}, {}) << 2 << "" << SynonymExpansion::emptyPhraseMessage() + u'\n';
    QTest::newRow("unknown format") << meaningsOf({}, {"--format", "xml", "bright"}) << 2 << ""
                                    << "The format must be text, tsv or json.\n";
    QTest::newRow("damaged thesaurus")
        << QStringList{QStringLiteral("--data-dir"), DataDir + QStringLiteral("/damaged/entry-cut-short"),
                       QStringLiteral("--meanings"), QStringLiteral("thesaurus")}
        << 3 << ""
        << QStringLiteral("The thesaurus file \"%1/damaged/entry-cut-short/th_en_US_v2.dat\" is damaged: the entry "
                          "\"thesaurus\" is cut short.\n")
               .arg(DataDir);
}

void TestLookupTool::meanings()
{
    compareRun();
}

// The json document whole, as scripts read it; an inflected word names its root.
void TestLookupTool::meaningsJson()
{
    const Run result = run(
        meaningsOf({HealthyWordNet, DataDir + QStringLiteral("/wordforms")}, {"--format", "json", "brighter"}));
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);

    const auto words = [](std::initializer_list<std::pair<const char *, const char *>> list) {
        QJsonArray array;
        for (const auto &[word, relation] : list)
            array.append(QJsonObject{{QStringLiteral("word"), QString::fromUtf8(word)},
                                     {QStringLiteral("relation"), QString::fromUtf8(relation)}});
        return array;
    };
    const auto meaning = [](const char *partOfSpeech, const char *label, const char *definition,
                            const QStringList &examples, const QJsonArray &synonyms, const QStringList &antonyms) {
        return QJsonObject{{QStringLiteral("partOfSpeech"), QString::fromUtf8(partOfSpeech)},
                           {QStringLiteral("label"), QString::fromUtf8(label)},
                           {QStringLiteral("definition"), QString::fromUtf8(definition)},
                           {QStringLiteral("examples"), QJsonArray::fromStringList(examples)},
                           {QStringLiteral("synonyms"), synonyms},
                           {QStringLiteral("antonyms"), QJsonArray::fromStringList(antonyms)}};
    };
    const QJsonArray meanings{
        meaning("adj", "(adj)", "emitting or reflecting light readily or in large amounts",
                {QStringLiteral("the sun was bright and hot"), QStringLiteral("a bright sunlit room")},
                words({{"shining", ""}, {"luminous", "similar"}}), {QStringLiteral("dull")}),
        meaning("adj", "(adj)", "having striking color", {QStringLiteral("bright dress")},
                words({{"vivid", ""}, {"brilliant", ""}, {"colorful", "similar"}}), {}),
        meaning("adj", "(adj)", "", {}, words({{"smart", ""}, {"intelligent", "similar"}}), {}),
        meaning("noun", "(noun)", "", {}, words({{"brightness", ""}, {"light", "generic"}}), {}),
        meaning("adv", "(adv)", "with brightness", {QStringLiteral("the stars shone brightly")},
                words({{"brightly", ""}}), {}),
    };
    const QJsonObject expected{{QStringLiteral("word"), QStringLiteral("brighter")},
                               {QStringLiteral("root"), QStringLiteral("bright")},
                               {QStringLiteral("meanings"), meanings}};
    QCOMPARE(document.object(), expected);
}

// A WordNet line that is damaged where the lookup reads it is told on standard
// error; the meanings print all the same, without definitions.
void TestLookupTool::meaningsWithDamagedWordNet()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString &name : QDir(HealthyWordNet).entryList(QDir::Files))
        QVERIFY(QFile::copy(HealthyWordNet + u'/' + name, folder.filePath(name)));
    // data.adj cut off inside the line of bright's first sense.
    QFile adjectives(folder.filePath(QStringLiteral("data.adj")));
    QVERIFY(adjectives.open(QIODevice::ReadWrite));
    const qint64 cut = adjectives.readAll().indexOf("00000111 00 a") + 30;
    QVERIFY(cut > 30);
    QVERIFY(adjectives.resize(cut));
    adjectives.close();

    for (const char *format : {"text", "tsv"}) {
        const Run result = run(meaningsOf({folder.path()}, {"--format", format, "bright"}));
        QCOMPARE(result.exitCode, 0);
        if (QLatin1String(format) == u"text")
            QCOMPARE(result.out, QStringLiteral("bright\n") + brightText(false));
        else
            QVERIFY(result.out.startsWith(QStringLiteral("1\tadj\t\tshining\n")));
        QVERIFY2(result.err.startsWith(QStringLiteral("verbarium-lookup: "))
                     && result.err.contains(QStringLiteral("data.adj")) && result.err.count(u'\n') == 1,
                 qPrintable(result.err));
    }
}

QTEST_GUILESS_MAIN(TestLookupTool)
#include "test_lookuptool.moc"
