#pragma once
// The validation on labelled texts as charts and in words, for the report and the window.

#include <string>
#include <vector>

#include "report/report_document.h"
#include "validation/label_validation.h"

namespace pelmora {

// The strengths of same-label and different-label pairs, each as shares of its pairs, and
// the ROC curve with the chance diagonal; none when the figures are not available.
std::vector<ReportChart> validationCharts(const Validation& validation);

// What the figures mean, plainly: the AUC as a chance, the best cut's two rates, the equal
// error rate and the digits that cannot separate the labels.
std::string validationSentence(const Validation& validation);

}  // namespace pelmora
