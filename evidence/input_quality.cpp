#include "evidence/input_quality.h"

#include <unordered_map>

#include "stores/number_text.h"

namespace pelmora {

std::vector<FileQuality> assessQuality(const RunSnapshot& run) {
    std::vector<FileQuality> out;
    // Files with the same bytes, grouped by digest, in run order.
    std::unordered_map<std::string, std::vector<std::size_t>> sameBytes;
    for (std::size_t i = 0; i < run.files.size(); ++i) {
        sameBytes[run.files[i].sha256].push_back(i);
    }
    for (std::size_t i = 0; i < run.texts.size(); ++i) {
        const TextMeasures& m = run.texts[i];
        FileQuality q{m.name, "", "", m.textLength, {}};
        const double words = strictParse(m.textLength).value_or(0.0);
        if (words <= 0) {
            q.warnings.emplace_back("no words");
        } else if (words < kReliableWordCount) {
            q.warnings.emplace_back("fewer than 200 words (densities unreliable)");
        }
        if (i < run.files.size()) {
            const FileFacts& f = run.files[i];
            q.encoding = f.encoding;
            q.size = std::to_string(f.byteSize);
            for (std::size_t other : sameBytes[f.sha256]) {
                if (other != i) {
                    q.warnings.push_back("identical content to " + run.files[other].name);
                }
            }
        }
        out.push_back(std::move(q));
    }
    for (const SkippedFile& s : run.skipped) {
        out.push_back({s.name, "", "", "", {"left out as unreadable: " + s.reason}});
    }
    return out;
}

int warningCount(const std::vector<FileQuality>& files) {
    int n = 0;
    for (const FileQuality& f : files) {
        n += static_cast<int>(f.warnings.size());
    }
    return n;
}

std::string qualitySummary(const std::vector<FileQuality>& files) {
    const int n = warningCount(files);
    if (n == 0) {
        return "No input warnings";
    }
    return std::to_string(n) + (n == 1 ? " warning" : " warnings") + ": see Details";
}

std::vector<TableRow> qualityTable(const std::vector<FileQuality>& files) {
    std::vector<TableRow> rows{{"name", "encoding", "size", "words", "warnings"}};
    for (const FileQuality& f : files) {
        std::string warnings;
        for (const std::string& w : f.warnings) {
            warnings += (warnings.empty() ? "" : "; ") + w;
        }
        rows.push_back({f.name, f.encoding, f.size, f.words, warnings});
    }
    return rows;
}

}  // namespace pelmora
