// verbarium-wordforms-bench: what resolving a typed word to its root costs, on the
// installed data (/usr/share/mythes, /usr/share/hunspell, /usr/share/wordnet).
//
//   Hit/<word>          a word with its own entry: ResolveWord against today's GetSynonyms
//   Rescue/<word>       a miss that a root answers: ResolveWord against a direct lookup of the root
//   TrueMiss/<word>     a word nothing answers, with its spelling suggestions
//   DictionaryLoad/<ll> the heap a Hunspell dictionary keeps once loaded, and its load time
//   StartUp             a thesaurus ready for lookups loads no dictionary
//   WordNetLoad/<lines> WordNet lists whose lines all name one form: the load grows
//                       with the lines (the complexity row), as it does for real lists
//
// Each row times both sides in the same run, interleaved, so that the ratio holds
// on a machine whose other users come and go.

#include "Interleaved.h"

#include "thesaurus/HunspellDictionary.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordForms.h"
#include "thesaurus/WordNetExceptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <malloc.h>

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<TSpellCheck> makeSpellCheck()
{
    auto spellCheck = std::make_unique<TSpellCheck>(nullptr, std::make_unique<MythesSource>());
    return spellCheck;
}

TSpellCheckLanguage languageOf(const std::string &code)
{
    if (code == "de")
        return wdGerman;
    if (code == "fr")
        return wdFrench;
    if (code == "es")
        return wdSpanish;
    return wdEnglishUS;
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void Hit(benchmark::State &state, const std::string &code, const QString &word)
{
    auto spellCheck = makeSpellCheck();
    spellCheck->setLanguage(languageOf(code));
    if (!spellCheck->Active() || !spellCheck->ResolveWord(word).found()) {
        state.SkipWithError("no thesaurus entry for the word; install mythes-*");
        return;
    }
    // Today's Generate looks the word up into a new list, as ExpandWord does.
    Bench::interleaved(
        state, [&] { benchmark::DoNotOptimize(spellCheck->ResolveWord(word)); },
        [&] {
            QStringList synonyms;
            benchmark::DoNotOptimize(spellCheck->GetSynonyms(word, synonyms));
        },
        "today");
    // The hit path never touches Hunspell: no dictionary was loaded.
    state.counters["dictionary_loaded"] = spellCheck->wordForms().isLoaded(LanguageTable::identifier(languageOf(code)));
}

void Rescue(benchmark::State &state, const std::string &code, const QString &word)
{
    auto spellCheck = makeSpellCheck();
    spellCheck->setLanguage(languageOf(code));
    const WordForms::Root root = spellCheck->ResolveWord(word);
    if (!root.found() || root.root == word) {
        state.SkipWithError("the word is not rescued by a root here; install hunspell-* and mythes-*");
        return;
    }
    state.SetLabel("-> " + root.root.toStdString());
    Bench::interleaved(
        state, [&] { benchmark::DoNotOptimize(spellCheck->ResolveWord(word)); },
        [&] {
            QStringList synonyms;
            benchmark::DoNotOptimize(spellCheck->GetSynonyms(root.root, synonyms));
        },
        "root");
    // Hunspell's own reading of the word, which a rescue through Hunspell cannot do
    // without: its spell check (the cheapest call that names a root) is the floor,
    // its full analysis what the rescue cost before the spell check came first.
    if (HunspellDictionary *dictionary = spellCheck->wordForms().dictionaryFor(LanguageTable::identifier(languageOf(code)))) {
        constexpr int Rounds = 200;
        const QString core = root.core();
        const auto tc = Clock::now();
        for (int i = 0; i < Rounds; ++i)
            benchmark::DoNotOptimize(dictionary->check(core));
        state.counters["check_us"] = seconds(Clock::now() - tc) / Rounds * 1e6;
        const auto t0 = Clock::now();
        for (int i = 0; i < Rounds; ++i)
            benchmark::DoNotOptimize(dictionary->analyze(core));
        state.counters["analyze_us"] = seconds(Clock::now() - t0) / Rounds * 1e6;
        // The lookup of the word as typed, which finds nothing: the other part of the floor.
        const auto t1 = Clock::now();
        for (int i = 0; i < Rounds; ++i) {
            QStringList synonyms;
            benchmark::DoNotOptimize(spellCheck->GetSynonyms(word, synonyms));
        }
        state.counters["miss_us"] = seconds(Clock::now() - t1) / Rounds * 1e6;
    }
}

void TrueMiss(benchmark::State &state, const std::string &code, const QString &word)
{
    auto spellCheck = makeSpellCheck();
    spellCheck->setLanguage(languageOf(code));
    WordForms::Root root = spellCheck->ResolveWord(word);
    if (root.found()) {
        state.SkipWithError("the word is found here");
        return;
    }
    for (auto _ : state) {
        const auto t0 = Clock::now();
        root = spellCheck->ResolveWord(word);
        state.SetIterationTime(seconds(Clock::now() - t0));
    }
    state.SetLabel("did you mean: " + root.suggestions.join(QStringLiteral(", ")).toStdString());
    state.counters["suggestions"] = double(root.suggestions.size());
}

// Heap in use, in MiB: what a dictionary keeps, whatever the allocator had free before.
double heapInUseMiB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

void DictionaryLoad(benchmark::State &state, const std::string &code)
{
    const std::int32_t id = LanguageTable::identifier(languageOf(code));
    double added = 0;
    for (auto _ : state) {
        WordForms forms;
        const double before = heapInUseMiB();
        const auto t0 = Clock::now();
        HunspellDictionary *dictionary = forms.dictionaryFor(id);
        state.SetIterationTime(seconds(Clock::now() - t0));
        added = heapInUseMiB() - before;
        if (!dictionary) {
            state.SkipWithError("no usable Hunspell dictionary; install hunspell-*");
            return;
        }
        state.SetLabel(QFile::encodeName(dictionary->dicPath()).toStdString());
    }
    state.counters["heap_added_MiB"] = added;
}

void StartUp(benchmark::State &state)
{
    bool loaded = false;
    for (auto _ : state) {
        const auto spellCheck = makeSpellCheck();
        loaded = spellCheck->wordForms().isLoaded(LanguageTable::identifier(wdEnglishUS));
    }
    state.counters["dictionary_loaded"] = loaded;
}

void WordNetLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile verbs(dir.filePath(QStringLiteral("verb.exc")));
    if (!dir.isValid() || !verbs.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write a list in a temporary folder");
        return;
    }
    for (int64_t i = 0; i < state.range(0); ++i)
        verbs.write("went b" + QByteArray::number(i) + '\n');
    verbs.close();
    for (auto _ : state) {
        const WordNetExceptions table = WordNetExceptions::load({dir.path()});
        benchmark::DoNotOptimize(table.bases(QStringLiteral("went")).size());
    }
    state.SetComplexityN(state.range(0));
}

