// CPU time of the benchmark's own thread, so that other work on a shared machine
// does not skew the ratios between benchmarks of one run.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>

namespace kvbench {

inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs the benchmark loop and returns the thread's CPU seconds per iteration.
template <typename Body>
double TimeLoop(benchmark::State& state, Body body) {
    const double start = ThreadSeconds();
    for (auto _ : state) {
        body();
    }
    const double elapsed = ThreadSeconds() - start;
    return state.iterations() == 0 ? 0 : elapsed / static_cast<double>(state.iterations());
}

}  // namespace kvbench
