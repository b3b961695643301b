#include "cli/folder_run.h"

#include <ostream>

#include "app/folder_listing.h"
#include "app/form2.h"

namespace pelmora::cli {

std::unique_ptr<ProgramContext> runFolder(const CliArguments& args, std::ostream& err) {
    if (args.operands.empty()) {
        usageError(err, args.command + ": missing FOLDER (try --help)");
        return nullptr;
    }
    if (args.operands.size() > 1) {
        usageError(err,
                   args.command + ": unexpected argument '" + args.operands[1] + "' (try --help)");
        return nullptr;
    }
    const std::filesystem::path folder = args.operands.front();
    if (const auto listed = listTextFiles(folder); !listed.ok()) {
        usageError(err, listed.problem().message);
        return nullptr;
    }
    auto context = std::make_unique<ProgramContext>();
    Form2& form2 = context->form2();
    form2.Dir1.folder = std::filesystem::absolute(folder).lexically_normal();
    form2.Dir1_Change();
    form2.cmdAuto();
    for (const SkippedFile& file : form2.skippedFiles) {
        err << "pelmora-cli: left out " << file.name << ": " << file.reason << "\n";
    }
    for (const std::string& message : context->takeMessages()) {
        err << "pelmora-cli: " << message << "\n";
    }
    return context;
}

int printAfterRun(const CliArguments& args, std::ostream& out, std::ostream& err,
                  std::string (*output)(ProgramContext& context)) {
    const auto context = runFolder(args, err);
    if (!context) {
        return kExitUsage;
    }
    writeText(out, output(*context), args.crlf);
    return kExitOk;
}

}  // namespace pelmora::cli
