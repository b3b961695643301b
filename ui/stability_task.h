#pragma once
// Measures the stability of the shown run away from the window's thread, when asked. The
// figures belong to one run: showing another throws them away, and whatever a measuring of
// an earlier run (or a cancelled one) still sends back is ignored.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "stability/stability.h"

namespace pelmora {

class JobRunner;
struct JobProgress;

struct RunResult;

class StabilityTask : public QObject {
    Q_OBJECT

public:
    enum class State { NoRun, NotMeasured, Measuring, Measured, Cancelled, Failed };

    explicit StabilityTask(QObject* parent = nullptr);

    // The same run again changes nothing; another (or none) stops the measuring under way.
    void setRun(std::shared_ptr<const RunResult> run);
    const std::shared_ptr<const RunResult>& run() const { return run_; }

    // Starts measuring the run, unless it is being measured or has been.
    void start();
    // Stops the measuring under way; the run can be measured again at once.
    void cancel();

    State state() const { return state_; }
    // Texts measured so far and of the run, while measuring.
    int done() const { return done_; }
    int total() const { return total_; }
    // The figures of run(), once measured.
    const std::shared_ptr<const RunStability>& stability() const { return stability_; }
    std::int64_t fragilePairs() const { return fragilePairs_; }
    // Why the measuring failed.
    const QString& problem() const { return problem_; }
    // Whether any measuring, also a stopped one, still runs.
    bool busy() const;
    // Measures the run away from the window's thread; tests stop it at a chosen text.
    JobRunner* runner() const { return runner_; }

    // How the run is resampled; tests take fewer resamples.
    StabilityOptions options;

signals:
    // The state or the progress changed.
    void stateChanged();
    // The figures came, or were thrown away.
    void figuresChanged();

private:
    struct Figures {
        std::shared_ptr<const RunStability> stability;
        std::int64_t fragilePairs = 0;
    };

    void stopCurrent();
    void progressed(const JobProgress& progress);
    void figuresCame(Figures figures);
    void measuringFailed(const QString& problem);

    std::shared_ptr<const RunResult> run_;
    State state_ = State::NoRun;
    std::shared_ptr<const RunStability> stability_;
    std::int64_t fragilePairs_ = 0;
    QString problem_;
    int done_ = 0;
    int total_ = 0;
    JobRunner* runner_ = nullptr;
};

}  // namespace pelmora
