#pragma once
// The *.txt files of a folder as the main form's file lists show them.

#include <filesystem>
#include <string>
#include <vector>

#include "stores/input_problem.h"

namespace pelmora {

struct ListedFile {
    std::string name;      // shown and reported; UTF-8 (other bytes read as Windows-1252)
    std::string diskName;  // the name as the file system spells it
};

// Regular files, and links to them, whose names end in ".txt" in any case and do not start
// with "."; ordered by the ASCII-lower-cased name, ties by the exact name. A folder that is
// missing, not a folder or not readable is a problem.
Result<std::vector<ListedFile>> listTextFiles(const std::filesystem::path& folder);

}  // namespace pelmora
