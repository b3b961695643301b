#pragma once
// Which texts and pairs a filtered matrix keeps: texts by a part of their name and by role,
// pairs by strength, minimal and off the norm. With a pair filter set, a text stays only while
// it forms a kept pair with another kept text, so that what is left is what was asked for.

#include <optional>
#include <string>
#include <vector>

#include "case/metadata.h"
#include "jobs/job.h"
#include "run/run_result.h"

namespace pelmora {

struct MatrixFilter {
    std::string name;             // a part of the name, ignoring case; empty for every name
    std::optional<Role> role;     // only texts of this role (Role::None: without one)
    int lowest = 0, highest = 5;  // the strengths kept, both included
    bool onlyMinimal = false;
    bool onlyOffTheNorm = false;

    // Whether any pair is left out by its strength or marks.
    bool filtersPairs() const;
    bool keeps(const RunPair& pair) const;
};

// For each text position of `run`, whether the matrix keeps it. A pair filter reads every
// pair: it stops with nothing when `cancel` is set.
std::optional<std::vector<bool>> keptTexts(const RunResult& run, const Metadata& metadata,
                                           const MatrixFilter& filter,
                                           const CancelToken* cancel = nullptr);

}  // namespace pelmora
