// verbarium-commonness-bench: what "Most common first" costs, on the installed data
// (/usr/share/mythes, /usr/share/dict/scowl).
//
//   GenerateCommonFirst   Generate "run bright big" at "Doraz 3" with the columns
//                         ordered by SCOWL's levels, against the same Generate in
//                         the data's order (the levels are loaded beforehand, as
//                         the window loads them off its thread)
//   ProxyCount/de         counting how many entries of th_de_DE_v2 list each word
//                         (no cache), against the first lookup of a fresh thesaurus
//   ProxyCached/de        the same counts read from their cache file, against the
//                         same first lookup
//
// Before the benchmarks it prints how well the proxy ranks English words: the
// rank correlation (Spearman's rho) between the number of en_US entries listing a
// single word and the word's SCOWL level, over the words both know.
//
// Each row times both sides in the same run, interleaved, so that the ratio holds
// on a machine whose other users come and go.

#include "Interleaved.h"

#include "thesaurus/Commonness.h"
#include "thesaurus/Depth.h"
#include "thesaurus/Generate.h"
#include "thesaurus/MythesFile.h"
#include "thesaurus/MythesSource.h"
#include "thesaurus/TSpellCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

namespace {

const QString Mythes = QStringLiteral("/usr/share/mythes/");

void GenerateCommonFirst(benchmark::State &state)
{
    static const std::unique_ptr<ScowlLevels> levels = ScowlLevels::load();
    if (!levels) {
        state.SkipWithError("no SCOWL word lists; install scowl");
        return;
    }
    TSpellCheck spellCheck(nullptr, std::make_unique<MythesSource>());
    const int doraz3 = int(Depth::Doraz3);
    const QString phrase = QStringLiteral("run bright big");
    SynonymExpansion::GenerateOptions common;
    common.rank = [&](const QString &word) { return levels->rank(word); };
    Bench::interleaved(
        state,
        [&] { benchmark::DoNotOptimize(SynonymExpansion::Generate(spellCheck, wdEnglishUS, phrase, doraz3, common)); },
        [&] { benchmark::DoNotOptimize(SynonymExpansion::Generate(spellCheck, wdEnglishUS, phrase, doraz3)); },
        "data_order");
}

// The first lookup of a fresh thesaurus: open the pair, look one word up.
void firstLookup(const QString &base, const QString &word)
{
    MythesFile file(base + QStringLiteral(".idx"), base + QStringLiteral(".dat"));
    benchmark::DoNotOptimize(file.lookup(word));
}

void ProxyCount(benchmark::State &state)
{
    const QString base = Mythes + QStringLiteral("th_de_DE_v2");
    if (!QFile::exists(base + QStringLiteral(".dat"))) {
        state.SkipWithError("no th_de_DE_v2; install mythes-de");
        return;
    }
    Bench::interleaved(
        state, [&] { benchmark::DoNotOptimize(EntryCounts::count(base + QStringLiteral(".dat"))); },
        [&] { firstLookup(base, QStringLiteral("Haus")); }, "first_lookup");
}

void ProxyCached(benchmark::State &state)
{
    const QString base = Mythes + QStringLiteral("th_de_DE_v2");
    if (!QFile::exists(base + QStringLiteral(".dat"))) {
        state.SkipWithError("no th_de_DE_v2; install mythes-de");
        return;
    }
    QTemporaryDir cache;
    EntryCounts::cached(base + QStringLiteral(".dat"), cache.path());
    Bench::interleaved(
        state,
        [&] {
            auto counts = EntryCounts::cached(base + QStringLiteral(".dat"), cache.path());
            if (!counts->fromCache())
                state.SkipWithError("the cache was not used");
            benchmark::DoNotOptimize(counts);
        },
        [&] { firstLookup(base, QStringLiteral("Haus")); }, "first_lookup");
}

// Ranks with ties given their mean rank, as Spearman's rho needs.
std::vector<double> ranks(const std::vector<double> &values)
{
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return values[a] < values[b]; });
    std::vector<double> result(values.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]])
            ++j;
        const double mean = (double(i) + double(j)) / 2 + 1;
        for (size_t k = i; k <= j; ++k)
            result[order[k]] = mean;
        i = j + 1;
    }
    return result;
}

double pearson(const std::vector<double> &x, const std::vector<double> &y)
{
    const double n = double(x.size());
    const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    return sxy / std::sqrt(sxx * syy);
}

// Spearman's rho between the proxy's rank (fewer entries: rarer) and SCOWL's level
// over the single words of en_US that both know.
void printProxyCorrelation()
{
    const std::unique_ptr<ScowlLevels> levels = ScowlLevels::load();
    const QString dat = Mythes + QStringLiteral("th_en_US_v2.dat");
    if (!levels || !QFile::exists(dat)) {
        std::printf("proxy correlation: needs scowl and mythes-en-us\n");
        return;
    }
    const std::unique_ptr<EntryCounts> counts = EntryCounts::count(dat);
    // The words to compare: the headwords of en_US that are single words.
    QFile index(Mythes + QStringLiteral("th_en_US_v2.idx"));
    if (!index.open(QIODevice::ReadOnly))
        return;
    std::vector<double> proxy;
    std::vector<double> level;
    const QList<QByteArray> lines = index.readAll().split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const qsizetype bar = lines[i].lastIndexOf('|');
        if (bar <= 0)
            continue;
        const QString word = QString::fromUtf8(lines[i].first(bar));
        if (word.contains(QLatin1Char(' ')) || word.contains(QLatin1Char('-')))
            continue;
        const int scowl = levels->rank(word);
        const int entries = counts->entriesListing(word);
        if (scowl == Commonness::Unknown || entries == 0)
            continue;
        proxy.push_back(-double(entries));
        level.push_back(double(scowl));
    }
    std::printf("proxy correlation: Spearman's rho between the entries listing a word and its SCOWL level, "
                "over %zu single en_US words both know: %.3f\n",
                proxy.size(), pearson(ranks(proxy), ranks(level)));
}

} // namespace

BENCHMARK(GenerateCommonFirst)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ProxyCount)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ProxyCached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    printProxyCorrelation();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
