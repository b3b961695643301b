#include "app/recent_places.h"

#include <algorithm>

namespace pelmora {

std::vector<std::string> withRecentPlace(std::vector<std::string> recent, const std::string& place,
                                         std::size_t kept) {
    std::erase(recent, place);
    recent.insert(recent.begin(), place);
    if (recent.size() > kept) {
        recent.resize(kept);
    }
    return recent;
}

}  // namespace pelmora
