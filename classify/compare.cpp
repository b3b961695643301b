// The comparison of every pair of gathered type codes, written to the main form's pair lists.

#include "analysis/form1.h"
#include "app/form2.h"
#include "app/program_context.h"

namespace pelmora {

void Form1::cmdCompare() {
    Form2& main = context_->form2();
    main.lstDogBox.appendComparison(lstAllTypes, lstTypeNames);
    main.lstDogHouse.appendComparison(lstAllTypes, lstTypeNames);
    // The fields show the last pair compared, which is the last two codes whatever the names.
    const int n = lstAllTypes.count();
    if (n >= 2) {
        txtTheFirst.setText(lstAllTypes.at(n - 2));
        txtTheSecond.setText(lstAllTypes.at(n - 1));
    }
}

}  // namespace pelmora
