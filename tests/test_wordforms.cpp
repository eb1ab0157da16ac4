// Which word answers for a typed word: real MyThes pairs and real Hunspell
// dictionaries from tests/data/wordforms, read by the real libraries.

#include "common/AppError.h"
#include "thesaurus/HunspellCatalog.h"
#include "thesaurus/HunspellDictionary.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordNetExceptions.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString DataDir = QStringLiteral(VERBARIUM_TEST_DATA);
const QString WordFormsDir = DataDir + QStringLiteral("/wordforms");
const QString DamagedDir = DataDir + QStringLiteral("/wordforms-damaged");
const QString Latin1Dir = DataDir + QStringLiteral("/wordforms-latin1");
const QString Cp1251Dir = DataDir + QStringLiteral("/wordforms-cp1251");
// WordNet's index for the suffix rules, in a folder of its own: the thesaurus
// pairs and Hunspell dictionaries of wordforms/ serve other suites without it.
const QString WordNetIndexDir = DataDir + QStringLiteral("/wordforms-wordnet");
const QStringList FormsPath{WordFormsDir, WordNetIndexDir};

const std::int32_t English = LanguageTable::identifier(wdEnglishUS);
const std::int32_t German = LanguageTable::identifier(wdGerman);
const std::int32_t French = LanguageTable::identifier(wdFrench);

// The fixture thesaurus, looked up exactly, with every lookup written down.
struct Thesaurus {
    MythesSource source{QStringList{WordFormsDir}};
    QStringList lookups;
    Thesaurus() { source.start(); }
    SynonymExpansion::Lookup exact(std::int32_t languageId)
    {
        return [this, languageId](const QString &word, QStringList &synonyms) {
            lookups.append(word);
            synonyms.clear();
            source.appendSynonyms(word, languageId, synonyms);
        };
    }
    QStringList synonymsOf(const QString &word, std::int32_t languageId)
    {
        QStringList synonyms;
        source.appendSynonyms(word, languageId, synonyms);
        return synonyms;
    }
};

} // namespace

class TestWordForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // (language, typed word, root or a miss, the word proper, the rule that answered)
    void rootOfTypedWord_data()
    {
        QTest::addColumn<int>("languageId");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("core");
        QTest::addColumn<QString>("rule");

        const auto row = [](const char *name, std::int32_t language, const QString &typed, const QString &root,
                            const QString &core, const char *rule) {
            QTest::newRow(name) << int(language) << typed << root << core << QString::fromLatin1(rule);
        };
        row("own entry", English, u"bright"_s, u"bright"_s, u"bright"_s, "entry");
        row("own entry, not stemmed", English, u"glasses"_s, u"glasses"_s, u"glasses"_s, "entry");

        // Punctuation, elision.
        row("abbreviation keeps its full stop", English, u"(etc.),"_s, u"etc."_s, u"etc"_s, "punctuation");
        row("trailing comma", English, u"bright,"_s, u"bright"_s, u"bright"_s, "punctuation");
        row("brackets", English, u"(bright)"_s, u"bright"_s, u"bright"_s, "punctuation");
        row("guillemets", English, u"«bright»"_s, u"bright"_s, u"bright"_s, "punctuation");
        row("elision", French, u"l'option"_s, u"option"_s, u"option"_s, "elision");
        row("typographic elision", French, u"l’option"_s, u"option"_s, u"option"_s, "elision");
        row("elided form with its own entry", French, u"d'accord"_s, u"d'accord"_s, u"d'accord"_s, "entry");
        row("elision and punctuation", French, u"«l'option»,"_s, u"option"_s, u"option"_s, "elision");
        // An elision is French, Italian and Catalan only.
        row("no elision in English", English, u"l'bright"_s, {}, u"l'bright"_s, "none");

        // WordNet's lists of irregular forms.
        row("irregular verb", English, u"ran"_s, u"run"_s, u"ran"_s, "irregular-form");
        row("irregular verb, capitalised", English, u"Went"_s, u"go"_s, u"Went"_s, "irregular-form");
        row("irregular noun", English, u"mice"_s, u"mouse"_s, u"mice"_s, "irregular-form");

        // WordNet's suffix rules, each base in WordNet's index of its part of speech.
        row("comparative", English, u"brighter"_s, u"bright"_s, u"brighter"_s, "suffix-rule");
        row("superlative, capitalised", English, u"Brightest"_s, u"bright"_s, u"Brightest"_s, "suffix-rule");
        row("comparative, -er to -e", English, u"larger"_s, u"large"_s, u"larger"_s, "suffix-rule");
        row("plural -xes", English, u"boxes"_s, u"box"_s, u"boxes"_s, "suffix-rule");
        row("past tense", English, u"walked"_s, u"walk"_s, u"walked"_s, "suffix-rule");
        row("-ing to -e", English, u"hoping"_s, u"hope"_s, u"hoping"_s, "suffix-rule");
        // Hunspell reads "refers" as "ref", and "regulations" as its verb.
        row("third person, never a shorter word", English, u"refers"_s, u"refer"_s, u"refers"_s, "suffix-rule");
        row("plural of a noun in -ion, by the noun's own entry", English, u"regulations"_s, u"regulation"_s,
            u"regulations"_s, "suffix-rule");
        row("quotes and a suffix rule", English, u"“boxes”."_s, u"box"_s, u"boxes"_s, "suffix-rule");

        // Hunspell's stems.
        row("plural -ies, past WordNet's index", English, u"copies"_s, u"copy"_s, u"copies"_s, "hunspell-analysis");
        row("prefix trap: prefix put back", English, u"requires"_s, u"require"_s, u"requires"_s, "hunspell-analysis");
        row("prefix trap: unprefixed reading wins", English, u"programs"_s, u"program"_s, u"programs"_s,
            "hunspell-analysis");
        row("plain inflection named by the spell check", English, u"brigs"_s, u"brig"_s, u"brigs"_s, "hunspell-check");
        row("irregular form the dictionary knows", English, u"worse"_s, u"bad"_s, u"worse"_s, "hunspell-analysis");
        row("root of two letters", English, u"his"_s, {}, u"his"_s, "none");
        row("root of three letters for a word of nine", English, u"reformers"_s, {}, u"reformers"_s, "none");
        row("inflection before derivation: the nearer stem", German, u"Kollegen"_s, u"Kollege"_s, u"Kollegen"_s,
            "hunspell-analysis");

        // Compounds.
        row("compound by its analysis", German, u"Konfigurationsdatei"_s, u"Datei"_s, u"Konfigurationsdatei"_s,
            "compound-tail");
        row("capitalised noun tail", German, u"Schlüsseldatei"_s, u"Datei"_s, u"Schlüsseldatei"_s, "compound-tail");
        row("compound of three parts", German, u"Hauskonfigurationsdatei"_s, u"Datei"_s, u"Hauskonfigurationsdatei"_s,
            "compound-tail");
        row("inflected compound", German, u"Konfigurationsdateien"_s, u"Datei"_s, u"Konfigurationsdateien"_s,
            "compound-tail");
        row("unknown word cut into two known ones", German, u"Hausbrot"_s, u"Brot"_s, u"Hausbrot"_s, "compound-tail");
        row("written with a hyphen", German, u"Bio-Brot"_s, u"Brot"_s, u"Bio-Brot"_s, "compound-tail");
        // Words the dictionary knows as simple words are never cut, though both
        // parts are words it knows and the last has an entry.
        row("simple word: no \"acht\"", German, u"gebracht"_s, {}, u"gebracht"_s, "none");
        row("simple word: no \"Kies\"", German, u"Cookies"_s, {}, u"Cookies"_s, "none");
        row("simple word, adverb first: no \"Mund\"", German, u"Dortmund"_s, {}, u"Dortmund"_s, "none");
        row("simple word, noun first: no \"Gang\"", German, u"Wolfgang"_s, {}, u"Wolfgang"_s, "none");
        row("compound the dictionary lists as a word", German, u"Fladenbrot"_s, {}, u"Fladenbrot"_s, "none");
        // A lower-case word is no noun, so a noun is not its last part.
        row("lower-case compound, noun tail", German, u"hausdatei"_s, {}, u"hausdatei"_s, "none");
        row("unknown first part", German, u"Quatschbrot"_s, {}, u"Quatschbrot"_s, "none");

        row("true miss", English, u"brigt"_s, {}, u"brigt"_s, "none");
        row("no dictionary for the language", French, u"maisons"_s, {}, u"maisons"_s, "none");
        row("punctuation only", English, u"--"_s, {}, {}, "none");
        row("empty piece", English, {}, {}, {}, "none");
    }

    void rootOfTypedWord()
    {
        QFETCH(int, languageId);
        QFETCH(QString, typed);
        QFETCH(QString, root);
        QFETCH(QString, core);
        QFETCH(QString, rule);

        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        const WordForms::Root result = forms.resolve(typed, languageId, thesaurus.exact(languageId));
        QCOMPARE(result.root, root);
        QCOMPARE(result.found(), !root.isEmpty());
        QCOMPARE(result.core(), core);
        QCOMPARE(WordForms::ruleName(result.rule), rule);
        // The column shows the root's synonyms exactly as its own lookup gives them.
        QCOMPARE(result.synonyms, root.isEmpty() ? QStringList{} : thesaurus.synonymsOf(root, languageId));
        QVERIFY(forms.takeNotes().isEmpty());
    }

    // WordNet's suffix rules need no Hunspell dictionary; the dictionary loads at
    // the first word they leave.
    void suffixRulesLoadNoDictionary()
    {
        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        QCOMPARE(forms.resolve(u"regulations"_s, English, thesaurus.exact(English)).root, u"regulation"_s);
        QVERIFY(!forms.isLoaded(English));
        QCOMPARE(forms.resolve(u"copies"_s, English, thesaurus.exact(English)).root, u"copy"_s);
        QVERIFY(forms.isLoaded(English));
    }

    // A damaged line of WordNet's index knows no word; the other lines still answer.
    void damagedWordNetIndexLine()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : QDir(WordNetIndexDir).entryList(QDir::Files))
            QVERIFY(QFile::copy(WordNetIndexDir + u'/' + name, dir.filePath(name)));
        QFile index(dir.filePath(u"index.noun"_s));
        QVERIFY(index.open(QIODevice::WriteOnly | QIODevice::Truncate));
        index.write("box n 1 0 1 0 notanoffset  \nregulation n 1 0 1 0 00000000  \n");
        index.close();
        Thesaurus thesaurus;
        WordForms forms(QStringList{WordFormsDir, dir.path()});
        QCOMPARE(forms.resolve(u"regulations"_s, English, thesaurus.exact(English)).root, u"regulation"_s);
        const WordForms::Root boxes = forms.resolve(u"boxes"_s, English, thesaurus.exact(English));
        QVERIFY(!boxes.found());
    }

    void hitPathNeverLoadsDictionary()
    {
        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        const WordForms::Root hit = forms.resolve(QStringLiteral("bright"), English, thesaurus.exact(English));
        QVERIFY(hit.found());
        QCOMPARE(thesaurus.lookups, QStringList{u"bright"_s});
        QVERIFY(!forms.isLoaded(English));

        forms.resolve(QStringLiteral("copies"), English, thesaurus.exact(English));
        QVERIFY(forms.isLoaded(English));
        QVERIFY(!forms.isLoaded(German));
    }

    void missSuggestsSpellingsThatHaveSynonyms()
    {
        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        // Hunspell offers brig, bright and brigs; "brigs" has no entry and is left out,
        // as is "brat", which the dictionary knows but the thesaurus does not.
        const WordForms::Root miss = forms.resolve(QStringLiteral("brigt,"), English, thesaurus.exact(English));
        QVERIFY(!miss.found());
        QCOMPARE(miss.suggestions, (QStringList{u"brig"_s, u"bright"_s}));
        // A suggestion takes the word's place and leaves its punctuation.
        QCOMPARE(miss.withCore(QStringLiteral("bright")), QStringLiteral("bright,"));

        const WordForms::Root elided = forms.resolve(QStringLiteral("l'optoin"), French, thesaurus.exact(French));
        QVERIFY(!elided.found());
        QVERIFY(elided.suggestions.isEmpty()); // French has no dictionary here
        QCOMPARE(elided.withCore(QStringLiteral("option")), QStringLiteral("l'option"));

        QVERIFY(forms.resolve(QStringLiteral("qqqqq"), English, thesaurus.exact(English)).suggestions.isEmpty());
    }

    // Suggestions are for words the dictionary rejects: "the" is spelled right and
    // has no entry, and "then", one letter away, has one.
    void suggestionsOnlyForRejectedWords_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("suggestions");
        QTest::newRow("accepted") << "the" << QStringList{};
        QTest::newRow("accepted, capitalised") << "The" << QStringList{};
        QTest::newRow("accepted, in punctuation") << "(the)," << QStringList{};
        QTest::newRow("accepted as an inflection of a word without an entry") << "brats" << QStringList{};
        QTest::newRow("rejected") << "thenn" << QStringList{u"then"_s};
        QTest::newRow("rejected, capitalised") << "Brigt" << QStringList{u"Brig"_s, u"Bright"_s};
    }
    void suggestionsOnlyForRejectedWords()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, suggestions);
        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        const WordForms::Root miss = forms.resolve(typed, English, thesaurus.exact(English));
        QVERIFY(!miss.found());
        QCOMPARE(miss.suggestions, suggestions);
    }

    void expansionBelowTheRootStaysExact()
    {
        Thesaurus thesaurus;
        WordForms forms(FormsPath);
        const auto exact = thesaurus.exact(English);
        const WordForms::Root root = forms.resolve(QStringLiteral("brighter"), English, exact);
        for (int depth : {0, 1, 2}) {
            const auto viaTyped = SynonymExpansion::ExpandWord(QStringLiteral("brighter"), depth,
                                                               WordForms::rootedLookup(root, exact));
            QCOMPARE(viaTyped, SynonymExpansion::ExpandWord(QStringLiteral("bright"), depth, exact));
        }
        // The typed word is answered from the root once; asked again it is looked up as it is.
        QStringList synonyms;
        const auto rooted = WordForms::rootedLookup(root, exact);
        rooted(QStringLiteral("brighter"), synonyms);
        QCOMPARE(synonyms, thesaurus.synonymsOf(QStringLiteral("bright"), English));
        thesaurus.lookups.clear();
        rooted(QStringLiteral("brighter"), synonyms);
        QVERIFY(synonyms.isEmpty());
        QCOMPARE(thesaurus.lookups, QStringList{u"brighter"_s});
    }

    void damagedDictionary_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing .aff") << "missing-aff"
                                      << "en_US.aff is missing";
        QTest::newRow("missing .dic") << "missing-dic"
                                      << "en_US.dic is missing";
        QTest::newRow(".dic without its count") << "dic-without-count"
                                                << "does not begin with its word count";
        QTest::newRow(".aff not text") << "aff-not-text"
                                       << "en_US.aff is not a text file";
        QTest::newRow("unknown encoding") << "unknown-encoding"
                                          << "unknown encoding";
        // Hunspell would take gigabytes for the table of this count.
        QTest::newRow("count far beyond the file")
            << "dic-count-too-high"
            << "en_US.dic claims 268435000 words, more than its 127 bytes can hold";
        // Hunspell reads the count as a negative int and loads nothing.
        QTest::newRow("count past 2^31") << "dic-count-past-2-31"
                                         << "en_US.dic claims 2147483648 words";
        QTest::newRow(".dic cut short") << "dic-cut-short"
                                        << "en_US.dic claims 19 words, more than its 5 bytes can hold";
        QTest::newRow(".dic without words") << "dic-no-words"
                                            << "en_US.dic holds no words";
        // Hunspell loads none of the words of a .dic whose count is 0.
        QTest::newRow("nothing loaded") << "dic-count-zero"
                                        << "Hunspell accepts none of the words en_US.dic begins with";
    }

    void damagedDictionary()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        Thesaurus thesaurus;
        // The damaged pair stands before the healthy one and is the one found.
        WordForms forms(QStringList{DamagedDir + QLatin1Char('/') + folder} + FormsPath);
        const auto exact = thesaurus.exact(English);

        QVERIFY(forms.resolve(QStringLiteral("bright"), English, exact).found());
        const WordForms::Root miss = forms.resolve(QStringLiteral("copies"), English, exact);
        QVERIFY(!miss.found());
        QVERIFY(miss.suggestions.isEmpty());
        // Lookups that need no dictionary go on as before.
        QCOMPARE(forms.resolve(QStringLiteral("(bright)"), English, exact).root, QStringLiteral("bright"));
        QCOMPARE(forms.resolve(QStringLiteral("ran"), English, exact).root, QStringLiteral("run"));
        QCOMPARE(forms.resolve(QStringLiteral("brighter"), English, exact).root, QStringLiteral("bright"));

        const QStringList notes = forms.takeNotes();
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes.first().contains(reason), qPrintable(notes.first()));
        QVERIFY2(notes.first().contains(folder), qPrintable(notes.first()));
        forms.resolve(QStringLiteral("copies"), English, exact);
        // Told once, also when another language is served by the same pair.
        forms.resolve(QStringLiteral("copies"), LanguageTable::identifier(wdEnglishNewZealand), exact);
        QVERIFY(forms.takeNotes().isEmpty());
    }

    // A pair cut short anywhere either is refused with a reason or answers for its
    // own first word: never a dictionary that silently knows nothing.
    void pairCutShortIsRefusedOrWorks_data()
    {
        QTest::addColumn<QString>("cutFile");
        QTest::newRow(".dic") << "en_US.dic";
        QTest::newRow(".aff") << "en_US.aff";
    }
    void pairCutShortIsRefusedOrWorks()
    {
        QFETCH(QString, cutFile);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile healthy(WordFormsDir + u'/' + cutFile);
        QVERIFY(healthy.open(QIODevice::ReadOnly));
        const QByteArray whole = healthy.readAll();
        const QString other = cutFile == u"en_US.dic" ? u"en_US.aff"_s : u"en_US.dic"_s;
        QVERIFY(QFile::copy(WordFormsDir + u'/' + other, dir.filePath(other)));
        int refused = 0;
        for (qsizetype length = 0; length < whole.size(); ++length) {
            QFile cut(dir.filePath(cutFile));
            QVERIFY(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
            cut.write(whole.left(length));
            cut.close();
            try {
                const HunspellDictionary dictionary(dir.filePath(u"en_US.aff"_s), dir.filePath(u"en_US.dic"_s));
                QVERIFY2(dictionary.spell(u"bright"_s), qPrintable(u"cut at %1"_s.arg(length)));
            } catch (const AppError &error) {
                QVERIFY(!error.message().isEmpty());
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }

    void truncatedAffixFileLoadsWithoutCrash()
    {
        // Hunspell reads what it can of a cut-short affix file; the words still stand.
        Thesaurus thesaurus;
        WordForms forms(QStringList{DamagedDir + u"/aff-cut-short"_s, WordFormsDir});
        const WordForms::Root root = forms.resolve(QStringLiteral("bright."), English, thesaurus.exact(English));
        QCOMPARE(root.root, QStringLiteral("bright"));
        forms.resolve(QStringLiteral("brighter"), English, thesaurus.exact(English));
    }

    void throughTSpellCheck()
    {
        auto source = std::make_unique<MythesSource>(QStringList{WordFormsDir});
        TSpellCheck spellCheck(nullptr, std::move(source));
        spellCheck.setWordForms(std::make_unique<WordForms>(QStringList{WordFormsDir}));
        spellCheck.setLanguage(wdGerman);
        QCOMPARE(spellCheck.ResolveWord(QStringLiteral("Konfigurationsdatei")).root, QStringLiteral("Datei"));
        spellCheck.setLanguage(wdEnglishUS);
        QCOMPARE(spellCheck.ResolveWord(QStringLiteral("copies")).root, QStringLiteral("copy"));

        // An inactive thesaurus finds nothing and suggests nothing, without touching a dictionary.
        TSpellCheck inactive(nullptr, std::make_unique<MythesSource>(QStringList{DataDir + u"/none"_s}));
        QVERIFY(!inactive.Active());
        inactive.setWordForms(std::make_unique<WordForms>(QStringList{WordFormsDir}));
        const WordForms::Root nothing = inactive.ResolveWord(QStringLiteral("brigt"));
        QVERIFY(!nothing.found());
        QVERIFY(nothing.suggestions.isEmpty());
        QVERIFY(!inactive.wordForms().isLoaded(LanguageTable::identifier(wdEnglishUS)));
    }

    void analysisLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("stems");
        QTest::addColumn<bool>("prefixed");
        QTest::addColumn<QString>("compoundLast");
        QTest::newRow("suffix") << " st:program fl:S" << QStringList{u"program"_s} << false << "";
        QTest::newRow("prefix flag") << " fl:A st:quire fl:S" << QStringList{u"quire"_s} << true << "";
        QTest::newRow("prefix morpheme") << "un st:happily fl:U" << QStringList{u"happily"_s} << true << "";
        QTest::newRow("elision") << "dp:le|la+  st:option po:nom is:fem" << QStringList{u"option"_s} << true << "";
        QTest::newRow("morphology after the stem")
            << " st:maison po:nom is:fem is:pl" << QStringList{u"maison"_s} << false << "";
        QTest::newRow("compound: parts, not stems")
            << " pa:Konfigurations st:Konfigurations pa:datei" << QStringList{} << false << "datei";
        QTest::newRow("compound, last part only") << " pa:datei" << QStringList{} << false << "datei";
    }

    void analysisLines()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, stems);
        QFETCH(bool, prefixed);
        QFETCH(QString, compoundLast);
        const HunspellDictionary::Analysis analysis = HunspellDictionary::parseAnalysis(line);
        QCOMPARE(analysis.stems, stems);
        QCOMPARE(analysis.prefixed, prefixed);
        QCOMPARE(analysis.compoundLast, compoundLast);
    }

    // The spell check's answer, which a miss asks for before a full analysis.
    void spellCheckReadings_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<bool>("compound");
        QTest::addColumn<QString>("root");
        QTest::newRow("suffix") << WordFormsDir + u"/en_US"_s << "copies" << true << false << "copy";
        QTest::newRow("read with a prefix first") << WordFormsDir + u"/en_US"_s << "requires" << true << false << "quire";
        QTest::newRow("its own root") << WordFormsDir + u"/en_US"_s << "bright" << true << false << "";
        QTest::newRow("misspelt") << WordFormsDir + u"/en_US"_s << "brigt" << false << false << "";
        QTest::newRow("compound: its first part")
            << WordFormsDir + u"/de_DE"_s << "Konfigurationsdatei" << true << true << "Konfigurations";
        QTest::newRow("not a word of the code page") << Latin1Dir + u"/de_DE"_s << u"Ha\u0161s"_s << false << false << "";
        QTest::newRow("legacy encoding") << Latin1Dir + u"/de_DE"_s << u"H\u00e4user"_s << true << false << "Haus";
        QTest::newRow("legacy encoding, root decoded")
            << Latin1Dir + u"/de_DE"_s << u"B\u00e4ren"_s << true << false << u"B\u00e4r"_s;
        // "microsoft-cp1251" is Hunspell's own name for Windows-1251.
        QTest::newRow("microsoft-cp1251, root decoded")
            << Cp1251Dir + u"/bg_BG"_s << u"\u043a\u043e\u0442\u043a\u0430\u0442\u0430"_s << true << false
            << u"\u043a\u043e\u0442\u043a\u0430"_s;
        QTest::newRow("microsoft-cp1251, its own root")
            << Cp1251Dir + u"/bg_BG"_s << u"\u0434\u043e\u043c"_s << true << false << "";
    }

    void spellCheckReadings()
    {
        QFETCH(QString, folder);
        QFETCH(QString, word);
        QFETCH(bool, correct);
        QFETCH(bool, compound);
        QFETCH(QString, root);
        const HunspellDictionary dictionary(folder + u".aff"_s, folder + u".dic"_s);
        const HunspellDictionary::Check check = dictionary.check(word);
        QCOMPARE(check.correct, correct);
        QCOMPARE(check.compound, compound);
        QCOMPARE(check.root, root);
    }

    void legacyEncodedDictionaryFindsTheRoot()
    {
        Thesaurus thesaurus;
        WordForms forms(QStringList{Latin1Dir, WordFormsDir});
        const WordForms::Root result = forms.resolve(u"H\u00e4user"_s, German, thesaurus.exact(German));
        QCOMPARE(result.root, u"Haus"_s);
        QVERIFY(forms.dictionaryPath(German).startsWith(Latin1Dir));
    }

    void catalogFindsByLocale()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        const auto touch = [](const QTemporaryDir &dir, const QString &name) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        for (const char *name : {"en_US.aff", "en_US.dic", "de_CH.aff", "de_CH.dic", "pt.dic", "ca_ES-valencia.dic"})
            touch(first, QString::fromLatin1(name));
        for (const char *name : {"en_US.aff", "en_US.dic", "fr_FR.aff", "fr_FR.dic"})
            touch(second, QString::fromLatin1(name));
        const HunspellCatalog catalog({first.path(), second.path()});

        QCOMPARE(catalog.locales(), (QStringList{u"de_CH"_s, u"en_US"_s, u"fr_FR"_s, u"pt"_s}));
        // Earlier folders win.
        QCOMPARE(catalog.find(u"en_US"_s, u"en"_s, u"en_US"_s).dicPath, first.filePath(u"en_US.dic"_s));
        // The preferred locale of the language, then the bare language, then any region.
        QCOMPARE(catalog.find(u"en_GB"_s, u"en"_s, u"en_US"_s).locale, u"en_US"_s);
        QCOMPARE(catalog.find(u"pt_BR"_s, u"pt"_s, u"pt_PT"_s).locale, u"pt"_s);
        QCOMPARE(catalog.find(u"de_DE"_s, u"de"_s, u"de_DE"_s).locale, u"de_CH"_s);
        QVERIFY(!catalog.find(u"it_IT"_s, u"it"_s, u"it_IT"_s).isValid());
        QVERIFY(!catalog.find({}, {}, {}).isValid());
        // Half a pair is still found, so that what is missing can be told.
        QCOMPARE(catalog.find(u"pt_PT"_s, u"pt"_s, u"pt_PT"_s).affPath, first.filePath(u"pt.aff"_s));
    }

    void searchPathFollowsTheEnvironment()
    {
        const QByteArray saved = qgetenv("VERBARIUM_DICTIONARY_PATH");
        const bool wasSet = qEnvironmentVariableIsSet("VERBARIUM_DICTIONARY_PATH");
        qputenv("VERBARIUM_DICTIONARY_PATH", "/a:/b");
        QStringList path = WordForms::defaultSearchPath();
        QCOMPARE(path.mid(path.size() - 2), (QStringList{u"/a"_s, u"/b"_s}));
        // Set but empty: no system folders at all, as the tests run.
        qputenv("VERBARIUM_DICTIONARY_PATH", "");
        path = WordForms::defaultSearchPath();
        QVERIFY(!path.contains(u"/usr/share/hunspell"_s));
        qunsetenv("VERBARIUM_DICTIONARY_PATH");
        path = WordForms::defaultSearchPath();
        // Without it: the Hunspell folders of the data search path, then WordNet's lists.
        QVERIFY(path.contains(u"/usr/share/hunspell"_s));
        QCOMPARE(path.last(), u"/usr/share/wordnet"_s);
        // The thesaurus folders come first, so that a pair put beside the data wins.
        QCOMPARE(path.first(), ThesaurusCatalog::defaultSearchPath().first());
        if (wasSet)
            qputenv("VERBARIUM_DICTIONARY_PATH", saved);
    }

    void wordNetLists()
    {
        QTemporaryDir empty;
        QTemporaryDir dir;
        QFile verbs(dir.filePath(u"verb.exc"_s));
        QVERIFY(verbs.open(QIODevice::WriteOnly));
        verbs.write("went go\nbroke break\nlying lie\nlying lie\n\nmalformed\nfought_back fight_back\n");
        verbs.close();
        QFile adjectives(dir.filePath(u"adj.exc"_s));
        QVERIFY(adjectives.open(QIODevice::WriteOnly));
        adjectives.write("better good well\n");
        adjectives.close();

        // The first folder that has lists is read.
        const WordNetExceptions table = WordNetExceptions::load({empty.path(), dir.path(), WordFormsDir});
        QCOMPARE(table.folder(), QDir(dir.path()).absolutePath());
        QCOMPARE(table.bases(u"went"_s), QStringList{u"go"_s});
        QCOMPARE(table.bases(u"lying"_s), QStringList{u"lie"_s});
        QCOMPARE(table.bases(u"better"_s), (QStringList{u"good"_s, u"well"_s}));
        QCOMPARE(table.bases(u"fought back"_s), QStringList{u"fight back"_s});
        QVERIFY(table.bases(u"malformed"_s).isEmpty());
        QVERIFY(table.bases(u"mice"_s).isEmpty()); // the later folder is not read
        QVERIFY(WordNetExceptions::load({empty.path()}).isEmpty());
    }

    // A line too long for a list is skipped whole: none of its pieces reads as an
    // entry, and the lines around it read as they are.
    void wordNetListOverLongLine()
    {
        QTemporaryDir dir;
        QByteArray pairs;
        for (int i = 0; i < 1000; ++i)
            pairs += " f" + QByteArray::number(i) + " b" + QByteArray::number(i);
        const QByteArray wide = "wide " + QByteArray(4000, 'c');
        QFile verbs(dir.filePath(u"verb.exc"_s));
        QVERIFY(verbs.open(QIODevice::WriteOnly));
        verbs.write("went go\nlong" + pairs + "\nran run\n" + wide + "\nlast" + pairs); // the last line has no end
        verbs.close();

        const WordNetExceptions table = WordNetExceptions::load({dir.path()});
        QCOMPARE(table.bases(u"went"_s), QStringList{u"go"_s});
        QCOMPARE(table.bases(u"ran"_s), QStringList{u"run"_s});
        QCOMPARE(table.bases(u"wide"_s), QStringList{QString(4000, u'c')});
        QVERIFY(table.bases(u"long"_s).isEmpty());
        QVERIFY(table.bases(u"last"_s).isEmpty());
        for (int i = 0; i < 1000; ++i) {
            QVERIFY2(table.bases(u"f%1"_s.arg(i)).isEmpty(), qPrintable(u"f%1"_s.arg(i)));
            QVERIFY2(table.bases(u"b%1"_s.arg(i)).isEmpty(), qPrintable(u"b%1"_s.arg(i)));
        }
    }

    // One form on many lines, as a damaged or generated list may have it: every
    // base once, in the order first read, across the lists too.
    void wordNetListRepeatsOneForm()
    {
        QTemporaryDir dir;
        QByteArray lines;
        QStringList expected;
        for (int i = 0; i < 20000; ++i) {
            lines += "went b" + QByteArray::number(i) + " b" + QByteArray::number(i / 2) + '\n';
            expected.append(u"b%1"_s.arg(i));
        }
        QFile verbs(dir.filePath(u"verb.exc"_s));
        QVERIFY(verbs.open(QIODevice::WriteOnly));
        verbs.write(lines);
        verbs.close();
        QFile adjectives(dir.filePath(u"adj.exc"_s));
        QVERIFY(adjectives.open(QIODevice::WriteOnly));
        adjectives.write("went b7 extra\n");
        adjectives.close();

        const WordNetExceptions table = WordNetExceptions::load({dir.path()});
        QCOMPARE(table.bases(u"went"_s), expected + QStringList{u"extra"_s});
    }
};

QTEST_GUILESS_MAIN(TestWordForms)
#include "test_wordforms.moc"
