#include "cli/folder_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <vector>

#include "app/file_reader.h"
#include "app/folder_listing.h"
#include "app/form2_commands.h"
#include "run/batch.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

FolderRun runFolder(const std::string& folder, const CliArguments& args, Output& err) {
    FolderRun run;
    if (const auto listed = listTextFiles(folder); !listed.ok()) {
        usageError(err, listed.error().message);
        return run;
    }
    // The main form's start-up step opens the folder itself, as its default folder.
    run.context = std::make_unique<ProgramContext>(std::filesystem::path(folder));
    run.context->jobs = args.jobs;
    ProgramContext& context = *run.context;
    startProgram(context);
    run.result = runBatch(context);
    // No result when the folder changed between its listing and the run.
    for (const SkippedFile& file : run.result ? run.result->leftOut : std::vector<SkippedFile>{}) {
        err.raw("pelmora-cli: left out ").name(file.name).raw(": " + file.reason + "\n");
    }
    for (const std::string& message : context.takeMessages()) {
        err.raw("pelmora-cli: ").raw(message).raw("\n");
    }
    err.flush();
    return run;
}

Result<std::string> readInput(const std::string& path) {
    const int fd = path == "-" ? 0 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return fileError(errno, displayText(path));
    }
    std::string text;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            const int error = got < 0 ? errno : 0;
            if (fd != 0) {
                ::close(fd);
            }
            if (error != 0) {
                return fileError(error, displayText(path));
            }
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

int finish(Output& out, Output& err, int status) {
    if (!out.end()) {
        err.raw("pelmora-cli: cannot write the output: " + out.errorText() + "\n");
        err.flush();
        return kExitNoOutput;
    }
    return status;
}

int writeAfterRun(const CliArguments& args, Output& out, Output& err,
                  const std::function<void(const FolderRun& run, Output& out)>& write) {
    if (args.operands.empty()) {
        return usageError(err, args.command + ": missing FOLDER (try --help)");
    }
    if (args.operands.size() > 1) {
        return usageError(
            err, args.command + ": unexpected argument '" + args.operands[1] + "' (try --help)");
    }
    FolderRun run = runFolder(args.operands.front(), args, err);
    if (!run.result) {
        return kExitUsage;
    }
    write(run, out);
    const int status = finish(out, err, run.result->leftOut.empty() ? kExitOk : kExitLeftOut);
    // The process ends next, and the system takes a run's memory back whole, faster than a free
    // for each of its many blocks: the run is kept rather than taken apart.
    static auto* const finished = new std::vector<FolderRun>();
    finished->push_back(std::move(run));
    return status;
}

}  // namespace pelmora::cli
