#include "cli/folder_run.h"
#include "exports/run_texts.h"

namespace pelmora::cli {

int runTypesCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(typesShown(*run.result, o.names()));
    });
}

}  // namespace pelmora::cli
