#include "evidence/run_summary.h"

#include "evidence/input_quality.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

std::string textsWord(int n) {
    return std::to_string(n) + (n == 1 ? " text" : " texts");
}

std::vector<std::string> notesOn(const RunSummary& s) {
    std::vector<std::string> notes;
    const int compared = s.textsAnalysed + s.textsByHand;
    if (s.pairs == 0) {
        // Texts that share a name are one text to the comparison.
        notes.emplace_back(compared == 0   ? "No pair was compared: no text was analysed."
                           : compared == 1 ? "No pair was compared: only one text was analysed."
                                           : "No pair was compared: every text analysed has "
                                             "the same name.");
    } else if (s.pairs == 1) {
        notes.emplace_back(
            "Only one pair was compared: a standard deviation needs at least two, so no pair "
            "can be off the norm.");
    } else if (s.stDev == "0") {
        notes.emplace_back("Every pair has the same strength, so no pair can be off the norm.");
    }
    if (s.textsByHand > 0) {
        notes.push_back(textsWord(s.textsByHand) +
                        " analysed by hand before the run took part in its pairs.");
    }
    return notes;
}

}  // namespace

RunSummary summariseRun(const RunResult& run) {
    RunSummary s;
    s.folder = displayText(run.folder.native());
    s.textsAnalysed = run.analysedCount();
    s.textsByHand = static_cast<int>(run.texts.size()) - s.textsAnalysed;
    s.textsLeftOut = static_cast<int>(run.leftOut.size());
    s.pairs = run.pairs.count();
    const std::array<std::int64_t, 16>& counts = run.pairs.strengthCounts();
    for (int strength = 0; strength < static_cast<int>(counts.size()); ++strength) {
        const std::int64_t n = counts[static_cast<std::size_t>(strength)];
        s.minimalPairs += isMinimal(strength) ? n : 0;
        s.significantPairs += run.pairs.significantStrength(strength) ? n : 0;
    }
    s.mean = run.mean;
    s.stDev = run.stDev;
    s.warnings = warningCount(assessQuality(run));
    s.notes = notesOn(s);
    return s;
}

}  // namespace pelmora
