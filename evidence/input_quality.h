#pragma once
// Doubtful input of a run, per file: what was read, and why its figures may not be trusted.

#include <cstdint>
#include <string>
#include <vector>

#include "evidence/csv.h"
#include "evidence/run_snapshot.h"

namespace pelmora {

// Below this many words a text's densities rest on too few words to be reliable.
inline constexpr int kReliableWordCount = 200;

struct FileQuality {
    std::string name;
    std::string encoding;  // empty for a file left out
    std::string size;      // bytes, empty for a file left out
    std::string words;     // the text length the densities divide by; empty when left out
    std::vector<std::string> warnings;
};

// The analysed files in run order, then the files left out.
std::vector<FileQuality> assessQuality(const RunSnapshot& run);

int warningCount(const std::vector<FileQuality>& files);

// One line for the main form: "3 warnings: see Details", "1 warning: see Details",
// "No input warnings".
std::string qualitySummary(const std::vector<FileQuality>& files);

// Header row "name", "encoding", "size", "words", "warnings"; warnings joined by "; ".
std::vector<TableRow> qualityTable(const std::vector<FileQuality>& files);

}  // namespace pelmora
