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

// Runs `measured` and `anchor` alternately in each iteration of the loop and returns
// the thread's CPU seconds per iteration of each, so that both see the same load
// on a shared machine.
struct PairedSeconds {
    double measured = 0;
    double anchor = 0;
};

template <typename Measured, typename Anchor>
PairedSeconds TimePaired(benchmark::State& state, Measured measured, Anchor anchor) {
    PairedSeconds total;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        measured();
        const double middle = ThreadSeconds();
        anchor();
        total.measured += middle - start;
        total.anchor += ThreadSeconds() - middle;
    }
    const double n = static_cast<double>(state.iterations());
    return n == 0 ? total : PairedSeconds{total.measured / n, total.anchor / n};
}

}  // namespace kvbench
