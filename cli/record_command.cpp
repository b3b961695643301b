#include "cli/stability_options.h"
#include "record/run_record.h"

namespace pelmora::cli {

int runRecordCommand(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "record", err);
    if (!options) {
        return kExitUsage;
    }
    std::optional<RunStability> stability;
    bool failed = false;
    const int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        if (asksForStability(args)) {
            stability = stabilityOf(run, *options, args, err);
            if (!stability) {
                failed = true;
                return;
            }
        }
        // As it is, without --crlf's line ends: the end line's digest is of these bytes. Timed
        // when the run started, so that without stability that digest is the run's identity.
        o.raw(recordText(recordOf(*run.result, utcTimestampOf(run.result->startedAt),
                                  stability ? &*stability : nullptr)));
    });
    return status == kExitOk && failed ? kExitUsage : statusWithStability(status, stability);
}

}  // namespace pelmora::cli
