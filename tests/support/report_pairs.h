#pragma once
// The pair lines of a report read back from its text, so that what lists pairs can be held
// against the report as a user reads it.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::test {

struct ReportedPairs {
    std::vector<std::string> all;  // "earlier-later<TAB>strength", in the report's order
    std::set<std::string> minimal, significant;
};

// The lines of a text with CR LF or LF line ends.
inline std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string_view::npos; from = end + 1) {
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
    }
    return lines;
}

// The lines under each heading, up to the next empty line.
inline ReportedPairs reportedPairs(std::string_view report) {
    const std::vector<std::string> lines = textLines(report);
    ReportedPairs out;
    const auto after = [&](std::string_view head, auto&& take) {
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (lines[k] == head) {
                for (++k; k < lines.size() && !lines[k].empty(); ++k) {
                    take(lines[k]);
                }
                return;
            }
        }
    };
    after("Text Pair\tStrength of Intertextual relationship",
          [&](const std::string& line) { out.all.push_back(line); });
    after(
        "The following texts were found to have a minimal intertextual type-relationship, "
        "which may have implications for inter-text comparisons in this group of texts:",
        [&](const std::string& line) { out.minimal.insert(line); });
    after(
        "The following intertextual type-relationships were significantly different from the "
        "norm for this group of texts:",
        [&](const std::string& line) { out.significant.insert(line); });
    return out;
}

}  // namespace pelmora::test
