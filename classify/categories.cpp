// The five category commands of the analysis form: from the ranking and the measures of one
// text to its formality, personage, past-tenseness, obligation and affect texts.


#include "analysis/density.h"
#include "analysis/form1.h"
#include "app/program_context.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// A density line read as a number; a missing or malformed line reads as 0, so that a
// command pressed out of pipeline order classifies instead of failing.
double densityAt(const ListStore& densities, int i) {
    return strictParse(densities.get(i)).value_or(0.0);
}

bool rankedAt(const ListStore& ranking, int position, std::string_view feature) {
    return equalsIgnoreCase(ranking.get(position), feature);
}

}  // namespace

void Form1::cmdFormality() {
    SharedState& shared = context_->shared();
    for (int position : {0, 1}) {
        if (rankedAt(lstResults, position, "Passive") ||
            rankedAt(lstResults, position, "Definite article")) {
            lblFormality.setText("Formal");
            shared.formalFlag = true;
        }
    }
    const double contractions = densityAt(lstTypeFrequencies, 0);
    if (!shared.formalFlag) {
        for (int position : {0, 1}) {
            if (rankedAt(lstResults, position, "Contractions")) {
                lblFormality.setText("Informal");
            }
        }
        if (lblFormality.empty() && contractions > 0.01) {
            lblFormality.setText("Informal");
        }
    }
    // A density of exactly 0.01 is neither informal nor open to the article rules.
    if (lblFormality.empty() && contractions < 0.01 && densityAt(lstTypeFrequencies, 6) > 0.02) {
        lblFormality.setText("Formal");
    }
    if (lblFormality.empty() && contractions < 0.01 && densityAt(lstTypeFrequencies, 7) > 0.02) {
        lblFormality.setText("Formal");
    }
    if (lblFormality.empty()) {
        lblFormality.setText("Neutral");
    }
}

void Form1::cmdPersonage() {
    bool firstRanked = false;
    for (int position : {0, 1}) {
        if (rankedAt(lstResults, position, "First Person")) {
            lblPersonage.setText("First Person");
            firstRanked = true;
        }
    }
    if (!firstRanked) {
        lblPersonage.setText("Not first person");
    }
    const double f = lblFirstPerson.value();
    const double s = lblSecondPerson.value();
    const double t = lblThirdPerson.value();
    if (f < s && t < s) {
        lblPersonage.setText("Second person");
    }
    // Third person must dominate both others; comparing F with S instead would leave a
    // third-person text without second-person words unrecognised.
    if (f < t && s < t) {
        lblPersonage.setText("Third person");
    }
}

void Form1::cmdPastTenseness() {
    // After the evaluation relabels the inflections "Passive", they no longer count as past.
    const bool unrelabelled = equalsIgnoreCase(lstTypes.get(4), "Common Past Tense Words") &&
                              equalsIgnoreCase(lstTypes.get(5), "Past Tense Inflections");
    bool matched = false;
    for (int position : {0, 1}) {
        if (unrelabelled && rankedAt(lstResults, position, "Past Tense Inflections")) {
            lblPastTenseness.setText("Past Tense");
            matched = true;
        }
    }
    if (!matched) {
        lblPastTenseness.setText("Not Past Tense");
    }
    if (equalsIgnoreCase(lstTypes.get(5), "Past Tense Inflections") &&
        densityAt(lstTypeFrequencies, 5) > 0.01) {
        lblPastTenseness.setText("Past Tense");
    }
}

void Form1::cmdObligation() {
    const double density = lblObligation.value();
    if (density > 0.015) {
        lblObligationIntention.setText("Obligation/Intention");
    }
    if (density > 0.03) {
        lblObligationIntention.setText("Obligation/Intention - strong");
    }
}

void Form1::cmdAffect() {
    lblAffectTotal.setFourDecimal(perWord(lblAffectTotal.value(), lblTextLength.value()));
    const double rounded = lblAffectTotal.value();
    if (rounded > 0.03) {
        lblAffect.setText("Affective");
    }
    if (rounded > 0.05) {
        lblAffect.setText("Highly Affective");
    }
}

}  // namespace pelmora
