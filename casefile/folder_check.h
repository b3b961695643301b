#pragma once
// Whether a case's folder still holds what its last run read: each file by name, size and
// SHA-256, read but not analysed, so that opening a case can say what changed before anything
// else.

#include <filesystem>

#include "record/run_record.h"

namespace pelmora {

// The files of `folder` now against `last`: a file added, removed, changed in size or SHA-256,
// become unreadable or readable again, each named as verifyRun names it. A folder that cannot
// be listed is one difference naming it.
Verification folderAgainstRun(const RunRecord& last, const std::filesystem::path& folder);

}  // namespace pelmora
