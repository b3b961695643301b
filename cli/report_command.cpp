#include "app/form2.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

int runReportCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err,
                         [](ProgramContext& context) { return context.form2().txtReport.text(); });
}

}  // namespace pelmora::cli
