#include "cli/stability_options.h"
#include "evidence/run_record.h"

namespace pelmora::cli {

int runRecordCommand(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "record", err);
    if (!options) {
        return kExitUsage;
    }
    bool failed = false;
    const int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        std::optional<RunStability> stability;
        if (asksForStability(args)) {
            stability = stabilityOf(run, *options, args, err);
            if (!stability) {
                failed = true;
                return;
            }
        }
        o.text(recordText(recordOf(*run.result, utcTimestamp(), stability ? &*stability : nullptr)));
    });
    return status == kExitOk && failed ? kExitUsage : status;
}

}  // namespace pelmora::cli
