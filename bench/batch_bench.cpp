// Whole batch runs (analysis of every text, comparison, statistics and report) over
// generated folders of 58, 300 and 1,000 texts of 5 to 20 KiB, with the peak memory; and the
// part of a run that finds every digit's decisive moves and near marks.

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

// The decisive moves of every text of a run, as the run finds them for each text it analyses.
void BM_DecisiveMovesOfARun(benchmark::State& state) {
    ProgramContext context(corpus(static_cast<int>(state.range(0))));
    startProgram(context);
    const auto run = runBatch(context);
    for (auto _ : state) {
        for (const TextRecord& t : run->texts) {
            benchmark::DoNotOptimize(decisiveMoves(run->rules, t.decisions.inputs));
        }
    }
    state.counters["texts"] = static_cast<double>(run->texts.size());
}
BENCHMARK(BM_DecisiveMovesOfARun)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pelmora
