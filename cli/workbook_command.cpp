#include "cli/folder_run.h"
#include "cli/stability_options.h"
#include "exports/workbook.h"
#include "record/run_record.h"

namespace pelmora::cli {

int runWorkbookCommand(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "workbook", err);
    if (!options) {
        return kExitUsage;
    }
    if (args.operands.empty()) {
        return usageError(err, "workbook: missing FOLDER (try --help)");
    }
    if (args.operands.size() < 2) {
        return usageError(err, "workbook: missing OUT, the workbook to write (try --help)");
    }
    if (args.operands.size() > 2) {
        return usageError(err,
                          "workbook: unexpected argument '" + args.operands[2] + "' (try --help)");
    }
    const auto cannotWrite = [&err](const Error& error) {
        err.raw("pelmora-cli: ").raw(error.message).raw("\n");
        err.flush();
        return kExitNoOutput;
    };
    // Before the run, which may take long, so that a place that cannot be written says so now.
    Result<ReplacingFile> file = ReplacingFile::create(args.operands[1]);
    if (!file.ok()) {
        return cannotWrite(file.error());
    }
    const FolderRun run = runFolder(args.operands[0], args, err);
    if (!run.result) {
        return kExitUsage;
    }
    std::optional<RunStability> stability;
    if (asksForStability(args)) {
        stability = stabilityOf(run, *options, args, err);
        if (!stability) {
            return kExitUsage;
        }
    }
    if (const std::optional<Error> failed = writeWorkbook(
            *run.result, std::move(file.value()), utcTimestampOf(run.result->startedAt),
            args.flags.contains("--all-rows") ? allRows() : SheetLimits{}, nullptr,
            stability ? &*stability : nullptr)) {
        return cannotWrite(*failed);
    }
    return finish(
        out, err,
        statusWithStability(run.result->leftOut.empty() ? kExitOk : kExitLeftOut, stability));
}

}  // namespace pelmora::cli
