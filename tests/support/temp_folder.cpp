#include "tests/support/temp_folder.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

namespace pelmora::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() : TempFolder(fs::temp_directory_path()) {}

TempFolder::TempFolder(const fs::path& base) {
    static int next = 0;
    path_ = base / ("pelmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(next++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

fs::path TempFolder::write(const std::string& name, const std::string& bytes) const {
    const fs::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

}  // namespace pelmora::test
