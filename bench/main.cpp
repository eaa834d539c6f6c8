// Entry point of sharemon_bench; each bench/*.cpp registers its own cases.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
