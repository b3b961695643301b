#include "cli/folder_run.h"
#include "explanation/run_explanation.h"

namespace pelmora::cli {

int runExplainCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(runExplanation(*run.result, o.names(), true));
    });
}

}  // namespace pelmora::cli
