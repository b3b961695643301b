#pragma once
// The batch run over the folder named on the command line, as the main form does it.

#include <iosfwd>
#include <memory>
#include <string>

#include "app/program_context.h"
#include "cli/cli_command.h"

namespace pelmora::cli {

// Runs cmdAuto on the one FOLDER operand from a freshly loaded main form. On bad operands
// or a folder that cannot be opened it writes one line to `err` and returns nothing; files
// left out of the run are named on `err`, one line each.
std::unique_ptr<ProgramContext> runFolder(const CliArguments& args, std::ostream& err);

// Runs the folder as runFolder does and writes the text that `output` takes from the
// finished program. Returns the exit status.
int printAfterRun(const CliArguments& args, std::ostream& out, std::ostream& err,
                  std::string (*output)(ProgramContext& context));

}  // namespace pelmora::cli
