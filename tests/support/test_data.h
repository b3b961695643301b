#pragma once
// Where the text corpora lie, the batch run of a folder, and the reading of tables written as
// bar-joined texts.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "run/run_result.h"

namespace pelmora::test {

// The repository's sample corpus and its corpus of texts on every threshold.
inline const std::filesystem::path kSamples = std::filesystem::path(PELMORA_SOURCE_DIR) / "samples";
inline const std::filesystem::path kBoundary =
    std::filesystem::path(PELMORA_SOURCE_DIR) / "tests/data/boundary";

// The shared corpora folder beside the project's root or beside the folder of its worktrees;
// empty when there is none.
std::filesystem::path sharedCorpora();

// The run of "Auto-check all files in folder" on `folder`, in a program started on it.
std::shared_ptr<const RunResult> runFolder(const std::filesystem::path& folder);

// Splits "a|b||c" at every separator, keeping empty fields.
std::vector<std::string> splitFields(const std::string& joined, char separator = '|');

}  // namespace pelmora::test
