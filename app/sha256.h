#pragma once
// SHA-256 digests of file contents, for run records and for spotting identical files.

#include <memory>
#include <string>
#include <string_view>

namespace pelmora {

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

// A digest taken in pieces, for a file read in chunks.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void add(std::string_view bytes);
    std::string hex();  // ends the digest

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pelmora
