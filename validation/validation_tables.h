#pragma once
// The figures of a label validation as the command line writes them: tab-separated tables of
// fixed column names, numbers with 4 decimals, "n/a: <reason>" for a figure that cannot be
// given.

#include <optional>
#include <string_view>
#include <vector>

#include "formats/csv.h"
#include "formats/output_format.h"
#include "validation/label_validation.h"

namespace pelmora {

enum class ValidationTable { Summary, Roc, Digits, Labels };

// "summary", "roc", "digits", "labels".
std::optional<ValidationTable> validationTableNamed(std::string_view name);

// summary: name, value: texts, labels, same_label_pairs, different_label_pairs,
//   same_label_mean, different_label_mean, auc, eer, best_cut, then
//   digit_<n>_<category>_top_share for each digit.
// roc: cut, true_positive_rate, false_positive_rate, balanced_accuracy; a pair counts as of
//   one label when its strength is at least the cut.
// digits: digit, category, value, label, texts, top_share, separates, agree_within,
//   agree_across; a row per digit value and label.
// labels: label, texts, most_common_code, code_texts, unstable_share.
std::vector<TableRow> validationTable(const Validation& validation, ValidationTable table);

// "digit_3_past_tenseness_top_share".
std::string digitFigureName(int digit);
// "Past Tense" for a digit of its category; "none" for a digit that stands for no value.
std::string digitValueText(Category category, char digit);

}  // namespace pelmora
