#include "app/report.h"

#include <cstdint>
#include <utility>

#include "app/form2_commands.h"
#include "app/statistics.h"

namespace pelmora {

namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

ComposedText reportText(const ReportContent& c) {
    ComposedText out;
    out.append(c.dogBoxText);
    out.append(std::string(kCrLf));
    out.append(c.dogHouseText);
    out.append(
        "\r\n"
        "The maximum intertextual type-relationship is calculated from a variety of textual "
        "features and \r\n"
        "has a maximum strength of 5. Values below " +
        std::to_string(RuleBook::kMinimalBelow) +
        " are considered to indicate a minimal "
        "intertextual type-relationship. This may have implications for inter-text comparisons "
        "in this group of texts.\r\n"
        "Arithmetic Mean\t" +
        std::string(c.mean) + "\r\nSample Standard Deviation\t" + std::string(c.stDev) + "\r\n");
    if (!c.significantText.empty()) {
        out.append(
            "The following intertextual type-relationships were significantly different from the "
            "norm for this group of texts:\r\n");
        out.append(c.significantText);
        out.append(std::string(kCrLf));
    } else {
        out.append(
            "No intertextual type-relationships were found to be significantly different from "
            "the norm for this group of texts.\r\n");
    }
    if (!c.dogHouseText.empty()) {
        out.append(
            "The following texts were found to have a minimal intertextual type-relationship, "
            "which may have implications for inter-text comparisons in this group of texts:\r\n");
        out.append(c.dogHouseText);
        out.append(std::string(kCrLf));
    } else {
        out.append(
            "No texts in this group were found to have minimal intertextual "
            "type-relationships.\r\n");
    }
    if (c.skipped != nullptr && !c.skipped->empty()) {
        out.append("The following files could not be read and were left out:\r\n");
        std::vector<std::pair<std::string, std::string>> lines;
        for (const SkippedFile& file : *c.skipped) {
            lines.emplace_back(file.name, "\t" + file.reason);
        }
        out.appendNamedLines(std::move(lines));
    }
    return out;
}

void Form2Commands::cmdRemDupes() {
    Form2& f = form();
    f.lstDogBox.removeRepeats();
    f.txtDogBox.appendPairLines(f.lstDogBox);
    f.lstVals.append(f.lstDogBox, PairValueList::strengthTexts());

    f.lstDogHouse.removeRepeats();
    f.txtDogHouse.appendPairLines(f.lstDogHouse);

    const StrengthStatistics stats = strengthStatistics(f.lstDogBox);
    f.lstCalcs.append(f.lstDogBox, stats.deviation);
    f.lstCalcs1.append(f.lstDogBox, stats.square);
    ComposedText significant;
    significant.appendPairLines(f.lstDogBox, stats.significant);
    f.lblStDev.setText(stats.stDev);
    f.lblMean.setText(stats.mean);
    f.significantStrength = stats.significant;
    f.txtReport.append(reportText(ReportContent{f.txtDogBox, f.txtDogHouse, f.lblMean.text(),
                                                f.lblStDev.text(), significant, &f.skippedFiles}));
}

}  // namespace pelmora
