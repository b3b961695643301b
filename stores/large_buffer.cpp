#include "stores/large_buffer.h"

#include <sys/mman.h>

#include <cstdint>

namespace pelmora {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

std::string largeString(std::size_t size) {
    std::string out;
    if (size < 4 * kHugePage) {
        out.resize(size);
        return out;
    }
    // Reserved first, so that the pages are still untouched when the advice is given; the
    // advice is only a hint, and without it the string is the same.
    out.reserve(size);
    const auto start = reinterpret_cast<std::uintptr_t>(out.data());
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
    out.resize(size);
    return out;
}

}  // namespace pelmora
