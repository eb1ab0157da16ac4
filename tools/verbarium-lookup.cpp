// verbarium-lookup: the thesaurus of Verbarium Pro for scripts.

#include "Version.h"
#include "common/AppError.h"
#include "thesaurus/Depth.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/AntonymMarkers.h"
#include "thesaurus/Commonness.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/Generate.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordMeanings.h"
#include "thesaurus/WordNetReader.h"
#include "thesaurus/WordTree.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <variant>

namespace {

enum ExitStatus { Found = 0, NothingFound = 1, Refused = 2, ThesaurusFailed = 3, OutputFailed = 4 };

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Tabs and line breaks would break a line-per-entry format.
QString tsvField(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

struct Column {
    QString word;
    SynonymExpansion::ColumnWords entries;
    QString root; // the word that answered for it
};

// A typed word that found nothing, with the spellings that would.
struct Missing {
    QString word;
    QStringList suggestions;
};

// Only what holds a letter or a digit counts as a word that can go missing.
bool isWord(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

void reportMissing(const QList<Missing> &missing)
{
    for (const Missing &m : missing) {
        err() << "verbarium-lookup: no synonyms for \"" << m.word << '"';
        if (!m.suggestions.isEmpty())
            err() << "; did you mean: " << m.suggestions.join(QStringLiteral(", "));
        err() << '\n';
    }
}

QJsonArray jsonMissing(const QList<Missing> &missing)
{
    QJsonArray array;
    for (const Missing &m : missing)
        array.append(QJsonObject{{QStringLiteral("word"), m.word},
                                 {QStringLiteral("suggestions"), QJsonArray::fromStringList(m.suggestions)}});
    return array;
}

void printRoots(const QList<Column> &columns, const QList<Missing> &missing, const QString &format)
{
    if (format == u"json") {
        QJsonArray array;
        for (qsizetype c = 0; c < columns.size(); ++c)
            array.append(QJsonObject{{QStringLiteral("column"), int(c)},
                                     {QStringLiteral("word"), columns[c].word},
                                     {QStringLiteral("root"), columns[c].root}});
        out() << QJsonDocument(
                     QJsonObject{{QStringLiteral("roots"), array}, {QStringLiteral("missing"), jsonMissing(missing)}})
                     .toJson(QJsonDocument::Indented);
        return;
    }
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (format == u"tsv")
            out() << c << '\t' << tsvField(columns[c].word) << '\t' << tsvField(columns[c].root) << '\n';
        else
            out() << columns[c].word << " -> " << columns[c].root << '\n';
    }
}

void printColumns(const QList<Column> &columns, const QList<Missing> &missing, const QString &format)
{
    if (format == u"tsv") {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            for (const SynonymExpansion::Entry &e : columns[c].entries)
                out() << c << '\t' << tsvField(columns[c].word) << '\t' << e.tier << '\t' << tsvField(e.text) << '\n';
        }
    } else if (format == u"json") {
        QJsonArray array;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            QJsonArray entries;
            for (const SynonymExpansion::Entry &e : columns[c].entries)
                entries.append(QJsonObject{{QStringLiteral("word"), e.text}, {QStringLiteral("tier"), e.tier}});
            array.append(QJsonObject{{QStringLiteral("column"), int(c)},
                                     {QStringLiteral("word"), columns[c].word},
                                     {QStringLiteral("entries"), entries}});
        }
        out() << QJsonDocument(
                     QJsonObject{{QStringLiteral("columns"), array}, {QStringLiteral("missing"), jsonMissing(missing)}})
                     .toJson(QJsonDocument::Indented);
    } else {
        for (const Column &column : columns) {
            out() << column.word << '\n';
            for (const SynonymExpansion::Entry &e : column.entries)
                out() << QString(2 * (e.tier + 1), QLatin1Char(' ')) << e.text << '\n';
        }
    }
}

// Each node's children, found in one pass over the nodes.
using Children = QList<QList<int>>;

QJsonObject jsonNode(const WordTree &tree, const Children &children, int index)
{
    QJsonArray array;
    for (const int child : children[index])
        array.append(jsonNode(tree, children, child));
    QJsonObject node{{QStringLiteral("word"), tree.nodes[index].text}, {QStringLiteral("level"), tree.nodes[index].level}};
    if (!array.isEmpty())
        node.insert(QStringLiteral("children"), array);
    return node;
}

