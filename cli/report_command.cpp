#include "cli/folder_run.h"
#include "evidence/run_texts.h"

namespace pelmora::cli {

int runReportCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        writeReport(*run.result, o.names(), [&o](std::string_view piece) { o.text(piece); });
    });
}

}  // namespace pelmora::cli
