#include "TestFiles.h"

#include "common/AppError.h"
#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesFile.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/ThesaurusCatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>

using TestFiles::readAll;
using TestFiles::replaceFile;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);
const QString RealData = QStringLiteral("/usr/share/mythes");

QString fixture(const QString &relativeBase, const char *suffix)
{
    return DataDir + QLatin1Char('/') + relativeBase + QString::fromLatin1(suffix);
}

// An entry as one line: meanings split by " | ", antonyms marked with '!'.
// "-" for a word that was not found.
QString render(const MythesFile::Entry &entry)
{
    if (!entry.found)
        return QStringLiteral("-");
    QStringList meanings;
    for (const MythesFile::Meaning &meaning : entry.meanings) {
        QStringList fields = meaning.synonyms;
        for (const QString &antonym : meaning.antonyms)
            fields.append(QLatin1Char('!') + antonym);
        meanings.append(fields.join(QStringLiteral(", ")));
    }
    return meanings.join(QStringLiteral(" | "));
}

// The headwords of an idx file, the empty one left out.
QStringList headwords(const QByteArray &idx)
{
    QStringList result;
    const QList<QByteArray> lines = idx.split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const qsizetype bar = lines[i].indexOf('|');
        if (bar > 0)
            result.append(QString::fromUtf8(lines[i].left(bar)));
    }
    return result;
}

struct DatEntry {
    QByteArray word;
    QByteArrayList meanings;
    bool indexed = true;   // whether the index names it
    QByteArray count = {}; // the count as written, when not the number of meanings
};

// Builds a UTF-8 pair in a folder, offsets computed, and returns its base path.
QString writePair(const QString &folder, const QString &name, const QList<DatEntry> &entries,
                  const QByteArray &newline = "\n")
{
    QByteArray dat = "UTF-8" + newline;
    QMap<QByteArray, qsizetype> offsets;
    for (const DatEntry &entry : entries) {
        if (entry.indexed)
            offsets.insert(entry.word, dat.size());
        dat += entry.word + '|' + (entry.count.isEmpty() ? QByteArray::number(entry.meanings.size()) : entry.count)
               + newline;
        for (const QByteArray &line : entry.meanings)
            dat += line + newline;
    }
    QByteArray idx = "UTF-8" + newline + QByteArray::number(offsets.size()) + newline;
    for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
        idx += it.key() + '|' + QByteArray::number(it.value()) + newline;
    const QString base = folder + QLatin1Char('/') + name;
    replaceFile(base + QStringLiteral(".idx"), idx);
    replaceFile(base + QStringLiteral(".dat"), dat);
    return base;
}

// A pair of count words "w00000", "w00001"... each with the one synonym
// "s00000"...: an index of many blocks.
QString writeLargePair(const QString &folder, int count)
{
    QList<DatEntry> entries;
    for (int i = 0; i < count; ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(5, '0');
        entries.append(DatEntry{"w" + number, {"(n)|s" + number}});
    }
    return writePair(folder, QStringLiteral("th_en_US_v2"), entries);
}

// The first error of opening a pair and looking up each of its headwords in the
// order of their entries, if any: damage in an entry is met when it is read, and
// an edit that shifts the entries after it shows first where it was made.
std::optional<QString> openError(const QString &idx, const QString &dat)
{
    try {
        MythesFile file(idx, dat);
        QMultiMap<qint64, QString> byOffset;
        for (const QByteArray &line : readAll(idx).split('\n').mid(2)) {
            const qsizetype bar = line.lastIndexOf('|');
            if (bar > 0)
                byOffset.insert(line.mid(bar + 1).trimmed().toLongLong(), QString::fromUtf8(line.left(bar)));
        }
        for (const QString &word : std::as_const(byOffset))
            file.lookup(word);
        return std::nullopt;
    } catch (const AppError &error) {
        return error.message();
    }
}

QString damagedPrefix(const QString &path)
{
    return QStringLiteral("The thesaurus file \"%1\" is damaged: ").arg(QDir::toNativeSeparators(path));
}

} // namespace

class TestMythesFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookup_data()
    {
        QTest::addColumn<QString>("pair");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("entry");

        const QString en = QStringLiteral("thesaurus/th_en_US_v2");
        const QString bright = QStringLiteral(
            "brilliant, shining, vivid, smart | smart, clever, brilliant | !dull, !dark | brightly");
        const QString quick = QStringLiteral("fast, speedy, Quick, rapid | nimble, agile, fast | !slow");
        const QString run = QStringLiteral(
            "race, sprint, dash, go | operate, function, work, go | footrace, race | !stop, !halt, !stand still");
        const QString thesaurus = QStringLiteral("wordbook, lexicon, Verbarium");

        QTest::newRow("repeats kept, notes stripped, antonyms apart") << en << "bright" << bright;
        QTest::newRow("lower-case retry") << en << "Bright" << bright;
        QTest::newRow("lower-case retry, all capitals") << en << "BRIGHT" << bright;
        QTest::newRow("capitalised headword as given") << en << "Quick"
                                                       << "Quick Match, fast lane";
        QTest::newRow("empty and padded fields") << en << "quick" << quick;
        QTest::newRow("retry goes to the lower-case word, not to another case") << en << "QUICK" << quick;
        QTest::newRow("antonym notes in any case") << en << "run" << run;
        QTest::newRow("repeats across meanings")
            << en << "morning"
            << "morn, forenoon, dawn | dawn, daybreak, sunrise, first light | time of day, period";
        QTest::newRow("empty first field") << en << "fast"
                                           << "quick, rapid, swift | firm, fixed";
        QTest::newRow("several notes, parentheses inside a word") << en << "old"
                                                                  << "old hat, aged, word(s), elderly";
        QTest::newRow("headword with a blank") << en << "first light"
                                               << "dawn, daybreak";
        QTest::newRow("non-ASCII headword, lower-case retry") << en << "CAFÉ"
                                                              << "coffee shop, bistro, coffeehouse";
        QTest::newRow("accents are not folded") << en << "cafe"
                                                << "café, coffee shop";
        QTest::newRow("last entry of the file") << en << "thesaurus" << thesaurus;
        QTest::newRow("unknown word") << en << "zyzzyva"
                                      << "-";
        QTest::newRow("prefix of a headword") << en << "brigh"
                                              << "-";
        QTest::newRow("headword with trailing blank") << en << "bright "
                                                      << "-";
        QTest::newRow("empty word") << en << ""
                                    << "-";
        QTest::newRow("word with a bar") << en << "run|4"
                                         << "-";
        QTest::newRow("word with a line break") << en << "run\n(verb)"
                                                << "-";
        QTest::newRow("word longer than any index line") << en << QString(400, QLatin1Char('a')) << "-";

        const QString cs = QStringLiteral("encodings/th_cs_CZ_v2");
        QTest::newRow("ISO8859-2") << cs << "dům"
                                   << "budova, stavení, příbytek | domov, rodina";
        QTest::newRow("ISO8859-2, lower-case retry") << cs << "DŮM"
                                                     << "budova, stavení, příbytek | domov, rodina";
        QTest::newRow("ISO8859-2, antonym") << cs << "kůň"
                                            << "oř, hřebec, !klisna";
        QTest::newRow("ISO8859-2, capitalised headword") << cs << "Praha"
                                                         << "hlavní město, matička měst";
        QTest::newRow("ISO8859-2, word it cannot hold") << cs << "дом"
                                                        << "-";
        QTest::newRow("ISO8859-2, word it cannot hold, retried") << cs << "ДОМ"
                                                                 << "-";

        const QString ru = QStringLiteral("encodings/th_ru_RU_v2");
        QTest::newRow("KOI8-R") << ru << "дом"
                                << "здание, жилище, очаг";
        QTest::newRow("KOI8-R, lower-case retry") << ru << "Дом"
                                                  << "здание, жилище, очаг";
        QTest::newRow("KOI8-R, yo") << ru << "ёлка"
                                    << "ель, елка";
        QTest::newRow("KOI8-R, capitalised headword") << ru << "Москва"
                                                      << "столица, первопрестольная";
        QTest::newRow("KOI8-R, word it cannot hold") << ru << "dům"
                                                     << "-";

        const QString uk = QStringLiteral("encodings/th_uk_UA_v2");
        QTest::newRow("CP-1251") << uk << "будинок"
                                 << "дім, житло, хата";
        QTest::newRow("CP-1251, lower-case retry") << uk << "Їжак"
                                                   << "тварина";

        const QString de = QStringLiteral("encodings/th_de_DE_v2");
        QTest::newRow("BOM, first entry") << de << "Auto"
                                          << "Wagen, Kraftwagen, Karre";
        QTest::newRow("BOM, capitalised non-ASCII headword") << de << "Ärger"
                                                             << "Verdruss, Groll, !Freude";
        QTest::newRow("BOM, no upper-case retry") << de << "ärger"
                                                  << "-";
        QTest::newRow("BOM, sharp s") << de << "Straße"
                                      << "Weg, Gasse";

        QTest::newRow("ISO8859-1") << "encodings/th_fr_FR_v2"
                                   << "ÉTÉ"
                                   << "saison chaude, belle saison";
        QTest::newRow("ISO8859-1, headword with '?'") << "encodings/th_fr_FR_v2"
                                                      << "ça va ?"
                                                      << "comment vas-tu, comment allez-vous";
        QTest::newRow("ISO8859-1, a character it lacks is no '?'") << "encodings/th_fr_FR_v2"
                                                                   << "ça va ‽"
                                                                   << "-";
        QTest::newRow("ISO-8859-1") << "encodings/th_es_ES_v2"
                                    << "NIÑO"
                                    << "chico, crío, muchacho";
        QTest::newRow("utf-8 in lower case") << "encodings/th_it_IT_v2"
                                             << "città"
                                             << "metropoli, centro urbano";

        QTest::newRow("CRLF line ends") << "variants/crlf/th_en_US_v2"
                                        << "run" << run;
        QTest::newRow("CRLF line ends, last entry") << "variants/crlf/th_en_US_v2"
                                                    << "thesaurus" << thesaurus;
        QTest::newRow("empty headword in the index") << "variants/empty-headword/th_en_US_v2"
                                                     << "bright" << bright;
        QTest::newRow("empty headword never looked up") << "variants/empty-headword/th_en_US_v2"
                                                        << ""
                                                        << "-";
        QTest::newRow("no final line break") << "variants/no-final-newline/th_en_US_v2"
                                             << "thesaurus" << thesaurus;
        QTest::newRow("index out of order, first word") << "variants/unsorted-index/th_en_US_v2"
                                                        << "Quick"
                                                        << "Quick Match, fast lane";
        QTest::newRow("index out of order, last word") << "variants/unsorted-index/th_en_US_v2"
                                                       << "vivid"
                                                       << "vibrant, colorful";
        QTest::newRow("index out of order, retry") << "variants/unsorted-index/th_en_US_v2"
                                                   << "Bright" << bright;
        QTest::newRow("index with no entries") << "variants/no-entries/th_en_US_v2"
                                               << "bright"
                                               << "-";

        // Each language's own antonym note, found by tools/survey-notes.py in the installed data.
        QTest::newRow("Icelandic andheiti; samheiti, yfirheiti are no antonyms") << "antonyms/th_is_IS_v2"
                                                                                 << "heitur"
                                                                                 << "hlýr, funheitur, hitastig, !kaldur";
        QTest::newRow("Polish antonim, also after another note; Icelandic marker ignored")
            << "antonyms/th_pl_PL_v2"
            << "ciepły"
            << "gorący, letni, !zimny, !chłodny";
        QTest::newRow("Catalan antònim in any case") << "antonyms/th_ca_ES_v2"
                                                     << "calent"
                                                     << "càlid, ANTÒNIM, !fred";
        QTest::newRow("Spanish Antónimo, also as the installed data damages it") << "antonyms/th_es_ES_v2"
                                                                                 << "caliente"
                                                                                 << "cálido, templado, !frío, !helado";
        QTest::newRow("Slovenian protipomenka; nadpomenka is none") << "antonyms/th_sl_SI_v2"
                                                                    << "vroč"
                                                                    << "topel, hladen, !mrzel";
        QTest::newRow("Slovak Antonym") << "antonyms/th_sk_SK_v2"
                                        << "teplý"
                                        << "horúci, chladný, !studený";
    }
    void lookup()
    {
        QFETCH(QString, pair);
        QFETCH(QString, word);
        QFETCH(QString, entry);

        MythesFile file(fixture(pair, ".idx"), fixture(pair, ".dat"));
        QCOMPARE(render(file.lookup(word)), entry);
        // The same answer again: nothing is consumed by a lookup.
        QCOMPARE(render(file.lookup(word)), entry);
    }

    void encodingAsNamed_data()
    {
        QTest::addColumn<QString>("pair");
        QTest::addColumn<QString>("encoding");

        QTest::newRow("UTF-8") << "thesaurus/th_en_US_v2"
                               << "UTF-8";
        QTest::newRow("BOM left out") << "encodings/th_de_DE_v2"
                                      << "UTF-8";
        QTest::newRow("utf-8") << "encodings/th_it_IT_v2"
                               << "utf-8";
        QTest::newRow("ISO8859-2") << "encodings/th_cs_CZ_v2"
                                   << "ISO8859-2";
        QTest::newRow("CP-1251") << "encodings/th_uk_UA_v2"
                                 << "CP-1251";
        QTest::newRow("CRLF") << "variants/crlf/th_en_US_v2"
                              << "UTF-8";
    }
    void encodingAsNamed()
    {
        QFETCH(QString, pair);
        QFETCH(QString, encoding);
        MythesFile file(fixture(pair, ".idx"), fixture(pair, ".dat"));
        QCOMPARE(file.encoding(), encoding);
        QCOMPARE(file.datPath(), fixture(pair, ".dat"));
    }

    // The synonyms that the columns get leave every language's antonyms out.
    void appendSynonymsLeavesLanguageAntonymsOut()
    {
        MythesFile file(fixture(QStringLiteral("antonyms/th_is_IS_v2"), ".idx"),
                        fixture(QStringLiteral("antonyms/th_is_IS_v2"), ".dat"));
        QStringList synonyms;
        QVERIFY(file.appendSynonyms(QStringLiteral("heitur"), synonyms));
        QCOMPARE(synonyms, QStringList({QStringLiteral("hlýr"), QStringLiteral("funheitur"), QStringLiteral("hitastig")}));
    }

    void languageOfDataFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("language");
        QTest::newRow("v2 name") << "/usr/share/mythes/th_is_IS_v2.dat"
                                 << "is";
        QTest::newRow("name without version") << "th_da_DK.dat"
                                              << "da";
        QTest::newRow("three letters") << "th_gug_PY_v2.dat"
                                       << "gug";
        QTest::newRow("thes_ prefix") << "thes_fr.dat"
                                      << "fr";
        QTest::newRow("other name") << "/data/icelandic.dat"
                                    << "";
        QTest::newRow("prefix in the folder only") << "/th_is/words.dat"
                                                   << "";
    }
    void languageOfDataFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, language);
        QCOMPARE(AntonymMarkers::languageOfDataFile(path), language);
    }

    void addField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("synonym");
        QTest::addColumn<QString>("antonym");

        QTest::newRow("plain") << "city"
                               << "city"
                               << "";
        QTest::newRow("note") << "city (generic term)"
                              << "city"
                              << "";
        QTest::newRow("two notes") << "Karre (ugs.) (veraltet)"
                                   << "Karre"
                                   << "";
        QTest::newRow("nested note") << "a (b (c))"
                                     << "a"
                                     << "";
        QTest::newRow("blanks at the ends") << " \t city  "
                                            << "city"
                                            << "";
        QTest::newRow("blanks around a note") << "  city (generic term)  "
                                              << "city"
                                              << "";
        QTest::newRow("parentheses inside the word") << "word(s)"
                                                     << "word(s)"
                                                     << "";
        QTest::newRow("word with parentheses and a note") << "f(x) (math)"
                                                          << "f(x)"
                                                          << "";
        QTest::newRow("note not at the end") << "pair (of shoes) worn"
                                             << "pair (of shoes) worn"
                                             << "";
        QTest::newRow("unbalanced parenthesis") << "odd )"
                                                << "odd )"
                                                << "";
        QTest::newRow("antonym") << "dull (antonym)"
                                 << ""
                                 << "dull";
        QTest::newRow("Antonym") << "Freude (Antonym)"
                                 << ""
                                 << "Freude";
        QTest::newRow("Antonym in a note with other letters") << "Freude (Antonym, übertragen)"
                                                              << ""
                                                              << "Freude";
        QTest::newRow("ANTONYM in a note with other letters") << "Freude (ANTONYM – ß)"
                                                              << ""
                                                              << "Freude";
        QTest::newRow("antonym among notes") << "dull (ANTONYM) (dated)"
                                             << ""
                                             << "dull";
        QTest::newRow("near antonym") << "stand still (near antonym)"
                                      << ""
                                      << "stand still";
        QTest::newRow("antonym in the word is no note") << "antonymy"
                                                        << "antonymy"
                                                        << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("blanks only") << "   "
                                     << ""
                                     << "";
    }
    void addField()
    {
        QFETCH(QString, field);
        QFETCH(QString, synonym);
        QFETCH(QString, antonym);

        MythesFile::Meaning meaning;
        meaning.synonyms = QStringList{QStringLiteral("before")};
        meaning.notes = QStringList{QString()};
        MythesFile::addField(field, meaning);
        QCOMPARE(meaning.notes.size(), meaning.synonyms.size());
        QStringList synonyms{QStringLiteral("before")};
        if (!synonym.isEmpty())
            synonyms.append(synonym);
        QCOMPARE(meaning.synonyms, synonyms);
        QCOMPARE(meaning.antonyms, antonym.isEmpty() ? QStringList{} : QStringList{antonym});
    }

    // UTF-8 fields are read on their bytes; what comes out must be what addField
    // makes of the decoded field, whatever the bytes: non-ASCII blanks and letters
    // at the ends and before a note, byte order marks, broken sequences, the
    // language's own markers.
    void utf8FieldsReadAsDecoded_data()
    {
        QTest::addColumn<QString>("language"); // of the file's name, which picks the markers
        QTest::addColumn<QByteArray>("field");

        const QByteArray en = "en_US";
        const QList<std::pair<const char *, QByteArray>> fields{
            {"plain", "city"},
            {"note", "city (generic term)"},
            {"antonym", "dull (antonym)"},
            {"antonym in capitals among notes", "dull (ANTONYM) (dated)"},
            {"near antonym", "stand still (near antonym)"},
            {"nested note", "a (b (c))"},
            {"word with parentheses and a note", "f(x) (math)"},
            {"parentheses inside the word", "word(s)"},
            {"note alone", "(antonym)"},
            {"blank and note alone", " \t(antonym)"},
            {"unbalanced", "odd )"},
            {"ASCII blanks of every kind", "\t\v\f city \r "},
            {"empty", ""},
            {"blanks only", "   "},
            {"empty note", "x ()"},
            {"non-ASCII word", "citt\xC3\xA0"},
            {"non-ASCII first letter and a note", "\xC3\x84rger (ugs.)"},
            {"non-ASCII last letter and an antonym note", "caf\xC3\xA9 (antonym)"},
            {"no-break space before a note", "mot\xC2\xA0(familier)"},
            {"no-break space and blank before a note", "a\xC2\xA0 (antonym)"},
            {"no-break space at the end", "word\xC2\xA0"},
            {"no-break space after a note", "word (antonym)\xC2\xA0"},
            {"ideographic space at the start", "\xE3\x80\x80word"},
            {"no-break space, then the note alone", " \xC2\xA0(antonym)"},
            {"letter, no-break space, note alone", "x\xC2\xA0 (antonym)"},
            {"byte order mark first", "\xEF\xBB\xBFword"},
            {"byte order mark after a blank", " \xEF\xBB\xBFword"},
            {"byte order mark opening a note", "w (\357\273\277antonym)"},
            {"broken sequence before a note", "a\xE2\x80 (antonym)"},
            {"broken sequence alone", "\xE2\x80"},
            {"broken sequence at the end", "x \xFF"},
            {"lone byte that is a blank in Latin-1, at the end", "x\xA0"},
            {"lone byte that is a blank in Latin-1, at the start", "\x85x"},
            {"em space before a note", "a\xE2\x80\x83(antonym)"},
            {"cut four-byte sequence then a note", "\xF0\x9F\x98 (note)"},
            {"overlong sequence", "a\xC0\x80 b"},
            {"non-ASCII note naming an antonym", "Freude (Antonym, \303\274bertragen)"},
            {"non-ASCII note naming none", "Freude (\303\274bertragen)"},
            {"antonym in the word is no note", "antonymy"},
        };
        for (const auto &[name, field] : fields)
            QTest::newRow(name) << QString::fromLatin1(en) << field;
        // Markers: Polish "antonim" (ASCII), Catalan "antònim" (not ASCII).
        QTest::newRow("Polish marker") << "pl_PL" << QByteArray("zimny (antonim)");
        QTest::newRow("Polish marker in capitals after a note") << "pl_PL" << QByteArray("zimny (pot.) (ANTONIM)");
        QTest::newRow("Polish marker as the word") << "pl_PL" << QByteArray("antonim");
        QTest::newRow("Catalan marker") << "ca_ES" << QByteArray("fred (ant\xC3\xB2nim)");
        QTest::newRow("Catalan marker in capitals") << "ca_ES" << QByteArray("fred (ANT\xC3\x92NIM)");
        QTest::newRow("Catalan note without the marker") << "ca_ES" << QByteArray("fred (antonim)");
    }
    void utf8FieldsReadAsDecoded()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, field);

        MythesFile::Meaning expected;
        const QString name = QStringLiteral("th_%1_v2").arg(language);
        MythesFile::addField(
            QString::fromUtf8(field), expected,
            AntonymMarkers::forLanguage(AntonymMarkers::languageOfDataFile(name + QStringLiteral(".dat"))));

        QTemporaryDir dir;
        const QString base = writePair(dir.path(), name, {DatEntry{"w", {"(n)|before|" + field + "|after"}}});
        MythesFile file(base + QStringLiteral(".idx"), base + QStringLiteral(".dat"));
        const MythesFile::Entry entry = file.lookup(QStringLiteral("w"));
        QCOMPARE(entry.meanings.size(), 1);
        const QStringList synonyms = QStringList{QStringLiteral("before")} + expected.synonyms
                                     + QStringList{QStringLiteral("after")};
        QCOMPARE(entry.meanings[0].synonyms, synonyms);
        QCOMPARE(entry.meanings[0].antonyms, expected.antonyms);
        QStringList appended;
        QVERIFY(file.appendSynonyms(QStringLiteral("w"), appended));
        QCOMPARE(appended, synonyms);
    }

    // Notes of one length that differ, one after the other and from one lookup to
    // the next: each field is judged by its own note.
    void sameLengthNotesTellApart()
    {
        QTemporaryDir dir;
        const QString base = writePair(
            dir.path(), QStringLiteral("th_en_US_v2"),
            {DatEntry{"v", {"(n)|a (similar)|b (antonym)|c (similar)|d (ANTONYM)|e (antonym)"}},
             DatEntry{"w", {"(n)|f (similar)|g (antonym)"}}, DatEntry{"x", {"(n)|h (antonym)|i (similar)"}}});
        MythesFile file(base + QStringLiteral(".idx"), base + QStringLiteral(".dat"));
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(render(file.lookup(QStringLiteral("v"))), QStringLiteral("a, c, !b, !d, !e"));
            QCOMPARE(render(file.lookup(QStringLiteral("w"))), QStringLiteral("f, !g"));
            QCOMPARE(render(file.lookup(QStringLiteral("x"))), QStringLiteral("i, !h"));
            QStringList synonyms;
            for (const char *word : {"v", "w", "x"})
                QVERIFY(file.appendSynonyms(QString::fromLatin1(word), synonyms));
            QCOMPARE(synonyms.join(QLatin1Char(',')), QStringLiteral("a,c,f,i"));
        }
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named"); // the file the message names
        QTest::addColumn<QString>("reason");

        QTest::newRow("empty data") << "empty-dat"
                                    << "dat"
                                    << "the file is empty.";
        QTest::newRow("empty index") << "empty-idx"
                                     << "idx"
                                     << "the file is empty.";
        QTest::newRow("unknown encoding") << "unknown-encoding"
                                          << "dat"
                                          << "its text encoding \"KLINGON-8\" is unknown.";
        QTest::newRow("count too high") << "count-too-high"
                                        << "idx"
                                        << "it declares 25 entries but holds 24.";
        QTest::newRow("count too low") << "count-too-low"
                                       << "idx"
                                       << "it declares 23 entries but holds 24.";
        QTest::newRow("count missing") << "count-missing"
                                       << "idx"
                                       << "the number of entries is missing.";
        QTest::newRow("count not a number") << "count-not-a-number"
                                            << "idx"
                                            << "the number of entries is missing.";
        QTest::newRow("offset past the end") << "offset-past-end"
                                             << "idx"
                                             << "\"run|1469\" is not an index line.";
        QTest::newRow("offset inside an entry") << "offset-mid-entry"
                                                << "idx"
                                                << "the entry \"run\" points to byte 721, where it does not stand.";
        QTest::newRow("offset at a field that reads like the entry")
            << "offset-at-a-field"
            << "idx"
            << "the entry \"dawn\" points to byte 525, where it does not stand.";
        QTest::newRow("offset of another word") << "offset-other-word"
                                                << "idx"
                                                << "the entry \"run\" points to byte 880, where it does not stand.";
        QTest::newRow("negative offset") << "offset-not-a-number"
                                         << "idx"
                                         << "\"run|-12\" is not an index line.";
        QTest::newRow("index line without a bar") << "index-line-without-bar"
                                                  << "idx"
                                                  << "\"run 715\" is not an index line.";
        QTest::newRow("index line too long") << "index-line-too-long"
                                             << "idx"
                                             << "is not an index line.";
        QTest::newRow("index line with two bars") << "index-line-two-bars"
                                                  << "idx"
                                                  << "where it does not stand.";
        QTest::newRow("entry cut short") << "entry-cut-short"
                                         << "dat"
                                         << "the entry \"thesaurus\" is cut short.";
        QTest::newRow("meaning count too low") << "meaning-count-too-low"
                                               << "dat"
                                               << "is not an entry line.";
        QTest::newRow("entry line without count") << "entry-line-without-count"
                                                  << "dat"
                                                  << "\"go|\" at byte 880 is not an entry line.";
        QTest::newRow("entry line with two bars") << "entry-line-two-bars"
                                                  << "dat"
                                                  << "is not an entry line.";
        QTest::newRow("huge meaning count") << "meaning-count-huge"
                                            << "dat"
                                            << "is not an entry line.";
    }
    void damaged()
    {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        QFETCH(QString, reason);

        const QString base = QStringLiteral("damaged/%1/th_en_US_v2").arg(damage);
        const std::optional<QString> error = openError(fixture(base, ".idx"), fixture(base, ".dat"));
        QVERIFY2(error, "the damage went unnoticed");
        const QString prefix = damagedPrefix(fixture(base, named == u"idx" ? ".idx" : ".dat"));
        QVERIFY2(error->startsWith(prefix), qPrintable(*error));
        QVERIFY2(error->endsWith(reason), qPrintable(*error));
    }

    void missingFile_data()
    {
        QTest::addColumn<bool>("idxMissing");
        QTest::newRow("index missing") << true;
        QTest::newRow("data missing") << false;
    }
    void missingFile()
    {
        QFETCH(bool, idxMissing);
        QTemporaryDir dir;
        const QString missing = dir.filePath(idxMissing ? QStringLiteral("th_en_US_v2.idx")
                                                        : QStringLiteral("th_en_US_v2.dat"));
        const QString base = QStringLiteral("thesaurus/th_en_US_v2");
        const std::optional<QString> error = idxMissing ? openError(missing, fixture(base, ".dat"))
                                                        : openError(fixture(base, ".idx"), missing);
        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("Cannot read the thesaurus file \"%1\"").arg(missing)),
                 qPrintable(*error));
    }

    // Each limit is fine when reached and refused when passed.
    void limits_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("excess"); // 0 at the limit, 1 past it
        QTest::addColumn<QByteArray>("newline");
        QTest::addColumn<QString>("reason");

        for (int excess : {0, 1}) {
            const char *where = excess ? "past" : "at";
            for (const char *newline : {"\n", "\r\n"}) {
                const char *ends = newline[0] == '\r' ? "CRLF" : "LF";
                QTest::addRow("meaning line, %s, %s", where, ends)
                    << "meaning line" << excess << QByteArray(newline) << (excess ? "is too long." : "");
                QTest::addRow("meaning line, %s what MyThes reads, %s", where, ends)
                    << "mythes line" << excess << QByteArray(newline) << "";
            }
            QTest::addRow("meanings, %s", where)
                << "meanings" << excess << QByteArray("\n") << (excess ? "is not an entry line." : "");
            QTest::addRow("entry line, %s", where)
                << "entry line" << excess << QByteArray("\n") << (excess ? "is too long." : "");
            QTest::addRow("index line, %s", where)
                << "index line" << excess << QByteArray("\n") << (excess ? "is not an index line." : "");
        }
    }
    void limits()
    {
        QFETCH(QString, what);
        QFETCH(int, excess);
        QFETCH(QByteArray, newline);
        QFETCH(QString, reason);

        QTemporaryDir dir;
        QByteArray word = "word";
        QByteArrayList meanings{"(noun)|synonym"};
        QList<DatEntry> entries;
        if (what == u"meanings") {
            meanings = QByteArrayList(MythesFile::MaxMeanings + excess, "(noun)|synonym");
        } else if (what == u"meaning line" || what == u"mythes line") {
            const int limit = what == u"meaning line" ? MythesFile::MaxLineLength : MythesFile::MythesLineLength;
            meanings = {"(noun)|before", "(noun)|" + QByteArray(limit - 7 + excess, 'm'), "(noun)|after"};
        } else if (what == u"entry line") {
            // "w...w|001" in the data, "w...w|6" in the index: the count's leading
            // zeros take only the data's line to the limit and past it.
            entries.append(DatEntry{
                QByteArray(MythesFile::MaxIndexLineLength - 4, 'w'), {"(noun)|x"}, true, QByteArray(2 + excess, '0') + '1'});
        } else if (what == u"index line") {
            // After a filler entry the offset has two digits and the entry line is the
            // shorter one: "w...w|1" in the data, "w...w|NN" in the index.
            entries.append(DatEntry{"a", {"(noun)|filler"}});
            word = QByteArray(MythesFile::MaxIndexLineLength - 3 + excess, 'w');
        }
        entries.append(DatEntry{word, meanings});
        const QString base = writePair(dir.path(), QStringLiteral("th_en_US_v2"), entries, newline);
        const QString idx = base + QStringLiteral(".idx");
        const QString dat = base + QStringLiteral(".dat");

        const std::optional<QString> error = openError(idx, dat);
        if (!reason.isEmpty()) {
            QVERIFY2(error, "the limit was not enforced");
            QVERIFY2(error->endsWith(reason), qPrintable(*error));
            return;
        }
        QVERIFY2(!error, qPrintable(error.value_or(QString())));
        MythesFile file(idx, dat);
        const MythesFile::Entry entry = file.lookup(QString::fromLatin1(word));
        QVERIFY(entry.found);
        QCOMPARE(entry.meanings.size(), meanings.size());
        for (qsizetype i = 0; i < meanings.size(); ++i) {
            if (entry.meanings[i].synonyms != QStringList{QString::fromLatin1(meanings[i].mid(7))})
                QFAIL(qPrintable(QStringLiteral("meaning %1 came out wrong").arg(i + 1)));
        }
    }

    // A line longer than the MyThes library reads whole (real data has some) must
    // not disturb the rest of its entry. Every entry of the fixture gets one in turn.
    void longLinesReadAlike()
    {
        const QString base = QStringLiteral("thesaurus/th_en_US_v2");
        MythesFile healthy(fixture(base, ".idx"), fixture(base, ".dat"));
        const QList<QByteArray> lines = readAll(fixture(base, ".dat")).split('\n');
        QList<DatEntry> entries;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> header = lines[i].split('|');
            if (header.size() != 2)
                continue;
            const int count = header[1].toInt();
            entries.append(DatEntry{header[0], lines.mid(i + 1, count)});
            i += count;
        }
        QCOMPARE(entries.size(), 24);

        const QString longSynonym(MythesFile::MythesLineLength, QLatin1Char('z'));
        for (qsizetype e = 0; e < entries.size(); ++e) {
            QList<DatEntry> altered = entries;
            altered[e].meanings.append("(noun)|" + longSynonym.toLatin1() + " (generic term)||x (antonym)|");
            QTemporaryDir dir;
            const QString pair = writePair(dir.path(), QStringLiteral("th_en_US_v2"), altered);
            MythesFile file(pair + QStringLiteral(".idx"), pair + QStringLiteral(".dat"));
            const QString word = QString::fromUtf8(entries[e].word);
            const QString expected = render(healthy.lookup(word)) + QStringLiteral(" | %1, !x").arg(longSynonym);
            QCOMPARE(render(file.lookup(word)), expected);
            // Upper case finds the lower-case headword: this entry, or another untouched one.
            const QString upper = word.toUpper();
            QCOMPARE(render(file.lookup(upper)), word == word.toLower() ? expected : render(healthy.lookup(upper)));
        }
    }

    // Whatever byte of a healthy pair is cut off or changed, opening either fails
    // with a message naming one of the files or gives a file whose every lookup is
    // safe. The index is held to more: only its final line break may go unnoticed.
    void truncatedOrAlteredFiles()
    {
        const QString base = QStringLiteral("thesaurus/th_en_US_v2");
        const QByteArray idx = readAll(fixture(base, ".idx"));
        const QByteArray dat = readAll(fixture(base, ".dat"));
        const QStringList words = headwords(idx);
        QCOMPARE(words.size(), 24);

        QTemporaryDir dir;
        const QString idxPath = dir.filePath(QStringLiteral("th_en_US_v2.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th_en_US_v2.dat"));
        int opened = 0;
        const auto attempt = [&](const QByteArray &i, const QByteArray &d, const QString &what) -> bool {
            if (!replaceFile(idxPath, i) || !replaceFile(datPath, d)) {
                qWarning("cannot write the files");
                return false;
            }
            // Damage is reported where it is met, at the open or at a lookup, and
            // always as damage of one of the two files.
            const auto isDamage = [&](const AppError &error) {
                if (error.message().startsWith(damagedPrefix(idxPath))
                    || error.message().startsWith(damagedPrefix(datPath)))
                    return true;
                qWarning("%s: %s", qPrintable(what), qPrintable(error.message()));
                return false;
            };
            std::unique_ptr<MythesFile> file;
            try {
                file = std::make_unique<MythesFile>(idxPath, datPath);
            } catch (const AppError &error) {
                return isDamage(error);
            }
            ++opened;
            for (const QString &word : words) {
                try {
                    file->lookup(word);
                } catch (const AppError &error) {
                    if (!isDamage(error))
                        return false;
                }
            }
            return true;
        };

        for (qsizetype size = 0; size < dat.size(); ++size)
            QVERIFY(attempt(idx, dat.first(size), QStringLiteral("data cut to %1 bytes").arg(size)));
        // Only a cut among the last line's offset digits keeps every index line;
        // any other cut loses a line, which the open sees in the count.
        const qsizetype lastOffset = idx.lastIndexOf('|') + 1;
        for (qsizetype size = 0; size < idx.size(); ++size) {
            opened = 0;
            QVERIFY(attempt(idx.first(size), dat, QStringLiteral("index cut to %1 bytes").arg(size)));
            QVERIFY2(opened == (size == idx.size() - 1 ? 1 : opened) && (opened == 0 || size > lastOffset),
                     qPrintable(QStringLiteral("index cut to %1 bytes opened").arg(size)));
        }
        for (const char replacement : {'|', '\n', '\0', '9', '\xff'}) {
            for (qsizetype at = 0; at < dat.size(); ++at) {
                QByteArray altered = dat;
                altered[at] = replacement;
                QVERIFY(attempt(idx, altered, QStringLiteral("data byte %1 changed").arg(at)));
            }
            for (qsizetype at = 0; at < idx.size(); ++at) {
                QByteArray altered = idx;
                altered[at] = replacement;
                QVERIFY(attempt(altered, dat, QStringLiteral("index byte %1 changed").arg(at)));
            }
        }
    }

    // Damage in one entry fails every lookup that reads it, with the file's name
    // and what is wrong; every other entry answers as in the healthy file.
    void damagedEntryLeavesTheRestReadable_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("reason");

        QTest::newRow("count replaced in the middle of the file") << "bad-entry-mid-file"
                                                                  << "run"
                                                                  << "dat"
                                                                  << "\"run|x\" at byte 715 is not an entry line.";
        QTest::newRow("count too low") << "meaning-count-too-low"
                                       << "run"
                                       << "dat"
                                       << "is not an entry line.";
        QTest::newRow("last entry cut short") << "entry-cut-short"
                                              << "thesaurus"
                                              << "dat"
                                              << "the entry \"thesaurus\" is cut short.";
        QTest::newRow("offset of another word") << "offset-other-word"
                                                << "run"
                                                << "idx"
                                                << "the entry \"run\" points to byte 880, where it does not stand.";
        QTest::newRow("offset inside a line") << "offset-at-a-field"
                                              << "dawn"
                                              << "idx"
                                              << "the entry \"dawn\" points to byte 525, where it does not stand.";
    }
    void damagedEntryLeavesTheRestReadable()
    {
        QFETCH(QString, damage);
        QFETCH(QString, word);
        QFETCH(QString, named);
        QFETCH(QString, reason);

        const QString healthyBase = QStringLiteral("thesaurus/th_en_US_v2");
        const QString base = QStringLiteral("damaged/%1/th_en_US_v2").arg(damage);
        MythesFile healthy(fixture(healthyBase, ".idx"), fixture(healthyBase, ".dat"));
        MythesFile file(fixture(base, ".idx"), fixture(base, ".dat"));
        for (int round = 0; round < 2; ++round) {
            for (const QString &other : headwords(readAll(fixture(healthyBase, ".idx")))) {
                if (other == word)
                    continue;
                QCOMPARE(render(file.lookup(other)), render(healthy.lookup(other)));
            }
            try {
                file.lookup(word);
                QFAIL("the damaged entry was read");
            } catch (const AppError &error) {
                QVERIFY2(error.message().startsWith(damagedPrefix(fixture(base, named == u"idx" ? ".idx" : ".dat"))),
                         qPrintable(error.message()));
                QVERIFY2(error.message().endsWith(reason), qPrintable(error.message()));
            }
            QStringList synonyms;
            QVERIFY_THROWS_EXCEPTION(AppError, file.appendSynonyms(word.toUpper(), synonyms));
        }
    }

    // The offset that ends an index line, however many digits it has and however
    // long the line is: the open reads short and long numbers by different ways.
    void indexOffsetDigits_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("offset"); // as the index writes it; the entry is at byte 6
        QTest::addColumn<QString>("error");     // the end of the open's error; empty: the entry answers

        QTest::newRow("short line") << QByteArray("w") << QByteArray("6") << "";
        QTest::newRow("seven digits") << QByteArray("w") << QByteArray("0000006") << "";
        QTest::newRow("eight digits") << QByteArray("w") << QByteArray("00000006") << "";
        QTest::newRow("nine digits") << QByteArray("w") << QByteArray("000000006") << "";
        QTest::newRow("twelve digits") << QByteArray("w") << QByteArray("000000000006") << "";
        QTest::newRow("thirteen digits") << QByteArray("w") << QByteArray("0000000000006")
                                         << "\"w|0000000000006\" is not an index line.";
        QTest::newRow("long word, one digit") << QByteArray("longheadword") << QByteArray("6") << "";
        QTest::newRow("word of digits") << QByteArray("1234567") << QByteArray("6") << "";
        QTest::newRow("word of digits, eight digits") << QByteArray("1234567") << QByteArray("00000006") << "";
        QTest::newRow("carriage return") << QByteArray("w") << QByteArray("00000006\r") << "";
        QTest::newRow("the data's last byte") << QByteArray("w") << QByteArray("00000015")
                                              << "the entry \"w\" points to byte 15, where it does not stand.";
        QTest::newRow("past the data's end")
            << QByteArray("w") << QByteArray("00000016") << "\"w|00000016\" is not an index line.";
        QTest::newRow("a letter after the digits")
            << QByteArray("w") << QByteArray("0000006x") << "\"w|0000006x\" is not an index line.";
        QTest::newRow("no digits") << QByteArray("word") << QByteArray("abcdefgh")
                                   << "\"word|abcdefgh\" is not an index line.";
        QTest::newRow("other digits than ASCII")
            << QByteArray("word") << QByteArray("\xd9\xa6") << "\"word|\xd9\xa6\" is not an index line.";
    }
    void indexOffsetDigits()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, offset);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString idxPath = dir.filePath(QStringLiteral("th.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th.dat"));
        QVERIFY(replaceFile(idxPath, "UTF-8\n1\n" + word + '|' + offset + '\n'));
        QVERIFY(replaceFile(datPath, "UTF-8\n" + word + "|1\n(n)|a\n"));
        QCOMPARE(QFileInfo(datPath).size(), 16 + word.size() - 1);
        try {
            MythesFile file(idxPath, datPath);
            QCOMPARE(render(file.lookup(QString::fromUtf8(word))), QStringLiteral("a"));
            QVERIFY2(error.isEmpty(), "the index was taken");
        } catch (const AppError &caught) {
            QVERIFY2(!error.isEmpty() && caught.message().endsWith(error), qPrintable(caught.message()));
        }
    }

    // Whether the index is in order is told by comparing each headword with the one
    // before, also where they differ only after a long shared beginning or in a
    // byte above 127: an index out of order is searched through a sorted copy.
    void longHeadwordsInAnyOrder_data()
    {
        QTest::addColumn<QByteArrayList>("indexOrder");

        const QByteArray base = "abcdefghijkl";
        const QByteArrayList words{base + "1", base + "2", base + "3", base + "4", base + "5"};
        QTest::newRow("sorted") << words;
        QTest::newRow("the last first") << QByteArrayList{words[4], words[0], words[1], words[2], words[3]};
        QTest::newRow("a longer word before its beginning")
            << QByteArrayList{base + "1x", base + "1", words[2], words[3], words[4]};
        QTest::newRow("a byte above 127 before an ASCII letter")
            << QByteArrayList{base + "\xc3\xa9", base + "z", base + "zz", base + "zzz", base + "zzzz"};
        QTest::newRow("differing after two eight-byte steps") << QByteArrayList{
            base + "mnopqz-end", base + "mnopqa-end", base + "mnopqb-end", base + "mnopqc-end", base + "mnopqd-end"};
        QTest::newRow("differing in the eighth byte")
            << QByteArrayList{"abcdefgz", "abcdefga", "abcdefgb", "abcdefgc", "abcdefgd"};
        QTest::newRow("differing in the ninth byte")
            << QByteArrayList{"abcdefghz", "abcdefgha", "abcdefghb", "abcdefghc", "abcdefghd"};
    }
    void longHeadwordsInAnyOrder()
    {
        QFETCH(QByteArrayList, indexOrder);
        QTemporaryDir dir;
        const QString idxPath = dir.filePath(QStringLiteral("th.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th.dat"));
        QByteArray dat = "UTF-8\n";
        QHash<QByteArray, qsizetype> offsets;
        for (const QByteArray &word : indexOrder) {
            offsets.insert(word, dat.size());
            dat += word + "|1\n(n)|synonym of " + word + '\n';
        }
        QByteArray idx = "UTF-8\n" + QByteArray::number(indexOrder.size()) + '\n';
        for (const QByteArray &word : indexOrder)
            idx += word + '|' + QByteArray::number(offsets.value(word)) + '\n';
        QVERIFY(replaceFile(idxPath, idx));
        QVERIFY(replaceFile(datPath, dat));
        MythesFile file(idxPath, datPath);
        for (const QByteArray &word : indexOrder)
            QCOMPARE(render(file.lookup(QString::fromUtf8(word))), QStringLiteral("synonym of ") + QString::fromUtf8(word));
    }

    // An entry is read in one go as far as the next line of the index points; when
    // that is no guide (it points into the entry, before it, or nowhere) the entry
    // is still read whole, on from the first read.
    void entryReadWholeWhateverTheNextIndexLine_data()
    {
        QTest::addColumn<QByteArray>("idx");
        QTest::addColumn<QByteArray>("dat");
        QTest::addColumn<QString>("b"); // b's entry, or the end of its message

        const QByteArray a = "a|2\n(n)|" + QByteArray(6000, 'x') + "|y\n(n)|z\n";
        const QByteArray b = "b|1\n(n)|w\n";
        const QByteArray aFirst = "UTF-8\n" + a + b;
        const QByteArray bFirst = "UTF-8\n" + b + a;
        const QByteArray bAfterA = QByteArray::number(6 + a.size());
        const QByteArray aAfterB = QByteArray::number(6 + b.size());
        const QString bNotThere = QStringLiteral("the entry \"b\" points to byte 10, where it does not stand.");

        QTest::newRow("next line points past the entry") << "UTF-8\n2\na|6\nb|" + bAfterA + '\n' << aFirst << "w";
        QTest::newRow("next line points inside the entry") << QByteArray("UTF-8\n2\na|6\nb|10\n") << aFirst << bNotThere;
        QTest::newRow("next line points before the entry") << "UTF-8\n2\na|" + aAfterB + "\nb|6\n" << bFirst << "w";
        QTest::newRow("no next line") << QByteArray("UTF-8\n1\na|6\n") << aFirst << "-";
        QTest::newRow("next line empty") << "UTF-8\n2\na|6\n\nb|" + bAfterA + '\n' << aFirst << "w";
        // The first read, sized by b's line, ends where the file ends: the entry fills
        // the buffer, which the look past it for the next entry grows to a page, and
        // finds nothing.
        const QByteArray small = "a|2\n(n)|" + QByteArray(300, 'x') + "|y\n(n)|z\n";
        const QByteArray bInside = QByteArray::number(6 + small.size() - 256);
        QTest::newRow("first read ends with the file")
            << "UTF-8\n2\na|6\nb|" + bInside + '\n'
            << "UTF-8\n" + small
            << QStringLiteral("the entry \"b\" points to byte %1, where it does not stand.").arg(QString::fromLatin1(bInside));
    }
    void entryReadWholeWhateverTheNextIndexLine()
    {
        QFETCH(QByteArray, idx);
        QFETCH(QByteArray, dat);
        QFETCH(QString, b);
        QTemporaryDir dir;
        const QString idxPath = dir.filePath(QStringLiteral("th.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th.dat"));
        QVERIFY(replaceFile(idxPath, idx));
        QVERIFY(replaceFile(datPath, dat));
        MythesFile file(idxPath, datPath);
        for (int round = 0; round < 2; ++round) {
            const QString a = render(file.lookup(QStringLiteral("a")));
            QCOMPARE(a, QString(a.size() - 7, QLatin1Char('x')) + QStringLiteral(", y | z"));
            QVERIFY(a.startsWith(QStringLiteral("xxx")));
            try {
                QCOMPARE(render(file.lookup(QStringLiteral("b"))), b);
            } catch (const AppError &error) {
                QVERIFY2(error.message().endsWith(b), qPrintable(error.message()));
            }
        }
    }

    // A headword indexed twice has the meanings of both entries, in index order,
    // whether the index is sorted or not.
    void headwordIndexedTwice_data()
    {
        QTest::addColumn<QByteArray>("idx");
        QTest::addColumn<QString>("entry");

        // the entries stand at bytes 6 (w), 16 (w again) and 26 (x)
        QTest::newRow("sorted") << QByteArray("UTF-8\n3\nw|6\nw|16\nx|26\n") << "a | b";
        QTest::newRow("sorted, later entry first") << QByteArray("UTF-8\n3\nw|16\nw|6\nx|26\n") << "b | a";
        QTest::newRow("not sorted") << QByteArray("UTF-8\n3\nx|26\nw|6\nw|16\n") << "a | b";
    }
    void headwordIndexedTwice()
    {
        QFETCH(QByteArray, idx);
        QFETCH(QString, entry);
        QTemporaryDir dir;
        const QString idxPath = dir.filePath(QStringLiteral("th.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th.dat"));
        QVERIFY(replaceFile(idxPath, idx));
        QVERIFY(replaceFile(datPath, "UTF-8\nw|1\n(n)|a\nw|1\n(n)|b\nx|1\n(n)|c\n"));
        MythesFile file(idxPath, datPath);
        QCOMPARE(render(file.lookup(QStringLiteral("w"))), entry);
        QCOMPARE(render(file.lookup(QStringLiteral("W"))), entry);
        QCOMPARE(render(file.lookup(QStringLiteral("x"))), QStringLiteral("c"));
        QCOMPARE(render(file.lookup(QStringLiteral("v"))), QStringLiteral("-"));
        QCOMPARE(render(file.lookup(QStringLiteral("y"))), QStringLiteral("-"));
    }

    // A FIFO would block the open until a writer comes; it, a folder and a device
    // are refused at once.
    void onlyRegularFiles_data()
    {
        QTest::addColumn<bool>("idx"); // which of the two is not a file
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        for (const bool idx : {true, false}) {
            const char *which = idx ? "index" : "data";
            QTest::addRow("%s is a FIFO", which) << idx << "fifo"
                                                 << "it is not a regular file";
            QTest::addRow("%s is a folder", which) << idx << "folder"
                                                   << "it is a folder, not a file";
            QTest::addRow("%s is a device", which) << idx << "device"
                                                   << "it is not a regular file";
        }
    }
    void onlyRegularFiles()
    {
        QFETCH(bool, idx);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString odd = dir.filePath(QStringLiteral("odd"));
        if (kind == u"fifo")
            QCOMPARE(mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(odd));
        else
            odd = QStringLiteral("/dev/zero");
        const QString base = QStringLiteral("thesaurus/th_en_US_v2");
        const std::optional<QString> error = idx ? openError(odd, fixture(base, ".dat"))
                                                 : openError(fixture(base, ".idx"), odd);
        QCOMPARE(error.value_or(QString()), QStringLiteral("Cannot read the thesaurus file \"%1\": %2").arg(odd, reason));
    }

    // The first line names the encoding; a data file whose first line is huge is
    // refused from its first bytes, and the message shows them quoted and cut.
    void hugeFirstLine_data()
    {
        QTest::addColumn<QByteArray>("fill");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero bytes") << QByteArray(1, '\0') << "\\x00\\x00\\x00";
        QTest::newRow("letters") << QByteArray(1, 'A') << "AAAAAAAAAA";
    }
    void hugeFirstLine()
    {
        QFETCH(QByteArray, fill);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const QString datPath = dir.filePath(QStringLiteral("th_en_US_v2.dat"));
        QFile dat(datPath);
        QVERIFY(dat.open(QIODevice::WriteOnly));
        if (fill == QByteArray(1, '\0')) {
            QVERIFY(dat.resize(qint64(2) << 30)); // 2 GiB of zero bytes, sparse
        } else {
            const QByteArray block(1 << 20, fill[0]);
            for (int i = 0; i < 64; ++i)
                dat.write(block);
            dat.write("\nrun|1\n(verb)|go\n");
        }
        dat.close();
        const std::optional<QString> error = openError(fixture(QStringLiteral("thesaurus/th_en_US_v2"), ".idx"), datPath);
        QVERIFY(error);
        QVERIFY2(error->startsWith(damagedPrefix(datPath) + QStringLiteral("its text encoding \"") + shown),
                 qPrintable(*error));
        QVERIFY2(error->endsWith(QStringLiteral("…\" is unknown.")), qPrintable(*error));
        QVERIFY2(error->size() < 150 + datPath.size(), qPrintable(*error));
        QVERIFY(!error->contains(QChar(0)));
    }

    // Bytes of the data in a message are quoted: control characters written out, no
    // NUL, and no more than a short piece of a long line.
    void messageBytesQuoted()
    {
        QTemporaryDir dir;
        const QByteArray count = QByteArray("1\0\x1b", 3) + QByteArray(100, 'z');
        const QString base = writePair(dir.path(), QStringLiteral("th_en_US_v2"),
                                       {DatEntry{"run", {"(verb)|go"}, true, count}, DatEntry{"walk", {"(verb)|stroll"}}});
        MythesFile file(base + QStringLiteral(".idx"), base + QStringLiteral(".dat"));
        QCOMPARE(render(file.lookup(QStringLiteral("walk"))), QStringLiteral("stroll"));
        try {
            file.lookup(QStringLiteral("run"));
            QFAIL("the damaged entry was read");
        } catch (const AppError &error) {
            const QString message = error.message();
            QVERIFY2(message.contains(QStringLiteral("\"run|1\\x00\\x1bzzz")), qPrintable(message));
            QVERIFY2(message.contains(QStringLiteral("z…\" at byte 6 is not an entry line.")), qPrintable(message));
            QVERIFY(!message.contains(QChar(0)) && !message.contains(QChar(0x1b)));
        }
    }

    // With a multi-byte encoding, half a character at the end of one field must not
    // change the next field, nor the first field of a later lookup.
    void decodingKeepsNoState()
    {
        if (!QStringDecoder("GB18030").isValid())
            QSKIP("no GB18030 converter");
        QTemporaryDir dir;
        const QByteArray dat = "GB18030\na|1\n(n)|cd|ab\x81\nb|1\n(n)|ef\n";
        const QByteArray idx = "GB18030\n2\na|8\nb|23\n";
        QVERIFY(replaceFile(dir.filePath(QStringLiteral("th.idx")), idx));
        QVERIFY(replaceFile(dir.filePath(QStringLiteral("th.dat")), dat));
        MythesFile file(dir.filePath(QStringLiteral("th.idx")), dir.filePath(QStringLiteral("th.dat")));
        const MythesFile::Entry a = file.lookup(QStringLiteral("a"));
        QCOMPARE(a.meanings.size(), 1);
        QCOMPARE(a.meanings[0].synonyms.value(0), QStringLiteral("cd"));
        QVERIFY(a.meanings[0].synonyms.value(1).startsWith(QStringLiteral("ab")));
        QCOMPARE(render(file.lookup(QStringLiteral("b"))), QStringLiteral("ef"));
        QStringList synonyms;
        QVERIFY(file.appendSynonyms(QStringLiteral("a"), synonyms));
        QVERIFY(file.appendSynonyms(QStringLiteral("b"), synonyms));
        QCOMPARE(synonyms.value(0), QStringLiteral("cd"));
        QCOMPARE(synonyms.value(2), QStringLiteral("ef"));
    }

    // A data file cut short in place while it is open: entries past the cut fail
    // with a message, those before it answer, and nothing faults. When the file is
    // whole again, so are the answers.
    void dataCutWhileOpen()
    {
        QTemporaryDir dir;
        const QString base = QStringLiteral("thesaurus/th_en_US_v2");
        const QByteArray dat = readAll(fixture(base, ".dat"));
        const QString idxPath = dir.filePath(QStringLiteral("th_en_US_v2.idx"));
        const QString datPath = dir.filePath(QStringLiteral("th_en_US_v2.dat"));
        QVERIFY(replaceFile(idxPath, readAll(fixture(base, ".idx"))));
        QVERIFY(replaceFile(datPath, dat));
        MythesFile healthy(fixture(base, ".idx"), fixture(base, ".dat"));
        MythesFile file(idxPath, datPath);
        const QString bright = render(healthy.lookup(QStringLiteral("bright")));
        const QString run = render(healthy.lookup(QStringLiteral("run")));
        QCOMPARE(render(file.lookup(QStringLiteral("run"))), run);

        const qsizetype runAt = dat.indexOf("\nrun|") + 1;
        for (const qsizetype cut : {runAt + 20, runAt + 3, runAt, qsizetype(0)}) {
            QFile inPlace(datPath);
            QVERIFY(inPlace.resize(cut));
            QVERIFY_THROWS_EXCEPTION(AppError, file.lookup(QStringLiteral("run")));
            QVERIFY_THROWS_EXCEPTION(AppError, file.lookup(QStringLiteral("thesaurus")));
            if (cut > 0)
                QCOMPARE(render(file.lookup(QStringLiteral("bright"))), bright);
        }
        QFile inPlace(datPath);
        QVERIFY(inPlace.open(QIODevice::ReadWrite));
        QCOMPARE(inPlace.write(dat), dat.size());
        inPlace.close();
        QCOMPARE(render(file.lookup(QStringLiteral("run"))), run);
        QCOMPARE(render(file.lookup(QStringLiteral("bright"))), bright);
    }

    // A large index is checked where searches read it: damage in one of its lines
    // fails the lookups that meet it, with the message the open gave for a small
    // index, while the words elsewhere answer. A wrong count of entries is told
    // once, when the last unread part is read.
    void indexDamageMetWhereSearched_data()
    {
        QTest::addColumn<QByteArray>("from"); // in the healthy index: one line of the middle, or the count
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("word"); // the word whose lookups meet the damage; empty for the count
        QTest::addColumn<QString>("reason");

        QTest::newRow("offset not a number") << QByteArray("\nw02000|") << QByteArray("\nw02000|x") << "w02000"
                                             << "is not an index line.";
        QTest::newRow("offset past the data's end") << QByteArray("\nw02000|") << QByteArray("\nw02000|9999999") << "w02000"
                                                    << "is not an index line.";
        QTest::newRow("bar in the headword") << QByteArray("\nw02000|") << QByteArray("\nw02|000|") << "w02000"
                                             << "where it does not stand.";
        QTest::newRow("count one too high") << QByteArray("\n4000\n") << QByteArray("\n4001\n") << ""
                                            << "it declares 4001 entries but holds 4000.";
    }
    void indexDamageMetWhereSearched()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, word);
        QFETCH(QString, reason);

        QTemporaryDir dir;
        const QString base = writeLargePair(dir.path(), 4000);
        const QString idxPath = base + QStringLiteral(".idx");
        QByteArray idx = readAll(idxPath);
        QVERIFY(idx.size() > 10 * MythesFile::IndexBlockSize);
        QVERIFY(idx.contains(from));
        QVERIFY(replaceFile(idxPath, idx.replace(from, to)));

        MythesFile file(idxPath, base + QStringLiteral(".dat"));
        const auto expected = [](const QString &w) -> QString { return QStringLiteral("s") + w.sliced(1); };
        int told = 0;
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 4000; i += (round == 0 ? 1 : 97)) {
                const QString w = QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0'));
                try {
                    QCOMPARE(render(file.lookup(w)), expected(w));
                } catch (const AppError &error) {
                    QVERIFY2(error.message().startsWith(damagedPrefix(idxPath)), qPrintable(error.message()));
                    QVERIFY2(error.message().endsWith(reason), qPrintable(error.message()));
                    if (word.isEmpty())
                        ++told;
                    else
                        QCOMPARE(w, word);
                }
            }
        }
        if (word.isEmpty()) {
            QCOMPARE(told, 1);
        } else {
            // Met again at every lookup, in either letter case.
            for (const QString &w : {word, word.toUpper()})
                QVERIFY_THROWS_EXCEPTION(AppError, file.lookup(w));
        }
    }

    // An index out of order far from its start is found so by the search that
    // reads that part, and searched through its sorted copy from then on.
    void indexOutOfOrderFarFromTheStart()
    {
        QTemporaryDir dir;
        const QString base = writeLargePair(dir.path(), 4000);
        const QString idxPath = base + QStringLiteral(".idx");
        QByteArray idx = readAll(idxPath);
        const qsizetype first = idx.indexOf("\nw03001|") + 1;
        const qsizetype second = idx.indexOf("\nw03002|") + 1;
        const qsizetype after = idx.indexOf('\n', second) + 1;
        const QByteArray swapped = idx.mid(second, after - second) + idx.mid(first, second - first);
        QVERIFY(replaceFile(idxPath, idx.replace(first, after - first, swapped)));

        MythesFile file(idxPath, base + QStringLiteral(".dat"));
        for (int i = 0; i < 4000; ++i) {
            const QString w = QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0'));
            QCOMPARE(render(file.lookup(w)), QStringLiteral("s") + w.sliced(1));
        }
        QCOMPARE(render(file.lookup(QStringLiteral("w99999"))), QStringLiteral("-"));
    }

    // The index is mapped: cut short in place while open, it makes every later
    // lookup fail with a message saying so, and nothing faults (SIGBUS).
    void indexCutWhileMapped()
    {
        QTemporaryDir dir;
        const QString base = writeLargePair(dir.path(), 4000);
        const QString idxPath = base + QStringLiteral(".idx");
        MythesFile file(idxPath, base + QStringLiteral(".dat"));
        QCOMPARE(render(file.lookup(QStringLiteral("w03999"))), QStringLiteral("s03999"));

        QFile inPlace(idxPath);
        QVERIFY(inPlace.resize(inPlace.size() / 3));
        for (const char *word : {"w03999", "w00000", "w02000", "w03998"}) {
            try {
                file.lookup(QString::fromLatin1(word));
                QFAIL("a lookup read the index cut short");
            } catch (const AppError &error) {
                QCOMPARE(error.message(), damagedPrefix(idxPath) + QStringLiteral("it was changed while it was open."));
            }
        }
        // Opened again, the index is what it is now: its lines are cut, and so is
        // what it holds, which the open or the lookups say.
        try {
            MythesFile again(idxPath, base + QStringLiteral(".dat"));
            for (int i = 0; i < 4000; i += 50)
                again.lookup(QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')));
            QFAIL("the index cut short went unnoticed");
        } catch (const AppError &error) {
            QVERIFY2(error.message().startsWith(damagedPrefix(idxPath)), qPrintable(error.message()));
        }
    }

    // Through the program's thesaurus source, an index cut short while mapped fails
    // the lookup that meets it; the next lookup opens the files again and reads
    // them as they are then.
    void indexCutWhileMappedOpensAgain()
    {
        QTemporaryDir dir;
        const QString base = writeLargePair(dir.path(), 4000);
        const QString idxPath = base + QStringLiteral(".idx");
        const QByteArray idx = readAll(idxPath);
        MythesSource source({dir.path()});
        source.start();
        const std::int32_t english = 1033;
        QStringList synonyms;
        QVERIFY(source.appendSynonyms(QStringLiteral("w03999"), english, synonyms));

        QFile inPlace(idxPath);
        QVERIFY(inPlace.resize(idx.size() / 3));
        QVERIFY_THROWS_EXCEPTION(AppError, source.appendSynonyms(QStringLiteral("w00001"), english, synonyms));
        QVERIFY(inPlace.open(QIODevice::ReadWrite));
        QCOMPARE(inPlace.write(idx), idx.size());
        inPlace.close();
        synonyms.clear();
        QVERIFY(source.appendSynonyms(QStringLiteral("w00001"), english, synonyms));
        QCOMPARE(synonyms, QStringList{QStringLiteral("s00001")});
        QCOMPARE(render(source.entry(QStringLiteral("w03999"), english)), QStringLiteral("s03999"));
    }

    // The checks must never refuse the data people really have installed.
    void realInstalledData()
    {
        if (!QFileInfo::exists(RealData + QStringLiteral("/th_en_US_v2.idx")))
            QSKIP("no MyThes data installed in /usr/share/mythes");

        MythesSource source({RealData});
        source.start();
        QStringList synonyms;
        const std::unique_ptr<SynonymInfo> run = source.synonymInfo(QStringLiteral("run"), 1033);
        QVERIFY(run->found());
        for (int i = 1; i <= run->meaningCount(); ++i)
            synonyms += run->synonymList(i);
        QVERIFY(synonyms.size() > 10);
        QVERIFY(synonyms.contains(QStringLiteral("sprint")) || synonyms.contains(QStringLiteral("race")));

        QStringList failures;
        int languages = 0;
        for (int i = 0; i < LanguageTable::listItems().size(); ++i) {
            const std::int32_t id = LanguageTable::identifier(LanguageTable::languageForListIndex(i));
            if (!source.hasData(id))
                continue;
            ++languages;
            try {
                source.synonymInfo(QStringLiteral("a"), id);
            } catch (const AppError &error) {
                failures.append(LanguageTable::listItems().at(i) + QStringLiteral(": ") + error.message());
            }
        }
        // Files no language of the list asks for are checked as well.
        const ThesaurusCatalog catalog({RealData});
        for (const QString &locale : catalog.locales()) {
            const ThesaurusCatalog::DataFiles files = catalog.find(locale, locale, {});
            try {
                MythesFile(files.idxPath, files.datPath);
            } catch (const AppError &error) {
                failures.append(locale + QStringLiteral(": ") + error.message());
            }
        }
        qInfo("%d languages of the list and %lld files checked", languages, qlonglong(catalog.locales().size()));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestMythesFile)
#include "test_mythesfile.moc"
