#pragma once
// Measures per word of a text.

namespace pelmora {

// `count` per word of a text of `words` words; a text without words has density 0.
inline double perWord(double count, double words) {
    return words > 0 ? count / words : 0.0;
}

}  // namespace pelmora
