#include "forms/form1.h"

namespace pelmora {

namespace {

constexpr const char* kLegend =
    "FORMALITY\r\nFormal = 2\r\nInformal = 1\r\nNeutral = 0\r\n\r\n"
    "PERSONAGE\r\n1st Person = 1\r\n2nd Person = 2\r\n3rd Person = 3\r\nNeutral = 0\r\n\r\n"
    "PASTNESS\r\n+ Past Tense = 1\r\n- Past Tense = 2\r\nNeutral = 0\r\n\r\n"
    "OBLIGATION/INTENTION\r\nObligation/Intention = 1\r\nStrong Obligation/Intention = 2\r\n"
    "Neutral/Absent = 0\r\n\r\n"
    "AFFECT\r\nAffective = 1\r\nHighly affective = 2\r\nNot affective = 0\r\n";

}  // namespace

Form1::Form1() : Text2(kLegend) {}

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
    m.obligationCount = modalCountText;
    m.obligationDensity = lblObligation.text();
    m.affectCount = affectCountText;
    m.affectDensity = lblAffectTotal.text();
    m.quotes = lblNumOfQuotes.text();
    for (int i = 0; i < 9; ++i) {
        m.densities[static_cast<std::size_t>(i)] = std::string(lstTypeFrequencies.get(i));
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
