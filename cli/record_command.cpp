#include "cli/folder_run.h"
#include "evidence/run_record.h"

namespace pelmora::cli {

int runRecordCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(recordText(recordOf(*run.result, utcTimestamp())));
    });
}

}  // namespace pelmora::cli
