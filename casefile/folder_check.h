#pragma once
// Whether a case's folder still holds what its last run read: each file by name, size and
// SHA-256, read but not analysed, so that opening a case can say what changed before anything
// else.

#include <filesystem>

#include "casefile/case_file.h"
#include "record/run_record.h"
#include "stores/error.h"

namespace pelmora {

// The files of `folder` now against `last`: a file added, removed, changed in size or SHA-256,
// become unreadable or readable again, each named as verifyRun names it. A folder that cannot
// be listed is one difference naming it.
Verification folderAgainstRun(const RunRecord& last, const std::filesystem::path& folder);

// Logs the opening of `opened` with what changed in `folder` since its last run, and returns
// those changes, one line per file; none before its first run.
Result<std::vector<std::string>> logOpening(CaseFile& opened, const std::filesystem::path& folder);

}  // namespace pelmora
