// verbarium-bench: how much the thesaurus code costs on top of MyThes itself.
//
// Every benchmark of our code is measured against the floor of the very same work
// done with libmythes alone: the library calls that MythesFile makes for the words
// the code looks up, in the same order. "overhead" is our time over that floor.

#include "common/AppError.h"
#include "thesaurus/LanguageTable.h"
#include "thesaurus/MythesFile.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/SynonymExpansion.h"
#include "thesaurus/TSpellCheck.h"
#include "thesaurus/WordTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio> // mythes.hxx uses FILE without including it
#include <cstring>
#include <memory>
#include <mythes.hxx>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char *const Words[] = {"run", "bright", "big"};

// The en_US data, opened once for the whole run, never inside a timed loop.
struct Data {
    QString idxPath;
    QString datPath;
    std::string error; // set when the benchmarks cannot run
    std::unique_ptr<MyThes> raw;
    std::unique_ptr<TSpellCheck> spellCheck;
};

Data openData()
{
    Data data;
    const QString dir = qEnvironmentVariable("VERBARIUM_BENCH_DATA", QStringLiteral("/usr/share/mythes"));
    data.idxPath = dir + QStringLiteral("/th_en_US_v2.idx");
    data.datPath = dir + QStringLiteral("/th_en_US_v2.dat");
    if (!QFileInfo::exists(data.idxPath) || !QFileInfo::exists(data.datPath)) {
        data.error = QStringLiteral("no en_US thesaurus data at %1 (install mythes-en-us or set VERBARIUM_BENCH_DATA)")
                         .arg(QDir::toNativeSeparators(data.idxPath))
                         .toStdString();
        return data;
    }

    data.raw = std::make_unique<MyThes>(QFile::encodeName(data.idxPath).constData(),
                                        QFile::encodeName(data.datPath).constData());
    const char *encoding = data.raw->get_th_encoding();
    if (!encoding || std::strcmp(encoding, "UTF-8") != 0) {
        // The floor below hands the library UTF-8 keys, as MythesFile does for UTF-8 data only.
        data.error = "the en_US thesaurus data is not UTF-8";
        return data;
    }

    auto source = std::make_unique<MythesSource>(QStringList{dir});
    MythesSource *mythes = source.get();
    data.spellCheck = std::make_unique<TSpellCheck>(nullptr, std::move(source));
    data.spellCheck->setLanguage(wdEnglishUS);
    if (!data.spellCheck->Active()) {
        data.error = "the thesaurus finds no data in " + dir.toStdString();
        return data;
    }
    const QString served = mythes->dataFor(LanguageTable::identifier(wdEnglishUS)).datPath;
    if (QFileInfo(served).canonicalFilePath() != QFileInfo(data.datPath).canonicalFilePath()) {
        data.error = "English (US) is served by " + served.toStdString() + ", not " + data.datPath.toStdString();
        return data;
    }
    try {
        QStringList synonyms;
        data.spellCheck->GetSynonyms(QStringLiteral("run"), synonyms); // opens the files, outside the timed loops
    } catch (const AppError &e) {
        data.error = e.what();
    }
    return data;
}

Data &data()
{
    static Data instance = openData();
    return instance;
}

bool ready(benchmark::State &state)
{
    if (data().error.empty())
        return true;
    state.SkipWithError(data().error.c_str());
    return false;
}

// One library call exactly as MythesFile::lookupExact makes it; true when the word has an entry.
bool callLibrary(MyThes &thes, const std::string &key)
{
    mentry *meanings = nullptr;
    const int count = thes.Lookup(key.data(), int(key.size()), &meanings);
    if (count <= 0 || !meanings)
        return false;
    thes.CleanUpAfterLookup(&meanings, count);
    return true;
}

// The UTF-8 key MythesFile would hand the library, or nothing when it would not call it.
bool libraryKey(const QString &word, std::string &key)
{
    const QByteArray utf8 = word.toUtf8();
    if (utf8.isEmpty() || utf8.size() >= MythesFile::MaxIndexLineLength || utf8.contains('|') || utf8.contains('\n'))
        return false;
    key = utf8.toStdString();
    return true;
}

// The library calls behind looking up these words through MythesFile::lookup: each
// word as given and, when that finds no entry, its lower-case form.
std::vector<std::string> libraryCalls(const QStringList &words)
{
    std::vector<std::string> calls;
    MyThes &thes = *data().raw;
    for (const QString &word : words) {
        std::string key;
        if (libraryKey(word, key)) {
            calls.push_back(key);
            if (callLibrary(thes, key))
                continue;
        }
        const QString lower = word.toLower();
        if (lower != word && libraryKey(lower, key)) {
            calls.push_back(key);
            callLibrary(thes, key);
        }
    }
    return calls;
}

