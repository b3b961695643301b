#pragma once
// What reading a file learned of it beyond its text.

#include <cstdint>
#include <string>

#include "stores/text_encoding.h"

namespace pelmora {

struct FileFacts {
    std::string nameBytes;  // the name as the file system spells it
    std::string name;       // its text
    TextEncoding encoding = TextEncoding::Ascii;
    std::uint64_t byteSize = 0;
    std::string sha256;  // of the file's bytes as read
};

// A file the batch run could not read, and why.
struct SkippedFile {
    std::string nameBytes;
    std::string name;
    std::string reason;  // the system's reason, such as "Permission denied"
};

}  // namespace pelmora
