#pragma once
// Doubtful input of a run, per file: what was read, and why its figures may not be trusted.
// Files with the same bytes form one group, warned of once. Assessed once as the run ends.

#include <string>
#include <vector>

#include "rules/rule_book.h"

namespace pelmora {

struct RunResult;

struct FileQuality {
    int position = -1;  // the text's position in the run; -1 for a file left out
    std::string name;
    std::string encoding;      // empty for a file left out
    std::string size;          // bytes, empty for a file left out
    std::string words;         // the text length the densities divide by; empty when left out
    std::string sameBytesAs;   // the first file of its group of identical files, if not itself
    bool empty = false;        // 0 bytes
    bool looksBinary = false;  // by the rule book's share of unusual characters, or a NUL
    std::vector<std::string> warnings;
};

// The analysed files in run order, then the files left out. A file's text is analysed
// whatever it holds: its warnings say what its figures rest on.
std::vector<FileQuality> assessQuality(const RunResult& run);

int warningCount(const std::vector<FileQuality>& files);

// The warning of a text of fewer words than its densities need.
std::string fewWordsWarning(int reliableWords = RuleBook::kReliableWords);

}  // namespace pelmora
