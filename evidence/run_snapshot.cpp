#include "evidence/run_snapshot.h"

#include <unordered_map>

#include "app/program_context.h"
#include "app/statistics.h"

namespace pelmora {

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
    std::vector<int> strengths;
    for (std::int64_t k = 0; k < n; ++k) {
        const PairList::Pair p = form.lstDogBox.pairAt(k);
        run.pairs.push_back({place(p.firstName), place(p.secondName), p.strength, false});
        strengths.push_back(p.strength);
    }
    // The report's own test, so the marks cannot disagree with its list.
    for (std::size_t i : strengthStatistics(strengths).significant) {
        run.pairs[i].significant = true;
    }
    return run;
}

}  // namespace pelmora
