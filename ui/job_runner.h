#pragma once
// Runs long work away from the window's thread, one job at a time: its progress, its result
// or its error come back to this object's thread as signals, and Cancel asks the work to stop.
// Starting another job, or abandoning, drops whatever the job before still sends.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "jobs/job.h"

class QThread;

namespace pelmora {

class JobRunner : public QObject {
    Q_OBJECT

public:
    enum class End { Done, Failed, Cancelled };

    explicit JobRunner(QObject* parent = nullptr);
    // Stops every job still going and waits for it.
    ~JobRunner() override;

    // Starts `job`; once it succeeds `done` gets its value here. A job still under way is
    // abandoned first.
    template <typename T>
    void start(Job<T> job, std::function<void(T)> done) {
        auto value = std::make_shared<std::optional<T>>();
        startWork(
            [job = std::move(job), value](JobControl& control) -> std::optional<Error> {
                Result<T> got = job(control);
                if (!got.ok()) {
                    return got.error();
                }
                value->emplace(std::move(got.value()));
                return std::nullopt;
            },
            [value, done = std::move(done)] {
                if (done) {
                    done(std::move(**value));
                }
            });
    }

    // Asks the job under way to stop; it still ends, as cancelled or with what it came to.
    void cancel();
    // Asks the job under way to stop and drops whatever it still sends: it ends at once, as
    // cancelled.
    void abandon();
    // A job was started and has not ended (nor been abandoned).
    [[nodiscard]] bool running() const { return current_ != nullptr; }
    // Any work, also abandoned work, still runs.
    [[nodiscard]] bool busy() const { return !workers_.empty(); }
    const JobProgress& progress() const { return progress_; }
    // The message of the last job that failed.
    const QString& problem() const { return problem_; }
    // Waits for the job under way to end, handling the window's events meanwhile.
    End wait();

    // Called on the work's thread at every step it reports, before the window hears of it:
    // tests stop a job at a chosen step with it.
    std::function<void(const JobProgress&, JobControl&)> onStep;

signals:
    void started();
    // At most a few dozen times a second, and always the first and the last step.
    void progressed(const pelmora::JobProgress& progress);
    void succeeded();
    void failed(const QString& message);
    void cancelled();
    // After the signal that says how it ended.
    void ended(pelmora::JobRunner::End end);
    // The last work still running, also abandoned work, has ended.
    void idle();

private:
    struct Current;
    using Work = std::function<std::optional<Error>(JobControl&)>;
    void startWork(Work work, std::function<void()> deliver);
    // On the work's thread.
    void heard(Current& job, const JobProgress& progress);
    void stepped(const std::shared_ptr<Current>& job, JobProgress progress);
    void finished(const std::shared_ptr<Current>& job, const std::optional<Error>& error);

    std::shared_ptr<Current> current_;
    JobProgress progress_;
    QString problem_;
    std::vector<QThread*> workers_;
};

}  // namespace pelmora
