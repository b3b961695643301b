#pragma once
// The one result of a batch run, published as the run goes from what the commands wrote and
// immutable afterwards. Every window, export and command-line output reads it; none of them
// recomputes a figure or finds a text by its displayed name.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/file_facts.h"
#include "forms/form1.h"
#include "rules/rule_book.h"
#include "run/input_quality.h"
#include "stores/composed_text.h"
#include "stores/pair_list.h"

namespace pelmora {

struct TextRecord {
    int position = 0;       // in the run's gathering of texts, which the pairs refer to
    std::string nameBytes;  // as the file system spells it: what tells texts apart
    std::string name;       // its text, as the stores hold it
    bool inRun = true;      // false for a text analysed by hand before the run
    FileFacts file;         // as read by the run
    TextMeasures measures;  // the store texts right after the text's full analysis
    std::array<double, kMeasureCount> numbers{};  // the same, read as numbers
    Form1Decisions decisions;                     // what the rule book decided, and from what
    std::string code;
    std::array<bool, 5> near{};  // digits a move of a threshold by the near margin changes
    std::array<DigitMoves, 5> decisive{};  // the moves of each digit's thresholds that change it

    const std::string& text(Measure m) const;
    double number(Measure m) const { return numbers[static_cast<std::size_t>(m)]; }
};

// A time as the run record writes it, in UTC: "2026-12-06T15:40:12Z".
std::string utcTimestampOf(std::int64_t secondsSince1970);

// The digits whose decisive move lies within the near margin.
std::array<bool, 5> nearOf(const std::array<DigitMoves, 5>& decisive);

struct RunPair {
    int first = 0, second = 0;  // text positions, first < second
    int strength = 0;
    bool minimal = false;      // listed among the minimal relationships
    bool significant = false;  // listed as off the norm
};

// Every pair the report lists, in its order, by the positions of its texts.
class RunPairs {
public:
    RunPairs() = default;
    RunPairs(PairList pairs, std::array<bool, 16> significantStrength);

    std::int64_t count() const { return pairs_.count(); }
    RunPair at(std::int64_t k) const;
    void forEach(const std::function<void(const RunPair&)>& visit) const;
    // The same until `visit` returns false.
    void forEachWhile(const std::function<bool(const RunPair&)>& visit) const;
    // The listed pair of two texts (in either order); nothing when they form none.
    std::optional<RunPair> between(int a, int b) const;
    // Whether the report lists a pair of this strength as off the norm.
    bool significantStrength(int strength) const {
        return significant_[static_cast<std::size_t>(strength)];
    }
    // How many pairs have each strength.
    const std::array<std::int64_t, 16>& strengthCounts() const { return counts_; }
    const PairList& list() const { return pairs_; }

private:
    RunPair pairOf(const PairList::Pair& p) const;

    PairList pairs_;
    std::array<bool, 16> significant_{};
    std::array<std::int64_t, 16> counts_{};
};

struct RunResult {
    std::filesystem::path folder;   // the folder of the file list the run went through
    int listedFiles = 0;            // entries of the file list
    UnlistedFiles unlisted;         // the folder's other files, which the list does not show
    std::vector<TextRecord> texts;  // by position: texts gathered before the run, then the run's
    // Entries of the list that lead to no regular file, then the files the run could not read.
    std::vector<SkippedFile> leftOut;
    RunPairs pairs;
    std::string mean, stDev;  // as the report writes them
    // The same as numbers; nothing where the report writes that they are not available.
    std::optional<double> meanValue, stDevValue;
    std::vector<FileQuality> quality;  // of the analysed files, then of those left out
    ComposedText report;               // the report box
    std::string types;                 // the results box
    RuleBook rules = RuleBook::standard();
    std::int64_t startedAt = 0;  // when the run started, in seconds since 1970 (UTC)
    double seconds = 0;          // how long it took

    int analysedCount() const;
    // The text whose name is exactly these bytes, or nullptr.
    const TextRecord* byNameBytes(std::string_view nameBytes) const;
    // The pair a line of the report lists, by the line's number (0 for the first); nothing
    // for a line that lists no pair.
    std::optional<RunPair> reportPairAt(std::int64_t line) const;
};

}  // namespace pelmora
