#pragma once
// Reading a text file whole and decoding it to UTF-8. Any bytes decode (binary files too);
// only a file that cannot be opened or read, or one beyond the size cap, is an error.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "forms/file_facts.h"
#include "stores/error.h"
#include "stores/text_encoding.h"

namespace pelmora {

// Larger files are left out: the analysis holds the text and one working copy at most.
inline constexpr std::uint64_t kMaxTextFileBytes = 1ull << 30;
inline constexpr const char* kTooLargeReason = "File too large (over 1 GiB)";

struct ReadText {
    DecodedText decoded;
    FileFacts facts;  // name, size, SHA-256 of the bytes as read, encoding, character counts
};

// The whole file at `path`, decoded; `nameBytes` is its name as the file system spells it.
Result<ReadText> readTextFile(const std::filesystem::path& path, std::string_view nameBytes);

// The error of a failed system call on `path`, with the system's reason.
Error fileError(int error, std::string_view name, std::string_view what = "Could not read");

}  // namespace pelmora
