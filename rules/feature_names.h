#pragma once
// The names of the nine measured features, in the order of their density lines.

#include <array>

namespace pelmora {

inline constexpr std::array<const char*, 9> kFeatureNames = {
    "Contractions",
    "First Person",
    "Second Person",
    "Third Person",
    "Common Past Tense Words",
    "Past Tense Inflections",
    "Definite article",
    "Indefinite article",
    "It",
};

}  // namespace pelmora
