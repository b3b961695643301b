#pragma once
// Reading a text file whole and decoding it to UTF-8. Any bytes decode (binary files too);
// only a file that cannot be opened or read, or one beyond the size cap, is a problem.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "stores/input_problem.h"

namespace pelmora {

enum class TextEncoding { Ascii, Utf8, Utf16LE, Utf16BE, Windows1252 };

// "ASCII", "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252".
const char* encodingName(TextEncoding encoding);

struct DecodedText {
    std::string text;  // UTF-8, byte-order mark dropped
    TextEncoding encoding = TextEncoding::Ascii;
    bool hadByteOrderMark = false;
    std::uint64_t byteSize = 0;  // size of the file as read
    std::string sha256;          // of the bytes as read; only readTextFile fills it
};

// Larger files are refused: no plain text of a corpus comes near it, and the analysis
// holds several copies of a text at once.
inline constexpr std::uint64_t kMaxTextFileBytes = 64ull * 1024 * 1024;

// UTF-8 byte-order mark, or valid UTF-8 with a multi-byte sequence: UTF-8. UTF-16 byte-order
// mark: UTF-16. Anything else: Windows-1252, its five undefined bytes as C1 controls.
// Malformed sequences in UTF-8 or UTF-16 marked files become U+FFFD.
DecodedText decodeText(std::string_view bytes);

// The whole file at `path`, decoded. `displayName` names the file in the problem's message.
Result<DecodedText> readTextFile(const std::filesystem::path& path, std::string_view displayName);

// Bytes that are not valid UTF-8 read as Windows-1252, so every file name can be shown.
std::string displayText(std::string_view bytes);

}  // namespace pelmora
