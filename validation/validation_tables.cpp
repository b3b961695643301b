#include "validation/validation_tables.h"

#include <array>

#include "rules/rule_book.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

std::string figure(const Validation& v, const std::optional<double>& value) {
    return validationFigure(value, v.notAvailable.empty() ? "no pairs" : v.notAvailable);
}

std::vector<TableRow> summaryTable(const Validation& v) {
    std::vector<TableRow> rows = {
        {"name", "value"},
        {"texts", std::to_string(v.texts.size())},
        {"labels", std::to_string(v.labels.size())},
        {"same_label_pairs", std::to_string(v.same.pairs())},
        {"different_label_pairs", std::to_string(v.different.pairs())},
        {"same_label_mean", figure(v, v.same.mean())},
        {"different_label_mean", figure(v, v.different.mean())},
        {"auc", figure(v, v.auc)},
        {"eer", figure(v, v.equalErrorRate)},
        {"best_cut", v.bestCut ? std::to_string(*v.bestCut) : "n/a: " + v.notAvailable},
    };
    for (int k = 0; k < 5; ++k) {
        const DigitSeparation& d = v.digits[static_cast<std::size_t>(k)];
        rows.push_back({digitFigureName(k + 1),
                        v.texts.empty() ? "n/a: no labelled texts" : fixedText(d.topShare, 4)});
    }
    return rows;
}

std::vector<TableRow> rocTable(const Validation& v) {
    std::vector<TableRow> rows = {
        {"cut", "true_positive_rate", "false_positive_rate", "balanced_accuracy"}};
    for (const RocPoint& p : v.roc) {
        rows.push_back({std::to_string(p.cut), fixedText(p.sameRate, 4),
                        fixedText(p.differentRate, 4), fixedText(p.balancedAccuracy, 4)});
    }
    if (v.roc.empty()) {
        rows.push_back({"n/a: " + v.notAvailable, "", "", ""});
    }
    return rows;
}

std::vector<TableRow> digitsTable(const Validation& v) {
    std::vector<TableRow> rows = {{"digit", "category", "value", "label", "texts", "top_share",
                                   "separates", "agree_within", "agree_across"}};
    for (int k = 0; k < 5; ++k) {
        const DigitSeparation& d = v.digits[static_cast<std::size_t>(k)];
        const std::string separates = d.separates
                                          ? "yes"
                                          : "no: one value on at least " +
                                                fixedText(RuleBook::kUnseparatingShare * 100, 0) +
                                                "% of the labelled texts";
        for (std::size_t i = 0; i < d.values.size(); ++i) {
            for (std::size_t l = 0; l < v.labels.size(); ++l) {
                rows.push_back(
                    {std::to_string(k + 1), kCategoryNames[static_cast<std::size_t>(k)],
                     std::string(1, d.values[i]) + " " + digitValueText(d.category, d.values[i]),
                     v.labels[l].label, std::to_string(d.texts[l][i]), fixedText(d.topShare, 4),
                     separates, validationFigure(d.agreeWithin, "no same-label pairs"),
                     validationFigure(d.agreeAcross, "no different-label pairs")});
            }
        }
    }
    return rows;
}

std::vector<TableRow> labelsTable(const Validation& v) {
    std::vector<TableRow> rows = {
        {"label", "texts", "most_common_code", "code_texts", "unstable_share"}};
    for (const LabelFigures& l : v.labels) {
        rows.push_back({l.label, std::to_string(l.texts), l.commonCode,
                        std::to_string(l.commonCodeTexts),
                        validationFigure(l.unstableShare, "stability not measured")});
    }
    return rows;
}

}  // namespace

std::optional<ValidationTable> validationTableNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, ValidationTable>, 4> kNames = {{
        {"summary", ValidationTable::Summary},
        {"roc", ValidationTable::Roc},
        {"digits", ValidationTable::Digits},
        {"labels", ValidationTable::Labels},
    }};
    for (const auto& [n, table] : kNames) {
        if (n == name) {
            return table;
        }
    }
    return std::nullopt;
}

std::vector<TableRow> validationTable(const Validation& validation, ValidationTable table) {
    switch (table) {
        case ValidationTable::Summary:
            return summaryTable(validation);
        case ValidationTable::Roc:
            return rocTable(validation);
        case ValidationTable::Digits:
            return digitsTable(validation);
        case ValidationTable::Labels:
            return labelsTable(validation);
    }
    return {};
}

std::string digitFigureName(int digit) {
    std::string name = "digit_" + std::to_string(digit) + "_";
    for (const char c : std::string_view(kCategoryNames[static_cast<std::size_t>(digit - 1)])) {
        name += (c >= 'a' && c <= 'z') ? c : '_';
    }
    return name + "_top_share";
}

std::string digitValueText(Category category, char digit) {
    const std::optional<CategoryValue> value = categoryValueOf(category, digit);
    return value ? std::string(textOf(*value)) : "none";
}

}  // namespace pelmora
