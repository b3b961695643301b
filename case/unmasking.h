#pragma once
// Sequential unmasking of a case: the questioned texts are examined and locked before the
// known and reference results are shown, and what changes about a locked text afterwards is
// told apart from what was locked.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "case/compatibility.h"
#include "case/compatibility_tables.h"
#include "case/metadata.h"
#include "record/run_record.h"

namespace pelmora {

// The case option that turns sequential unmasking on ("on") or off ("off", or unset).
inline constexpr std::string_view kUnmaskingOption = "sequential unmasking";

enum class UnmaskingStage {
    Off,       // everything is shown
    Unlocked,  // on, the questioned texts not yet locked
    Locked,    // the questioned texts are locked: everything is shown
};

// Which roles' results a case may show.
struct VisibleResults {
    bool questioned = true, known = true, reference = true;
    bool operator==(const VisibleResults&) const = default;
};

// Before the lock only the questioned texts' own results, else all.
VisibleResults visibleResults(UnmaskingStage stage);
// Whether every role `table` shows a result of is visible.
bool mayShow(const VisibleResults& visible, CaseTable table);

// A questioned text as locked: its exact name bytes, its code and its file's SHA-256.
struct LockedText {
    std::string nameBytes, code, sha256;
    bool operator==(const LockedText&) const = default;
};

// The words the lock's log entry keeps: a line per text (its name as the run record escapes
// it, code and SHA-256, tab-separated), a blank line, then `evidence`, each text's evidence.
std::string lockDetails(const std::vector<LockedText>& texts, const std::string& evidence);
// The texts those words lock; nothing for words that lockDetails did not write.
std::optional<std::vector<LockedText>> lockedTextsOf(std::string_view details);

// What differs from the lock, a line naming the text for each: a locked text no longer
// questioned, a text questioned since, and, by `run` (the last run, when there is one), a
// locked text missing from it, not read by it, or read with another SHA-256 or code.
std::vector<std::string> lockChanges(const std::vector<LockedText>& locked,
                                     const Metadata& metadata, const RunRecord* run);

// The questioned texts' own codes, as a case shows them before the lock: header row
// "questioned", "code", then a row per questioned text in run order.
std::vector<TableRow> questionedCodesTable(const RunResult& run, const CaseTexts& texts,
                                           NameStyle style = NameStyle::Exact);

}  // namespace pelmora
