#include "cli/folder_run.h"
#include "evidence/run_record.h"

namespace pelmora::cli {

int runRecordCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        return recordText(recordOf(snapshotOf(context), utcTimestamp()));
    });
}

}  // namespace pelmora::cli