int registerAll()
{
    for (const auto &[code, word] :
         {std::pair{"en", "bright"}, std::pair{"de", "Haus"}, std::pair{"fr", "maison"}, std::pair{"es", "casa"}})
        benchmark::RegisterBenchmark(("Hit/" + std::string(word)).c_str(), Hit, code, QString::fromUtf8(word))->UseManualTime();
    for (const auto &[code, word] :
         {std::pair{"en", "brighter"}, std::pair{"en", "copies"}, std::pair{"en", "requires"}, std::pair{"en", "ran"},
          std::pair{"en", "bright,"}, std::pair{"de", "Häuser"}, std::pair{"de", "Konfigurationsdatei"},
          std::pair{"fr", "maisons"}, std::pair{"fr", "l'option"}, std::pair{"es", "casas"}})
        benchmark::RegisterBenchmark(("Rescue/" + std::string(word)).c_str(), Rescue, code, QString::fromUtf8(word))
            ->UseManualTime();
    for (const auto &[code, word] : {std::pair{"en", "brigt"}, std::pair{"de", "Hauss"}})
        benchmark::RegisterBenchmark(("TrueMiss/" + std::string(word)).c_str(), TrueMiss, code, QString::fromUtf8(word))
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    for (const char *code : {"en", "de", "fr", "es"})
        benchmark::RegisterBenchmark(("DictionaryLoad/" + std::string(code)).c_str(), DictionaryLoad, std::string(code))
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StartUp", StartUp)->Iterations(3)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WordNetLoad", WordNetLoad)
        ->RangeMultiplier(2)
        ->Range(10000, 80000)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
