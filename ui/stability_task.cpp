#include "ui/stability_task.h"

#include "run/run_result.h"
#include "ui/job_runner.h"
#include "ui/text_bridge.h"

namespace pelmora {

StabilityTask::StabilityTask(QObject* parent) : QObject(parent) {
    runner_ = new JobRunner(this);
    connect(runner_, &JobRunner::progressed, this, &StabilityTask::progressed);
    connect(runner_, &JobRunner::failed, this, &StabilityTask::measuringFailed);
    connect(runner_, &JobRunner::cancelled, this, [this] {
        state_ = State::Cancelled;
        emit stateChanged();
    });
    // A stopped measuring may still run for a resample; the bar says so until it ends.
    connect(runner_, &JobRunner::idle, this, &StabilityTask::stateChanged);
}

bool StabilityTask::busy() const {
    return runner_->busy();
}

void StabilityTask::setRun(std::shared_ptr<const RunResult> run) {
    if (run == run_) {
        return;
    }
    stopCurrent();
    run_ = std::move(run);
    const bool hadFigures = stability_ != nullptr;
    stability_.reset();
    fragilePairs_ = 0;
    problem_.clear();
    state_ = run_ ? State::NotMeasured : State::NoRun;
    emit stateChanged();
    if (hadFigures) {
        emit figuresChanged();
    }
}

void StabilityTask::start() {
    if (!run_ || state_ == State::Measuring || state_ == State::Measured) {
        return;
    }
    stopCurrent();
    state_ = State::Measuring;
    problem_.clear();
    done_ = 0;
    total_ = run_->analysedCount();
    runner_->start<Figures>(
        [run = run_, options = options](JobControl& control) -> Result<Figures> {
            StabilityOptions asked = options;
            asked.cancel = control.token().flag();
            Result<RunStability> measured =
                measureStability(*run, asked, [&control, run](int done, int total) {
                    const std::size_t text = static_cast<std::size_t>(done) - 1;
                    control.report(
                        done, total,
                        text < run->texts.size() ? run->texts[text].name : std::string());
                    return !control.cancelled();
                });
            if (!measured.ok()) {
                return measured.error();
            }
            auto figures = std::make_shared<const RunStability>(std::move(measured.value()));
            const auto fragile = fragilePairCount(*run, *figures, control.token().flag());
            if (!fragile) {
                return cancelledError("Measuring the stability");
            }
            return Figures{std::move(figures), *fragile};
        },
        [this](Figures figures) { figuresCame(std::move(figures)); });
    emit stateChanged();
}

void StabilityTask::cancel() {
    if (state_ != State::Measuring) {
        return;
    }
    stopCurrent();
    state_ = State::Cancelled;
    emit stateChanged();
}

void StabilityTask::stopCurrent() {
    // Whatever a stopped measuring still sends is dropped: the run can be measured again.
    const QSignalBlocker quiet(runner_);
    runner_->abandon();
}

void StabilityTask::progressed(const JobProgress& progress) {
    done_ = static_cast<int>(progress.done);
    total_ = static_cast<int>(progress.total);
    emit stateChanged();
}

void StabilityTask::figuresCame(Figures figures) {
    state_ = State::Measured;
    stability_ = std::move(figures.stability);
    fragilePairs_ = figures.fragilePairs;
    done_ = total_;
    emit stateChanged();
    emit figuresChanged();
}

void StabilityTask::measuringFailed(const QString& problem) {
    state_ = State::Failed;
    problem_ = problem;
    emit stateChanged();
}

}  // namespace pelmora
