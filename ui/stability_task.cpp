#include "ui/stability_task.h"

#include <QThread>
#include <algorithm>

#include "run/run_result.h"
#include "ui/text_bridge.h"

namespace pelmora {

struct StabilityTask::Outcome {
    std::shared_ptr<const RunStability> figures;
    std::int64_t fragilePairs = 0;
    bool stopped = false;
    QString problem;
};

StabilityTask::StabilityTask(QObject* parent) : QObject(parent) {}

StabilityTask::~StabilityTask() {
    for (const Worker& w : threads_) {
        w.stop->store(true);
    }
    for (const Worker& w : threads_) {
        w.thread->wait();
        delete w.thread;
    }
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
    const std::uint64_t ticket = ++ticket_;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    state_ = State::Measuring;
    problem_.clear();
    done_ = 0;
    total_ = run_->analysedCount();

    QThread* thread = QThread::create([this, run = run_, options = options, stop = stop_, ticket] {
        StabilityOptions asked = options;
        asked.cancel = stop.get();
        Result<RunStability> measured =
            measureStability(*run, asked, [this, ticket](int done, int total) {
                QMetaObject::invokeMethod(
                    this, [this, ticket, done, total] { progressed(ticket, done, total); },
                    Qt::QueuedConnection);
                return true;
            });
        auto outcome = std::make_shared<Outcome>();
        if (measured.ok()) {
            auto figures = std::make_shared<const RunStability>(std::move(measured.value()));
            if (const auto fragile = fragilePairCount(*run, *figures, stop.get())) {
                outcome->figures = std::move(figures);
                outcome->fragilePairs = *fragile;
            }
        } else {
            outcome->problem = toQt(measured.error().message);
        }
        outcome->stopped = stop->load();
        QMetaObject::invokeMethod(
            this, [this, ticket, outcome] { finished(ticket, outcome); }, Qt::QueuedConnection);
    });
    threads_.push_back({thread, stop_});
    connect(thread, &QThread::finished, this, [this, thread] {
        const auto it = std::find_if(threads_.begin(), threads_.end(),
                                     [thread](const Worker& w) { return w.thread == thread; });
        if (it != threads_.end()) {
            threads_.erase(it);
            thread->deleteLater();
        }
        emit stateChanged();
    });
    // Below the window's thread, so that the window keeps answering on a busy machine.
    thread->start(QThread::LowPriority);
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
    ++ticket_;
    if (stop_) {
        stop_->store(true);
        stop_.reset();
    }
}

void StabilityTask::progressed(std::uint64_t ticket, int done, int total) {
    if (ticket != ticket_) {
        return;
    }
    done_ = done;
    total_ = total;
    emit stateChanged();
}

void StabilityTask::finished(std::uint64_t ticket, const std::shared_ptr<Outcome>& outcome) {
    if (ticket != ticket_) {
        return;
    }
    stop_.reset();
    if (outcome->figures) {
        state_ = State::Measured;
        stability_ = outcome->figures;
        fragilePairs_ = outcome->fragilePairs;
        done_ = total_;
    } else if (outcome->stopped) {
        state_ = State::Cancelled;
    } else {
        state_ = State::Failed;
        problem_ = outcome->problem;
    }
    emit stateChanged();
    if (stability_) {
        emit figuresChanged();
    }
}

}  // namespace pelmora
