#pragma once
// The main form's navigation stores: a drive view, a folder view and a file list.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stores/list_store.h"

namespace pelmora {

// The selected drive; on this platform a mounted volume, named by its mount point.
struct DriveView {
    std::string drive;
};

// The selected folder (a full path).
struct FolderView {
    std::filesystem::path folder;
};

// What tells a folder from one that later takes its path: its device and inode.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};

// A file left out, and why.
struct SkippedFile {
    std::string nameBytes;
    std::string name;
    std::string reason;  // the system's reason, such as "Permission denied"
};

// The files of a listed folder that its list does not show, by kind; folders are no files.
struct UnlistedFiles {
    // How many of each extension, lower-cased with its dot (".docx"), "" for a name without
    // one, in the order of the extensions' bytes.
    std::vector<std::pair<std::string, int>> byExtension;
    int hidden = 0;  // names beginning with ".", whatever their extension

    int count() const {
        int n = hidden;
        for (const auto& [extension, files] : byExtension) {
            n += files;
        }
        return n;
    }
    bool operator==(const UnlistedFiles&) const = default;
};

// The names (without folder) of the files of one folder that match `pattern`, in list
// order, with at most one selected entry.
struct FileList {
    std::string pattern = "*.txt";
    std::filesystem::path path;
    ListStore entries;
    // The names as the file system spells them, parallel to `entries` when filled; they
    // differ from the entries only where a name is not valid UTF-8.
    std::vector<std::string> diskNames;
    // Of the folder when it was listed; none when it could not be.
    std::optional<FolderIdentity> identity;
    UnlistedFiles unlisted;
    // Entries that match the pattern but lead to no regular file: a dangling link, a link
    // that loops, a device, pipe or socket.
    std::vector<SkippedFile> leftOut;
    bool enabled = true;

    int count() const { return entries.count(); }
    int selected() const { return entries.selected(); }
    // The selected file name, or "" when nothing is selected.
    std::string selectedName() const {
        return selected() < 0 ? std::string() : entries.at(selected());
    }
    std::string diskName(int i) const {
        return static_cast<std::size_t>(i) < diskNames.size() ? diskNames[i] : entries.at(i);
    }
};

}  // namespace pelmora
