#include "app/folder_listing.h"

#include <algorithm>
#include <system_error>

#include "app/file_reader.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

InputProblem folderProblem(const std::filesystem::path& folder, const std::error_code& error) {
    InputProblem::Code code = InputProblem::Code::ReadFailed;
    if (error == std::errc::no_such_file_or_directory) {
        code = InputProblem::Code::NotFound;
    } else if (error == std::errc::not_a_directory) {
        code = InputProblem::Code::NotAFolder;
    } else if (error == std::errc::permission_denied) {
        code = InputProblem::Code::PermissionDenied;
    }
    std::string reason = error.message();
    std::string message =
        "Could not open the folder \"" + displayText(folder.native()) + "\": " + reason + ".";
    return InputProblem{code, std::move(message), std::move(reason)};
}

bool isListedName(std::string_view name) {
    constexpr std::string_view kSuffix = ".txt";
    return !name.empty() && name.front() != '.' && name.size() > kSuffix.size() &&
           equalsIgnoreCase(name.substr(name.size() - kSuffix.size()), kSuffix);
}

}  // namespace

Result<std::vector<ListedFile>> listTextFiles(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        if (!error) {
            error = fs::exists(folder, error)
                        ? std::make_error_code(std::errc::not_a_directory)
                        : std::make_error_code(std::errc::no_such_file_or_directory);
        }
        return folderProblem(folder, error);
    }
    fs::directory_iterator it(folder, error);
    if (error) {
        return folderProblem(folder, error);
    }
    std::vector<ListedFile> files;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            return folderProblem(folder, error);
        }
        const std::string diskName = it->path().filename().native();
        std::error_code statusError;
        // A link counts when it leads to a regular file; a broken one is left out.
        if (!isListedName(diskName) || !fs::is_regular_file(it->status(statusError))) {
            continue;
        }
        files.push_back(ListedFile{displayText(diskName), diskName});
    }
    if (error) {
        return folderProblem(folder, error);
    }
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        const std::string la = toLowerAscii(a.name);
        const std::string lb = toLowerAscii(b.name);
        if (la != lb) {
            return la < lb;
        }
        return a.name != b.name ? a.name < b.name : a.diskName < b.diskName;
    });
    return files;
}

}  // namespace pelmora
