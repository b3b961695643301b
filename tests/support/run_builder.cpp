#include "tests/support/run_builder.h"

#include "stores/list_store.h"

namespace pelmora::test {

RunResult runOf(const std::vector<TextSpec>& texts, std::array<bool, 16> significant) {
    RunResult run;
    ListStore codes, names;
    std::vector<std::string> keys;
    for (const TextSpec& spec : texts) {
        TextRecord t;
        t.position = static_cast<int>(run.texts.size());
        t.name = spec.name;
        t.nameBytes = spec.nameBytes.empty() ? spec.name : spec.nameBytes;
        t.code = spec.code;
        t.measures.name = spec.name;
        t.measures.code = spec.code;
        t.measures.textLength = spec.words;
        t.numbers[static_cast<std::size_t>(Measure::TextLength)] = std::stod(spec.words);
        t.file = FileFacts{t.nameBytes, spec.name, spec.encoding, spec.size, spec.sha256};
        codes.append(t.code);
        names.append(t.name);
        keys.push_back(t.nameBytes);
        run.texts.push_back(std::move(t));
    }
    PairList pairs;
    if (!texts.empty()) {
        pairs.appendComparison(codes, names, keys, typeCodeStrength);
        pairs.removeRepeats();
    }
    run.pairs = RunPairs(pairs, significant);
    return run;
}

}  // namespace pelmora::test
