#include "cli/folder_run.h"
#include "explanation/input_quality.h"
#include "explanation/run_summary.h"

namespace pelmora::cli {

int runQualityCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        const std::vector<FileQuality>& files = run.result->quality;
        const std::string unlisted = unlistedText(run.result->unlisted);
        o.text(delimitedTable(qualityTable(files, o.names()), '\t', "\n") + "\n" +
               warningsCountText(warningCount(files)) + "\n");
        if (!unlisted.empty()) {
            o.text(shownName(unlisted, o.names()) + "\n");  // extensions are names' bytes
        }
    });
}

}  // namespace pelmora::cli
