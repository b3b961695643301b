#include "app/report.h"

#include <cstdint>
#include <utility>

#include "app/form2_commands.h"
#include "app/statistics.h"

namespace pelmora {

namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string reportText(const ReportContent& c) {
    std::string out;
    out.reserve(c.dogBoxText.size() + 2 * c.dogHouseText.size() + c.significantText.size() + 1024);
    out.append(c.dogBoxText).append(kCrLf);
    out.append(c.dogHouseText).append(kCrLf);
    out.append(
        "The maximum intertextual type-relationship is calculated from a variety of textual "
        "features and \r\n");
    out.append(
        "has a maximum strength of 5. Values below 3 are considered to indicate a minimal "
        "intertextual type-relationship. This may have implications for inter-text comparisons "
        "in this group of texts.\r\n");
    out.append("Arithmetic Mean\t").append(c.mean).append(kCrLf);
    out.append("Sample Standard Deviation\t").append(c.stDev).append(kCrLf);
    if (!c.significantText.empty()) {
        out.append(
            "The following intertextual type-relationships were significantly different from the "
            "norm for this group of texts:\r\n");
        out.append(c.significantText).append(kCrLf);
    } else {
        out.append(
            "No intertextual type-relationships were found to be significantly different from "
            "the norm for this group of texts.\r\n");
    }
    if (!c.dogHouseText.empty()) {
        out.append(
            "The following texts were found to have a minimal intertextual type-relationship, "
            "which may have implications for inter-text comparisons in this group of texts:\r\n");
        out.append(c.dogHouseText).append(kCrLf);
    } else {
        out.append(
            "No texts in this group were found to have minimal intertextual "
            "type-relationships.\r\n");
    }
    if (c.skipped != nullptr && !c.skipped->empty()) {
        out.append("The following files could not be read and were left out:\r\n");
        for (const SkippedFile& file : *c.skipped) {
            out.append(file.name).append("\t").append(file.reason).append(kCrLf);
        }
    }
    return out;
}

void Form2Commands::cmdRemDupes() {
    Form2& f = form();
    f.lstDogBox.removeRepeats();
    std::string dogBox = f.txtDogBox.text();
    f.lstDogBox.forEachPair([&](const PairList::Pair& p) {
        f.lstDogBox.appendLine(dogBox, p);
        dogBox.append(kCrLf);
        f.lstVals.append(std::string(1, static_cast<char>('0' + p.strength)));
        return true;
    });
    f.txtDogBox.setText(std::move(dogBox));

    f.lstDogHouse.removeRepeats();
    std::string dogHouse = f.txtDogHouse.text();
    f.lstDogHouse.forEachPair([&](const PairList::Pair& p) {
        f.lstDogHouse.appendLine(dogHouse, p);
        dogHouse.append(kCrLf);
        return true;
    });
    f.txtDogHouse.setText(std::move(dogHouse));

    const StrengthStatistics stats = strengthStatistics(f.lstDogBox);
    std::string significant;
    f.lstDogBox.forEachPair([&](const PairList::Pair& p) {
        const auto x = static_cast<std::size_t>(p.strength);
        f.lstCalcs.append(stats.deviation[x]);
        f.lstCalcs1.append(stats.square[x]);
        if (stats.significant[x]) {
            f.lstDogBox.appendLine(significant, p);
            significant.append(kCrLf);
        }
        return true;
    });
    f.lblStDev.setText(stats.stDev);
    f.lblMean.setText(stats.mean);
    f.significantStrength = stats.significant;
    f.txtReport.append(reportText(ReportContent{f.txtDogBox.text(), f.txtDogHouse.text(),
                                                f.lblMean.text(), f.lblStDev.text(), significant,
                                                &f.skippedFiles}));
}

}  // namespace pelmora
