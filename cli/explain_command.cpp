#include "cli/folder_run.h"
#include "evidence/run_explanation.h"

namespace pelmora::cli {

int runExplainCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        return runExplanation(snapshotOf(context));
    });
}

}  // namespace pelmora::cli
