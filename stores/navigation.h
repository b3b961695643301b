#pragma once
// The main form's navigation stores: a drive view, a folder view and a file list.

#include <filesystem>
#include <string>
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

// The names (without folder) of the files of one folder that match `pattern`, in list
// order, with at most one selected entry.
struct FileList {
    std::string pattern = "*.txt";
    std::filesystem::path path;
    ListStore entries;
    // The names as the file system spells them, parallel to `entries` when filled; they
    // differ from the entries only where a name is not valid UTF-8.
    std::vector<std::string> diskNames;
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
