#include "cli/folder_run.h"
#include "evidence/input_quality.h"

namespace pelmora::cli {

int runQualityCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        const std::vector<FileQuality> files = assessQuality(snapshotOf(context));
        const int n = warningCount(files);
        return delimitedTable(qualityTable(files), '\t', "\n") + "\n" +
               (n == 0 ? std::string("No input warnings")
                       : std::to_string(n) + (n == 1 ? " warning" : " warnings")) +
               "\n";
    });
}

}  // namespace pelmora::cli
