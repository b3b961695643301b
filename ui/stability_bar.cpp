#include "ui/stability_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "help/window_parts.h"
#include "ui/stability_task.h"

namespace pelmora {

namespace {

QString plural(qint64 n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

QString measuredText(const StabilityTask& task) {
    const RunStability& s = *task.stability();
    const int notMeasured = s.notMeasuredTexts();
    // A text that could not be resampled says why in its row and its evidence.
    return QStringLiteral("Stability: %1 resamples of %2-word blocks; %3, %4%5.")
        .arg(s.options.resamples)
        .arg(s.options.blockWords)
        .arg(plural(s.unstableTexts(), "text with unstable digits", "texts with unstable digits"),
             plural(task.fragilePairs(), "fragile pair", "fragile pairs"),
             notMeasured > 0 ? QStringLiteral("; ") +
                                   plural(notMeasured, "text not measured", "texts not measured")
                             : QString());
}

}  // namespace

StabilityBar::StabilityBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("stabilityBar"));
    measure_ = makeButton(this, "cmdMeasureStability", "Measure stability");
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("stabilityProgress"));
    progress_->setFormat(QStringLiteral("%v of %m texts"));
    progress_->setMaximumWidth(220);
    cancel_ = makeButton(this, "cmdCancelStability", "Cancel");
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStability"));
    status_->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(measure_);
    layout->addWidget(progress_);
    layout->addWidget(cancel_);
    layout->addWidget(status_, 1);
    showState();
}

void StabilityBar::setTask(StabilityTask* task) {
    if (task == task_) {
        return;
    }
    if (task_ != nullptr) {
        disconnect(task_, nullptr, this, nullptr);
        disconnect(measure_, nullptr, task_, nullptr);
        disconnect(cancel_, nullptr, task_, nullptr);
    }
    task_ = task;
    if (task_ != nullptr) {
        connect(task_, &StabilityTask::stateChanged, this, &StabilityBar::showState);
        connect(task_, &StabilityTask::figuresChanged, this, &StabilityBar::figuresChanged);
        connect(task_, &QObject::destroyed, this, [this] {
            task_ = nullptr;
            showState();
            emit figuresChanged();
        });
        connect(measure_, &QPushButton::clicked, task_, &StabilityTask::start);
        connect(cancel_, &QPushButton::clicked, task_, &StabilityTask::cancel);
    }
    showState();
    emit figuresChanged();
}

std::shared_ptr<const RunStability> StabilityBar::figuresOf(
    const std::shared_ptr<const RunResult>& run) const {
    return task_ != nullptr && run != nullptr && task_->run() == run ? task_->stability() : nullptr;
}

QString StabilityBar::status() const {
    return status_->text();
}

void StabilityBar::showState() {
    using State = StabilityTask::State;
    const State state = task_ != nullptr ? task_->state() : State::NoRun;
    const bool measuring = state == State::Measuring;
    measure_->setEnabled(state == State::NotMeasured || state == State::Cancelled ||
                         state == State::Failed);
    progress_->setVisible(measuring);
    cancel_->setVisible(measuring);
    switch (state) {
        case State::NoRun:
            status_->clear();
            break;
        case State::NotMeasured:
            status_->setText(QStringLiteral("Stability: not computed."));
            break;
        case State::Measuring:
            progress_->setMaximum(std::max(1, task_->total()));
            progress_->setValue(task_->done());
            status_->setText(QStringLiteral("Measuring stability…"));
            break;
        case State::Measured:
            status_->setText(measuredText(*task_));
            break;
        case State::Cancelled:
            status_->setText(QStringLiteral("Stability: cancelled, not computed."));
            break;
        case State::Failed:
            status_->setText(QStringLiteral("Stability: not computed. ") + task_->problem());
            break;
    }
}

}  // namespace pelmora
