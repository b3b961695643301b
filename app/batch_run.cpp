// The batch run over the folder of File1 and the commands of the run's life cycle.

#include <optional>

#include "app/form2.h"
#include "app/program_context.h"

namespace pelmora {

namespace {

constexpr int kOutOfViewLeft = 100000;
constexpr int kParkedLeft = 50000;
constexpr int kInViewLeft = 9000;

}  // namespace

void Form2::cmdAuto() {
    if (!cmdAutoEnabled) {
        return;  // a disabled button cannot be pressed
    }
    context_->form1().left = kOutOfViewLeft;
    for (TextField* field : {&txtDogBox, &txtDogHouse, &Text1, &Text2, &Text3, &Text4,
                             &txtFileName1, &txtFileName2, &txtFileName3}) {
        field->clear();
    }
    lblMean.setText("0");
    lblStDev.setText("0");
    lstDogBox.clear();
    lstDogHouse.clear();
    lstCalcs1.clear();
    lstVals.clear();
    runMeasures.clear();
    skippedFiles.clear();
    runFiles.clear();
    context_->form1().left = kParkedLeft;
    context_->form1().cmdReset();

    const int n = File1.count();
    for (int k = 0; k < n; ++k) {
        File1.entries.select(k);
        const std::string name = File1.entries.at(k);
        if (context_->progress) {
            context_->progress(k + 1, n, name);
        }
        // An unreadable file takes no part in the run; the report names it.
        if (const std::optional<InputProblem> problem = loadSelectedFile()) {
            skippedFiles.push_back(SkippedFile{name, problem->reason});
            continue;
        }
        Form1& form1 = context_->form1();
        form1.txtFileName.setText(name);
        form1.cmdDoItAll();
        runMeasures.push_back(form1.measures());
        runFiles.push_back(lastRead_);
        form1.cmdReset();
    }

    context_->form1().visible = true;
    context_->form1().left = kInViewLeft;
    cmdRemDupes();
    visible = true;
    cmdAutoEnabled = false;
}

void Form2::cmdRefresh() {
    context_->form1().cmdTotalReset();
    ProgramContext* context = context_;
    context->reloadForm2();  // re-creates this form in place; only locals are used from here
    context->unloadForm1();
    context->form2().visible = true;
}

void Form2::cmdReset() {
    ProgramContext* context = context_;
    context->reloadForm2();
    context->unloadForm1();
    context->form2().visible = true;
}

void Form2::Command1() {
    context_->quitRequested = true;
}

}  // namespace pelmora
