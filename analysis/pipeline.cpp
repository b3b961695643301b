#include "analysis/density.h"
#include "analysis/form1_commands.h"

namespace pelmora {

// The order is behaviour: the counters' order fixes the positions of the nine densities,
// and every later step reads what the earlier ones left.
void Form1Commands::measureAndClassify() {
    cmdPrincipes();
    cmdContractions();
    cmdFirstPerson();
    cmdSecondPerson();
    cmdThirdPerson();
    cmdPastTense();
    cmdArticles();
    cmdIt();
    cmdEvaluate();
    Form1& f = form();
    f.lblObligation.setFourDecimal(perWord(f.lblObligation.value(), f.lblTextLength.value()));
    cmdFormality();
    cmdPersonage();
    cmdPastTenseness();
    cmdObligation();
    cmdAffect();
}

void Form1Commands::cmdDoItAll() {
    measureAndClassify();
    cmdTypeText();
    cmdCompare();
}

}  // namespace pelmora
