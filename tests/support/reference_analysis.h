#pragma once
// A plain step-by-step reading of the text normalisation and key-word counting, built only
// from replaceAll and SplitCount, against which the fast passes are checked.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"

namespace pelmora::test {

struct ReferenceCleanup {
    std::string text;
    std::int32_t quotes = 0, modal = 0, affect = 0;
};

// The punctuation clean-up and its counts, without the space normalisation at its end.
ReferenceCleanup referenceRemovePunctuation(std::string text,
                                            const std::vector<std::string>& affectWords);

// 24 halvings of runs of spaces, both ends trimmed, one space put before and after.
std::string referencePadWithSingleSpaces(std::string text);

// Does on `form` what cmdPrincipes does: normalises Text1 and writes every store it writes.
void referencePrincipes(Form1& form);

// Presses the seven counters in pipeline order, which puts the nine density lines in place.
void pressCounters(ProgramContext& context);

// The full analysis with referencePrincipes in front of the form's own later steps.
void referenceDoItAll(ProgramContext& context);

}  // namespace pelmora::test
