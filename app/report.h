#pragma once
// The report that cmdRemDupes appends to txtReport.

#include <string>
#include <string_view>
#include <vector>

#include "forms/file_facts.h"
#include "stores/composed_text.h"

namespace pelmora {

struct ReportContent {
    const ComposedText& dogBoxText;                     // every pair line, each followed by CR LF
    const ComposedText& dogHouseText;                   // the minimal pair lines, likewise
    std::string_view mean, stDev;                       // as the value fields hold them
    const ComposedText& significantText;                // the significant pair lines, likewise
    const std::vector<SkippedFile>* skipped = nullptr;  // files left out of the run
};

// The rows of the report in order, CR LF line ends; the paragraph on files left out comes
// last and only when there are such files.
ComposedText reportText(const ReportContent& content);

}  // namespace pelmora
