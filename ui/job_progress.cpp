#include "ui/job_progress.h"

#include <QTimer>
#include <algorithm>
#include <limits>

#include "ui/text_bridge.h"

namespace pelmora {

JobProgressDialog::JobProgressDialog(JobRunner* runner, const QString& title, QWidget* parent,
                                     int showAfterMs, Label label)
    : QProgressDialog(parent),
      runner_(runner),
      label_(std::move(label)),
      showAfterMs_(showAfterMs) {
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    setAutoClose(false);
    setAutoReset(false);
    // Shown by the runner's signals only, never by a value set.
    setMinimumDuration(std::numeric_limits<int>::max());
    setMinimumWidth(360);
    hide();
    connect(runner_, &JobRunner::started, this, [this] {
        reset();
        setMaximum(0);
        QTimer::singleShot(showAfterMs_, this, [this] {
            if (runner_->running()) {
                show();
            }
        });
    });
    connect(runner_, &JobRunner::progressed, this, &JobProgressDialog::showStep);
    connect(runner_, &JobRunner::ended, this, [this] { hide(); });
    connect(this, &QProgressDialog::canceled, runner_, &JobRunner::cancel);
}

void JobProgressDialog::reject() {
    runner_->cancel();
    QProgressDialog::reject();
}

void JobProgressDialog::showStep(const JobProgress& progress) {
    setMaximum(static_cast<int>(std::clamp<std::int64_t>(progress.total, 0, 1 << 30)));
    setLabelText(label_ ? label_(progress) : toQt(progress.step));
    setValue(static_cast<int>(std::clamp<std::int64_t>(progress.done - 1, 0, maximum())));
}

}  // namespace pelmora
