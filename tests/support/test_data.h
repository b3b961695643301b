#pragma once
// Where the shared text corpora lie, and the reading of tables written as bar-joined texts.

#include <filesystem>
#include <string>
#include <vector>

namespace pelmora::test {

// The shared corpora folder beside the project's root or beside the folder of its worktrees;
// empty when there is none.
std::filesystem::path sharedCorpora();

// Splits "a|b||c" at every separator, keeping empty fields.
std::vector<std::string> splitFields(const std::string& joined, char separator = '|');

}  // namespace pelmora::test
