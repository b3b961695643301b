#include "run/batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <optional>
#include <thread>
#include <utility>

#include "app/form2_commands.h"
#include "forms/run_observer.h"
#include "stores/number_text.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

// Vectors filled a check at a time hold room for as many again; kept for every text of a run,
// that room would be most of the run's memory.
void compact(Form1Decisions& d) {
    if (d.evaluation) {
        Evaluation& e = *d.evaluation;
        for (auto* v : {&e.labels, &e.characterValues, &e.sortedAdded, &e.resultsAdded}) {
            v->shrink_to_fit();
        }
        e.passiveChecks.shrink_to_fit();
        e.classChecks.shrink_to_fit();
    }
    for (std::optional<Decision>& c : d.categories) {
        if (c) {
            c->checks.shrink_to_fit();
        }
    }
}

// Gathers the result from what each step of the run left in the stores.
class Publisher : public RunObserver {
public:
    Publisher(const RuleBook& rules, int jobs)
        : result_(std::make_shared<RunResult>()), jobs_(jobs) {
        result_->rules = rules;
    }

    void runStarted(const Form2& main, const Form1& gathered) override {
        result_->startedAt = static_cast<std::int64_t>(std::time(nullptr));
        clock_ = std::chrono::steady_clock::now();
        result_->folder = main.File1.path;
        result_->listedFiles = main.File1.count();
        result_->unlisted = main.File1.unlisted;
        result_->texts.reserve(static_cast<std::size_t>(gathered.lstAllTypes.count()) +
                               static_cast<std::size_t>(main.File1.count()));
        for (int i = 0; i < gathered.lstAllTypes.count(); ++i) {
            TextRecord t;
            t.position = i;
            t.name = gathered.lstTypeNames.get(i);
            t.nameBytes = static_cast<std::size_t>(i) < gathered.typeNameBytes.size()
                              ? gathered.typeNameBytes[static_cast<std::size_t>(i)]
                              : t.name;
            t.inRun = false;
            t.code = gathered.lstAllTypes.at(i);
            t.measures.name = t.name;
            t.measures.code = t.code;
            result_->texts.push_back(std::move(t));
        }
    }

    void textAnalysed(const Form1& form, Form1Decisions decisions, const FileFacts& file) override {
        TextRecord t;
        t.position = static_cast<int>(result_->texts.size());
        t.nameBytes = form.typeNameBytes.empty() ? file.nameBytes : form.typeNameBytes.back();
        t.name = form.lstTypeNames.get(form.lstTypeNames.count() - 1);
        t.file = file;
        t.measures = form.measures();
        for (const MeasureInfo& m : kMeasures) {
            t.numbers[static_cast<std::size_t>(m.id)] = reading(t.text(m.id)).value;
        }
        t.decisions = std::move(decisions);
        compact(t.decisions);
        t.code = t.measures.code;
        result_->texts.push_back(std::move(t));
    }

    void fileLeftOut(const SkippedFile& file) override { result_->leftOut.push_back(file); }

    void runFinished(const Form2& main, const Form1& gathered) override {
        result_->pairs = RunPairs(main.lstDogBox, main.significantStrength);
        result_->mean = main.lblMean.text();
        result_->stDev = main.lblStDev.text();
        result_->meanValue = strictParse(result_->mean);
        result_->stDevValue = strictParse(result_->stDev);
        result_->quality = assessQuality(*result_);
        markMoves();
        result_->report = main.txtReport;
        result_->types = gathered.txtTypes.text();
        result_->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - clock_).count();
        finished_ = true;
    }

    std::shared_ptr<const RunResult> take() {
        return finished_ ? std::shared_ptr<const RunResult>(std::move(result_)) : nullptr;
    }

private:
    // Every analysed text's decisive moves and near marks, found once here on every core, off
    // the window's thread, so that no window explains every text to mark it.
    void markMoves() {
        std::vector<TextRecord>& texts = result_->texts;
        std::atomic<std::size_t> next{0};
        const auto work = [&] {
            for (std::size_t i = next++; i < texts.size(); i = next++) {
                if (texts[i].inRun) {
                    texts[i].decisive = decisiveMoves(result_->rules, texts[i].decisions.inputs);
                    texts[i].near = nearOf(texts[i].decisive);
                }
            }
        };
        const unsigned cores = jobs_ > 0 ? static_cast<unsigned>(jobs_)
                                         : std::max(1U, std::thread::hardware_concurrency());
        std::vector<std::jthread> helpers;
        for (unsigned k = 1; k < cores && k * 64 < texts.size(); ++k) {
            helpers.emplace_back(work);
        }
        work();
    }

    std::shared_ptr<RunResult> result_;
    std::chrono::steady_clock::time_point clock_;  // when the run started
    int jobs_ = 0;  // texts at once, as the run measures them; 0 for one per core
    bool finished_ = false;
};

// Restores whoever watched before, whatever way the run ends.
struct Watching {
    ProgramContext& context;
    RunObserver* before;
    ~Watching() { context.observer = before; }
};

}  // namespace

std::shared_ptr<const RunResult> runBatch(ProgramContext& context, const CancelToken* cancel) {
    std::optional<ProgramContext::Stores> before;
    if (cancel != nullptr) {
        before = context.saveStores();
    }
    Publisher publisher(context.rules(), context.jobs);
    const Watching watching{context, context.observer};
    context.observer = &publisher;
    const CancelToken* const outer = std::exchange(context.cancel, cancel);
    Form2Commands(context).cmdAuto();
    context.cancel = outer;
    if (before && cancel->cancelled()) {
        context.restoreStores(std::move(*before));
        return nullptr;
    }
    return publisher.take();
}

}  // namespace pelmora
