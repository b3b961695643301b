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

// The folder `name` of the shared real corpora, for the tests labelled `corpora` (suites named
// Corpora...): in $PELMORA_CORPORA, or in shared/corpora in a folder above the project's root.
// Without it the test fails, saying where it looked, and the path is empty.
std::filesystem::path sharedCorpus(const std::string& name);

// The run of "Auto-check all files in folder" on `folder`, in a program started on it.
std::shared_ptr<const RunResult> runFolder(const std::filesystem::path& folder);

// Splits "a|b||c" at every separator, keeping empty fields.
std::vector<std::string> splitFields(const std::string& joined, char separator = '|');

}  // namespace pelmora::test
