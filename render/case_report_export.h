#pragma once
// The case report of a case file written out and recorded: the one way both programs export it.

#include <filesystem>
#include <optional>
#include <string>

#include "casefile/case_file.h"
#include "jobs/job.h"
#include "run/run_result.h"
#include "stores/error.h"

namespace pelmora {

// What the report is made of beyond the case file and its run.
struct CaseReportRequest {
    std::filesystem::path target;       // .html, .htm, .pdf or .odt
    std::string created;                // the report's one stated time, UTC
    std::optional<std::string> labels;  // the metadata column validated; the report's own else
};

// Writes the case report of `file` for `run` (a run of the case's folder) to the request's
// target, whole or not at all, and logs it in the case's audit log with the SHA-256 of the
// bytes written. Reports each step to `control`; a cancelled export writes and logs nothing.
// Gives the SHA-256.
Result<std::string> exportCaseReport(CaseFile& file, const RunResult& run,
                                     const CaseReportRequest& request, JobControl& control);

}  // namespace pelmora
