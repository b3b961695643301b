#include "evidence/input_quality.h"

#include <unordered_map>

namespace pelmora {

namespace {

// The names of a group of identical files, the first few of them.
std::string groupText(const RunResult& run, const std::vector<int>& members) {
    constexpr std::size_t kNamed = 5;
    std::string out = "identical content: " + std::to_string(members.size()) + " files (";
    for (std::size_t i = 0; i < members.size() && i < kNamed; ++i) {
        out += (i > 0 ? ", " : "") + run.texts[static_cast<std::size_t>(members[i])].name;
    }
    if (members.size() > kNamed) {
        out += " and " + std::to_string(members.size() - kNamed) + " more";
    }
    return out + ")";
}

}  // namespace

std::vector<FileQuality> assessQuality(const RunResult& run) {
    std::vector<FileQuality> out;
    // Files with the same bytes, grouped by digest, in run order.
    std::unordered_map<std::string, std::vector<int>> sameBytes;
    for (const TextRecord& t : run.texts) {
        if (t.inRun) {
            sameBytes[t.file.sha256].push_back(t.position);
        }
    }
    for (const TextRecord& t : run.texts) {
        if (!t.inRun) {
            continue;
        }
        FileQuality q{t.position, t.name, encodingName(t.file.encoding),
                      std::to_string(t.file.byteSize), t.measures.textLength, "", {}};
        const double words = t.number(Measure::TextLength);
        if (words <= 0) {
            q.warnings.emplace_back("no words");
        } else if (words < RuleBook::kReliableWords) {
            q.warnings.emplace_back("fewer than " + std::to_string(RuleBook::kReliableWords) +
                                    " words (densities unreliable)");
        }
        const std::vector<int>& group = sameBytes[t.file.sha256];
        if (group.size() > 1) {
            if (group.front() == t.position) {
                q.warnings.push_back(groupText(run, group));
            } else {
                q.sameBytesAs = run.texts[static_cast<std::size_t>(group.front())].name;
            }
        }
        out.push_back(std::move(q));
    }
    for (const SkippedFile& s : run.leftOut) {
        out.push_back({-1, s.name, "", "", "", "", {"left out as unreadable: " + s.reason}});
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
