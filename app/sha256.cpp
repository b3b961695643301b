#include "app/sha256.h"

#include <openssl/evp.h>

#include <cassert>

namespace pelmora {

namespace {

std::string hexOf(const unsigned char* digest, unsigned int length) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        out.push_back(kHex[digest[i] >> 4]);
        out.push_back(kHex[digest[i] & 0x0f]);
    }
    return out;
}

// Fetched once: looking the algorithm up by name at every file costs more than digesting a
// short one.
const EVP_MD* sha256Method() {
    static EVP_MD* const method = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    return method != nullptr ? method : EVP_sha256();
}

}  // namespace

// The EVP calls fail only when the library cannot allocate; there is nothing to recover.
struct Sha256::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
    [[maybe_unused]] const int ok = EVP_DigestInit_ex(state_->context, sha256Method(), nullptr);
    assert(ok == 1);
}

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes) {
    [[maybe_unused]] const int ok = EVP_DigestUpdate(state_->context, bytes.data(), bytes.size());
    assert(ok == 1);
}

std::string Sha256::hex() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    [[maybe_unused]] const int ok = EVP_DigestFinal_ex(state_->context, digest, &length);
    assert(ok == 1 && length == 32);
    return hexOf(digest, length);
}

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    [[maybe_unused]] const int ok =
        EVP_Digest(bytes.data(), bytes.size(), digest, &length, sha256Method(), nullptr);
    assert(ok == 1 && length == 32);
    return hexOf(digest, length);
}

}  // namespace pelmora
