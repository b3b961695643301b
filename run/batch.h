#pragma once
// Presses the main form's "Auto-check all files in folder" and publishes what the run did as
// one result.

#include <memory>

#include "forms/program_context.h"
#include "run/run_result.h"

namespace pelmora {

// Runs the batch run of the main form as it stands; nothing when the command is disabled
// (a run is shown and "Refresh" has not been pressed). When `cancel` is set before the run
// has ended, every store is put back as it was before the run and nothing comes back.
std::shared_ptr<const RunResult> runBatch(ProgramContext& context,
                                          const CancelToken* cancel = nullptr);

}  // namespace pelmora
