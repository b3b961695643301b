// The author results of a finished batch run (authors gathered, the author-pair columns made
// and filled, the means written) over texts each by an author of their own, so that n texts
// make n * n columns; beside it the run itself, for the ratio.

#include <benchmark/benchmark.h>

#include "app/form2_commands.h"
#include "bench/support/corpus.h"
#include "run/author_results.h"
#include "run/batch.h"

namespace pelmora {
namespace {

void BM_AuthorResultsOfARun(benchmark::State& state) {
    const int texts = static_cast<int>(state.range(0));
    const auto& folder = bench::corpus(texts, bench::Naming::AuthorEach);
    std::size_t summaryBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ProgramContext context(folder);
        startProgram(context);
        const auto run = runBatch(context);
        state.ResumeTiming();
        assignAuthorResults(context, *run);
        summaryBytes = context.form2().Text4.text().size();
        benchmark::DoNotOptimize(summaryBytes);
    }
    state.counters["columns"] = static_cast<double>(texts) * texts;
    state.counters["summary_MiB"] = static_cast<double>(summaryBytes) / (1024.0 * 1024.0);
    state.counters["peak_rss_MiB"] = bench::peakMemoryMiB();
}
BENCHMARK(BM_AuthorResultsOfARun)
    ->Arg(300)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace pelmora
