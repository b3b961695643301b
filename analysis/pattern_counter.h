#pragma once
// Counts many patterns in one pass over a text: for each pattern the number of its
// left-to-right, non-overlapping, case-insensitive occurrences, as SplitCount gives it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pelmora {

class PatternCounter {
public:
    explicit PatternCounter(std::vector<std::string> patterns);

    const std::vector<std::string>& patterns() const { return patterns_; }

    // One count per pattern, in pattern order; an empty pattern counts 0.
    std::vector<std::int64_t> count(std::string_view text) const;
    // Every occurrence that count() counts, as the pattern's position and the bytes
    // [start, end) of the text, in the order the occurrences end.
    void find(
        std::string_view text,
        const std::function<void(int pattern, std::size_t start, std::size_t end)>& visit) const;

    // A counter for `patterns`, built once and reused while the same patterns come back.
    static const PatternCounter& forPatterns(const std::vector<std::string>& patterns);

private:
    std::vector<std::string> patterns_;
    std::vector<int> distinctOf_;  // pattern -> distinct folded pattern
    std::vector<std::int64_t> distinctLength_;
    unsigned char classOf_[256] = {};  // byte -> input class, 0 for bytes no pattern holds
    int classes_ = 1;
    // Each state is held as the offset of its row (2^rowShift_ entries); offset + class ->
    // next state. The states from firstWithOutput_ on end at least one pattern.
    std::vector<std::int32_t> table_;
    std::vector<std::uint16_t> narrow_;  // the same table, when every offset fits in 16 bits
    bool splittable_ = false;            // see the constructor
    int rowShift_ = 0;
    std::int32_t start_ = 0;
    std::int32_t firstWithOutput_ = 0;
    // Per state from firstWithOutput_ on, in row order, into outputs_ (one extra entry).
    std::vector<std::int32_t> outputBegin_;
    std::vector<std::int32_t> outputs_;  // distinct patterns ending in each state
};

}  // namespace pelmora
