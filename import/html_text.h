#pragma once
// The text a reader sees in an HTML page, through an HTML5 parser: scripts, styles, the head
// and markup dropped, entities decoded, each block element on lines of its own, white space
// collapsed as a browser does outside <pre>. Nothing is fetched.

#include <string>
#include <string_view>

namespace pelmora {

// `html` is decoded first when it is not UTF-8 (as Windows-1252). Lines tidied as tidyLines does.
[[nodiscard]] std::string htmlText(std::string_view html);

// "gumbo 0.10.1".
[[nodiscard]] std::string htmlLibrary();

}  // namespace pelmora
