#pragma once
// The version of this build: the project's version and the source revision it was built from
// (`git describe` when the build was configured, "unknown" outside a checkout).

#include <string>

namespace pelmora {

// "0.1.0 (revision 8a3ece8)": what run records and case files store as the program version.
[[nodiscard]] std::string versionText();
// "Pelmora 0.1.0 (revision 8a3ece8)": what --version prints and the help window shows.
[[nodiscard]] std::string programVersion();

}  // namespace pelmora
