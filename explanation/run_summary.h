#pragma once
// A run in figures, for the main form to show beside the report: every figure is read from
// the run result, the mean and deviation as the report writes them, with plain words for
// what the figures alone do not say (no pair compared, a deviation that needs two pairs).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/run_result.h"

namespace pelmora {

struct RunSummary {
    std::string folder;     // the full path of the folder the run went through, as text
    int textsAnalysed = 0;  // files of the folder read and analysed
    int textsByHand = 0;    // analysed by hand before the run; they take part in its pairs
    int textsLeftOut = 0;   // files that could not be read, and entries that lead to no file
    std::int64_t pairs = 0, minimalPairs = 0, significantPairs = 0;
    std::string mean, stDev;
    std::optional<double> stDevValue;     // nothing where the deviation is not available
    int warnings = 0;                     // input warnings, as Details lists them
    int binaryTexts = 0, emptyTexts = 0;  // among the texts analysed, as their warnings say
    std::string unlisted;                 // the folder's other files, as unlistedText says them
    std::vector<std::string> notes;
};

RunSummary summariseRun(const RunResult& run);

// "3 other files not listed: 2 .docx, 1 .eml"; kinds by count, then by name, the first five
// named; "" when every file is listed.
std::string unlistedText(const UnlistedFiles& files);
// "Left out: broken.txt (Dangling link), gone.txt (No such file or directory)", the first
// five named; "" when none is.
std::string leftOutText(const std::vector<SkippedFile>& files);

}  // namespace pelmora
