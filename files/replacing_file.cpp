#include "files/replacing_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <utility>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// Temporary files to remove when SIGINT or SIGTERM ends the program. The handler only reads
// them, with atomics and system calls that are safe in a signal handler.
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<unsigned>::is_always_lock_free);

struct PendingFile {
    std::atomic<int> state{0};  // kFree, kChanging or kHeld
    // Counts every change, so that the handler can tell a path copied while the slot was
    // taken for another file.
    std::atomic<unsigned> generation{0};
    char path[PATH_MAX] = {};
};
constexpr int kFree = 0, kChanging = 1, kHeld = 2;
// More writes at once than any window or command makes; a file beyond them is still
// written whole, only not removed when a signal ends the program.
PendingFile pendingFiles[64];

constexpr int kEndingSignals[] = {SIGINT, SIGTERM};
struct sigaction previousActions[std::size(kEndingSignals)];

extern "C" void removePendingFiles(int signal) {
    const int savedErrno = errno;
    for (PendingFile& file : pendingFiles) {
        if (file.state.load() != kHeld) {
            continue;
        }
        const unsigned generation = file.generation.load();
        char path[PATH_MAX];
        std::memcpy(path, file.path, sizeof path);
        path[PATH_MAX - 1] = '\0';
        if (file.state.load() == kHeld && file.generation.load() == generation) {
            ::unlink(path);
        }
    }
    // Then the signal does what it did before: as a rule, it ends the program.
    for (std::size_t k = 0; k < std::size(kEndingSignals); ++k) {
        if (kEndingSignals[k] == signal) {
            ::sigaction(signal, &previousActions[k], nullptr);
        }
    }
    ::raise(signal);
    errno = savedErrno;
}

void installSignalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t k = 0; k < std::size(kEndingSignals); ++k) {
            struct sigaction current {};
            ::sigaction(kEndingSignals[k], nullptr, &current);
            if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) {
                continue;  // the signal does not end this program: nothing to clean up
            }
            previousActions[k] = current;
            struct sigaction removal {};
            removal.sa_handler = removePendingFiles;
            sigemptyset(&removal.sa_mask);
            for (const int other : kEndingSignals) {
                sigaddset(&removal.sa_mask, other);
            }
            removal.sa_flags = SA_RESTART;
            ::sigaction(kEndingSignals[k], &removal, nullptr);
        }
    });
}

// The slot now holding `path`, or -1 when none is free or the path is too long to hold.
int rememberPending(const fs::path& path) {
    std::error_code ignored;
    const std::string absolute = fs::absolute(path, ignored).native();
    if (absolute.empty() || absolute.size() >= PATH_MAX) {
        return -1;
    }
    for (int k = 0; k < static_cast<int>(std::size(pendingFiles)); ++k) {
        PendingFile& file = pendingFiles[k];
        int expected = kFree;
        if (file.state.compare_exchange_strong(expected, kChanging)) {
            std::memcpy(file.path, absolute.c_str(), absolute.size() + 1);
            file.generation.fetch_add(1);
            file.state.store(kHeld);
            return k;
        }
    }
    return -1;
}

void forgetPending(int slot) {
    if (slot >= 0) {
        PendingFile& file = pendingFiles[slot];
        file.state.store(kChanging);
        file.generation.fetch_add(1);
        file.state.store(kFree);
    }
}

const char* kindOf(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFDIR:
            return "a folder";
        case S_IFIFO:
            return "a named pipe (FIFO)";
        case S_IFSOCK:
            return "a socket";
        case S_IFCHR:
            return "a character device";
        case S_IFBLK:
            return "a block device";
        default:
            return "something other than a file";
    }
}

// The most symbolic links followed, as the system follows them.
constexpr int kMostLinks = 40;

struct Destination {
    fs::path file;
    int mode = -1;  // the permissions of the regular file there; -1 when there is none
};

// The file a write to `target` replaces: the target, or the end of its chain of symbolic
// links; refused when that exists and is not a regular file.
Result<Destination> destinationOf(const fs::path& target) {
    fs::path at = target;
    for (int links = 0;; ++links) {
        if (!at.has_filename()) {
            return saveError(target, std::strerror(EISDIR));
        }
        struct stat status {};
        if (::lstat(at.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return Destination{at};  // made new; a missing folder fails when it is made
            }
            return saveError(target, std::strerror(errno));
        }
        if (S_ISREG(status.st_mode)) {
            return Destination{at, static_cast<int>(status.st_mode & 0777)};
        }
        if (!S_ISLNK(status.st_mode)) {
            const std::string kind = kindOf(status.st_mode);
            return saveError(target, at == target ? "it is " + kind + ", not a regular file"
                                                  : "it leads to \"" + at.string() + "\", " + kind +
                                                        ", not a regular file");
        }
        if (links == kMostLinks) {
            return saveError(target, std::strerror(ELOOP));
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(at, error);
        if (error) {
            return saveError(target, error.message());
        }
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
}

}  // namespace

Error saveError(const fs::path& path, const std::string& reason) {
    return {Error::Code::WriteFailed, "Could not save \"" + path.string() + "\": " + reason + ".",
            reason};
}

Result<ReplacingFile> ReplacingFile::create(const fs::path& target) {
    Result<Destination> destination = destinationOf(target);
    if (!destination.ok()) {
        return destination.error();
    }
    installSignalHandlers();
    const fs::path& file = destination.value().file;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::random_device seed;
    std::mt19937 random(seed());
    // The temporary file is in the list of files a signal removes as soon as it is there.
    sigset_t ending, previous;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals) {
        sigaddset(&ending, signal);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(random()));
        // Hidden, so that a file left by a program killed outright is not taken for an export.
        std::string hidden(1, '.');
        hidden.append(file.filename().string()).append(suffix);
        const fs::path temporary = folder / hidden;
        ::pthread_sigmask(SIG_BLOCK, &ending, &previous);
        // 0666 as any new file: the umask decides, as for the files the program saves otherwise.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int openError = errno;
        const int slot = fd >= 0 ? rememberPending(temporary) : -1;
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        if (fd >= 0) {
            return ReplacingFile(target, file, temporary, fd, destination.value().mode, slot);
        }
        if (openError != EEXIST) {
            return saveError(target, std::strerror(openError));
        }
    }
    return saveError(target, std::strerror(EEXIST));
}

