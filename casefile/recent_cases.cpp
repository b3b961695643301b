#include "casefile/recent_cases.h"

#include <algorithm>

namespace pelmora {

std::vector<std::string> withRecentCase(std::vector<std::string> recent, const std::string& path) {
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > kMostRecentCases) {
        recent.resize(kMostRecentCases);
    }
    return recent;
}

}  // namespace pelmora
