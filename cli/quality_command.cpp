#include "cli/folder_run.h"
#include "evidence/input_quality.h"

namespace pelmora::cli {

int runQualityCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        const std::vector<FileQuality> files = assessQuality(*run.result);
        o.text(delimitedTable(qualityTable(files, o.names()), '\t', "\n") + "\n" +
               warningsCountText(warningCount(files)) + "\n");
    });
}

}  // namespace pelmora::cli
