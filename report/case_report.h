#pragma once
// The case report for a court annex, as content: case and instructions, the items and their
// integrity, the method with every threshold and rule from the rule book, the results by
// role, their reliability, the limitations, and the audit log. Built from the run of the
// case's folder and what the case file holds; nothing is measured here, and what was not
// measured is named as not measured.

#include <optional>
#include <string>
#include <vector>

#include "case/metadata.h"
#include "case/unmasking.h"
#include "casefile/audit_log.h"
#include "casefile/case_file.h"
#include "record/run_record.h"
#include "report/report_document.h"
#include "run/run_result.h"

namespace pelmora {

struct CaseReportInput {
    CaseDetails details;
    std::string caseFile;            // the case file's path, as text
    const RunResult* run = nullptr;  // the case's folder, run for the report
    Metadata metadata;
    // The case's last stored run, whose stability figures the report gives when it read the
    // same files as `run`.
    std::optional<RunRecord> lastRun;
    std::vector<AuditEntry> log;
    std::optional<std::string> tampering;  // where the log was altered, or nothing
    UnmaskingStage unmasking = UnmaskingStage::Off;
    std::string labelColumn = "genre";  // validated when the metadata has it
    int level = RuleBook::kMatchedReferenceAtLeast;
    std::string software;  // the program's name, version and build
    std::string created;   // UTC
};

ReportDocument caseReport(const CaseReportInput& input);

// The input for the report of `run` (the case's folder, run now) from what `file` holds, the
// program named by the version the run record states; `created` is the report's time.
Result<CaseReportInput> caseReportInputOf(const CaseFile& file, const RunResult& run,
                                          std::string created);

// The section titles, in order.
std::vector<std::string> caseReportSections();

// Each text's stability as a stored run recorded it, by the positions of `run`'s texts with
// the same name bytes, size and SHA-256; nothing when the record holds no stability.
std::optional<RunStability> recordedStability(const RunRecord& record, const RunResult& run);

}  // namespace pelmora
