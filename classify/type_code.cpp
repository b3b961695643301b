// The type code: one digit per category text, gathered with the file name for the comparison.

#include <initializer_list>

#include "analysis/form1.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

struct DigitRule {
    std::string_view text;
    const char* digit;
};

// The digit of the first rule whose text equals the field, else `otherwise` (nothing when
// null: a formality field holding none of its texts gives a four-character code).
void appendDigit(ListStore& typology, const ValueField& field,
                 std::initializer_list<DigitRule> rules, const char* otherwise) {
    for (const DigitRule& rule : rules) {
        if (equalsIgnoreCase(field.text(), rule.text)) {
            typology.append(rule.digit);
            return;
        }
    }
    if (otherwise != nullptr) {
        typology.append(otherwise);
    }
}

}  // namespace

void Form1::cmdTypeText() {
    appendDigit(lstTypology, lblFormality, {{"Formal", "2"}, {"Informal", "1"}, {"Neutral", "0"}},
                nullptr);
    appendDigit(lstTypology, lblPersonage,
                {{"First Person", "1"}, {"Second Person", "2"}, {"Third Person", "3"}}, "0");
    appendDigit(lstTypology, lblPastTenseness, {{"Past Tense", "1"}, {"Not Past Tense", "2"}}, "0");
    appendDigit(lstTypology, lblObligationIntention,
                {{"Obligation/Intention", "1"}, {"Obligation/Intention - strong", "2"}}, "0");
    appendDigit(lstTypology, lblAffect, {{"Affective", "1"}, {"Highly Affective", "2"}}, "0");

    std::string code;
    for (const std::string& digit : lstTypology.items()) {
        code += digit;
    }
    txtTypes.append(code + "\t" + txtFileName.text() + "\r\n");
    lstAllTypes.append(code);
    lstTypeNames.append(txtFileName.text());
    lstTypology.clear();
}

}  // namespace pelmora
