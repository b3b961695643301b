#pragma once
// Decoding the bytes of a text file, or of a file name, to the UTF-8 the stores hold. Any
// bytes decode; nothing is lost but what the encoding cannot represent.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

enum class TextEncoding { Ascii, Utf8, Utf16LE, Utf16BE, Windows1252 };

// "ASCII", "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252".
const char* encodingName(TextEncoding encoding);

// The characters of a decoded text that a text seldom holds, counted as it is decoded: what
// tells a text from binary data read as one. The byte-order mark is no character here.
struct CharacterCounts {
    std::uint64_t characters = 0;
    std::uint64_t nul = 0;           // U+0000, which a UTF-16 text's own zero bytes are not
    std::uint64_t controls = 0;      // C0 but tab, LF, FF and CR (NUL among them), DEL, C1
    std::uint64_t replacements = 0;  // U+FFFD, in the file or put for what did not decode
    bool operator==(const CharacterCounts&) const = default;
};

struct DecodedText {
    std::string text;  // UTF-8, byte-order mark dropped
    TextEncoding encoding = TextEncoding::Ascii;
    bool hadByteOrderMark = false;
    CharacterCounts counts;
};

// UTF-8 byte-order mark, or valid UTF-8 with a multi-byte sequence: UTF-8. UTF-16 byte-order
// mark: UTF-16. Anything else: Windows-1252, its five undefined bytes as C1 controls. In a
// UTF-8 marked file every maximal ill-formed subpart becomes one U+FFFD; in UTF-16 every
// unpaired surrogate and an odd last byte do. Takes the bytes over, so that a text that is
// already UTF-8 is not copied; counts the characters in the same pass.
DecodedText decodeText(std::string bytes);

// Whether `bytes` are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// A name's text: its bytes where they are valid UTF-8, otherwise read as Windows-1252.
std::string displayText(std::string_view bytes);

}  // namespace pelmora
