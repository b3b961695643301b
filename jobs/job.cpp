#include "jobs/job.h"

#include <utility>

namespace pelmora {

void JobControl::report(std::int64_t done, std::int64_t total, std::string step) {
    if (listener_) {
        listener_(JobProgress{done, total, std::move(step)});
    }
}

Error cancelledError(const std::string& what) {
    return Error{Error::Code::Cancelled, what + " was cancelled.", "cancelled"};
}

}  // namespace pelmora
