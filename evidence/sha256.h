#pragma once
// SHA-256 digests of file contents, for run records and for spotting identical files.

#include <string>
#include <string_view>

namespace pelmora {

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

}  // namespace pelmora
