#pragma once
// The tables of a case's compatibility, as the command line and the exports write them: one
// header row of fixed column names, then one row per text or pair.

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "case/compatibility.h"
#include "formats/csv.h"
#include "formats/output_format.h"

namespace pelmora {

enum class CaseTable {
    QuestionedKnown,
    KnownKnown,
    QuestionedReference,
    QuestionedQuestioned,
    Matched
};

// "qk", "kk", "qr", "qq", "matched".
std::string_view caseTableName(CaseTable table);
std::optional<CaseTable> caseTableNamed(std::string_view name);

// qk: questioned, known, strength, agreeing, differing, minimal, verdict.
// kk: known, mean_strength, off_type; a last row "all known texts" with the mean of every pair.
// qr: questioned, strength, reference_texts, share_at_least; a row per strength 0 to 5.
// qq: questioned, other_questioned, strength, agreeing, differing, minimal.
// matched: reference.
std::vector<TableRow> caseTable(const RunResult& run, const Compatibility& compatibility,
                                CaseTable table, NameStyle style = NameStyle::Exact);

// The two texts, by position, behind each row of `table` after its header as caseTable writes
// it: a qk or qq row's pair; a kk row's known text with the next known text (the first after
// the last), nothing for its last row or a single known text; nothing for qr and matched rows.
std::vector<std::optional<std::pair<int, int>>> caseTablePairs(const Compatibility& compatibility,
                                                               CaseTable table);

// Adds to the qk table of `compatibility` a last column "stability": each pair's figures of
// `resamples` resamples where both texts were resampled, and that they are not known elsewhere.
void appendStabilityColumn(std::vector<TableRow>& questionedKnown,
                           const Compatibility& compatibility, int resamples);

// The categories on which two texts agree: "formality, personage".
std::string agreeingText(const TextComparison& comparison);
// Each differing digit with both categories: "past tenseness: Past Tense / Not Past Tense",
// "(near threshold)" after one whose digits lie near a threshold; "; " between them.
std::string differingText(const TextComparison& comparison);

}  // namespace pelmora
