#include "stores/pair_values.h"

#include <cassert>

namespace pelmora {

void PairValueList::append(const PairList& pairs, const Texts& texts) {
    if (pairs.count() > 0) {
        parts_.push_back(Part{pairs, texts});
    }
}

std::int64_t PairValueList::count() const {
    std::int64_t n = 0;
    for (const Part& part : parts_) {
        n += part.pairs.count();
    }
    return n;
}

std::string PairValueList::at(std::int64_t k) const {
    for (const Part& part : parts_) {
        if (k < part.pairs.count()) {
            return part.texts[static_cast<std::size_t>(part.pairs.pairAt(k).strength)];
        }
        k -= part.pairs.count();
    }
    assert(false && "position beyond the list");
    return {};
}

std::vector<std::string> PairValueList::items() const {
    std::vector<std::string> out;
    for (const Part& part : parts_) {
        part.pairs.forEachPair([&](const PairList::Pair& p) {
            out.push_back(part.texts[static_cast<std::size_t>(p.strength)]);
            return true;
        });
    }
    return out;
}

PairValueList::Texts PairValueList::strengthTexts() {
    Texts texts;
    for (std::size_t s = 0; s < texts.size(); ++s) {
        texts[s] = std::to_string(s);
    }
    return texts;
}

}  // namespace pelmora
