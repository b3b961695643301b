// Reading the report of a run over N texts as its view does: a screenful of rows from
// anywhere (each repaint), and every line from the middle on (a search), against seeking to
// each line on its own.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "rules/rule_book.h"
#include "stores/composed_text.h"
#include "stores/list_store.h"
#include "stores/pair_list.h"

namespace {

// Every pair, then the pairs of strength 0 (a filtered piece, as the pairs off the norm are).
pelmora::ComposedText runReport(int texts) {
    std::mt19937 rng(7);
    pelmora::ListStore codes, names;
    std::vector<std::string> keys;
    for (int k = 0; k < texts; ++k) {
        std::string code;
        for (int d = 0; d < 5; ++d) {
            code += static_cast<char>('0' + rng() % 3);
        }
        codes.append(code);
        names.append("text " + std::to_string(k) + ".txt");
        keys.push_back(names.at(k));
    }
    pelmora::PairList pairs;
    pairs.appendComparison(codes, names, keys, pelmora::typeCodeStrength);
    pelmora::ComposedText::Strengths off{};
    off[0] = true;
    pelmora::ComposedText report("Text Pair\tStrength of Intertextual relationship\r\n");
    report.appendPairLines(pairs);
    report.append("\r\nArithmetic Mean\t2.5000\r\n");
    report.appendPairLines(pairs, off);
    report.append("\r\n");
    return report;
}

void ReportScreenfulOfRows(benchmark::State& state) {
    const pelmora::ComposedText report = runReport(static_cast<int>(state.range(0)));
    std::mt19937_64 rng(3);
    std::size_t chars = 0;
    for (auto _ : state) {
        const auto first =
            static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(report.lineCount()));
        int rows = 0;
        report.forEachLine(first, [&](std::string_view line) {
            chars += line.size();
            return ++rows < 60;
        });
    }
    benchmark::DoNotOptimize(chars);
    state.counters["lines"] = static_cast<double>(report.lineCount());
}

void ReportLinesOnwardFromTheMiddle(benchmark::State& state) {
    const pelmora::ComposedText report = runReport(static_cast<int>(state.range(0)));
    std::size_t chars = 0;
    for (auto _ : state) {
        report.forEachLine(report.lineCount() / 2, [&](std::string_view line) {
            chars += line.size();
            return true;
        });
    }
    benchmark::DoNotOptimize(chars);
    state.counters["lines"] = static_cast<double>(report.lineCount() - report.lineCount() / 2);
}

// The same lines, each found by its number: what reading onward saves.
void ReportLinesOneByOneFromTheMiddle(benchmark::State& state) {
    const pelmora::ComposedText report = runReport(static_cast<int>(state.range(0)));
    std::size_t chars = 0;
    for (auto _ : state) {
        for (std::int64_t k = report.lineCount() / 2; k < report.lineCount(); ++k) {
            chars += report.line(k).size();
        }
    }
    benchmark::DoNotOptimize(chars);
    state.counters["lines"] = static_cast<double>(report.lineCount() - report.lineCount() / 2);
}

}  // namespace

BENCHMARK(ReportScreenfulOfRows)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReportLinesOnwardFromTheMiddle)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportLinesOneByOneFromTheMiddle)->Arg(1000)->Unit(benchmark::kMillisecond);
