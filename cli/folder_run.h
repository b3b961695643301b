#pragma once
// The batch run over the folder named on the command line, as the main form does it.

#include <functional>
#include <memory>
#include <string>

#include "cli/cli_command.h"
#include "forms/program_context.h"
#include "run/run_result.h"
#include "stores/error.h"

namespace pelmora::cli {

struct FolderRun {
    std::unique_ptr<ProgramContext> context;
    std::shared_ptr<const RunResult> result;
};

// Runs cmdAuto on `folder` from a freshly loaded main form. When the folder cannot be opened,
// or changes between its listing and the run, it writes one line to `err` and returns no
// result; files left out of the run are named on `err`, one line each.
FolderRun runFolder(const std::string& folder, const CliArguments& args, Output& err);

// Takes the one FOLDER operand, runs it as runFolder does, and lets `write` write the output.
// Returns the exit status: 2 for bad operands or a folder that cannot be opened, 4 when the
// output could not be written, 3 when files were left out, else 0.
int writeAfterRun(const CliArguments& args, Output& out, Output& err,
                  const std::function<void(const FolderRun& run, Output& out)>& write);

// The whole file at `path`, "-" for standard input: a pipe or a terminal as well as a file.
Result<std::string> readInput(const std::string& path);

// The status once the output is written: 4 with a message when it failed, else `status`.
int finish(Output& out, Output& err, int status);

}  // namespace pelmora::cli
