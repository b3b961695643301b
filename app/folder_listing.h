#pragma once
// The *.txt files of a folder as the main form's file lists show them, and what else the
// folder holds.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "stores/error.h"
#include "stores/navigation.h"

namespace pelmora {

struct ListedFile {
    std::string name;       // its text: the bytes where valid UTF-8, else read as Windows-1252
    std::string nameBytes;  // the name as the file system spells it
};

struct FolderListing {
    FolderIdentity identity;
    // Regular files, and links to them, whose names end in ".txt" in any case and do not
    // start with "."; ordered by the folded name, then by code point, ties by the exact bytes.
    std::vector<ListedFile> files;
    // Every other file, counted by kind; folders and links to folders are not counted.
    UnlistedFiles unlisted;
    // Entries named as listed files are but leading to no regular file ("Dangling link",
    // "Link loops", "Not a regular file"), in the same order.
    std::vector<SkippedFile> leftOut;
};

// A folder that is missing, not a folder or not readable is an error.
Result<FolderListing> listTextFiles(const std::filesystem::path& folder);

// Why a run may not go through `folder` as it was listed with `listed`: it is gone or moved,
// another folder took its path, it cannot be read, or it was never listed. The message
// names the folder.
[[nodiscard]] std::optional<Error> folderChangedSinceListed(
    const std::filesystem::path& folder, const std::optional<FolderIdentity>& listed);

// The error of a folder that cannot be opened, naming it.
Error folderError(const std::filesystem::path& folder, int error);

}  // namespace pelmora
