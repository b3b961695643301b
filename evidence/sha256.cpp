#include "evidence/sha256.h"

#include <openssl/evp.h>

#include <cassert>

namespace pelmora {

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    // EVP_Digest only fails when the library cannot allocate; there is nothing to recover.
    [[maybe_unused]] const int ok =
        EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    assert(ok == 1 && length == 32);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        out.push_back(kHex[digest[i] >> 4]);
        out.push_back(kHex[digest[i] & 0x0f]);
    }
    return out;
}

}  // namespace pelmora
