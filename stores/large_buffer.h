#pragma once
// Strings of many megabytes that are filled once: backed by huge pages where the system
// offers them, so that their first touch costs a page fault per 2 MiB rather than per 4 KiB.

#include <cstddef>
#include <string>

namespace pelmora {

// A string of `size` NUL bytes.
std::string largeString(std::size_t size);

}  // namespace pelmora
