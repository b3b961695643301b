#pragma once
// What the evidence, the matrix, the quality check and the run record read of one finished
// batch run, gathered from the forms so that they can be built and tested without a run.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/form2.h"
#include "evidence/file_facts.h"

namespace pelmora {

class ProgramContext;

struct SnapshotPair {
    int first = 0, second = 0;  // positions in RunSnapshot::names
    int strength = 0;
    bool significant = false;  // listed by the report as off the norm
};

struct RunSnapshot {
    std::string folder;
    std::vector<TextMeasures> texts;  // in run order
    std::vector<FileFacts> files;     // parallel to texts
    std::vector<SkippedFile> skipped;
    std::vector<std::string> names;   // the matrix axis: texts' names, then any other compared
    std::vector<SnapshotPair> pairs;  // in report order
    std::string mean, stdev;          // as the report writes them
};

// The run the main form last finished, read from its stores.
RunSnapshot snapshotOf(ProgramContext& context);

}  // namespace pelmora
