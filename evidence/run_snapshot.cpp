#include "evidence/run_snapshot.h"

#include <unordered_map>

#include "app/program_context.h"
#include "stores/number_text.h"

namespace pelmora {

bool significantPair(const std::string& deviationText, const std::string& stdevText) {
    const auto deviation = strictParse(deviationText);
    const auto stdev = strictParse(stdevText);
    if (!deviation || !stdev || !(*stdev > 0.0)) {
        return false;
    }
    return decimalParse(fourDecimalText(*deviation / *stdev)) > 1.65;
}

RunSnapshot snapshotOf(ProgramContext& context) {
    Form2& form = context.form2();
    RunSnapshot run;
    run.folder = form.File1.path.string();
    run.texts = form.runMeasures;
    run.files = form.runFiles;
    run.skipped = form.skippedFiles;
    run.mean = form.lblMean.text();
    run.stdev = form.lblStDev.text();

    std::unordered_map<std::string, int> position;
    const auto place = [&](const std::string& name) {
        const auto [it, added] = position.emplace(name, static_cast<int>(run.names.size()));
        if (added) {
            run.names.push_back(name);
        }
        return it->second;
    };
    for (const TextMeasures& m : run.texts) {
        place(m.name);
    }
    const std::int64_t n = form.lstDogBox.count();
    for (std::int64_t k = 0; k < n; ++k) {
        const PairList::Pair p = form.lstDogBox.pairAt(k);
        const int i = static_cast<int>(k);
        run.pairs.push_back(
            {place(p.firstName), place(p.secondName), p.strength,
             k < form.lstCalcs.count() && significantPair(form.lstCalcs.at(i), run.stdev)});
    }
    return run;
}

}  // namespace pelmora
