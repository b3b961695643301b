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

const std::array<MeasureInfo, kMeasureCount> kMeasures = {{
    {Measure::TextLength, "text_length", "text length"},
    {Measure::WordLengthAvg, "word_length_avg", "word length average"},
    {Measure::Contractions, "contractions", "contractions"},
    {Measure::FirstPerson, "first_person", "first-person words"},
    {Measure::SecondPerson, "second_person", "second-person words"},
    {Measure::ThirdPerson, "third_person", "third-person words"},
    {Measure::PastTenseWords, "past_tense_words", "common past-tense words"},
    {Measure::PastTenseForms, "past_tense_forms", "-ed forms"},
    {Measure::DefiniteArticle, "definite_article", "definite articles"},
    {Measure::IndefiniteArticle, "indefinite_article", "indefinite articles"},
    {Measure::It, "it", "'it'"},
    {Measure::ObligationCount, "obligation_count", "modal verbs"},
    {Measure::ObligationDensity, "obligation_density", "obligation density"},
    {Measure::AffectCount, "affect_count", "affect words"},
    {Measure::AffectDensity, "affect_density", "affect density"},
    {Measure::Quotes, "quotes", "double quotation marks"},
    {Measure::D0, "d0", "contraction density"},
    {Measure::D1, "d1", "first-person density"},
    {Measure::D2, "d2", "second-person density"},
    {Measure::D3, "d3", "third-person density"},
    {Measure::D4, "d4", "common past-tense density"},
    {Measure::D5, "d5", "inflection density"},
    {Measure::D6, "d6", "definite-article density"},
    {Measure::D7, "d7", "indefinite-article density"},
    {Measure::D8, "d8", "'it' density"},
}};

const std::string& TextMeasures::text(Measure m) const {
    const TextMeasures& t = *this;
    switch (m) {
        case Measure::TextLength:
            return t.textLength;
        case Measure::WordLengthAvg:
            return t.wordLengthAvg;
        case Measure::Contractions:
            return t.contractions;
        case Measure::FirstPerson:
            return t.firstPerson;
        case Measure::SecondPerson:
            return t.secondPerson;
        case Measure::ThirdPerson:
            return t.thirdPerson;
        case Measure::PastTenseWords:
            return t.pastTenseWords;
        case Measure::PastTenseForms:
            return t.pastTenseForms;
        case Measure::DefiniteArticle:
            return t.definiteArticle;
        case Measure::IndefiniteArticle:
            return t.indefiniteArticle;
        case Measure::It:
            return t.it;
        case Measure::ObligationCount:
            return t.obligationCount;
        case Measure::ObligationDensity:
            return t.obligationDensity;
        case Measure::AffectCount:
            return t.affectCount;
        case Measure::AffectDensity:
            return t.affectDensity;
        case Measure::Quotes:
            return t.quotes;
        default:
            return t.densities[static_cast<std::size_t>(static_cast<int>(m) -
                                                        static_cast<int>(Measure::D0))];
    }
}

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
