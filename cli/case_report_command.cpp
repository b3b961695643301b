// pelmora-cli case report CASE OUT: the case report rendered as its extension says.

#include "app/sha256.h"
#include "cli/case_view.h"
#include "record/run_record.h"
#include "render/report_writer.h"
#include "report/case_report.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

int runCaseReport(const CliArguments& args, Output& out, Output& err) {
    const std::filesystem::path target(args.operands[2]);
    if (!reportFormatOf(target)) {
        return usageError(err, "case report: OUT must end in .html, .pdf or .odt, not '" +
                                   displayText(target.native()) + "' (try --help)");
    }
    Result<OpenedCase> opened = openCase(args.operands[1]);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    CaseFile& file = opened.value().file;
    const FolderRun run = runFolder(opened.value().folder.native(), args, err);
    if (!run.result) {
        return kExitUsage;
    }
    Result<CaseReportInput> input = caseReportInputOf(file, *run.result, utcTimestamp());
    if (!input.ok()) {
        return caseError(err, input.error());
    }
    if (const auto label = args.options.find("--label"); label != args.options.end()) {
        input.value().labelColumn = label->second;
    }
    const ReportDocument document = caseReport(input.value());
    const RenderingApplication application;
    if (const std::optional<Error> failed = writeRenderedReport(document, target)) {
        err.raw("pelmora-cli: " + failed->message + "\n");
        err.flush();
        return kExitNoOutput;
    }
    const Result<std::string> written = readInput(target.native());
    if (!written.ok()) {
        return caseError(err, written.error());
    }
    if (auto failed = file.logAction(AuditAction::ExportWritten,
                                     "case report " + displayText(target.native()),
                                     sha256Hex(written.value()))) {
        return caseError(err, *failed);
    }
    out.raw("Case report written to " + displayText(target.native()) + "\n");
    return finish(out, err, run.result->leftOut.empty() ? kExitOk : kExitLeftOut);
}

}  // namespace pelmora::cli
