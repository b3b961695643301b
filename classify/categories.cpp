// The five category commands of the analysis form: each reads its measures and the ranking
// from the stores, asks the rule book, and writes the category the rule book decided.

#include "analysis/density.h"
#include "analysis/form1_commands.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

void record(Form1& f, Category category, Decision decision) {
    f.decisions.categories[static_cast<std::size_t>(category)] = std::move(decision);
}

}  // namespace

void Form1Commands::cmdFormality() {
    Form1& f = form();
    SharedState& shared = context_.shared();
    FormalityDecision d =
        decideFormality(context_.rules(), f.lstResults.items(), f.lstTypes.items(),
                        f.lstTypeFrequencies.items(), f.lblFormality.text(), shared.formalFlag);
    shared.formalFlag = d.formalFlag;
    f.lblFormality.setText(d.text());
    record(f, Category::Formality, std::move(d));
}

void Form1Commands::cmdPersonage() {
    Form1& f = form();
    f.decisions.inputs.firstPerson = reading(f.lblFirstPerson.text());
    f.decisions.inputs.secondPerson = reading(f.lblSecondPerson.text());
    f.decisions.inputs.thirdPerson = reading(f.lblThirdPerson.text());
    Decision d = decidePersonage(f.lstResults.items(), f.lstTypes.items(),
                                 f.lstTypeFrequencies.items(), f.decisions.inputs.firstPerson,
                                 f.decisions.inputs.secondPerson, f.decisions.inputs.thirdPerson);
    f.lblPersonage.setText(d.text());
    record(f, Category::Personage, std::move(d));
}

void Form1Commands::cmdPastTenseness() {
    Form1& f = form();
    Decision d = decidePastTenseness(context_.rules(), f.lstResults.items(), f.lstTypes.items(),
                                     f.lstTypeFrequencies.items());
    f.lblPastTenseness.setText(d.text());
    record(f, Category::PastTenseness, std::move(d));
}

void Form1Commands::cmdObligation() {
    Form1& f = form();
    f.decisions.inputs.obligationDensity = reading(f.lblObligation.text());
    Decision d = decideObligation(context_.rules(), f.decisions.inputs.obligationDensity,
                                  f.lblObligationIntention.text());
    f.lblObligationIntention.setText(d.text());
    record(f, Category::Obligation, std::move(d));
}

void Form1Commands::cmdAffect() {
    Form1& f = form();
    f.lblAffectTotal.setFourDecimal(perWord(f.lblAffectTotal.value(), f.lblTextLength.value()));
    f.decisions.inputs.affectDensity = reading(f.lblAffectTotal.text());
    Decision d =
        decideAffect(context_.rules(), f.decisions.inputs.affectDensity, f.lblAffect.text());
    f.lblAffect.setText(d.text());
    record(f, Category::Affect, std::move(d));
}

}  // namespace pelmora
