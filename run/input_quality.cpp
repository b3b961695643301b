#include "run/input_quality.h"

#include "run/run_result.h"

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

std::string fewWordsWarning(int reliableWords) {
    return "fewer than " + std::to_string(reliableWords) + " words (densities unreliable)";
}

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
            q.warnings.push_back(fewWordsWarning());
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

}  // namespace pelmora
