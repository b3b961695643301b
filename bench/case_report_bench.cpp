// The case report of a case of 500 texts (2 questioned, 10 known, the rest reference) whose
// last stored run has its stability measured: the report's content with its validation on 15
// labels, then each rendering written. Prints the seconds of each; the stability itself is
// measured once beforehand and not timed.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/form2_commands.h"
#include "bench/support/corpus.h"
#include "casefile/case_file.h"
#include "render/report_writer.h"
#include "report/case_report.h"
#include "run/batch.h"

namespace pelmora {
namespace {

constexpr int kTexts = 500, kQuestioned = 2, kKnown = 10, kLabels = 15;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Metadata labelledRoles(const RunResult& run) {
    Metadata metadata;
    metadata.header = {"file", "role", "genre"};
    for (const TextRecord& t : run.texts) {
        const int k = t.position;
        const Role role = k < kQuestioned            ? Role::Questioned
                          : k < kQuestioned + kKnown ? Role::Known
                                                     : Role::Reference;
        metadata.rows.push_back({t.nameBytes, role, {"genre " + std::to_string(k % kLabels)}});
    }
    return metadata;
}

void BM_CaseReportOf500Texts(benchmark::State& state) {
    const std::filesystem::path& folder = bench::corpus(kTexts);
    ProgramContext context(folder);
    startProgram(context);
    const auto run = runBatch(context);
    const RunStability stability = measureStability(*run, StabilityOptions{}).value();
    const std::filesystem::path place = folder.parent_path() / "report-bench";
    std::filesystem::remove_all(place);
    std::filesystem::create_directories(place);
    CaseFile file = std::move(CaseFile::create(place / "c.pelmora", folder, {}).value());
    if (file.importMetadata(labelledRoles(*run)) ||
        file.storeRun(recordOf(*run, "2026-12-09T09:00:00Z", &stability))) {
        state.SkipWithError("the case could not be stored");
        return;
    }
    const RenderingApplication application;
    std::array<double, 4> seconds{};
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const ReportDocument document =
            caseReport(caseReportInputOf(file, *run, "2026-12-09T10:00:00Z").value());
        seconds[0] = secondsSince(start);
        int k = 1;
        for (const char* name : {"r.html", "r.pdf", "r.odt"}) {
            start = std::chrono::steady_clock::now();
            if (!writeRenderedReport(document, place / name).ok()) {
                state.SkipWithError("a report could not be written");
                return;
            }
            seconds[static_cast<std::size_t>(k++)] = secondsSince(start);
        }
    }
    state.counters["texts"] = kTexts;
    state.counters["content_s"] = seconds[0];
    state.counters["html_s"] = seconds[1];
    state.counters["pdf_s"] = seconds[2];
    state.counters["odt_s"] = seconds[3];
    state.counters["content_and_pdf_s"] = seconds[0] + seconds[2];
    std::filesystem::remove_all(place);
}
BENCHMARK(BM_CaseReportOf500Texts)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pelmora
