#include "explanation/input_quality.h"

#include <unordered_map>

#include "stores/number_text.h"

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

// "looks binary: 12 NUL characters, 13.3% control or replacement characters (more than 1%)".
std::string binaryWarning(const CharacterCounts& counts) {
    std::string out = "looks binary: ";
    if (counts.nul > 0) {
        out += intText(static_cast<std::int64_t>(counts.nul)) +
               (counts.nul == 1 ? " NUL character" : " NUL characters");
    }
    if (const double share = unusualShare(counts); share > RuleBook::kBinaryShare) {
        out += (counts.nul > 0 ? ", " : "") + fixedText(100 * share, 1) +
               "% control or replacement characters (more than " +
               doubleText(100 * RuleBook::kBinaryShare) + "%)";
    }
    return out;
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
        FileQuality q;
        q.position = t.position;
        q.name = t.name;
        q.encoding = encodingName(t.file.encoding);
        q.size = std::to_string(t.file.byteSize);
        q.words = t.measures.textLength;
        q.empty = t.file.byteSize == 0;
        q.looksBinary = looksBinary(t.file.characters);
        const double words = t.number(Measure::TextLength);
        if (q.empty) {
            q.warnings.emplace_back("empty file (0 bytes)");
        } else if (words <= 0) {
            q.warnings.emplace_back("no words");
        } else if (words < RuleBook::kReliableWords) {
            q.warnings.emplace_back("fewer than " + std::to_string(RuleBook::kReliableWords) +
                                    " words (densities unreliable)");
        }
        if (q.looksBinary) {
            q.warnings.push_back(binaryWarning(t.file.characters));
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
        FileQuality q;
        q.name = s.name;
        q.warnings.push_back("left out as unreadable: " + s.reason);
        out.push_back(std::move(q));
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
