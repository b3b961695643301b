// The one entry point of pelmora_bench; the benchmark files only register benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
