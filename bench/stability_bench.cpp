// Stability of a whole run: every text resampled 200 times in blocks of 50 words and each
// resample measured and classified, on the shared real-mixed corpus when it is beside the
// repository (or in PELMORA_STABILITY_FOLDER), else on 31 generated texts; and the
// sensitivity of runs of thousands of texts.

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
    const fs::path beside =
        fs::path(PELMORA_SOURCE_DIR) / ".." / "shared" / "corpora" / "real-mixed";
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

// Sensitivity of runs of 2,000 and 6,000 texts, made of the texts of one run of 300 generated
// texts taken in turn under new names: the codes repeat as in a large folder of few types.
std::shared_ptr<const RunResult> repeatedRun(int texts) {
    ProgramContext context(bench::corpus(300));
    startProgram(context);
    const std::shared_ptr<const RunResult> source = runBatch(context);
    auto run = std::make_shared<RunResult>(*source);
    run->texts.clear();
    ListStore codes, names;
    std::vector<std::string> keys;
    for (int k = 0; k < texts; ++k) {
        TextRecord t = source->texts[static_cast<std::size_t>(k) % source->texts.size()];
        t.position = k;
        t.name = t.nameBytes = std::to_string(k) + ".txt";
        codes.append(t.code);
        names.append(t.name);
        keys.push_back(t.nameBytes);
        run->texts.push_back(std::move(t));
    }
    PairList pairs;
    pairs.appendComparison(codes, names, keys, typeCodeStrength);
    pairs.removeRepeats();
    run->pairs = RunPairs(pairs, {});
    return run;
}

void BM_Sensitivity(benchmark::State& state) {
    const auto run = repeatedRun(static_cast<int>(state.range(0)));
    std::int64_t changed = 0;
    for (auto _ : state) {
        changed = runSensitivity(*run).front().strengthsChanged;
        benchmark::DoNotOptimize(changed);
    }
    state.counters["texts"] = static_cast<double>(run->texts.size());
    state.counters["pairs"] = static_cast<double>(run->pairs.count());
    state.counters["strengths_changed_at_minus_10"] = static_cast<double>(changed);
}
BENCHMARK(BM_Sensitivity)->Arg(2000)->Arg(6000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pelmora
