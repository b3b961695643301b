#pragma once
// Drives on this platform: the mount points of mounted volumes.

#include <filesystem>
#include <string>
#include <vector>

namespace pelmora {

// The mount points of the volumes a user browses (pseudo file systems left out), sorted;
// "/" at least.
std::vector<std::string> listDrives();

// The mount point of the volume that holds `folder`: the longest listed mount point that
// contains it, "/" when none does.
std::string driveOf(const std::filesystem::path& folder);

// Mount points read from a mounts table in the format of /proc/self/mounts.
std::vector<std::string> parseMountTable(const std::string& table);

}  // namespace pelmora
