#pragma once
// The pages of Help beyond its first, as rich text with an anchor for every section: each
// window and export, the keyboard, what each warning means, and the words each measure
// counts, composed from the word lists and the rule book's constants.

#include <QString>

#include "forms/form1.h"

namespace pelmora {

[[nodiscard]] QString windowsHelpPage();
[[nodiscard]] QString keysHelpPage();
[[nodiscard]] QString warningsHelpPage();
[[nodiscard]] QString wordsHelpPage();
// The anchor of a measure's row on the words page: "words-third_person".
[[nodiscard]] QString wordsAnchor(Measure measure);

}  // namespace pelmora
