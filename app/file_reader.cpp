#include "app/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "app/sha256.h"

namespace pelmora {

namespace {

// Closes the descriptor on every way out.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

Error leftOut(std::string_view name, Error::Code code, const std::string& reason) {
    const char* head = code == Error::Code::TooLarge ? "Left out \"" : "Could not read \"";
    return Error{code, head + std::string(name) + "\": " + reason + ".", reason};
}

}  // namespace

Error fileError(int error, std::string_view name, std::string_view what) {
    Error::Code code = Error::Code::ReadFailed;
    if (error == ENOENT || error == ENOTDIR) {
        code = Error::Code::NotFound;
    } else if (error == EACCES || error == EPERM) {
        code = Error::Code::PermissionDenied;
    } else if (error == ENAMETOOLONG) {
        code = Error::Code::NameTooLong;
    }
    std::string reason = std::generic_category().message(error);
    std::string message =
        std::string(what) + " \"" + std::string(name) + "\": " + reason + ".";
    return Error{code, std::move(message), std::move(reason)};
}

Result<ReadText> readTextFile(const std::filesystem::path& path, std::string_view nameBytes) {
    const std::string name = displayText(nameBytes);
    // Non-blocking, so that a pipe put in the file's place cannot hang the run.
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) {
        return fileError(errno, name);
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        return fileError(errno, name);
    }
    if (S_ISDIR(info.st_mode)) {
        return fileError(EISDIR, name);
    }
    if (!S_ISREG(info.st_mode)) {
        return leftOut(name, Error::Code::ReadFailed, "Not a regular file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxTextFileBytes) {
        return leftOut(name, Error::Code::TooLarge, kTooLargeReason);
    }
    // Read straight into the text, digesting each piece while it is in the cache. The size the
    // system gave is a hint: the file may have grown or shrunk since.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    Sha256 digest;
    std::size_t size = 0;
    constexpr std::size_t kPiece = 1 << 20;
    char tail[4096];
    for (;;) {
        const bool intoText = size < bytes.size();
        char* into = intoText ? bytes.data() + size : tail;
        const std::size_t want = intoText ? std::min(bytes.size() - size, kPiece) : sizeof tail;
        const ssize_t got = ::read(file.fd, into, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fileError(errno, name);
        }
        if (got == 0) {
            break;
        }
        const auto n = static_cast<std::size_t>(got);
        digest.add(std::string_view(into, n));
        if (!intoText) {
            bytes.append(tail, n);
        }
        size += n;
        if (size > kMaxTextFileBytes) {
            return leftOut(name, Error::Code::TooLarge, kTooLargeReason);  // it grew meanwhile
        }
    }
    bytes.resize(size);
    ReadText out;
    out.facts.nameBytes = std::string(nameBytes);
    out.facts.name = name;
    out.facts.byteSize = size;
    out.facts.sha256 = digest.hex();
    out.decoded = decodeText(std::move(bytes));
    out.facts.encoding = out.decoded.encoding;
    return out;
}

}  // namespace pelmora
