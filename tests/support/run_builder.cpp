#include "tests/support/run_builder.h"

#include "stores/list_store.h"

namespace pelmora::test {

RunResult runOf(const std::vector<BuiltText>& texts, std::array<bool, 16> significant) {
    RunResult run;
    ListStore codes, names;
    std::vector<std::string> keys;
    for (const BuiltText& given : texts) {
        TextRecord t;
        t.position = static_cast<int>(run.texts.size());
        t.name = given.name;
        t.nameBytes = given.nameBytes.empty() ? given.name : given.nameBytes;
        t.code = given.code;
        t.measures.name = given.name;
        t.measures.code = given.code;
        t.measures.textLength = given.words;
        t.numbers[static_cast<std::size_t>(Measure::TextLength)] = std::stod(given.words);
        t.file = FileFacts{t.nameBytes, given.name, given.encoding, given.size, given.sha256, {}};
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
    run.quality = assessQuality(run);
    return run;
}

}  // namespace pelmora::test
