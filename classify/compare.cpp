// The comparison of every pair of gathered type codes, written to the main form's pair lists.

#include "analysis/form1_commands.h"

namespace pelmora {

void Form1Commands::cmdCompare() {
    Form1& f = form();
    Form2& main = context_.form2();
    // A name gathered without its bytes is told apart by its text.
    std::vector<std::string>& keys = f.typeNameBytes;
    keys.resize(
        std::min<std::size_t>(keys.size(), static_cast<std::size_t>(f.lstTypeNames.count())));
    for (int i = static_cast<int>(keys.size()); i < f.lstTypeNames.count(); ++i) {
        keys.push_back(f.lstTypeNames.at(i));
    }
    main.lstDogBox.appendComparison(f.lstAllTypes, f.lstTypeNames, keys, typeCodeStrength);
    main.lstDogHouse.appendComparison(f.lstAllTypes, f.lstTypeNames, keys, typeCodeStrength);
    // The fields show the last pair compared, which is the last two codes whatever the names.
    const int n = f.lstAllTypes.count();
    if (n >= 2) {
        f.txtTheFirst.setText(f.lstAllTypes.at(n - 2));
        f.txtTheSecond.setText(f.lstAllTypes.at(n - 1));
    }
}

}  // namespace pelmora
