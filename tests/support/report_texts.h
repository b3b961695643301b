#pragma once
// The fixed rows of the report, written out once for the tests that check reports whole.

#include <string>

namespace pelmora::test {

inline const std::string kReportHeader = "Text Pair\tStrength of Intertextual relationship\r\n";
inline const std::string kExplanationRows =
    "The maximum intertextual type-relationship is calculated from a variety of textual "
    "features and \r\n"
    "has a maximum strength of 5. Values below 3 are considered to indicate a minimal "
    "intertextual type-relationship. This may have implications for inter-text comparisons "
    "in this group of texts.\r\n";
inline const std::string kSignificantHead =
    "The following intertextual type-relationships were significantly different from the norm "
    "for this group of texts:\r\n";
inline const std::string kNoSignificant =
    "No intertextual type-relationships were found to be significantly different from the "
    "norm for this group of texts.\r\n";
inline const std::string kMinimalHead =
    "The following texts were found to have a minimal intertextual type-relationship, which "
    "may have implications for inter-text comparisons in this group of texts:\r\n";
inline const std::string kNoMinimal =
    "No texts in this group were found to have minimal intertextual type-relationships.\r\n";
inline const std::string kSkippedHead =
    "The following files could not be read and were left out:\r\n";

// Rows 7 and 8.
inline std::string statisticsRows(const std::string& mean, const std::string& stDev) {
    return "Arithmetic Mean\t" + mean + "\r\nSample Standard Deviation\t" + stDev + "\r\n";
}

}  // namespace pelmora::test
