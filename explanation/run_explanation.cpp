#include "explanation/run_explanation.h"

#include "explanation/concordance.h"
#include "explanation/digit_evidence.h"

namespace pelmora {

std::string runExplanation(const RunResult& run, NameStyle style, bool withForms) {
    std::string out;
    for (const TextRecord& t : run.texts) {
        if (!t.inRun) {
            continue;
        }
        TextEvidence e = explainText(t);
        e.name = shownName(e.name, style);
        if (!withForms) {
            out += textEvidenceReport(e) + "\n";
            continue;
        }
        const Result<TextOccurrences> found = occurrencesOf(run, t);
        out += found.ok()
                   ? textEvidenceReport(e, &found.value().occurrences)
                   : textEvidenceReport(e) + "  (words not shown: " + found.error().message + ")\n";
        out += "\n";
    }
    out += "Pairs:\n";
    run.pairs.forEach([&](const RunPair& p) {
        const TextRecord& a = run.texts[static_cast<std::size_t>(p.first)];
        const TextRecord& b = run.texts[static_cast<std::size_t>(p.second)];
        out += shownName(a.name, style) + "-" + shownName(b.name, style) + "\t" +
               std::to_string(p.strength) + "\t" + pairEvidenceText(explainPair(a, b, p.strength)) +
               "\n";
    });
    if (!run.leftOut.empty()) {
        out += "\nLeft out as unreadable:\n";
        for (const SkippedFile& s : run.leftOut) {
            out += shownName(s.name, style) + "\t" + s.reason + "\n";
        }
    }
    return out;
}

}  // namespace pelmora
