#pragma once
// The batch run's texts read, decoded and measured on several threads, each in an analysis
// form of its own, and handed back in file-list order: what a text's measuring leaves in
// the analysis form depends on that text alone, so the forms can be moved into the program's
// one analysis form afterwards as if it had measured them itself.

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/file_reader.h"
#include "forms/form1.h"
#include "forms/shared_state.h"
#include "rules/rule_book.h"

namespace pelmora {

// One file, read and measured, or the error that left it out.
struct MeasuredText {
    std::optional<Error> error;
    FileFacts facts;
    Form1 form;          // as the measuring left it, before the type code
    SharedState shared;  // the flags the measuring raised
};

class ParallelMeasurer {
public:
    // Measures `nameBytes` of `folder` `jobs` at a time, at most a few texts ahead of the one
    // taken last: on jobs - 1 threads of its own, and on the taking thread while the text it
    // takes is not ready.
    ParallelMeasurer(std::filesystem::path folder, std::vector<std::string> nameBytes,
                     const RuleBook& rules, int jobs);
    ~ParallelMeasurer();
    ParallelMeasurer(const ParallelMeasurer&) = delete;
    ParallelMeasurer& operator=(const ParallelMeasurer&) = delete;

    // The text at position k of the list, once measured; positions are taken in order.
    // Meanwhile the caller may measure texts further on.
    MeasuredText take(std::size_t k);

    // One worker per core, at least one.
    static int defaultJobs();

private:
    void work();
    MeasuredText measure(std::size_t k) const;

    const std::filesystem::path folder_;
    const std::vector<std::string> names_;
    const RuleBook rules_;
    const std::size_t window_;  // texts measured but not yet taken, at most

    std::mutex mutex_;
    std::condition_variable ready_, room_;
    std::vector<std::unique_ptr<MeasuredText>> done_;
    std::size_t next_ = 0;   // the next position a worker starts
    std::size_t taken_ = 0;  // positions taken so far
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace pelmora
