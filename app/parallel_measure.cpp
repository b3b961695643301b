#include "app/parallel_measure.h"

#include <cassert>

#include "analysis/form1_commands.h"
#include "forms/program_context.h"
#include "stores/text_encoding.h"

namespace pelmora {

int ParallelMeasurer::defaultJobs() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

ParallelMeasurer::ParallelMeasurer(std::filesystem::path folder, std::vector<std::string> nameBytes,
                                   const RuleBook& rules, int jobs)
    : folder_(std::move(folder)),
      names_(std::move(nameBytes)),
      rules_(rules),
      window_(static_cast<std::size_t>(2 * jobs + 2)),
      done_(names_.size()) {
    // The thread that takes the texts measures too, while its next one is not ready.
    for (int j = 1; j < jobs; ++j) {
        workers_.emplace_back([this] { work(); });
    }
}

ParallelMeasurer::~ParallelMeasurer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& t : workers_) {
        t.join();
    }
}

MeasuredText ParallelMeasurer::measure(std::size_t k) const {
    MeasuredText m;
    const std::string& nameBytes = names_[k];
    Result<ReadText> read = readTextFile(folder_ / nameBytes, nameBytes);
    if (!read.ok()) {
        m.error = read.error();
        return m;
    }
    m.facts = std::move(read.value().facts);
    // A workspace of its own, as the run's form is after its reset: freshly loaded.
    ProgramContext context;
    context.setRules(rules_);
    context.jobs = 1;  // the cores are busy with the other texts
    Form1& form = context.form1();
    form.Text1.setText(std::move(read.value().decoded.text));
    form.txtFileName.setText(m.facts.name);
    form.fileNameBytes = nameBytes;
    Form1Commands(context).measureAndClassify();
    m.form = std::move(form);
    m.shared = context.shared();
    return m;
}

void ParallelMeasurer::work() {
    for (;;) {
        std::size_t k = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            room_.wait(lock, [this] {
                return stopping_ || next_ >= names_.size() || next_ < taken_ + window_;
            });
            if (stopping_ || next_ >= names_.size()) {
                return;
            }
            k = next_++;
        }
        auto result = std::make_unique<MeasuredText>(measure(k));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_[k] = std::move(result);
        }
        ready_.notify_all();
    }
}

MeasuredText ParallelMeasurer::take(std::size_t k) {
    std::unique_lock<std::mutex> lock(mutex_);
    assert(k == taken_);
    while (done_[k] == nullptr) {
        if (next_ < names_.size() && next_ < taken_ + window_) {
            // Rather than sleep until a worker is done with k, measure a text further on.
            const std::size_t j = next_++;
            lock.unlock();
            auto result = std::make_unique<MeasuredText>(measure(j));
            lock.lock();
            done_[j] = std::move(result);
            continue;
        }
        ready_.wait(lock);
    }
    MeasuredText m = std::move(*done_[k]);
    done_[k].reset();
    ++taken_;
    lock.unlock();
    room_.notify_all();
    return m;
}

}  // namespace pelmora
