// verbarium-lookup: the thesaurus of Verbarium Pro for scripts.

#include "Version.h"
#include "common/AppError.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/Generate.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/ThesaurusCatalog.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordTree.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {

enum ExitStatus { Found = 0, NothingFound = 1, Refused = 2, ThesaurusFailed = 3 };

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

} // namespace

int main(int argc, char *argv[])
{
    // No application object: the tool runs no event loop, and making one is a good
    // part of a short lookup's time; only --help makes one, below. The locale is
    // taken from the environment for what the tool uses of it: the encoding of its
    // arguments, file names and output, and the language of the system's error
    // messages. The other categories would each load a file of their own where the
    // system keeps no locale archive.
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
    QCoreApplication::setApplicationName(QStringLiteral("verbarium-lookup"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Looks up the synonyms of a phrase, word by word, as Verbarium Pro's Generate does,\n"
                       "or the three-level synonym tree of a word.\n\n"
                       "Exit status: 0 found, 1 nothing found, 2 refused phrase or usage error, 3 thesaurus error."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption depthOption(
        QStringLiteral("depth"), QStringLiteral("Thesaurus depth: 0 Quick Match, 1 Verbarium, 2 Doraz 3 (default 0)."),
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
            "Look for thesaurus files, Hunspell dictionaries and WordNet's lists of irregular forms only in DIR (may be repeated)."),
        QStringLiteral("DIR"));
    const QCommandLineOption rootOption(
        QStringLiteral("root"),
        QStringLiteral(
            "Print, per typed word that found synonyms, the word that answered for it (tsv: column, typed word, root)."));
    parser.addOptions({depthOption, languageOption, treeOption, formatOption, dataDirOption, rootOption});
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

    bool depthOk = false;
    const int depth = parser.value(depthOption).toInt(&depthOk);
    const QString format = parser.value(formatOption);
    const int listIndex = LanguageTable::listIndexForName(parser.value(languageOption));
    if (!depthOk || depth < 0 || depth > 2) {
        err() << "The depth must be 0, 1 or 2.\n";
        return Refused;
    }
    if (format != u"text" && format != u"tsv" && format != u"json") {
        err() << "The format must be text, tsv or json.\n";
        return Refused;
    }
    if (listIndex < 0) {
        err() << "Unknown language \"" << parser.value(languageOption)
              << "\". Known languages: " << LanguageTable::listItems().join(QStringLiteral("; ")) << '\n';
        return Refused;
    }
    const QString phrase = parser.positionalArguments().join(QLatin1Char(' '));
    if (phrase.isEmpty()) {
        err() << SynonymExpansion::emptyPhraseMessage() << '\n';
        return Refused;
    }

    auto source = parser.isSet(dataDirOption) ? std::make_unique<MythesSource>(parser.values(dataDirOption))
                                              : std::make_unique<MythesSource>();
    MythesSource *mythes = source.get();
    TSpellCheck spellCheck(nullptr, std::move(source));
    if (parser.isSet(dataDirOption))
        spellCheck.setWordForms(std::make_unique<WordForms>(parser.values(dataDirOption)));
    const TSpellCheckLanguage language = LanguageTable::languageForListIndex(listIndex);
    const ThesaurusCatalog *catalog = mythes->catalog();
    if (catalog)
        reportUnreadableFiles(*catalog);
    if (!spellCheck.Active()) {
        QStringList shown;
        for (const QString &folder : catalog ? catalog->searchPath() : parser.values(dataDirOption))
            shown.append(QDir::toNativeSeparators(folder));
        err() << "No thesaurus data was found in " << shown.join(QStringLiteral(", ")) << ".\n";
        return ThesaurusFailed;
    }
    if (!mythes->hasData(LanguageTable::identifier(language)))
        err() << "No thesaurus data is installed for " << LanguageTable::listItems().at(listIndex).trimmed() << ".\n";
    spellCheck.setLanguage(language);
    const SynonymExpansion::Lookup lookup = SynonymExpansion::lookupThrough(spellCheck);

    // A dictionary that cannot be used is told once, on its own line.
    const auto reportNotes = [&spellCheck] {
        for (const QString &note : spellCheck.wordForms().takeNotes())
            err() << "verbarium-lookup: " << note << '\n';
    };
    try {
        if (parser.isSet(treeOption)) {
            const WordForms::Root root = spellCheck.ResolveWord(phrase);
            reportNotes();
            WordTree tree;
            tree.fill(phrase, WordForms::rootedLookup(root, lookup));
            const QList<Missing> missing = root.found() || !isWord(phrase) ? QList<Missing>{}
                                                                           : QList<Missing>{{phrase, root.suggestions}};
            const bool found = tree.nodes.size() > 1;
            if (parser.isSet(rootOption)) {
                QList<Column> columns;
                if (root.found())
                    columns.append({phrase, {}, root.root});
                printRoots(columns, missing, format);
            } else if (found) {
                // A tree of the typed word alone says nothing: nothing found prints nothing.
                printTree(tree, format);
            }
            out().flush();
            reportMissing(missing);
            return found ? Found : NothingFound;
        }
        auto outcome = SynonymExpansion::Generate(spellCheck, language, phrase, depth);
        if (const auto *refusal = std::get_if<SynonymExpansion::Refusal>(&outcome)) {
            err() << refusal->message << '\n';
            return Refused;
        }
        auto &generated = std::get<SynonymExpansion::Generated>(outcome);
        for (const QString &note : std::as_const(generated.notes))
            err() << "verbarium-lookup: " << note << '\n';
        if (generated.failure)
            throw *generated.failure;
        QList<Column> columns;
        QList<Missing> missing;
        for (SynonymExpansion::GeneratedColumn &found : generated.columns)
            columns.append({found.word, std::move(found.entries), found.root});
        for (const SynonymExpansion::Miss &miss : std::as_const(generated.misses))
            missing.append({miss.root.typed, miss.root.suggestions});
        if (parser.isSet(rootOption))
            printRoots(columns, missing, format);
        else
            printColumns(columns, missing, format);
        out().flush();
        reportMissing(missing);
        return columns.isEmpty() ? NothingFound : Found;
    } catch (const AppError &error) {
        out().flush();
        err() << error.message() << '\n';
        return ThesaurusFailed;
    }
}