// Times op and, right after it every time, the library calls of its lookups, so that
// both halves of the ratio see the same machine load. Only op's time is reported.
template <typename Op>
void measureAgainstFloor(benchmark::State &state, const QStringList &lookups, Op op)
{
    const std::vector<std::string> calls = libraryCalls(lookups);
    MyThes &thes = *data().raw;
    double ours = 0;
    double floor = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        op();
        const Clock::time_point middle = Clock::now();
        for (const std::string &key : calls)
            benchmark::DoNotOptimize(callLibrary(thes, key));
        const Clock::time_point end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        state.SetIterationTime(seconds);
        ours += seconds;
        floor += std::chrono::duration<double>(end - middle).count();
    }
    const double iterations = double(state.iterations());
    state.counters["lookups"] = double(lookups.size());
    state.counters["distinct"] = double(QSet<QString>(lookups.cbegin(), lookups.cend()).size());
    state.counters["calls"] = double(calls.size());
    state.counters["floor_us"] = floor / iterations * 1e6;
    state.counters["overhead"] = floor > 0 ? ours / floor : 0;
}

void rawLookup(benchmark::State &state, const QString &word)
{
    if (!ready(state))
        return;
    const std::vector<std::string> calls = libraryCalls({word});
    MyThes &thes = *data().raw;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        for (const std::string &key : calls)
            benchmark::DoNotOptimize(callLibrary(thes, key));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The same counters as every other benchmark (the CSV output needs them in every
    // row); the library is its own floor.
    state.counters["lookups"] = 1;
    state.counters["distinct"] = 1;
    state.counters["calls"] = double(calls.size());
    state.counters["floor_us"] = seconds / double(state.iterations()) * 1e6;
    state.counters["overhead"] = 1;
    state.counters["entries"] = 0;
}

void getSynonyms(benchmark::State &state, const QString &word)
{
    if (!ready(state))
        return;
    TSpellCheck &spellCheck = *data().spellCheck;
    QStringList synonyms;
    spellCheck.GetSynonyms(word, synonyms);
    const qsizetype count = synonyms.size();
    measureAgainstFloor(state, {word}, [&] {
        spellCheck.GetSynonyms(word, synonyms);
        benchmark::DoNotOptimize(synonyms);
    });
    state.counters["entries"] = double(count);
}

void expandWord(benchmark::State &state, const QString &word, int depthIndex)
{
    if (!ready(state))
        return;
    const SynonymExpansion::Lookup lookup = SynonymExpansion::lookupThrough(*data().spellCheck);
    QStringList lookups;
    const SynonymExpansion::Lookup recording = [&](const QString &w, QStringList &synonyms) {
        lookups.append(w);
        lookup(w, synonyms);
    };
    const qsizetype entries = SynonymExpansion::ExpandWord(word, depthIndex, recording).size();
    measureAgainstFloor(state, lookups,
                        [&] { benchmark::DoNotOptimize(SynonymExpansion::ExpandWord(word, depthIndex, lookup)); });
    state.counters["entries"] = double(entries);
}

void wordTree(benchmark::State &state, const QString &word)
{
    if (!ready(state))
        return;
    const SynonymExpansion::Lookup lookup = SynonymExpansion::lookupThrough(*data().spellCheck);
    WordTree tree;
    tree.fill(word, lookup);
    const QStringList lookups = tree.lookups;
    const qsizetype nodes = tree.nodes.size();
    measureAgainstFloor(state, lookups, [&] {
        WordTree fresh;
        fresh.fill(word, lookup);
        benchmark::DoNotOptimize(fresh);
    });
    state.counters["entries"] = double(nodes);
}

void registerAll()
{
    for (const char *w : Words) {
        const QString word = QString::fromLatin1(w);
        const std::string name(w);
        benchmark::RegisterBenchmark(("MyThes/" + name).c_str(), rawLookup, word)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("GetSynonyms/" + name).c_str(), getSynonyms, word)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        for (int depth = 0; depth <= 2; ++depth) {
            benchmark::RegisterBenchmark(("ExpandWord/" + name + "/depth:" + std::to_string(depth)).c_str(), expandWord,
                                         word, depth)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        }
        benchmark::RegisterBenchmark(("WordTree/" + name).c_str(), wordTree, word)->UseManualTime()->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
