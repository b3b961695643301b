#pragma once
// The sections of the case report, one function each, for case_report.cpp to put in order.

#include <optional>
#include <string>
#include <vector>

#include "case/compatibility.h"
#include "report/case_report.h"
#include "validation/label_validation.h"

namespace pelmora::report {

// What every section reads: the input, the tables by role, the stability the case recorded
// for this run and the validation when the metadata holds the label column.
struct ReportFacts {
    const CaseReportInput& input;
    const RunResult& run;
    Compatibility compatibility;
    VisibleResults visible;
    std::optional<RunStability> stability;
    std::optional<Validation> validation;
    std::string validationMissing;  // why there is none
};

ReportSection caseSection(const ReportFacts& f);
ReportSection itemsSection(const ReportFacts& f);
ReportSection methodSection(const ReportFacts& f);
ReportSection resultsSection(const ReportFacts& f);
ReportSection reliabilitySection(const ReportFacts& f);
ReportSection limitationsSection(const ReportFacts& f);
ReportSection auditSection(const ReportFacts& f);

// The text's name as a report shows it.
std::string reportName(const RunResult& run, int position);
// "questioned", "known", "reference" or "none".
std::string reportRole(const ReportFacts& f, int position);
// "formality, personage and affect".
std::string joinedWithAnd(const std::vector<std::string>& items);

}  // namespace pelmora::report
