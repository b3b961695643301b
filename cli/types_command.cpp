#include "analysis/form1.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

int runTypesCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err,
                         [](ProgramContext& context) { return context.form1().txtTypes.text(); });
}

}  // namespace pelmora::cli
