#include "cli/folder_run.h"
#include "exports/run_texts.h"

namespace pelmora::cli {

int runReportCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        writeProducedText(o, [&](const std::function<void(std::string_view)>& visit) {
            writeReport(*run.result, o.names(), visit);
        });
    });
}

}  // namespace pelmora::cli
