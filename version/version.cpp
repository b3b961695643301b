#include "version/version.h"

#include "build_version.h"

namespace pelmora {

std::string versionText() {
    return PELMORA_PROJECT_VERSION " (revision " PELMORA_SOURCE_REVISION ")";
}

std::string programVersion() {
    return "Pelmora " + versionText();
}

}  // namespace pelmora
