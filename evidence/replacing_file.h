#pragma once
// A file written under a temporary name beside its target and renamed onto the target once
// complete, so that a failed or interrupted write never leaves half a file where the user
// looks for one. Dropped without a commit, the temporary file is removed.

#include <filesystem>
#include <optional>

#include "stores/error.h"

namespace pelmora {

class ReplacingFile {
public:
    // Creates the temporary file, empty, in the target's folder: fails at once when that
    // folder cannot be written or the target is a folder.
    static Result<ReplacingFile> create(const std::filesystem::path& target);

    ReplacingFile(ReplacingFile&& other) noexcept;
    ReplacingFile& operator=(ReplacingFile&& other) noexcept;
    ~ReplacingFile();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporary() const { return temporary_; }

    // Renames the temporary file onto the target.
    [[nodiscard]] std::optional<Error> commit();

private:
    ReplacingFile(std::filesystem::path target, std::filesystem::path temporary)
        : target_(std::move(target)), temporary_(std::move(temporary)), pending_(true) {}
    void discard();

    std::filesystem::path target_, temporary_;
    bool pending_ = false;
};

// "Could not save "PATH": REASON." as every failed save says it.
Error saveError(const std::filesystem::path& path, const std::string& reason);

}  // namespace pelmora
