// A case of 2 questioned, 10 known and 2,000 reference texts: the run with every table of its
// compatibility by role, against the run with its report written out, on the same generated
// folder. Prints both times, their ratio, and the time of the tables alone. Then the validation
// of the same 2,012 texts labelled by 15 genres, with every table of it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/form2_commands.h"
#include "bench/support/corpus.h"
#include "case/compatibility_tables.h"
#include "exports/run_texts.h"
#include "run/batch.h"
#include "validation/validation_tables.h"

namespace pelmora {
namespace {

constexpr int kQuestioned = 2, kKnown = 10, kReference = 2000;

std::shared_ptr<const RunResult> runOf(const std::filesystem::path& folder) {
    ProgramContext context(folder);
    startProgram(context);
    return runBatch(context);
}

// The first texts of the run questioned, the next known, the rest reference.
Metadata caseMetadata(const RunResult& run) {
    Metadata metadata;
    for (const TextRecord& t : run.texts) {
        const int k = t.position;
        metadata.setRole(t.nameBytes, k < kQuestioned            ? Role::Questioned
                                      : k < kQuestioned + kKnown ? Role::Known
                                                                 : Role::Reference);
    }
    return metadata;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CaseTablesAgainstReport(benchmark::State& state) {
    const std::filesystem::path& folder = bench::corpus(kQuestioned + kKnown + kReference);
    const Metadata metadata = caseMetadata(*runOf(folder));
    double reportSeconds = 0, caseSeconds = 0, tablesSeconds = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const auto reported = runOf(folder);
        writeReport(*reported, NameStyle::Exact,
                    [&](std::string_view piece) { bytes += piece.size(); });
        reportSeconds = secondsSince(start);

        start = std::chrono::steady_clock::now();
        const auto run = runOf(folder);
        const auto tablesStart = std::chrono::steady_clock::now();
        const Compatibility compatibility = compatibilityOf(*run, metadata);
        for (CaseTable table :
             {CaseTable::QuestionedKnown, CaseTable::KnownKnown, CaseTable::QuestionedReference,
              CaseTable::QuestionedQuestioned, CaseTable::Matched}) {
            bytes += delimitedTable(caseTable(*run, compatibility, table), '\t', "\n").size();
        }
        caseSeconds = secondsSince(start);
        tablesSeconds = secondsSince(tablesStart);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["texts"] = kQuestioned + kKnown + kReference;
    state.counters["report_s"] = reportSeconds;
    state.counters["case_s"] = caseSeconds;
    state.counters["tables_s"] = tablesSeconds;
    state.counters["case_over_report"] = caseSeconds / reportSeconds;
}
BENCHMARK(BM_CaseTablesAgainstReport)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ValidationOfLabelledTexts(benchmark::State& state) {
    const auto run = runOf(bench::corpus(kQuestioned + kKnown + kReference));
    constexpr int kGenres = 15;
    Metadata metadata;
    metadata.header.push_back("genre");
    for (const TextRecord& t : run->texts) {
        metadata.rows.push_back(
            {t.nameBytes, Role::None, {"genre " + std::to_string(t.position % kGenres)}});
    }
    std::size_t bytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const Validation v = validateLabels(*run, metadata, "genre").value();
        for (ValidationTable table : {ValidationTable::Summary, ValidationTable::Roc,
                                      ValidationTable::Digits, ValidationTable::Labels}) {
            bytes += delimitedTable(validationTable(v, table), '\t', "\n").size();
        }
        seconds = secondsSince(start);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["texts"] = static_cast<double>(run->texts.size());
    state.counters["validation_s"] = seconds;
}
BENCHMARK(BM_ValidationOfLabelledTexts)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pelmora
