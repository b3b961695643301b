#include "analysis/form1.h"

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

Form1::Form1(ProgramContext* context) : Text2(kLegend), context_(context) {}

}  // namespace pelmora
