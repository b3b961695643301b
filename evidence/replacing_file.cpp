#include "evidence/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>

namespace pelmora {

Error saveError(const std::filesystem::path& path, const std::string& reason) {
    return {Error::Code::WriteFailed, "Could not save \"" + path.string() + "\": " + reason + ".",
            reason};
}

Result<ReplacingFile> ReplacingFile::create(const std::filesystem::path& target) {
    if (!target.has_filename()) {
        return saveError(target, std::strerror(EISDIR));
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored)) {
        return saveError(target, std::strerror(EISDIR));
    }
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(random()));
        // Hidden, so that a file left by a killed program is not taken for an export.
        std::string hidden(1, '.');
        hidden.append(target.filename().string()).append(suffix);
        const std::filesystem::path temporary = folder / hidden;
        // 0666 as any new file: the umask decides, as for the files the program saves otherwise.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return ReplacingFile(target, temporary);
        }
        if (errno != EEXIST) {
            return saveError(target, std::strerror(errno));
        }
    }
    return saveError(target, std::strerror(EEXIST));
}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      pending_(std::exchange(other.pending_, false)) {}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
    if (this != &other) {
        discard();
        target_ = std::move(other.target_);
        temporary_ = std::move(other.temporary_);
        pending_ = std::exchange(other.pending_, false);
    }
    return *this;
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::discard() {
    if (std::exchange(pending_, false)) {
        ::unlink(temporary_.c_str());
    }
}

std::optional<Error> ReplacingFile::commit() {
    if (!pending_) {
        return saveError(target_, "nothing was written");
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        discard();
        return saveError(target_, reason);
    }
    pending_ = false;
    return std::nullopt;
}

}  // namespace pelmora
