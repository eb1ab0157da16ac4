#pragma once

// Timing a row against its floor in the same run: the two sides in turn, each
// iteration, so that the ratio holds on a machine whose other users come and go.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace Bench {

// Times fn and other in turn; the benchmark's time (manual time) is fn's, the
// counters give other's mean in microseconds (<otherName>_us) and the ratio.
template <class Fn, class Other>
void interleaved(benchmark::State &state, Fn fn, Other other, const char *otherName)
{
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    double mine = 0;
    double theirs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        fn();
        const auto t1 = Clock::now();
        other();
        const auto t2 = Clock::now();
        mine += seconds(t1 - t0);
        theirs += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    const double n = double(state.iterations());
    state.counters[std::string(otherName) + "_us"] = theirs / n * 1e6;
    state.counters["ratio"] = theirs > 0 ? mine / theirs : 0;
}

} // namespace Bench
