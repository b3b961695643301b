#pragma once
// State that outlives a re-creation of the analysis form.

#include <string>

namespace pelmora {

struct SharedState {
    bool passiveFlag = false;
    bool formalFlag = false;
    std::string savedTypesText;
    std::string carriedTypeCodes;  // entries of lstAllTypes, each followed by one space
    std::string carriedTypeNames;  // entries of lstTypeNames, each followed by CR LF

    void lowerFlags() { passiveFlag = formalFlag = false; }
};

}  // namespace pelmora
