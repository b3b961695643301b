#pragma once
// The resampling options of `stability` and `record`, and the resampling itself for a command.

#include <optional>
#include <string>

#include "cli/folder_run.h"
#include "stability/stability.h"

namespace pelmora::cli {

// --resamples B and --block WORDS, over the defaults; nothing, with a usage line on `err`
// naming `command`, when a value is not a whole number in range.
std::optional<StabilityOptions> stabilityOptionsOf(const CliArguments& args,
                                                   const std::string& command, Output& err);

// Whether --resamples or --block was given.
bool asksForStability(const CliArguments& args);

// The run's stability with `options` and the command's jobs; on failure a line on `err`, and
// a line for each text that could not be resampled.
std::optional<RunStability> stabilityOf(const FolderRun& run, StabilityOptions options,
                                        const CliArguments& args, Output& err);

// `status`, or kExitLeftOut instead of kExitOk when a text could not be resampled.
int statusWithStability(int status, const std::optional<RunStability>& stability);

}  // namespace pelmora::cli
