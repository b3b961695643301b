// The batch run over the folder of File1 and the commands of the run's life cycle.

#include <optional>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "forms/run_observer.h"

namespace pelmora {

namespace {

constexpr int kOutOfViewLeft = 100000;
constexpr int kParkedLeft = 50000;
constexpr int kInViewLeft = 9000;

}  // namespace

void Form2Commands::cmdAuto() {
    Form2& f = form();
    if (!f.cmdAutoEnabled) {
        return;  // a disabled button cannot be pressed
    }
    Form1Commands analysis(context_);
    context_.form1().left = kOutOfViewLeft;
    f.txtDogBox.clear();
    f.txtDogHouse.clear();
    for (TextField* field : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.txtFileName1,
                             &f.txtFileName2, &f.txtFileName3}) {
        field->clear();
    }
    f.lblMean.setText("0");
    f.lblStDev.setText("0");
    f.lstDogBox.clear();
    f.lstDogHouse.clear();
    f.lstCalcs1.clear();
    f.lstVals.clear();
    f.skippedFiles.clear();
    context_.form1().left = kParkedLeft;
    analysis.cmdReset();
    RunObserver* observer = context_.observer;
    if (observer != nullptr) {
        observer->runStarted(f, context_.form1());
    }

    const int n = f.File1.count();
    for (int k = 0; k < n; ++k) {
        f.File1.entries.select(k);
        const std::string name = f.File1.entries.at(k);
        if (context_.progress) {
            context_.progress(k + 1, n, name);
        }
        // An unreadable file takes no part in the run; the report names it.
        if (const std::optional<Error> problem = loadSelectedFile()) {
            f.skippedFiles.push_back(SkippedFile{f.File1.diskName(k), name, problem->reason});
            if (observer != nullptr) {
                observer->fileLeftOut(f.skippedFiles.back());
            }
            continue;
        }
        Form1& form1 = context_.form1();
        form1.txtFileName.setText(name);
        form1.fileNameBytes = f.File1.diskName(k);
        analysis.cmdDoItAll();
        if (observer != nullptr) {
            observer->textAnalysed(context_.form1(), f.lastRead);
        }
        analysis.cmdReset();
    }

    context_.form1().visible = true;
    context_.form1().left = kInViewLeft;
    cmdRemDupes();
    f.visible = true;
    f.cmdAutoEnabled = false;
    if (observer != nullptr) {
        observer->runFinished(f, context_.form1());
    }
}

void Form2Commands::cmdRefresh() {
    Form1Commands(context_).cmdTotalReset();
    context_.reloadForm2();
    context_.unloadForm1();
    Form_Load();
    form().visible = true;
}

void Form2Commands::cmdReset() {
    context_.reloadForm2();
    context_.unloadForm1();
    Form_Load();
    form().visible = true;
}

void Form2Commands::Command1() {
    context_.quitRequested = true;
}

}  // namespace pelmora
