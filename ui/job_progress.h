#pragma once
// The progress of a runner's job in a dialog of its own: the step it is on, a bar and
// "Cancel" (or Escape), which asks the job to stop. It shows when a job has run a moment and
// hides when the job ends.

#include <QProgressDialog>
#include <functional>

#include "ui/job_runner.h"

namespace pelmora {

class JobProgressDialog : public QProgressDialog {
public:
    // How a step is put in words; the step's own name when none is given.
    using Label = std::function<QString(const JobProgress&)>;

    JobProgressDialog(JobRunner* runner, const QString& title, QWidget* parent, int showAfterMs = 0,
                      Label label = {});

    // Escape and closing the dialog cancel as the button does.
    void reject() override;

private:
    void showStep(const JobProgress& progress);

    JobRunner* runner_;
    Label label_;
    int showAfterMs_;
};

}  // namespace pelmora
