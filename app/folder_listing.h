#pragma once
// The *.txt files of a folder as the main form's file lists show them.

#include <filesystem>
#include <string>
#include <vector>

#include "stores/error.h"

namespace pelmora {

struct ListedFile {
    std::string name;       // its text: the bytes where valid UTF-8, else read as Windows-1252
    std::string nameBytes;  // the name as the file system spells it
};

// Regular files, and links to them, whose names end in ".txt" in any case and do not start
// with "."; ordered by the folded name, then by code point, ties by the exact bytes. A folder
// that is missing, not a folder or not readable is an error.
Result<std::vector<ListedFile>> listTextFiles(const std::filesystem::path& folder);

// The error of a folder that cannot be opened, naming it.
Error folderError(const std::filesystem::path& folder, int error);

}  // namespace pelmora
