// Whole batch runs (analysis of every text, comparison, statistics and report) over
// generated folders of 58, 300 and 1,000 texts of 5 to 20 KiB, with the peak memory.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/form2_commands.h"
#include "bench/support/corpus.h"
#include "run/batch.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using bench::corpus;
using bench::peakMemoryMiB;

void BM_BatchRunAndReport(benchmark::State& state) {
    const int texts = static_cast<int>(state.range(0));
    const fs::path& folder = corpus(texts);
    std::size_t reportBytes = 0;
    for (auto _ : state) {
        ProgramContext context(folder);
        startProgram(context);
        reportBytes = runBatch(context)->report.size();
        benchmark::DoNotOptimize(reportBytes);
    }
    state.counters["texts"] = texts;
    state.counters["report_MiB"] = static_cast<double>(reportBytes) / (1024.0 * 1024.0);
    state.counters["peak_rss_MiB"] = peakMemoryMiB();
}
BENCHMARK(BM_BatchRunAndReport)
    ->Arg(58)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace pelmora
