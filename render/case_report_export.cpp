#include "render/case_report_export.h"

#include "files/replacing_file.h"
#include "render/report_writer.h"
#include "report/case_report.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

constexpr int kSteps = 3;

}  // namespace

Result<std::string> exportCaseReport(CaseFile& file, const RunResult& run,
                                     const CaseReportRequest& request, JobControl& control) {
    const std::string shown = displayText(request.target.native());
    if (!reportFormatOf(request.target)) {
        return saveError(request.target, "a report is written as .html, .pdf or .odt");
    }
    control.report(0, kSteps, "Reading the case");
    Result<CaseReportInput> input = caseReportInputOf(file, run, request.created);
    if (!input.ok()) {
        return input.error();
    }
    if (request.labels) {
        input.value().labelColumn = *request.labels;
    }
    if (control.cancelled()) {
        return cancelledError("The case report");
    }
    control.report(1, kSteps, "Building the report");
    const ReportDocument document = caseReport(input.value());
    if (control.cancelled()) {
        return cancelledError("The case report");
    }
    control.report(2, kSteps, "Laying out and writing " + shown);
    Result<std::string> digest = writeRenderedReport(document, request.target, &control.token());
    if (!digest.ok()) {
        return digest.error();
    }
    // Once written, the report is logged whatever Cancel says: a file on disk the log does not
    // name would be worse than a late Cancel.
    if (std::optional<Error> failed =
            file.logAction(AuditAction::ExportWritten, "case report " + shown, digest.value())) {
        return *failed;
    }
    control.report(kSteps, kSteps, "Written " + shown);
    return digest;
}

}  // namespace pelmora
