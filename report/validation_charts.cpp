#include "report/validation_charts.h"

#include "explanation/captions.h"
#include "rules/rule_book.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

std::vector<double> shares(const StrengthCounts& counts) {
    std::vector<double> out;
    for (const std::int64_t n : counts.atStrength) {
        out.push_back(counts.pairs() == 0
                          ? 0.0
                          : static_cast<double>(n) / static_cast<double>(counts.pairs()));
    }
    return out;
}

std::string percent(double share) {
    return fixedText(share * 100, 1) + "%";
}

}  // namespace

std::vector<ReportChart> validationCharts(const Validation& v) {
    if (!v.notAvailable.empty()) {
        return {};
    }
    ReportChart histogram =
        strengthBars("Strengths of pairs of the same and of different labels", "share of pairs");
    histogram.series = {{"same label", shares(v.same), {}},
                        {"different labels", shares(v.different), {}}};

    ReportChart roc;
    roc.kind = ReportChart::Kind::Lines;
    roc.title = "ROC curve: a pair taken as of one label from each strength cut";
    roc.xLabel = "false positive rate";
    roc.yLabel = "true positive rate";
    roc.diagonal = true;
    roc.unitSquare = true;
    ReportChart::Series curve{"strength cuts", {}, {}};
    for (auto it = v.roc.rbegin(); it != v.roc.rend(); ++it) {  // from (0, 0) to (1, 1)
        curve.points.emplace_back(it->differentRate, it->sameRate);
    }
    roc.series.push_back(std::move(curve));
    return {std::move(histogram), std::move(roc)};
}

std::string validationSentence(const Validation& v) {
    if (!v.notAvailable.empty()) {
        return "The separation figures are not available: " + v.notAvailable + ".";
    }
    std::string out = "Over the " + std::to_string(v.texts.size()) + " texts labelled by \"" +
                      v.column + "\" (" + std::to_string(v.labels.size()) +
                      " labels), a pair of texts of the same label has the higher strength than "
                      "a pair of different labels in " +
                      percent(*v.auc) + " of comparisons, ties counted half (AUC " +
                      fixedText(*v.auc, 4) +
                      "; 0.5 would be no better than chance, 1 a perfect separation).";
    const RocPoint& best = v.roc[static_cast<std::size_t>(*v.bestCut)];
    out += " Taking a pair as of one label when its strength is at least " +
           std::to_string(*v.bestCut) + " finds " + percent(best.sameRate) +
           " of the same-label pairs and wrongly takes " + percent(best.differentRate) +
           " of the different-label pairs.";
    if (v.equalErrorRate) {
        out += " Where both errors are equal, each is " + percent(*v.equalErrorRate) + ".";
    }
    std::vector<std::string> constant;
    for (const DigitSeparation& d : v.digits) {
        if (!d.separates) {
            constant.push_back(kCategoryNames[static_cast<std::size_t>(d.category)]);
        }
    }
    for (std::size_t i = 0; i < constant.size(); ++i) {
        out += (i == 0 ? std::string(" The digit") + (constant.size() > 1 ? "s " : " ")
                : i + 1 == constant.size() ? " and "
                                           : ", ") +
               constant[i];
    }
    if (!constant.empty()) {
        out += std::string(constant.size() > 1 ? " take" : " takes") + " one value on at least " +
               percentText(RuleBook::kUnseparatingShare) +
               " of the labelled texts and cannot separate these labels.";
    }
    return out + " These figures describe the labelled texts of this case, not texts in general.";
}

}  // namespace pelmora
