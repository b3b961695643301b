#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/form2.h"
#include "app/program_context.h"

namespace pelmora {

void Form1::cmdReset() {
    SharedState& shared = context_->shared();
    shared.lowerFlags();
    shared.savedTypesText = txtTypes.text();
    for (const std::string& code : lstAllTypes.items()) {
        shared.carriedTypeCodes += code + " ";
    }
    for (const std::string& name : lstTypeNames.items()) {
        shared.carriedTypeNames += name + "\r\n";
    }
    // The lists travel as they are rather than re-split from the carried texts: a file name
    // may itself hold CR LF, and re-splitting would break it in two and shift every later name
    // against its code.
    std::vector<std::string> codes = lstAllTypes.items();
    std::vector<std::string> names = lstTypeNames.items();

    context_->recreateForm1();  // in place: `this` is the fresh form from here on
    visible = true;
    for (std::string& name : names) {
        lstTypeNames.append(std::move(name));
    }
    for (std::string& code : codes) {
        lstAllTypes.append(std::move(code));
    }
    txtTypes.setText(shared.savedTypesText);
    shared.carriedTypeCodes.clear();
    shared.carriedTypeNames.clear();
}

void Form1::cmdTotalReset() {
    SharedState& shared = context_->shared();
    shared.lowerFlags();
    shared.savedTypesText.clear();
    shared.carriedTypeCodes.clear();
    shared.carriedTypeNames.clear();

    Form2& main = context_->form2();
    main.lstDogBox.clear();
    main.lstDogHouse.clear();
    main.txtDogBox.clear();
    main.txtDogHouse.clear();

    context_->recreateForm1();
    visible = false;
    main.visible = true;
}

}  // namespace pelmora
