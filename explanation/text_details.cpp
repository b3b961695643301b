#include "explanation/text_details.h"

#include <optional>

#include "explanation/digit_evidence.h"

namespace pelmora {

std::string textDetailsText(const RunResult& run, int position, const RunStability* stability) {
    const TextRecord& t = run.texts[static_cast<std::size_t>(position)];
    std::string text = textEvidenceReport(explainText(t));
    const TextStability* stable = stability != nullptr ? stability->of(position) : nullptr;
    text += '\n';
    text += stable != nullptr ? textStabilityReport(*stable, stability->options)
                              : std::string("Stability: not computed\n");
    text += "\nPairs:\n";
    for (const TextRecord& other : run.texts) {
        const std::optional<RunPair> p = run.pairs.between(position, other.position);
        if (!p) {
            continue;
        }
        const TextRecord& a = run.texts[static_cast<std::size_t>(p->first)];
        const TextRecord& b = run.texts[static_cast<std::size_t>(p->second)];
        text.append(a.name).append("-").append(b.name).append("\t");
        text += std::to_string(p->strength);
        text += p->significant ? "*\t" : "\t";
        text += pairEvidenceText(explainPair(a, b, p->strength));
        if (stability != nullptr) {
            text += '\t';
            text += pairStabilityText(stability->pair(run, *p), stability->options.resamples);
        }
        text += '\n';
    }
    return text;
}

}  // namespace pelmora
