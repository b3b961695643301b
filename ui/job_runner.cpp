#include "ui/job_runner.h"

#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <chrono>

#include "ui/text_bridge.h"

namespace pelmora {

namespace {

// Laying out and painting progress costs the window's thread; on thousands of short steps
// it would cost more than the steps.
constexpr std::chrono::milliseconds kProgressInterval{30};

}  // namespace

struct JobRunner::Current : std::enable_shared_from_this<Current> {
    explicit Current(JobRunner* runner)
        : control([this, runner](const JobProgress& p) { runner->heard(*this, p); }) {}
    JobControl control;
    std::function<void()> deliver;
    std::chrono::steady_clock::time_point lastShown{};
};

JobRunner::JobRunner(QObject* parent) : QObject(parent) {}

JobRunner::~JobRunner() {
    if (current_) {
        current_->control.cancel();  // nobody is left to hear how it ends
        current_.reset();
    }
    for (QThread* worker : workers_) {
        worker->wait();
        delete worker;
    }
}

void JobRunner::startWork(Work work, std::function<void()> deliver) {
    abandon();
    auto job = std::make_shared<Current>(this);
    job->deliver = std::move(deliver);
    current_ = job;
    progress_ = {};

    QThread* worker = QThread::create([this, job, work = std::move(work)] {
        std::optional<Error> error = work(job->control);
        QMetaObject::invokeMethod(
            this, [this, job, error = std::move(error)] { finished(job, error); },
            Qt::QueuedConnection);
    });
    workers_.push_back(worker);
    connect(worker, &QThread::finished, this, [this, worker] {
        workers_.erase(std::remove(workers_.begin(), workers_.end(), worker), workers_.end());
        worker->deleteLater();
        if (workers_.empty()) {
            emit idle();
        }
    });
    // Below the window's thread, so that the window keeps answering on a busy machine.
    worker->start(QThread::LowPriority);
    emit started();
}

void JobRunner::cancel() {
    if (current_) {
        current_->control.cancel();
    }
}

void JobRunner::abandon() {
    if (!current_) {
        return;
    }
    current_->control.cancel();
    current_.reset();
    emit cancelled();
    emit ended(End::Cancelled);
}

void JobRunner::heard(Current& job, const JobProgress& p) {
    if (onStep) {
        onStep(p, job.control);
    }
    const auto now = std::chrono::steady_clock::now();
    const bool edge = p.done <= 1 || p.done >= p.total;
    if (!edge && now - job.lastShown < kProgressInterval) {
        return;
    }
    job.lastShown = now;
    QMetaObject::invokeMethod(
        this, [this, self = job.shared_from_this(), p] { stepped(self, p); }, Qt::QueuedConnection);
}

JobRunner::End JobRunner::wait() {
    End end = End::Cancelled;
    if (!current_) {
        return end;
    }
    QEventLoop waiting;
    const QMetaObject::Connection connection =
        connect(this, &JobRunner::ended, &waiting, [&waiting, &end](End e) {
            end = e;
            waiting.quit();
        });
    waiting.exec();
    disconnect(connection);
    return end;
}

void JobRunner::stepped(const std::shared_ptr<Current>& job, JobProgress progress) {
    if (job != current_) {
        return;
    }
    progress_ = std::move(progress);
    emit progressed(progress_);
}

void JobRunner::finished(const std::shared_ptr<Current>& job, const std::optional<Error>& error) {
    if (job != current_) {
        return;
    }
    current_.reset();
    End end = End::Done;
    if (!error) {
        job->deliver();
        emit succeeded();
    } else if (isCancelled(*error)) {
        end = End::Cancelled;
        emit cancelled();
    } else {
        end = End::Failed;
        problem_ = toQt(error->message);
        emit failed(problem_);
    }
    emit ended(end);
}

}  // namespace pelmora
