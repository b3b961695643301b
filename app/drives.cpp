#include "app/drives.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>

namespace pelmora {

namespace {

// File systems that hold no user files.
const std::set<std::string, std::less<>> kPseudoTypes = {
    "autofs", "binfmt_misc", "bpf",        "cgroup",  "cgroup2",   "configfs",   "debugfs",
    "devpts", "devtmpfs",    "efivarfs",   "fusectl", "hugetlbfs", "mqueue",     "nsfs",
    "proc",   "pstore",      "securityfs", "sysfs",   "tracefs",   "rpc_pipefs", "selinuxfs",
};

bool under(std::string_view path, std::string_view root) {
    if (root == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.substr(0, root.size()) == root &&
           (path.size() == root.size() || path[root.size()] == '/');
}

// The mounts table writes space, tab, newline and backslash as \ooo.
std::string unescapeMountPoint(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 +
                                         (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

}  // namespace

std::vector<std::string> parseMountTable(const std::string& table) {
    std::set<std::string> points{"/"};
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type) || kPseudoTypes.count(type) > 0) {
            continue;
        }
        mountPoint = unescapeMountPoint(mountPoint);
        if (mountPoint.empty() || mountPoint.front() != '/' || under(mountPoint, "/proc") ||
            under(mountPoint, "/sys") || under(mountPoint, "/dev")) {
            continue;
        }
        points.insert(mountPoint);
    }
    return {points.begin(), points.end()};
}

std::vector<std::string> listDrives() {
    std::ifstream in("/proc/self/mounts");
    const std::string table{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseMountTable(table);
}

std::string driveOf(const std::filesystem::path& folder) {
    const std::string path = folder.lexically_normal().native();
    std::string best = "/";
    for (const std::string& drive : listDrives()) {
        if (under(path, drive) && drive.size() > best.size()) {
            best = drive;
        }
    }
    return best;
}

}  // namespace pelmora
