#pragma once
// The recent cases the window offers: the last few case files opened or saved, the latest
// first, each once.

#include <cstddef>
#include <string>
#include <vector>

namespace pelmora {

inline constexpr std::size_t kMostRecentCases = 8;

// `recent` with `path` first and no other copy of it, cut to kMostRecentCases.
std::vector<std::string> withRecentCase(std::vector<std::string> recent, const std::string& path);

}  // namespace pelmora
