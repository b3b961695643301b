#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/program_context.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr int kInflections = 5;
constexpr int kCommonPastWords = 4;
constexpr double kNoticeable = 0.01;

}  // namespace

void Form1::cmdEvaluate() {
    const auto density = [this](int i) {
        return strictParse(lstTypeFrequencies.get(i)).value_or(0.0);
    };

    // "-ed" endings without the common past forms are taken for passive participles.
    SharedState& shared = context_->shared();
    if (density(kInflections) > kNoticeable && density(kCommonPastWords) < kNoticeable) {
        shared.passiveFlag = true;
    }
    if (shared.passiveFlag && lstTypes.count() > kInflections) {
        lstTypes.setAt(kInflections, "Passive");
    }

    int noticeable = 0;
    for (const std::string& line : lstTypeFrequencies.items()) {
        lstCharacterValues.append(line);
        noticeable += strictParse(line).value_or(0.0) > kNoticeable;
    }
    lblClass.setText(noticeable >= 1 ? "Classifiable" : "Unclassifiable");

    const int count = lstCharacterValues.count();
    for (int i = 0; i < count; ++i) {
        lstSortedValues.append(lstCharacterValues.at(count - 1 - i));
    }

    // Matched as texts: k features sharing one density give their block of names k times.
    for (const std::string& value : lstSortedValues.items()) {
        for (int j = 0; j < lstTypeFrequencies.count(); ++j) {
            if (equalsIgnoreCase(lstTypeFrequencies.at(j), value)) {
                lstResults.append(std::string(lstTypes.get(j)));
            }
        }
    }
}

}  // namespace pelmora
