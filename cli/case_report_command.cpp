// pelmora-cli case report CASE OUT: the case report rendered as its extension says.

#include "cli/case_view.h"
#include "record/run_record.h"
#include "render/case_report_export.h"
#include "render/report_writer.h"
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
    CaseReportRequest request{target, utcTimestamp(), std::nullopt};
    if (const auto label = args.options.find("--label"); label != args.options.end()) {
        request.labels = label->second;
    }
    const RenderingApplication application;
    JobControl control;
    const Result<std::string> written = exportCaseReport(file, *run.result, request, control);
    if (!written.ok()) {
        return caseError(err, written.error());
    }
    out.raw("Case report written to " + displayText(target.native()) + "\n");
    return finish(out, err, run.result->leftOut.empty() ? kExitOk : kExitLeftOut);
}

}  // namespace pelmora::cli
