#include <string>
#include <utility>
#include <vector>

#include "analysis/form1_commands.h"

namespace pelmora {

void Form1Commands::cmdReset() {
    SharedState& shared = context_.shared();
    Form1& before = form();
    shared.lowerFlags();
    std::string types = before.txtTypes.take();
    shared.savedTypesText = types;
    // The gathered lists travel as they are: joining them into the carried texts and splitting
    // them again would cost a pass over every name at every text, and would break a file name
    // that holds CR LF in two, shifting every later name against its code. The carried texts
    // are empty again when the reset ends, and nothing reads them in between.
    ListStore codes = std::move(before.lstAllTypes);
    ListStore names = std::move(before.lstTypeNames);
    std::vector<std::string> nameBytes = std::move(before.typeNameBytes);

    context_.recreateForm1();
    Form1& f = form();
    f.visible = true;
    f.lstTypeNames = std::move(names);
    f.lstAllTypes = std::move(codes);
    f.lstTypeNames.select(-1);
    f.lstAllTypes.select(-1);
    f.typeNameBytes = std::move(nameBytes);
    f.txtTypes.setText(std::move(types));
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
