#pragma once
// How far each digit can be trusted. Resampling: every text is cut into blocks of whole
// words, blocks are drawn with replacement into texts as long as it, and each is measured and
// classified by the run's own pipeline; the share of resamples that keep a digit is its
// stability. Sensitivity: how the run's codes and strengths move when every threshold of the
// rule book moves by a few percent.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "run/run_result.h"
#include "stores/error.h"

namespace pelmora {

struct StabilityOptions {
    // The most resamples and words per block anyone may ask for: enough for any figure, and
    // a bound on the time a command line or a run record can ask for.
    static constexpr int kMostResamples = 100000;
    static constexpr int kMostBlockWords = 100000;

    int resamples = 200;
    int blockWords = 50;
    int jobs = 0;  // 0 for one per core
    // Set from another thread to stop between two resamples, as a refused progress call does.
    const std::atomic<bool>* cancel = nullptr;
};

// How the generator of every resample is seeded, as the run record states it.
inline constexpr const char* kSeedingRule =
    "mt19937_64 seeded with std::seed_seq of the file's SHA-256 as eight 32-bit words, then "
    "the resample number";

// A digit kept by fewer resamples than this share is unstable.
inline constexpr double kStableShare = 0.8;
// A minimal or significant pair whose standing holds in fewer resamples is fragile.
inline constexpr double kFirmShare = 0.95;

struct DigitStability {
    char digit = '0';               // the run's
    std::array<int, 10> ofDigit{};  // resamples giving each digit 0 to 9
    int resamples = 0;
    double kept() const;  // share giving the run's digit
    // A digit that was never resampled is not known to waver.
    bool unstable() const { return resamples > 0 && kept() < kStableShare; }
};

struct TextStability {
    int position = 0;
    bool tooShort = false;  // fewer words than two blocks
    // Why the text could not be resampled ("changed since the run", or why it cannot be read
    // now); empty when it was. Such a text is neither stable nor unstable.
    std::string notMeasured;
    int words = 0;
    std::array<DigitStability, 5> digits;
    std::vector<std::string> codes;  // of each resample, in order
    double codeKept = 0;             // share giving the whole code

    bool measured() const { return notMeasured.empty(); }
    bool anyUnstable() const;
};

struct PairStability {
    bool known = false;  // both texts were resampled
    double sameStrength = 0;
    double sameSide = 0;      // minimal or not, as in the run
    double sameStanding = 0;  // minimal and off the norm, each as in the run
    bool fragile = false;     // a minimal or significant pair whose standing holds in < 95%
};

struct RunStability {
    StabilityOptions options;
    std::vector<TextStability> texts;  // by text position; only the run's texts are measured

    const TextStability* of(int position) const;  // nullptr for a text not measured
    int unstableTexts() const;                    // texts with at least one unstable digit
    int notMeasuredTexts() const;                 // texts that could not be resampled
    // Resample k of one text with resample k of the other.
    PairStability pair(const RunResult& run, const RunPair& pair) const;
};

// Calls `progress(done, total)` after each text; returning false cancels (an error comes back,
// as it does only when cancelled). A text that changed since the run or cannot be read now is
// not measured and says why; the others are measured all the same. Cut into blocks at
// whitespace, a resample's blocks joined by one space.
Result<RunStability> measureStability(
    const RunResult& run, const StabilityOptions& options,
    const std::function<bool(int done, int total)>& progress = {});

// The blocks of `words` whole words of a text, each its span of bytes.
std::vector<std::pair<std::size_t, std::size_t>> wordBlocks(const std::string& text, int words,
                                                            int* wordCount);
// Resample k of a text of these blocks, drawn as the seeding rule says.
std::string resampleText(const std::string& text,
                         const std::vector<std::pair<std::size_t, std::size_t>>& blocks,
                         const std::string& sha256, int k);

// Pairs that are fragile; checking `cancel` between pairs, nothing when it is set.
std::optional<std::int64_t> fragilePairCount(const RunResult& run, const RunStability& stability,
                                             const std::atomic<bool>* cancel = nullptr);

// A share as the figures write it: "0.935".
std::string stabilityShare(double share);
// A text's figures on one line: "code kept 0.935", "code kept 0.620; unstable: affect 0.620"
// (without the digits' shares: "...; unstable: affect"), "too short to resample" or
// "not measured: changed since the run".
std::string textStabilitySummary(const TextStability& text, bool digitShares = true);
// A text's figures for its evidence: for each digit the share that kept it and the share of
// every digit the resamples gave. LF line ends.
std::string textStabilityReport(const TextStability& text, const StabilityOptions& options);
// "strength held in 0.930, standing in 0.905 of 200 resamples", "; fragile" when it is.
std::string pairStabilityText(const PairStability& pair, int resamples);

// Header "text", "digit", "category", "kept", "other digits", "unstable", a row per digit; a text
// too short or not measured says so in its rows' "kept".
std::vector<TableRow> stabilityTable(const RunResult& run, const RunStability& stability,
                                     NameStyle style = NameStyle::Exact);
// The digit as a code, which keeps it text; "kept" a figure where it is one.
ColumnKinds stabilityColumnKinds();

struct SensitivityRow {
    double move = 0;    // the signed share every threshold moved by: -0.1, ...
    double factor = 1;  // every threshold times this, 1 + move
    int codesChanged = 0;
    std::int64_t strengthsChanged = 0;
    std::int64_t becameMinimal = 0, ceasedMinimal = 0;
};
// The shares by which the sensitivity moves every threshold, down and up.
inline constexpr std::array<double, 2> kSensitivitySteps = {0.05, 0.1};
// Every threshold moved down by each step, largest first, then up by each, smallest first:
// by -10%, -5%, +5% and +10%.
std::vector<SensitivityRow> runSensitivity(const RunResult& run,
                                           const std::array<double, 2>& steps = kSensitivitySteps);
// Header "thresholds", "codes changed", "strengths changed", "pairs made minimal",
// "minimal pairs lost", a row per move.
std::vector<TableRow> sensitivityTable(const RunResult& run,
                                       const std::vector<SensitivityRow>& rows);

}  // namespace pelmora
