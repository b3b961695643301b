#include "case/matrix_filter.h"

#include "stores/text_ops.h"

namespace pelmora {

bool MatrixFilter::filtersPairs() const {
    return lowest > 0 || highest < 5 || onlyMinimal || onlyOffTheNorm;
}

bool MatrixFilter::keeps(const RunPair& pair) const {
    return pair.strength >= lowest && pair.strength <= highest && (!onlyMinimal || pair.minimal) &&
           (!onlyOffTheNorm || pair.significant);
}

std::optional<std::vector<bool>> keptTexts(const RunResult& run, const Metadata& metadata,
                                           const MatrixFilter& filter, const CancelToken* cancel) {
    std::vector<bool> kept(run.texts.size());
    for (const TextRecord& t : run.texts) {
        kept[static_cast<std::size_t>(t.position)] =
            (filter.name.empty() || findIgnoreCase(t.name, filter.name) != std::string::npos) &&
            (!filter.role || *filter.role == metadata.roleOf(t.nameBytes));
    }
    if (!filter.filtersPairs()) {
        return kept;
    }
    std::vector<bool> paired(run.texts.size());
    bool stopped = false;
    run.pairs.forEachWhile([&](const RunPair& p) {
        if (cancel != nullptr && cancel->cancelled()) {
            stopped = true;
            return false;
        }
        const auto a = static_cast<std::size_t>(p.first), b = static_cast<std::size_t>(p.second);
        if (kept[a] && kept[b] && filter.keeps(p)) {
            paired[a] = paired[b] = true;
        }
        return true;
    });
    if (stopped) {
        return std::nullopt;
    }
    return paired;
}

}  // namespace pelmora
