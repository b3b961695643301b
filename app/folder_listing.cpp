#include "app/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "app/file_reader.h"
#include "stores/text_encoding.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

bool isListedName(std::string_view name) {
    constexpr std::string_view kSuffix = ".txt";
    return !name.empty() && name.front() != '.' && name.size() > kSuffix.size() &&
           equalsIgnoreCase(name.substr(name.size() - kSuffix.size()), kSuffix);
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

Error folderError(const std::filesystem::path& folder, int error) {
    Error e = fileError(error, displayText(folder.native()), "Could not open the folder");
    if (error == ENOTDIR) {
        e.code = Error::Code::NotAFolder;
    }
    return e;
}

Result<std::vector<ListedFile>> listTextFiles(const std::filesystem::path& folder) {
    // The system's calls rather than std::filesystem's: nothing here may throw on a user's path.
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return folderError(folder, errno);
    }
    std::vector<ListedFile> files;
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
        if (!isListedName(nameBytes)) {
            continue;
        }
        // A link counts when it leads to a regular file; a broken one is left out. The entry's
        // own type spares a look-up for the common case of a plain file.
        if (entry->d_type != DT_REG) {
            struct stat info {};
            if (::fstatat(::dirfd(dir.get()), entry->d_name, &info, 0) != 0 ||
                !S_ISREG(info.st_mode)) {
                continue;
            }
        }
        files.push_back(ListedFile{displayText(nameBytes), std::string(nameBytes)});
    }
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        if (const int folded = compareIgnoreCase(a.name, b.name); folded != 0) {
            return folded < 0;
        }
        return a.name != b.name ? a.name < b.name : a.nameBytes < b.nameBytes;
    });
    return files;
}

}  // namespace pelmora
