// Stability of a whole run: every text resampled 200 times in blocks of 50 words and each
// resample measured and classified. On the shared real-mixed corpus when it is beside the
// repository (or in PELMORA_STABILITY_FOLDER), else on 31 generated texts.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/form2_commands.h"
#include "bench/support/corpus.h"
#include "stability/stability.h"
#include "run/batch.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

fs::path stabilityFolder(bool& shared) {
    if (const char* named = std::getenv("PELMORA_STABILITY_FOLDER")) {
        shared = true;
        return named;
    }
    const fs::path beside = fs::path(PELMORA_SOURCE_DIR) / ".." / "shared" / "corpora" / "real-mixed";
    std::error_code error;
    shared = fs::is_directory(beside, error);
    return shared ? beside : bench::corpus(31);
}

void BM_StabilityOfARun(benchmark::State& state) {
    bool shared = false;
    const fs::path folder = stabilityFolder(shared);
    ProgramContext context(folder);
    startProgram(context);
    const std::shared_ptr<const RunResult> run = runBatch(context);
    StabilityOptions options;
    options.resamples = static_cast<int>(state.range(0));
    std::size_t texts = 0;
    for (auto _ : state) {
        const Result<RunStability> stability = measureStability(*run, options);
        if (!stability.ok()) {
            state.SkipWithError(stability.error().message.c_str());
            return;
        }
        texts = stability.value().texts.size();
    }
    state.SetLabel(shared ? folder.filename().string() : "31 generated texts");
    state.counters["texts"] = static_cast<double>(texts);
    state.counters["resamples"] = static_cast<double>(options.resamples);
    state.counters["peak_rss_MiB"] = bench::peakMemoryMiB();
}
BENCHMARK(BM_StabilityOfARun)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pelmora
