#include "evidence/run_explanation.h"

#include <unordered_map>

#include "evidence/digit_evidence.h"

namespace pelmora {

std::string runExplanation(const RunSnapshot& run) {
    std::string out;
    std::unordered_map<std::string, const TextMeasures*> byName;
    for (const TextMeasures& m : run.texts) {
        out += textEvidenceReport(explainText(m)) + "\n";
        byName.emplace(m.name, &m);
    }
    out += "Pairs:\n";
    for (const SnapshotPair& p : run.pairs) {
        const std::string& a = run.names[static_cast<std::size_t>(p.first)];
        const std::string& b = run.names[static_cast<std::size_t>(p.second)];
        out += a + "-" + b + "\t" + std::to_string(p.strength) + "\t";
        const auto first = byName.find(a);
        const auto second = byName.find(b);
        if (first == byName.end() || second == byName.end()) {
            out += "no measures were kept for a text analysed outside the run\n";
            continue;
        }
        out += pairEvidenceText(explainPair(*first->second, *second->second)) + "\n";
    }
    if (!run.skipped.empty()) {
        out += "\nLeft out as unreadable:\n";
        for (const SkippedFile& s : run.skipped) {
            out += s.name + "\t" + s.reason + "\n";
        }
    }
    return out;
}

}  // namespace pelmora
