#include "analysis/density.h"
#include "analysis/form1.h"

namespace pelmora {

// The order is behaviour: the counters' order fixes the positions of the nine densities,
// and every later step reads what the earlier ones left.
void Form1::cmdDoItAll() {
    cmdPrincipes();
    cmdContractions();
    cmdFirstPerson();
    cmdSecondPerson();
    cmdThirdPerson();
    cmdPastTense();
    cmdArticles();
    cmdIt();
    cmdEvaluate();
    lblObligation.setFourDecimal(perWord(lblObligation.value(), lblTextLength.value()));
    cmdFormality();
    cmdPersonage();
    cmdPastTenseness();
    cmdObligation();
    cmdAffect();
    cmdTypeText();
    cmdCompare();
}

}  // namespace pelmora
