#pragma once
// The one way the programs write a file the user asked for. It is written under a hidden
// temporary name in the folder of the file it replaces and renamed onto it once complete, so
// that a failed or interrupted write never leaves half a file where the user looks for one.
// Only a regular file is replaced: a device, a named pipe, a socket or a folder at the target
// is refused. A symbolic link is followed: the file it leads to is replaced and the link stays.
// The temporary file goes on every failure, when dropped without a commit, and when the
// program is ended by SIGINT or SIGTERM.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/job.h"
#include "stores/error.h"

namespace pelmora {

class ReplacingFile {
public:
    // Finds the file to replace and creates the temporary file, empty, beside it: fails at
    // once when the target is not a regular file or its folder cannot be written.
    static Result<ReplacingFile> create(const std::filesystem::path& target);

    ReplacingFile(ReplacingFile&& other) noexcept;
    ReplacingFile& operator=(ReplacingFile&& other) noexcept;
    ~ReplacingFile();

    // The path as asked, which messages name.
    const std::filesystem::path& target() const { return target_; }
    // The file replaced: the target, or where its symbolic links lead.
    const std::filesystem::path& destination() const { return destination_; }
    // For a library that opens the file itself by its name.
    const std::filesystem::path& temporary() const { return temporary_; }

    // Appends `bytes`. After the first failure nothing more is written, and commit() reports it.
    void write(std::string_view bytes);

    // Makes the temporary file the destination, after checking again that the destination
    // is still a regular file or absent. A replaced file keeps its permissions; a new one
    // gets 0666 less the umask.
    [[nodiscard]] std::optional<Error> commit();

private:
    ReplacingFile(std::filesystem::path target, std::filesystem::path destination,
                  std::filesystem::path temporary, int fd, int mode, int slot);
    bool flush();
    void discard();

    std::filesystem::path target_, destination_, temporary_;
    int fd_ = -1;
    int mode_ = -1;         // the permissions of the file replaced; -1 for a new file
    int slot_ = -1;         // in the list of files removed on SIGINT and SIGTERM; -1 for none
    bool pending_ = false;  // the temporary file is there and not yet renamed
    std::string buffer_;
    std::string failure_;  // the first reason a write failed
};

// Calls its argument with every piece of a file's content, in order.
using FileContent = std::function<void(const std::function<void(std::string_view)>& piece)>;

// Writes what `content` gives to `target`, whole or not at all: when `cancel` is set by the
// end, nothing more is written, the target stays as it was and the Cancelled error comes back.
[[nodiscard]] std::optional<Error> writeWholeFile(const std::filesystem::path& target,
                                                  const FileContent& content,
                                                  const CancelToken* cancel = nullptr);

// "Could not save "PATH": REASON." as every failed save says it.
Error saveError(const std::filesystem::path& path, const std::string& reason);

}  // namespace pelmora
