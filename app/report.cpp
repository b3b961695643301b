#include "app/report.h"

#include <cstdint>
#include <utility>

#include "app/statistics.h"
#include "stores/number_text.h"

namespace pelmora {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Appends each line of `list` with CR LF to `text`; returns the lines' strengths.
std::vector<int> gatherLines(const PairList& list, std::string& text) {
    std::vector<int> strengths;
    const std::int64_t n = list.count();
    strengths.reserve(static_cast<std::size_t>(n));
    for (std::int64_t k = 0; k < n; ++k) {
        const std::string line = list.at(k);
        text.append(line).append(kCrLf);
        strengths.push_back(static_cast<int>(decimalParse(line.substr(line.size() - 1))));
    }
    return strengths;
}

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

void Form2::cmdRemDupes() {
    lstDogBox.removeRepeats();
    std::string dogBox = txtDogBox.text();
    const std::vector<int> strengths = gatherLines(lstDogBox, dogBox);
    txtDogBox.setText(std::move(dogBox));
    for (const int s : strengths) {
        lstVals.append(intText(s));
    }

    lstDogHouse.removeRepeats();
    std::string dogHouse = txtDogHouse.text();
    gatherLines(lstDogHouse, dogHouse);
    txtDogHouse.setText(std::move(dogHouse));

    StrengthStatistics stats = strengthStatistics(strengths);
    for (std::size_t i = 0; i < stats.deviations.size(); ++i) {
        lstCalcs.append(std::move(stats.deviations[i]));
        lstCalcs1.append(std::move(stats.squares[i]));
    }
    lblStDev.setText(stats.stDev);
    lblMean.setText(stats.mean);

    std::string significant;
    for (const std::size_t i : stats.significant) {
        significant.append(lstDogBox.at(static_cast<std::int64_t>(i))).append(kCrLf);
    }
    txtReport.append(reportText(ReportContent{txtDogBox.text(), txtDogHouse.text(), lblMean.text(),
                                              lblStDev.text(), significant, &skippedFiles}));
}

}  // namespace pelmora
