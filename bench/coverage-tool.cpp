// verbarium-coverage: for each word read from standard input (UTF-8, one a line),
// whether it finds synonyms three ways, as bench/coverage.py tallies them:
//
//   word <TAB> today <TAB> stems <TAB> ours <TAB> root <TAB> rule
//
// today: the lookup as it was (the word as given, then lower-cased);
// stems: today, or any stem that Hunspell names for the word has an entry;
// ours:  the typed word's root as the program resolves it (WordForms), and the
//        rule that found it (WordForms::ruleName).

#include "thesaurus/HunspellDictionary.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordForms.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int listIndex = arguments.size() > 1 ? LanguageTable::listIndexForName(arguments[1]) : -1;
    QTextStream err(stderr);
    if (listIndex < 0) {
        err << "usage: verbarium-coverage LANGUAGE < words\n";
        return 2;
    }
    TSpellCheck spellCheck(nullptr, std::make_unique<MythesSource>());
    spellCheck.setLanguage(LanguageTable::languageForListIndex(listIndex));
    const std::int32_t id = LanguageTable::identifier(spellCheck.Language());
    if (!spellCheck.Active() || !spellCheck.source()->hasData(id)) {
        err << "no thesaurus data for " << arguments[1] << '\n';
        return 2;
    }
    HunspellDictionary *dictionary = spellCheck.wordForms().dictionaryFor(id);
    for (const QString &note : spellCheck.wordForms().takeNotes())
        err << note << '\n';
    if (!dictionary)
        err << "no Hunspell dictionary for " << arguments[1] << ": the stems column is today's\n";

    const auto has = [&spellCheck](const QString &word) {
        QStringList synonyms;
        spellCheck.GetSynonyms(word, synonyms);
        return !synonyms.isEmpty();
    };
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString word;
    while (in.readLineInto(&word)) {
        if (word.isEmpty())
            continue;
        const bool today = has(word);
        bool stems = today;
        if (!stems && dictionary) {
            for (const QString &stem : dictionary->stems(word)) {
                if ((stems = has(stem)))
                    break;
            }
        }
        const WordForms::Root root = spellCheck.ResolveWord(word);
        out << word << '\t' << int(today) << '\t' << int(stems) << '\t' << int(root.found()) << '\t' << root.root
            << '\t' << WordForms::ruleName(root.rule) << '\n';
    }
    return 0;
}
