#pragma once
// Long work that can be stopped and that says how far it has come. The work is handed a
// JobControl: it checks the control's cancel token between its steps, reports each step, and
// a stopped job ends with the Cancelled error. Nothing here knows a window or a thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "stores/error.h"

namespace pelmora {

// Set from any thread; the work stops at its next check.
class CancelToken {
public:
    void cancel() noexcept { flag_.store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool cancelled() const noexcept { return flag_.load(std::memory_order_relaxed); }
    // For work that checks a plain flag.
    [[nodiscard]] const std::atomic<bool>* flag() const noexcept { return &flag_; }

private:
    std::atomic<bool> flag_{false};
};

// Where a job stands: `done` of `total` steps (total 0 when not known), and the file or step
// it is on.
struct JobProgress {
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::string step;
};

// What a job's work is handed: its cancel token and where its progress goes.
class JobControl {
public:
    using Listener = std::function<void(const JobProgress&)>;
    explicit JobControl(Listener listener = {}) : listener_(std::move(listener)) {}
    JobControl(const JobControl&) = delete;
    JobControl& operator=(const JobControl&) = delete;

    [[nodiscard]] CancelToken& token() { return token_; }
    [[nodiscard]] const CancelToken& token() const { return token_; }
    [[nodiscard]] bool cancelled() const { return token_.cancelled(); }
    void cancel() { token_.cancel(); }

    // Says which step the work is on; the listener hears it on the work's own thread.
    void report(std::int64_t done, std::int64_t total, std::string step);

private:
    CancelToken token_;
    Listener listener_;
};

// A piece of long work and the value it comes to.
template <typename T>
using Job = std::function<Result<T>(JobControl& control)>;

// The error a stopped job ends with: "WHAT was cancelled."
[[nodiscard]] Error cancelledError(const std::string& what);
[[nodiscard]] inline bool isCancelled(const Error& error) {
    return error.code == Error::Code::Cancelled;
}

}  // namespace pelmora
