#pragma once
// A zip archive held in memory, read with limits so that a zip bomb is refused with a reason
// rather than filling the memory: the number of entries, the total uncompressed size and the
// ratio of an entry's uncompressed to its compressed size.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "stores/error.h"

namespace pelmora {

struct ZipLimits {
    static constexpr long long kMostEntries = 10'000;
    static constexpr long long kMostUncompressedBytes = 256LL << 20;
    static constexpr long long kMostRatio = 100;
    // An entry smaller than this may compress as well as it likes.
    static constexpr long long kRatioFromBytes = 1LL << 20;
};

class ZipArchive {
public:
    // Opens the archive in `bytes`, which must outlive it. Fails (Unconvertible) when it is no
    // zip archive, is damaged, or breaks a limit; the reason says which.
    static Result<ZipArchive> open(std::string_view bytes);
    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;
    ~ZipArchive();

    [[nodiscard]] bool has(const std::string& name) const;
    // The uncompressed bytes of entry `name`; nothing when absent. Fails when the entry is
    // damaged or inflates beyond what its header says.
    [[nodiscard]] Result<std::optional<std::string>> read(const std::string& name) const;

    // "libzip 1.7.3".
    [[nodiscard]] static std::string library();

private:
    struct State;
    explicit ZipArchive(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace pelmora
