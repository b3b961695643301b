#include <ostream>

#include "app/file_reader.h"
#include "cli/folder_run.h"
#include "evidence/run_record.h"

namespace pelmora::cli {

int runVerifyCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    if (args.operands.size() != 2) {
        return usageError(
            err, args.operands.size() < 2
                     ? "verify: needs RECORD and FOLDER (try --help)"
                     : "verify: unexpected argument '" + args.operands[2] + "' (try --help)");
    }
    const std::string& recordPath = args.operands[0];
    const Result<DecodedText> file = readTextFile(recordPath, recordPath);
    if (!file.ok()) {
        return usageError(err, file.problem().message);
    }
    const Result<RunRecord> recorded = parseRecord(file.value().text);
    if (!recorded.ok()) {
        return usageError(err, recordPath + ": " + recorded.problem().message);
    }
    CliArguments folderArgs = args;
    folderArgs.operands = {args.operands[1]};
    const auto context = runFolder(folderArgs, err);
    if (!context) {
        return kExitUsage;
    }
    const RunRecord now = recordOf(snapshotOf(*context), utcTimestamp());
    const Verification verification = verifyRun(recorded.value(), now);
    writeText(out, verificationText(verification, now.files.size()), args.crlf);
    return verification.unchanged() ? kExitOk : kExitDiffers;
}

}  // namespace pelmora::cli
