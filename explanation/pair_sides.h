#pragma once
// Two texts of a run side by side, as the pair window shows them: for each digit what each
// text's rule decided and the checks that decided it, whether the two digits agree, and where
// the pair stands in the report's order. Read off the digit evidence; nothing is decided again.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "explanation/digit_evidence.h"
#include "run/run_result.h"

namespace pelmora {

// One digit of both codes: the first text's side, then the second's.
struct PairDigit {
    std::string category;                   // "formality"
    std::array<char, 2> digits{};           // as each code has it
    std::array<std::string, 2> categories;  // as each text's field holds it, "(no category)"
    std::array<std::string, 2> checks;      // the deciding rule, then each threshold checked
    std::array<bool, 2> near{};             // the digit lies near a threshold
    bool agree = false;
};

struct PairSides {
    RunPair pair;
    std::int64_t index = 0;  // in the report's order
    std::array<std::string, 2> names, codes;
    std::array<PairDigit, 5> digits;
};

// The pair the report lists for the texts at these positions, in either order; nothing when
// they form none.
std::optional<PairSides> pairSides(const RunResult& run, int a, int b);

// Where the report lists the pair of these texts among its pairs (0 for the first); nothing
// when they form none.
std::optional<std::int64_t> reportIndexOf(const RunResult& run, int a, int b);

// The pair `step` places after the pair of these texts in the report's order (before it when
// negative); nothing beyond either end or when they form no pair.
std::optional<RunPair> neighbouringPair(const RunResult& run, int a, int b, int step);

// The checks of one digit in words, a line each: its rule, then every threshold compared.
std::string digitChecksText(const DigitEvidence& digit);

}  // namespace pelmora