void printTree(const WordTree &tree, const QString &format)
{
    if (format == u"tsv") {
        for (const WordTree::Node &node : tree.nodes)
            out() << node.level << '\t' << tsvField(node.text) << '\n';
    } else if (format == u"json") {
        Children children(tree.nodes.size());
        for (int i = 1; i < tree.nodes.size(); ++i) {
            const int parent = tree.nodes[i].parent;
            if (parent >= 0 && parent < i)
                children[parent].append(i);
        }
        out() << QJsonDocument(jsonNode(tree, children, 0)).toJson(QJsonDocument::Indented);
    } else {
        for (const WordTree::Node &node : tree.nodes)
            out() << QString(2 * node.level, QLatin1Char(' ')) << node.text << '\n';
    }
}

// The catalog passes over thesaurus files it cannot read; they are named here, so
// that a language missing for that reason is no mystery.
void reportUnreadableFiles(const ThesaurusCatalog &catalog)
{
    for (const ThesaurusCatalog::Unreadable &file : catalog.unreadable())
        err() << "Cannot read the thesaurus file \"" << QDir::toNativeSeparators(file.path) << "\": " << file.reason
              << ".\n";
}

// What the command line asks for.
struct Request {
    QString phrase;
    int depth = 0;
    QString format;
    int listIndex = -1;
    QStringList dataDirs; // empty: the usual search path
    bool tree = false;
    bool roots = false;
    bool meanings = false;
    // A phrase's columns: most common words first, first-level filters.
    bool commonFirst = false;
    QStringList partsOfSpeech;
    bool broaderTerms = true;
};

