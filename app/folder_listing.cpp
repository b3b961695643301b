#include "app/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include "app/file_reader.h"
#include "stores/text_encoding.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr std::string_view kListedSuffix = ".txt";

bool hasListedSuffix(std::string_view name) {
    return name.size() > kListedSuffix.size() &&
           equalsIgnoreCase(name.substr(name.size() - kListedSuffix.size()), kListedSuffix);
}

// ".docx" for "Report.DOCX"; "" for a name without an extension ("README", "notes.").
std::string extensionOf(std::string_view nameBytes) {
    const std::size_t dot = nameBytes.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == nameBytes.size()) {
        return "";
    }
    return displayText(toLowerAscii(nameBytes.substr(dot)));
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

FolderIdentity identityOf(const struct stat& info) {
    return FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                          static_cast<std::uint64_t>(info.st_ino)};
}

// What an entry leads to, following links.
enum class Kind { Folder, Regular, Special, Broken };

struct EntryKind {
    Kind kind;
    std::string reason;  // why a broken entry leads nowhere
};

EntryKind kindOf(int dirFd, const dirent& entry) {
    // The entry's own type spares a look-up for plain files and folders.
    if (entry.d_type == DT_REG) {
        return {Kind::Regular, ""};
    }
    if (entry.d_type == DT_DIR) {
        return {Kind::Folder, ""};
    }
    struct stat info {};
    if (::fstatat(dirFd, entry.d_name, &info, 0) == 0) {
        return {S_ISDIR(info.st_mode)   ? Kind::Folder
                : S_ISREG(info.st_mode) ? Kind::Regular
                                        : Kind::Special,
                ""};
    }
    const int error = errno;
    return {Kind::Broken, error == ELOOP                        ? "Link loops"
                          : error == ENOENT || error == ENOTDIR ? "Dangling link"
                                                                : fileError(error, "").reason};
}

bool listOrder(const std::string& aName, const std::string& aBytes, const std::string& bName,
               const std::string& bBytes) {
    if (const int folded = compareIgnoreCase(aName, bName); folded != 0) {
        return folded < 0;
    }
    return aName != bName ? aName < bName : aBytes < bBytes;
}

}  // namespace

Error folderError(const std::filesystem::path& folder, int error) {
    Error e = fileError(error, displayText(folder.native()), "Could not open the folder");
    if (error == ENOTDIR) {
        e.code = Error::Code::NotAFolder;
    }
    return e;
}

Result<FolderListing> listTextFiles(const std::filesystem::path& folder) {
    // The system's calls rather than std::filesystem's: nothing here may throw on a user's path.
    Descriptor opened{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    struct stat info {};
    if (opened.fd < 0 || ::fstat(opened.fd, &info) != 0) {
        return folderError(folder, errno);
    }
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(opened.fd));
    if (!dir) {
        return folderError(folder, errno);
    }
    opened.fd = -1;  // the stream owns it now
    FolderListing listing;
    listing.identity = identityOf(info);
    std::map<std::string, int> byExtension;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                return folderError(folder, errno);
            }
            break;
        }
        const std::string_view nameBytes = entry->d_name;
        if (nameBytes == "." || nameBytes == "..") {
            continue;
        }
        const EntryKind kind = kindOf(::dirfd(dir.get()), *entry);
        if (kind.kind == Kind::Folder) {
            continue;
        }
        if (nameBytes.front() == '.') {
            ++listing.unlisted.hidden;
        } else if (!hasListedSuffix(nameBytes)) {
            ++byExtension[extensionOf(nameBytes)];
        } else if (kind.kind == Kind::Regular) {
            listing.files.push_back(ListedFile{displayText(nameBytes), std::string(nameBytes)});
        } else {
            listing.leftOut.push_back(SkippedFile{
                std::string(nameBytes), displayText(nameBytes),
                kind.kind == Kind::Broken ? kind.reason : std::string("Not a regular file")});
        }
    }
    listing.unlisted.byExtension.assign(byExtension.begin(), byExtension.end());
    std::sort(listing.files.begin(), listing.files.end(),
              [](const ListedFile& a, const ListedFile& b) {
                  return listOrder(a.name, a.nameBytes, b.name, b.nameBytes);
              });
    std::sort(listing.leftOut.begin(), listing.leftOut.end(),
              [](const SkippedFile& a, const SkippedFile& b) {
                  return listOrder(a.name, a.nameBytes, b.name, b.nameBytes);
              });
    return listing;
}

std::optional<Error> folderChangedSinceListed(const std::filesystem::path& folder,
                                              const std::optional<FolderIdentity>& listed) {
    const std::string name = "\"" + displayText(folder.native()) + "\"";
    const Descriptor opened{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    struct stat info {};
    if (opened.fd < 0 || ::fstat(opened.fd, &info) != 0) {
        Error e = fileError(errno, name);
        e.message = e.code == Error::Code::NotFound
                        ? "The folder " + name +
                              " is gone or was moved since it was listed: the run did not start."
                        : "The folder " + name + " cannot be read (" + e.reason +
                              "): the run did not start.";
        return e;
    }
    if (!listed) {
        return Error{Error::Code::NotFound,
                     "The folder " + name + " could not be listed: the run did not start.",
                     "Not listed"};
    }
    if (identityOf(info) != *listed) {
        return Error{Error::Code::NotFound,
                     "The folder " + name +
                         " is not the one listed (it was moved or replaced since): the run did "
                         "not start.",
                     "Moved or replaced"};
    }
    return std::nullopt;
}

}  // namespace pelmora
