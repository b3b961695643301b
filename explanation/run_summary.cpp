#include "explanation/run_summary.h"

#include <algorithm>
#include <utility>

#include "explanation/input_quality.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

constexpr std::size_t kNamed = 5;

std::string textsWord(int n) {
    return std::to_string(n) + (n == 1 ? " text" : " texts");
}

// "1 text looks binary and 2 texts are empty (0 bytes): see Details."
std::string unusualTextsNote(int binary, int empty) {
    std::string out;
    if (binary > 0) {
        out = textsWord(binary) + (binary == 1 ? " looks binary" : " look binary");
    }
    if (empty > 0) {
        out += (out.empty() ? "" : " and ") + textsWord(empty) +
               (empty == 1 ? " is empty (0 bytes)" : " are empty (0 bytes)");
    }
    return out + ": see Details.";
}

std::vector<std::string> notesOn(const RunSummary& s) {
    std::vector<std::string> notes;
    const int compared = s.textsAnalysed + s.textsByHand;
    if (s.pairs == 0) {
        // Texts that share a name are one text to the comparison.
        notes.emplace_back(compared == 0   ? "No pair was compared: no text was analysed."
                           : compared == 1 ? "No pair was compared: only one text was analysed."
                                           : "No pair was compared: every text analysed has "
                                             "the same name.");
    } else if (s.pairs == 1) {
        notes.emplace_back(
            "Only one pair was compared: a standard deviation needs at least two, so no pair "
            "can be off the norm.");
    } else if (s.stDevValue == 0.0) {
        notes.emplace_back("Every pair has the same strength, so no pair can be off the norm.");
    }
    if (s.textsByHand > 0) {
        notes.push_back(textsWord(s.textsByHand) +
                        " analysed by hand before the run took part in its pairs.");
    }
    if (s.binaryTexts > 0 || s.emptyTexts > 0) {
        notes.push_back(unusualTextsNote(s.binaryTexts, s.emptyTexts));
    }
    return notes;
}

}  // namespace

RunSummary summariseRun(const RunResult& run) {
    RunSummary s;
    s.folder = displayText(run.folder.native());
    s.textsAnalysed = run.analysedCount();
    s.textsByHand = static_cast<int>(run.texts.size()) - s.textsAnalysed;
    s.textsLeftOut = static_cast<int>(run.leftOut.size());
    s.pairs = run.pairs.count();
    const std::array<std::int64_t, 16>& counts = run.pairs.strengthCounts();
    for (int strength = 0; strength < static_cast<int>(counts.size()); ++strength) {
        const std::int64_t n = counts[static_cast<std::size_t>(strength)];
        s.minimalPairs += isMinimal(strength) ? n : 0;
        s.significantPairs += run.pairs.significantStrength(strength) ? n : 0;
    }
    s.mean = run.mean;
    s.stDev = run.stDev;
    s.stDevValue = run.stDevValue;
    const std::vector<FileQuality>& quality = run.quality;
    s.warnings = warningCount(quality);
    for (const FileQuality& q : quality) {
        s.binaryTexts += q.looksBinary ? 1 : 0;
        s.emptyTexts += q.empty ? 1 : 0;
    }
    s.unlisted = unlistedText(run.unlisted);
    s.notes = notesOn(s);
    if (std::string leftOut = leftOutText(run.leftOut); !leftOut.empty()) {
        s.notes.push_back(std::move(leftOut) + ".");
    }
    return s;
}

std::string unlistedText(const UnlistedFiles& files) {
    const int total = files.count();
    if (total == 0) {
        return "";
    }
    std::vector<std::pair<int, std::string>> kinds;
    for (const auto& [extension, n] : files.byExtension) {
        kinds.emplace_back(n, extension.empty() ? "without extension" : extension);
    }
    if (files.hidden > 0) {
        kinds.emplace_back(files.hidden, "hidden");
    }
    std::sort(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::string out =
        std::to_string(total) + (total == 1 ? " other file" : " other files") + " not listed: ";
    int named = 0;
    for (std::size_t i = 0; i < kinds.size() && i < kNamed; ++i) {
        out += (i > 0 ? ", " : "") + std::to_string(kinds[i].first) + " " + kinds[i].second;
        named += kinds[i].first;
    }
    if (named < total) {
        out += " and " + std::to_string(total - named) + " more";
    }
    return out;
}

std::string leftOutText(const std::vector<SkippedFile>& files) {
    if (files.empty()) {
        return "";
    }
    std::string out = "Left out: ";
    for (std::size_t i = 0; i < files.size() && i < kNamed; ++i) {
        out += (i > 0 ? ", " : "") + files[i].name + " (" + files[i].reason + ")";
    }
    if (files.size() > kNamed) {
        out += " and " + std::to_string(files.size() - kNamed) + " more";
    }
    return out;
}

}  // namespace pelmora
