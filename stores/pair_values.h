#pragma once
// A list store with one entry per line of a pair list, each the text that belongs to the
// line's strength: the strengths of a report, their deviations from the mean, their squares.
// The entries are made when read, so a list of millions of pairs costs a few texts.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "stores/pair_list.h"

namespace pelmora {

class PairValueList {
public:
    using Texts = std::array<std::string, 16>;  // the entry for each strength

    // Appends one entry per line of `pairs`.
    void append(const PairList& pairs, const Texts& texts);
    void clear() { parts_.clear(); }

    std::int64_t count() const;
    bool empty() const { return count() == 0; }
    std::string at(std::int64_t k) const;
    // Every entry in order; for lists that fit in memory.
    std::vector<std::string> items() const;

    // The strengths themselves as one-digit texts: "0" to "9", then "10" to "15".
    static Texts strengthTexts();

private:
    struct Part {
        PairList pairs;
        Texts texts;
    };
    std::vector<Part> parts_;
};

}  // namespace pelmora
