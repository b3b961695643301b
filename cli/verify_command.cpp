#include "app/file_reader.h"
#include "cli/stability_options.h"
#include "record/run_record.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

int runVerifyCommand(const CliArguments& args, Output& out, Output& err) {
    if (args.operands.size() != 2) {
        return usageError(
            err, args.operands.size() < 2
                     ? "verify: needs RECORD and FOLDER (try --help)"
                     : "verify: unexpected argument '" + args.operands[2] + "' (try --help)");
    }
    const std::string& recordPath = args.operands[0];
    const Result<std::string> file = readInput(recordPath);
    if (!file.ok()) {
        return usageError(err, file.error().message);
    }
    bool withoutEndLine = false;
    const Result<RunRecord> recorded = parseRecord(file.value(), &withoutEndLine);
    if (!recorded.ok()) {
        return usageError(err, displayText(recordPath) + ": " + recorded.error().message);
    }
    const FolderRun run = runFolder(args.operands[1], args, err);
    if (!run.result) {
        return kExitUsage;
    }
    // A record that holds stability is checked with its own resampling.
    std::optional<RunStability> stability;
    if (recorded.value().resamples > 0) {
        StabilityOptions options;
        options.resamples = recorded.value().resamples;
        options.blockWords = recorded.value().blockWords;
        stability = stabilityOf(run, options, args, err);
        if (!stability) {
            return kExitUsage;
        }
    }
    const RunRecord now = recordOf(*run.result, utcTimestamp(), stability ? &*stability : nullptr);
    Verification verification = verifyRun(recorded.value(), now, out.names());
    verification.recordWithoutEndLine = withoutEndLine;
    out.text(verificationText(verification, now.files.size()));
    const int status = !verification.unchanged()      ? kExitDiffers
                       : !run.result->leftOut.empty() ? kExitLeftOut
                                                      : kExitOk;
    return finish(out, err, status);
}

}  // namespace pelmora::cli
