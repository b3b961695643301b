#pragma once
// A fresh folder under the system's temporary folder, or under `base`, for one test, removed
// afterwards.

#include <filesystem>
#include <string>

namespace pelmora::test {

class TempFolder {
public:
    TempFolder();
    explicit TempFolder(const std::filesystem::path& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace pelmora::test
