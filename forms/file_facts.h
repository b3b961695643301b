#pragma once
// What reading a file learned of it beyond its text.

#include <cstdint>
#include <string>

#include "stores/navigation.h"  // SkippedFile, which the run's readers take from here
#include "stores/text_encoding.h"

namespace pelmora {

struct FileFacts {
    std::string nameBytes;  // the name as the file system spells it
    std::string name;       // its text
    TextEncoding encoding = TextEncoding::Ascii;
    std::uint64_t byteSize = 0;
    std::string sha256;          // of the file's bytes as read
    CharacterCounts characters;  // of its text, as decoding counted them
};

}  // namespace pelmora
