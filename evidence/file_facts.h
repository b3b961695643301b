#pragma once
// What the batch run learned of one file beyond its measures.

#include <cstdint>
#include <string>

namespace pelmora {

struct FileFacts {
    std::string name;
    std::string encoding;  // "ASCII", "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1252"
    std::uint64_t byteSize = 0;
    std::string sha256;  // of the file's bytes as read
};

}  // namespace pelmora
