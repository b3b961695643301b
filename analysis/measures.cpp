#include "analysis/form1.h"

namespace pelmora {

TextMeasures Form1::measures() const {
    TextMeasures m;
    m.name = txtFileName.text();
    m.code = lstAllTypes.empty() ? std::string() : lstAllTypes.at(lstAllTypes.count() - 1);
    m.textClass = lblClass.text();
    m.textLength = lblTextLength.text();
    m.wordLengthAvg = lblWordLenAv.text();
    m.contractions = lblContractions.text();
    m.firstPerson = lblFirstPerson.text();
    m.secondPerson = lblSecondPerson.text();
    m.thirdPerson = lblThirdPerson.text();
    m.pastTenseWords = lblPastTense.text();
    m.pastTenseForms = lblPastTenseForms.text();
    m.definiteArticle = lblDefiniteArticle.text();
    m.indefiniteArticle = lblIndefiniteArticle.text();
    m.it = lblIt.text();
    m.obligationCount = modalCountText_;
    m.obligationDensity = lblObligation.text();
    m.affectCount = affectCountText_;
    m.affectDensity = lblAffectTotal.text();
    m.quotes = lblNumOfQuotes.text();
    for (int i = 0; i < 9; ++i) {
        m.densities[i] = std::string(lstTypeFrequencies.get(i));
    }
    m.formality = lblFormality.text();
    m.personage = lblPersonage.text();
    m.pastTenseness = lblPastTenseness.text();
    m.obligationIntention = lblObligationIntention.text();
    m.affect = lblAffect.text();
    m.rankedFirst = std::string(lstResults.get(0));
    m.rankedSecond = std::string(lstResults.get(1));
    m.inflectionFeature = std::string(lstTypes.get(5));
    return m;
}

}  // namespace pelmora
