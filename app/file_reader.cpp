#include "app/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>

#include "app/sha256.h"
#include "stores/large_buffer.h"

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

// A file this large is digested on a thread of its own, behind the reading, so that reading
// and digesting take the time of the longer of them rather than of both.
constexpr std::size_t kDigestBehindBytes = std::size_t{8} << 20;

// Digests the bytes [0, n) of a buffer that does not move as the reader announces each n.
class DigestBehind {
public:
    explicit DigestBehind(const char* data) : data_(data), thread_([this] { run(); }) {}
    DigestBehind(const DigestBehind&) = delete;
    DigestBehind& operator=(const DigestBehind&) = delete;
    ~DigestBehind() { stop(0); }

    void announce(std::size_t n) {
        state_.store(n, std::memory_order_release);
        state_.notify_one();
    }
    // Waits until [0, n) is digested.
    Sha256& finish(std::size_t n) {
        stop(n);
        return digest_;
    }

private:
    static constexpr std::uint64_t kDone = std::uint64_t{1} << 63;

    void stop(std::size_t n) {
        if (thread_.joinable()) {
            state_.store(kDone | n, std::memory_order_release);
            state_.notify_one();
            thread_.join();
        }
    }
    void run() {
        std::uint64_t done = 0;
        for (;;) {
            const std::uint64_t state = state_.load(std::memory_order_acquire);
            const std::uint64_t available = state & ~kDone;
            if (available > done) {
                digest_.add(std::string_view(data_ + done, available - done));
                done = available;
            } else if ((state & kDone) != 0) {
                return;
            } else {
                state_.wait(state, std::memory_order_acquire);
            }
        }
    }

    const char* data_;
    Sha256 digest_;
    std::atomic<std::uint64_t> state_{0};
    std::thread thread_;
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
    std::string message = std::string(what) + " \"" + std::string(name) + "\": " + reason + ".";
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
    // Read straight into the text, digesting each piece while it is in the cache, or behind the
    // reading for a large file. The size the system gave is a hint: the file may have grown or
    // shrunk since; what it grew by is digested and appended at the end.
    std::string bytes = largeString(static_cast<std::size_t>(info.st_size));
    std::optional<DigestBehind> behind;
    if (bytes.size() >= kDigestBehindBytes) {
        behind.emplace(bytes.data());
    }
    Sha256 inline_;
    std::size_t size = 0;
    std::string grown;
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
        size += n;
        if (!intoText) {
            grown.append(tail, n);
        } else if (behind) {
            behind->announce(size);
        } else {
            inline_.add(std::string_view(into, n));
        }
        if (size > kMaxTextFileBytes) {
            return leftOut(name, Error::Code::TooLarge, kTooLargeReason);  // it grew meanwhile
        }
    }
    Sha256& digest = behind ? behind->finish(std::min(size, bytes.size())) : inline_;
    digest.add(grown);
    bytes.resize(std::min(size, bytes.size()));
    bytes += grown;
    ReadText out;
    out.facts.nameBytes = std::string(nameBytes);
    out.facts.name = name;
    out.facts.byteSize = size;
    out.facts.sha256 = digest.hex();
    out.decoded = decodeText(std::move(bytes));
    out.facts.encoding = out.decoded.encoding;
    out.facts.characters = out.decoded.counts;
    return out;
}

}  // namespace pelmora
