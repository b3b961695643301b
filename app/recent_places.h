#pragma once
// The recent places the windows offer between starts: the last few case files opened or saved,
// and the last few folders run or typed; the latest first, each once.

#include <cstddef>
#include <string>
#include <vector>

namespace pelmora {

inline constexpr std::size_t kMostRecentCases = 8;
inline constexpr std::size_t kMostRecentFolders = 10;

// `recent` with `place` first and no other copy of it, cut to `kept` places.
std::vector<std::string> withRecentPlace(std::vector<std::string> recent, const std::string& place,
                                         std::size_t kept);

}  // namespace pelmora
