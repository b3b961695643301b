// The pair lists of a batch run over N texts: one comparison after every gathered text,
// then the repeat removal and a read of every remaining line, as the report does.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <random>
#include <string>
#include <vector>

#include "rules/rule_book.h"
#include "stores/list_store.h"
#include "stores/pair_list.h"

namespace {

double peakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

void PairListBatchRun(benchmark::State& state) {
    const int texts = static_cast<int>(state.range(0));
    std::mt19937 rng(42);
    std::int64_t literalLines = 0;
    std::int64_t reportLines = 0;
    for (auto _ : state) {
        pelmora::PairList box;
        pelmora::PairList house(pelmora::RuleBook::kMinimalBelow);
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
            box.appendComparison(codes, names, keys, pelmora::typeCodeStrength);
            house.appendComparison(codes, names, keys, pelmora::typeCodeStrength);
        }
        literalLines = box.count();
        box.removeRepeats();
        house.removeRepeats();
        std::size_t chars = 0;
        std::string line;
        for (const pelmora::PairList* list : {&box, &house}) {
            list->forEachPair([&](const pelmora::PairList::Pair& p) {
                line.clear();
                list->appendLine(line, p);
                chars += line.size();
                return true;
            });
        }
        benchmark::DoNotOptimize(chars);
        reportLines = box.count();
    }
    state.counters["literal_lines"] = static_cast<double>(literalLines);
    state.counters["pairs_after_removal"] = static_cast<double>(reportLines);
    state.counters["peak_MiB"] = peakMemoryMiB();
}

}  // namespace

BENCHMARK(PairListBatchRun)->Arg(58)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