ReplacingFile::ReplacingFile(fs::path target, fs::path destination, fs::path temporary, int fd,
                             int mode, int slot)
    : target_(std::move(target)),
      destination_(std::move(destination)),
      temporary_(std::move(temporary)),
      fd_(fd),
      mode_(mode),
      slot_(slot),
      pending_(true) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : target_(std::move(other.target_)),
      destination_(std::move(other.destination_)),
      temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)),
      mode_(other.mode_),
      slot_(std::exchange(other.slot_, -1)),
      pending_(std::exchange(other.pending_, false)),
      buffer_(std::move(other.buffer_)),
      failure_(std::move(other.failure_)) {}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
    if (this != &other) {
        discard();
        target_ = std::move(other.target_);
        destination_ = std::move(other.destination_);
        temporary_ = std::move(other.temporary_);
        fd_ = std::exchange(other.fd_, -1);
        mode_ = other.mode_;
        slot_ = std::exchange(other.slot_, -1);
        pending_ = std::exchange(other.pending_, false);
        buffer_ = std::move(other.buffer_);
        failure_ = std::move(other.failure_);
    }
    return *this;
}

ReplacingFile::~ReplacingFile() {
    discard();
}

namespace {

// Pieces are gathered up to this size before they go to the disk.
constexpr std::size_t kBufferBytes = 1 << 16;

// Writes all of `bytes`; the system's reason when it cannot.
std::optional<std::string> writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::strerror(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

}  // namespace

void ReplacingFile::write(std::string_view bytes) {
    if (fd_ < 0 || !failure_.empty()) {
        return;
    }
    if (buffer_.size() + bytes.size() <= kBufferBytes) {
        buffer_.append(bytes);
        return;
    }
    if (flush() && !bytes.empty()) {
        if (bytes.size() < kBufferBytes) {
            buffer_.append(bytes);
        } else if (std::optional<std::string> reason = writeAll(fd_, bytes)) {
            failure_ = std::move(*reason);
        }
    }
}

bool ReplacingFile::flush() {
    if (failure_.empty() && !buffer_.empty()) {
        if (std::optional<std::string> reason = writeAll(fd_, buffer_)) {
            failure_ = std::move(*reason);
        }
        buffer_.clear();
    }
    return failure_.empty();
}

std::optional<Error> ReplacingFile::commit() {
    if (!pending_ || fd_ < 0) {
        return saveError(target_, "nothing was written");
    }
    flush();
    if (failure_.empty() && mode_ >= 0 && ::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) {
        failure_ = std::strerror(errno);
    }
    // On the disk before it takes the place of the file, as an editor saves.
    if (failure_.empty() && ::fsync(fd_) != 0 && errno != EINVAL) {
        failure_ = std::strerror(errno);
    }
    if (::close(std::exchange(fd_, -1)) != 0 && failure_.empty()) {
        failure_ = std::strerror(errno);
    }
    if (failure_.empty()) {
        // What stands at the target may have changed while the file was written.
        Result<Destination> now = destinationOf(target_);
        if (!now.ok()) {
            discard();
            return now.error();
        }
        if (now.value().file != destination_) {
            failure_ = "it now leads to \"" + now.value().file.string() + "\"";
        }
    }
    if (failure_.empty() && ::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        failure_ = std::strerror(errno);
    }
    if (!failure_.empty()) {
        discard();
        return saveError(target_, failure_);
    }
    pending_ = false;
    forgetPending(std::exchange(slot_, -1));
    // The new name on the disk too, so that a crash just after cannot bring back the old file.
    // The file is in place by now whatever this gives, so it is only tried.
    if (const int folder =
            ::open(destination_.parent_path().empty() ? "." : destination_.parent_path().c_str(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        static_cast<void>(::fsync(folder));
        ::close(folder);
    }
    return std::nullopt;
}

void ReplacingFile::discard() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (std::exchange(pending_, false)) {
        ::unlink(temporary_.c_str());
    }
    forgetPending(std::exchange(slot_, -1));
}

std::optional<Error> writeWholeFile(const fs::path& target, const FileContent& content,
                                    const CancelToken* cancel) {
    Result<ReplacingFile> file = ReplacingFile::create(target);
    if (!file.ok()) {
        return file.error();
    }
    const auto stopped = [cancel] { return cancel != nullptr && cancel->cancelled(); };
    content([&file, &stopped](std::string_view piece) {
        if (!stopped()) {
            file.value().write(piece);
        }
    });
    // Dropped uncommitted, the temporary file goes and the target stays as it was.
    if (stopped()) {
        return cancelledError("Saving \"" + target.string() + "\"");
    }
    return file.value().commit();
}

}  // namespace pelmora
