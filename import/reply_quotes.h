#pragma once
// What the writer of an e-mail wrote, without what it quotes or signs off with: the quoted
// original from an "On ... wrote:" or "-----Original Message-----" line on, a signature from
// a "-- " line on, and every line quoted with ">".

#include <string>
#include <string_view>
#include <vector>

#include "import/imported_text.h"

namespace pelmora {

struct AuthorsLines {
    std::string text;  // tidied as tidyLines does
    std::vector<Removal> removals;
};

// The body's own lines, each removal with its number of lines (blank lines at the end of a
// removed block not counted); with `keepEverything` the whole body, nothing removed.
[[nodiscard]] AuthorsLines authorsLines(std::string_view body, bool keepEverything);

}  // namespace pelmora