// The request, or the exit status of a command line that asks for nothing to look
// up (--help and --version exit from here) or is refused.
std::variant<Request, ExitStatus> parseArguments(int argc, char *argv[], const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Looks up the synonyms of a phrase, word by word, as Verbarium Pro's Generate does,\n"
                       "the three-level synonym tree of a word, or a word's meanings.\n\n"
                       "Exit status: 0 found, 1 nothing found, 2 refused phrase or usage error, 3 thesaurus error,\n"
                       "4 the output could not be written."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption depthOption(QStringLiteral("depth"),
                                         QStringLiteral("Thesaurus depth: %1 (default 0).").arg(Depths::numberedNames()),
                                         QStringLiteral("0|1|2"), QStringLiteral("0"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("Thesaurus language as named in the program's language list (default \"English US\")."),
        QStringLiteral("NAME"), QStringLiteral("English US"));
    const QCommandLineOption treeOption(QStringLiteral("tree"),
                                        QStringLiteral("Print the word tree of the whole phrase taken as one word."));
    const QCommandLineOption formatOption(QStringLiteral("format"), QStringLiteral("Output format (default text)."),
                                          QStringLiteral("text|tsv|json"), QStringLiteral("text"));
    const QCommandLineOption dataDirOption(
        QStringLiteral("data-dir"),
        QStringLiteral(
            "Look for thesaurus files, Hunspell dictionaries and WordNet's files only in DIR (WordNet also in DIR/wordnet; may be repeated)."),
        QStringLiteral("DIR"));
    const QCommandLineOption rootOption(
        QStringLiteral("root"),
        QStringLiteral(
            "Print, per typed word that found synonyms, the word that answered for it (tsv: column, typed word, root)."));
    const QCommandLineOption meaningsOption(
        QStringLiteral("meanings"),
        QStringLiteral("Print the meanings of the phrase taken as one word, by part of speech: their words, antonyms,\n"
                       "broader terms and, in English, WordNet's definitions and examples\n"
                       "(tsv: meaning number, part of speech, relation, word; antonyms with the relation \"antonym\")."));
    const QCommandLineOption orderOption(
        QStringLiteral("order"),
        QStringLiteral("Order of each column's words: as the data gives them, or the most common first\n"
                       "(English: SCOWL's word lists; other languages: how many entries list the word)."),
        QStringLiteral("data|common"), QStringLiteral("data"));
    const QCommandLineOption posOption(
        QStringLiteral("pos"),
        QStringLiteral("First-level words only from meanings of these parts of speech (comma-separated);\n"
                       "languages whose data names none give every meaning."),
        QStringLiteral("noun,verb,adj,adv"));
    const QCommandLineOption noBroaderOption(
        QStringLiteral("no-broader"), QStringLiteral("Leave the words the data marks as broader terms out of the first level,\n"
                                                     "unless they also stand plainly in another meaning."));
    parser.addOptions({depthOption, languageOption, treeOption, formatOption, dataDirOption, rootOption, meaningsOption,
                       orderOption, posOption, noBroaderOption});
    parser.addPositionalArgument(QStringLiteral("PHRASE"), QStringLiteral("The phrase, at most 10 words (3 at depth 2)."));

    if (!parser.parse(arguments)) {
        // In the form other command-line tools use, with the way to the help.
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString &name : unknown)
            err() << "verbarium-lookup: unknown option '" << name << "'\n";
        if (unknown.isEmpty()) {
            QString error = parser.errorText();
            if (error.endsWith(QLatin1Char('.')))
                error.chop(1);
            if (!error.isEmpty())
                error[0] = error.at(0).toLower();
            err() << "verbarium-lookup: " << error << '\n';
        }
        err() << "Try 'verbarium-lookup --help' for more information.\n";
        return Refused;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as it was called, which the parser takes
        // from the application object.
        QCoreApplication app(argc, argv);
        parser.showHelp(0);
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    Request request;
    const std::optional<int> depth = Depths::parseNumber(parser.value(depthOption));
    request.format = parser.value(formatOption);
    request.listIndex = LanguageTable::listIndexForName(parser.value(languageOption));
    if (!depth) {
        err() << "The depth must be " << Depths::numbers() << ".\n";
        return Refused;
    }
    request.depth = *depth;
    if (request.format != u"text" && request.format != u"tsv" && request.format != u"json") {
        err() << "The format must be text, tsv or json.\n";
        return Refused;
    }
    if (request.listIndex < 0) {
        err() << "Unknown language \"" << parser.value(languageOption)
              << "\". Known languages: " << LanguageTable::listItems().join(QStringLiteral("; ")) << '\n';
        return Refused;
    }
    request.phrase = parser.positionalArguments().join(QLatin1Char(' '));
    if (request.phrase.isEmpty()) {
        err() << SynonymExpansion::emptyPhraseMessage() << '\n';
        return Refused;
    }
    request.dataDirs = parser.values(dataDirOption);
    request.tree = parser.isSet(treeOption);
    request.roots = parser.isSet(rootOption);
    request.meanings = parser.isSet(meaningsOption);
    const QString order = parser.value(orderOption);
    if (order != u"data" && order != u"common") {
        err() << "The order must be data or common.\n";
        return Refused;
    }
    request.commonFirst = order == u"common";
    if (parser.isSet(posOption)) {
        for (const QString &part : parser.value(posOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!WordMeanings::partsOfSpeech().contains(part.trimmed())) {
                err() << "The parts of speech must be among " << WordMeanings::partsOfSpeech().join(QLatin1Char(','))
                      << ".\n";
                return Refused;
            }
            request.partsOfSpeech.append(part.trimmed());
        }
    }
    request.broaderTerms = !parser.isSet(noBroaderOption);
    if (request.tree || request.meanings) {
        // They shape a phrase's columns: with a tree or meanings they would be ignored in silence.
        for (const QCommandLineOption *option : {&orderOption, &posOption, &noBroaderOption}) {
            if (parser.isSet(*option)) {
                err() << "verbarium-lookup: --" << option->names().constFirst() << " cannot be combined with --"
                      << (request.tree ? "tree" : "meanings")
                      << "\nTry 'verbarium-lookup --help' for more information.\n";
                return Refused;
            }
        }
    }
    if (request.meanings) {
        // The meanings name their root and have no depth: these would be ignored in silence.
        for (const QCommandLineOption *option : {&treeOption, &rootOption, &depthOption}) {
            if (parser.isSet(*option)) {
                err() << "verbarium-lookup: --meanings cannot be combined with --" << option->names().constFirst()
                      << "\nTry 'verbarium-lookup --help' for more information.\n";
                return Refused;
            }
        }
    }
    return request;
}

// The thesaurus of the request's data folders, in the request's language; nothing
// (with the reason told) when no data can be served at all.
std::unique_ptr<TSpellCheck> openThesaurus(const Request &request)
{
    auto source = request.dataDirs.isEmpty() ? std::make_unique<MythesSource>()
                                             : std::make_unique<MythesSource>(request.dataDirs);
    MythesSource *mythes = source.get();
    auto spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
    if (!request.dataDirs.isEmpty()) {
        spellCheck->setWordForms(std::make_unique<WordForms>(request.dataDirs));
        if (request.meanings) {
            // WordNet as Debian lays it out (a wordnet/ folder) or its files right in the folder.
            QStringList wordNetPath;
            for (const QString &folder : request.dataDirs)
                wordNetPath << folder << folder + QStringLiteral("/wordnet");
            spellCheck->setWordNet(std::make_unique<WordNetReader>(wordNetPath));
        }
    }
    const TSpellCheckLanguage language = LanguageTable::languageForListIndex(request.listIndex);
    const ThesaurusCatalog *catalog = mythes->catalog();
    if (catalog)
        reportUnreadableFiles(*catalog);
    if (!spellCheck->Active()) {
        QStringList shown;
        for (const QString &folder : catalog ? catalog->searchPath() : request.dataDirs)
            shown.append(QDir::toNativeSeparators(folder));
        err() << "No thesaurus data was found in " << shown.join(QStringLiteral(", ")) << ".\n";
        return nullptr;
    }
    if (!mythes->hasData(LanguageTable::identifier(language)))
        err() << "No thesaurus data is installed for " << LanguageTable::listItems().at(request.listIndex).trimmed()
              << ".\n";
    spellCheck->setLanguage(language);
    return spellCheck;
}

// A dictionary that cannot be used is told once, on its own line.
void reportNotes(const QStringList &notes)
{
    for (const QString &note : notes)
        err() << "verbarium-lookup: " << note << '\n';
}

// The tree of the whole phrase taken as one word, or its root with --root.
ExitStatus lookUpTree(TSpellCheck &spellCheck, const Request &request)
{
    const WordForms::Root root = spellCheck.ResolveWord(request.phrase);
    reportNotes(spellCheck.wordForms().takeNotes());
    WordTree tree;
    tree.fill(request.phrase, WordForms::rootedLookup(root, SynonymExpansion::lookupThrough(spellCheck)));
    const QList<Missing> missing = root.found() || !isWord(request.phrase)
                                       ? QList<Missing>{}
                                       : QList<Missing>{{request.phrase, root.suggestions}};
    const bool found = tree.nodes.size() > 1;
    if (request.roots) {
        QList<Column> columns;
        if (root.found())
            columns.append({request.phrase, {}, root.root});
        printRoots(columns, missing, request.format);
    } else if (found) {
        // A tree of the typed word alone says nothing: nothing found prints nothing.
        printTree(tree, request.format);
    }
    out().flush();
    reportMissing(missing);
    return found ? Found : NothingFound;
}

// How common the words of the language's data are, or none (the data's order),
// with the reason on standard error.
std::unique_ptr<Commonness> openCommonness(TSpellCheck &spellCheck, const Request &request)
{
    const auto *mythes = static_cast<const MythesSource *>(spellCheck.source());
    const QString data = mythes->dataFor(LanguageTable::identifier(spellCheck.Language())).datPath;
    if (data.isEmpty())
        return nullptr;
    if (AntonymMarkers::languageOfDataFile(data) != u"en")
        return EntryCounts::cached(data);
    QStringList path;
    for (const QString &folder : request.dataDirs)
        path << folder << folder + QStringLiteral("/dict/scowl");
    std::unique_ptr<ScowlLevels> levels = ScowlLevels::load(path.isEmpty() ? ScowlLevels::defaultSearchPath() : path);
    if (!levels)
        err() << "SCOWL's word lists are not installed (Debian package \"scowl\"): English words keep the data's "
                 "order.\n";
    return levels;
}

// The columns of the phrase as a Generate makes them, or their roots with --root.
ExitStatus lookUpPhrase(TSpellCheck &spellCheck, const Request &request)
{
    SynonymExpansion::GenerateOptions options;
    options.partsOfSpeech = request.partsOfSpeech;
    options.broaderTerms = request.broaderTerms;
    std::unique_ptr<Commonness> commonness;
    if (request.commonFirst) {
        commonness = openCommonness(spellCheck, request);
        if (commonness)
            options.rank = [ranks = commonness.get()](const QString &word) { return ranks->rank(word); };
    }
    auto outcome = SynonymExpansion::Generate(spellCheck, spellCheck.Language(), request.phrase, request.depth, options);
    if (const auto *refusal = std::get_if<SynonymExpansion::Refusal>(&outcome)) {
        err() << refusal->message << '\n';
        return Refused;
    }
    auto &generated = std::get<SynonymExpansion::Generated>(outcome);
    reportNotes(generated.notes);
    if (generated.failure)
        throw *generated.failure;
    QList<Column> columns;
    QList<Missing> missing;
    for (SynonymExpansion::GeneratedColumn &found : generated.columns)
        columns.append({found.word, std::move(found.entries), found.root});
    for (const SynonymExpansion::Miss &miss : std::as_const(generated.misses))
        missing.append({miss.root.typed, miss.root.suggestions});
    if (request.roots)
        printRoots(columns, missing, request.format);
    else
        printColumns(columns, missing, request.format);
    out().flush();
    reportMissing(missing);
    return columns.isEmpty() ? NothingFound : Found;
}

// The meanings' indexes in the order people read them: grouped by part of speech
// (noun, verb, adj, adv, then those the data gives none), each group in the data's
// order. Each keeps its number in the data's order, the number tsv and json use.
QList<qsizetype> groupedOrder(const QList<WordMeanings::Meaning> &meanings)
{
    QList<qsizetype> order;
    for (const QString &partOfSpeech : WordMeanings::partsOfSpeech() + QStringList{QString()}) {
        for (qsizetype i = 0; i < meanings.size(); ++i) {
            if (meanings[i].partOfSpeech == partOfSpeech)
                order.append(i);
        }
    }
    return order;
}

// Whether a meaning's label tells something its part of speech and its words'
// relations do not: "(Adjectif Nom)" does; "-", "(adj)" and Russian's "(сходный
// термин)", whose words carry it, do not.
bool labelTellsMore(const WordMeanings::Meaning &meaning)
{
    QString bare = meaning.label.trimmed();
    if (bare.size() >= 2 && bare.front() == u'(' && bare.back() == u')')
        bare = bare.sliced(1, bare.size() - 2).trimmed();
    return meaning.partOfSpeech.isEmpty() && !bare.isEmpty() && bare != u"-" && WordMeanings::relationOf(bare) == bare;
}

// One meaning for people: its number, its own words (with the data's notes), then
// indented under them its definition and examples, and its similar and related
// words, antonyms and broader terms, each kind on a line of its own.
QString meaningLines(const WordMeanings::Meaning &meaning, const QString &number)
{
    QStringList words;
    QStringList similar;
    QStringList related;
    for (const WordMeanings::Word &word : meaning.words) {
        if (word.relation == WordMeanings::Similar)
            similar.append(word.text);
        else if (word.relation == WordMeanings::Related)
            related.append(word.text);
        else if (word.relation != WordMeanings::Generic)
            words.append(word.relation.isEmpty() ? word.text : QStringLiteral("%1 (%2)").arg(word.text, word.relation));
    }
    QStringList lines;
    if (!words.isEmpty())
        lines.append((labelTellsMore(meaning) ? meaning.label.trimmed() + QLatin1Char(' ') : QString())
                     + words.join(QStringLiteral(", ")));
    if (!meaning.definition.isEmpty())
        lines.append(meaning.definition);
    for (const QString &example : meaning.examples)
        lines.append(QLatin1Char('"') + example + QLatin1Char('"'));
    const auto addList = [&lines](const char *name, const QStringList &list) {
        if (!list.isEmpty())
            lines.append(QLatin1String(name) + list.join(QStringLiteral(", ")));
    };
    addList("similar: ", similar);
    addList("related: ", related);
    addList("antonyms: ", meaning.antonyms);
    addList("broader terms: ", meaning.broaderTerms());
    const QString indent(number.size(), QLatin1Char(' '));
    QString text;
    for (qsizetype l = 0; l < lines.size(); ++l)
        text += (l == 0 ? number : indent) + lines[l] + QLatin1Char('\n');
    return text;
}

void printMeaningsText(const WordMeanings::Answer &answer)
{
    out() << answer.word;
    if (answer.root != answer.word)
        out() << " -> " << answer.root;
    out() << '\n';
    const bool anyPartOfSpeech = std::any_of(answer.meanings.cbegin(), answer.meanings.cend(),
                                             [](const WordMeanings::Meaning &m) { return !m.partOfSpeech.isEmpty(); });
    QString group = QStringLiteral("-"); // no group yet
    for (const qsizetype i : groupedOrder(answer.meanings)) {
        const WordMeanings::Meaning &meaning = answer.meanings[i];
        // Without any part of speech in the data, headings would say nothing.
        if (anyPartOfSpeech && meaning.partOfSpeech != group) {
            group = meaning.partOfSpeech;
            out() << '\n' << (group.isEmpty() ? QStringLiteral("other") : group) << '\n';
        }
        out() << meaningLines(meaning, QStringLiteral("  %1. ").arg(i + 1));
    }
}

// tsv: one line per word, the antonyms after the meaning's words with the relation
// "antonym"; definitions and examples are for the text and json formats.
void printMeaningsTsv(const WordMeanings::Answer &answer)
{
    for (qsizetype i = 0; i < answer.meanings.size(); ++i) {
        const WordMeanings::Meaning &meaning = answer.meanings[i];
        const QString start = QStringLiteral("%1\t%2\t").arg(i + 1).arg(meaning.partOfSpeech);
        for (const WordMeanings::Word &word : meaning.words)
            out() << start << tsvField(word.relation) << '\t' << tsvField(word.text) << '\n';
        for (const QString &antonym : meaning.antonyms)
            out() << start << "antonym\t" << tsvField(antonym) << '\n';
    }
}

void printMeaningsJson(const WordMeanings::Answer &answer)
{
    QJsonArray meanings;
    for (const WordMeanings::Meaning &meaning : answer.meanings) {
        QJsonArray synonyms;
        for (const WordMeanings::Word &word : meaning.words)
            synonyms.append(QJsonObject{{QStringLiteral("word"), word.text}, {QStringLiteral("relation"), word.relation}});
        meanings.append(QJsonObject{{QStringLiteral("partOfSpeech"), meaning.partOfSpeech},
                                    {QStringLiteral("label"), meaning.label},
                                    {QStringLiteral("definition"), meaning.definition},
                                    {QStringLiteral("examples"), QJsonArray::fromStringList(meaning.examples)},
                                    {QStringLiteral("synonyms"), synonyms},
                                    {QStringLiteral("antonyms"), QJsonArray::fromStringList(meaning.antonyms)}});
    }
    out() << QJsonDocument(QJsonObject{{QStringLiteral("word"), answer.word},
                                       {QStringLiteral("root"), answer.root},
                                       {QStringLiteral("meanings"), meanings}})
                 .toJson(QJsonDocument::Indented);
}

// The meanings of the phrase taken as one word, through its root as a Generate finds it.
ExitStatus lookUpMeanings(TSpellCheck &spellCheck, const Request &request)
{
    WordForms::Root root; // the resolution, with its suggestions on a miss
    const WordMeanings::Answer answer = spellCheck.Meanings(request.phrase, &root);
    reportNotes(spellCheck.wordForms().takeNotes());
    reportNotes(answer.notes);
    if (!answer.found()) {
        if (isWord(request.phrase)) {
            err() << "verbarium-lookup: no meanings for \"" << request.phrase << '"';
            if (!root.suggestions.isEmpty())
                err() << "; did you mean: " << root.suggestions.join(QStringLiteral(", "));
            err() << '\n';
        }
        return NothingFound;
    }
    if (request.format == u"tsv")
        printMeaningsTsv(answer);
    else if (request.format == u"json")
        printMeaningsJson(answer);
    else
        printMeaningsText(answer);
    out().flush();
    return Found;
}

// Whether everything printed on standard output reached it. A full disk or a closed
// output loses what was found: the run must not end as a success.
bool outputWritten()
{
    out().flush();
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int reason = errno;
    if (out().status() == QTextStream::Ok && flushed && !std::ferror(stdout))
        return true;
    err() << "verbarium-lookup: cannot write the output";
    if (!flushed && reason != 0)
        err() << ": " << QString::fromLocal8Bit(std::strerror(reason));
    err() << '\n';
    return false;
}

ExitStatus lookUp(TSpellCheck &spellCheck, const Request &request)
{
    try {
        if (request.meanings)
            return lookUpMeanings(spellCheck, request);
        return request.tree ? lookUpTree(spellCheck, request) : lookUpPhrase(spellCheck, request);
    } catch (const AppError &error) {
        out().flush();
        err() << error.message() << '\n';
        return ThesaurusFailed;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // No application object: the tool runs no event loop, and making one is a good
    // part of a short lookup's time; only --help makes one. The locale is taken from
    // the environment for what the tool uses of it: the encoding of its arguments,
    // file names and output, and the language of the system's error messages. The
    // other categories would each load a file of their own where the system keeps
    // no locale archive.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    QCoreApplication::setApplicationName(QStringLiteral("verbarium-lookup"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    const auto parsed = parseArguments(argc, argv, arguments);
    if (const auto *status = std::get_if<ExitStatus>(&parsed))
        return *status;
    const Request &request = std::get<Request>(parsed);
    const std::unique_ptr<TSpellCheck> spellCheck = openThesaurus(request);
    if (!spellCheck)
        return ThesaurusFailed;
    const ExitStatus status = lookUp(*spellCheck, request);
    return outputWritten() ? status : OutputFailed;
}
