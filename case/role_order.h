#pragma once
// The run's texts in blocks by role, for a matrix read by role: the questioned texts first,
// then the known, the reference and the texts without a role, each block in run order.

#include <vector>

#include "case/metadata.h"
#include "run/run_result.h"

namespace pelmora {

struct RoleOrder {
    std::vector<int> positions;  // every text position of the run once
    std::vector<Role> roles;     // the role of each, alongside
};

RoleOrder roleOrder(const RunResult& run, const Metadata& metadata);

}  // namespace pelmora
