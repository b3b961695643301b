#include "explanation/input_quality.h"

namespace pelmora {

std::string qualitySummary(const std::vector<FileQuality>& files) {
    const int n = warningCount(files);
    return n == 0 ? warningsCountText(0) : warningsCountText(n) + ": see Details";
}

std::vector<TableRow> qualityTable(const std::vector<FileQuality>& files, NameStyle style) {
    std::vector<TableRow> rows{{"name", "encoding", "size", "words", "same_bytes_as", "warnings"}};
    for (const FileQuality& f : files) {
        std::string warnings;
        for (const std::string& w : f.warnings) {
            warnings += (warnings.empty() ? "" : "; ") + w;
        }
        rows.push_back({shownName(f.name, style), f.encoding, f.size, f.words,
                        shownName(f.sameBytesAs, style), shownName(warnings, style)});
    }
    return rows;
}

ColumnKinds qualityColumnKinds() {
    return {{CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Number}};
}

}  // namespace pelmora
