#include <string>
#include <utility>
#include <vector>

#include "analysis/form1_commands.h"

namespace pelmora {

void Form1Commands::cmdReset() {
    SharedState& shared = context_.shared();
    Form1& before = form();
    shared.lowerFlags();
    shared.savedTypesText = before.txtTypes.text();
    for (const std::string& code : before.lstAllTypes.items()) {
        shared.carriedTypeCodes += code + " ";
    }
    for (const std::string& name : before.lstTypeNames.items()) {
        shared.carriedTypeNames += name + "\r\n";
    }
    // The lists travel as they are rather than re-split from the carried texts: a file name
    // may itself hold CR LF, and re-splitting would break it in two and shift every later name
    // against its code.
    std::vector<std::string> codes = before.lstAllTypes.items();
    std::vector<std::string> names = before.lstTypeNames.items();
    std::vector<std::string> nameBytes = std::move(before.typeNameBytes);

    context_.recreateForm1();
    Form1& f = form();
    f.visible = true;
    for (std::string& name : names) {
        f.lstTypeNames.append(std::move(name));
    }
    for (std::string& code : codes) {
        f.lstAllTypes.append(std::move(code));
    }
    f.typeNameBytes = std::move(nameBytes);
    f.txtTypes.setText(shared.savedTypesText);
    shared.carriedTypeCodes.clear();
    shared.carriedTypeNames.clear();
}

void Form1Commands::cmdTotalReset() {
    SharedState& shared = context_.shared();
    shared.lowerFlags();
    shared.savedTypesText.clear();
    shared.carriedTypeCodes.clear();
    shared.carriedTypeNames.clear();

    Form2& main = context_.form2();
    main.lstDogBox.clear();
    main.lstDogHouse.clear();
    main.txtDogBox.clear();
    main.txtDogHouse.clear();

    context_.recreateForm1();
    form().visible = false;
    main.visible = true;
}

}  // namespace pelmora
