// The batch run over the folder of File1 and the commands of the run's life cycle.

#include <optional>

#include "analysis/form1_commands.h"
#include "app/folder_listing.h"
#include "app/form2_commands.h"
#include "app/parallel_measure.h"
#include "forms/run_observer.h"

namespace pelmora {

namespace {

constexpr int kOutOfViewLeft = 100000;
constexpr int kParkedLeft = 50000;
constexpr int kInViewLeft = 9000;

// The stores a run fills, emptied before it starts.
void clearRunStores(Form2& f) {
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
}

// A text measured in a form of its own takes the place of the analysis form, with the results
// gathered so far.
void adoptMeasuredForm(ProgramContext& context, MeasuredText& m) {
    Form1& gathered = context.form1();
    m.form.txtTypes = std::move(gathered.txtTypes);
    m.form.lstAllTypes = std::move(gathered.lstAllTypes);
    m.form.lstTypeNames = std::move(gathered.lstTypeNames);
    m.form.typeNameBytes = std::move(gathered.typeNameBytes);
    m.form.visible = gathered.visible;
    m.form.left = gathered.left;
    context.replaceForm1(std::move(m.form));
    context.shared().passiveFlag = m.shared.passiveFlag;
    context.shared().formalFlag = m.shared.formalFlag;
}

// Entries the list could not show as files are left out like files the run cannot read.
void leaveOutUnlisted(Form2& f, RunObserver* observer) {
    for (const SkippedFile& file : f.File1.leftOut) {
        f.skippedFiles.push_back(file);
        if (observer != nullptr) {
            observer->fileLeftOut(file);
        }
    }
}

}  // namespace

void Form2Commands::analyseLoadedText(int k, const std::string& name, bool measured) {
    Form2& f = form();
    RunObserver* observer = context_.observer;
    Form1Commands analysis(context_);
    Form1& form1 = context_.form1();
    form1.txtFileName.setText(name);
    form1.fileNameBytes = f.File1.diskName(k);
    if (measured) {
        analysis.cmdTypeText();
        analysis.cmdCompare();
    } else {
        analysis.cmdDoItAll();
    }
    if (observer != nullptr) {
        Form1& analysed = context_.form1();
        observer->textAnalysed(analysed, std::move(analysed.decisions), f.lastRead);
    }
    analysis.cmdReset();
}

void Form2Commands::cmdAuto() {
    Form2& f = form();
    if (!f.cmdAutoEnabled) {
        return;  // a disabled button cannot be pressed
    }
    // The run goes through the folder as it was listed, the one the user chose, or not at all.
    if (const std::optional<Error> problem =
            folderChangedSinceListed(f.File1.path, f.File1.identity)) {
        context_.raiseMessage(problem->message);
        return;
    }
    context_.form1().left = kOutOfViewLeft;
    clearRunStores(f);
    context_.form1().left = kParkedLeft;
    Form1Commands(context_).cmdReset();
    RunObserver* observer = context_.observer;
    if (observer != nullptr) {
        observer->runStarted(f, context_.form1());
    }
    leaveOutUnlisted(f, observer);

    const int n = f.File1.count();
    const int jobs = std::min(context_.jobs > 0 ? context_.jobs : ParallelMeasurer::defaultJobs(),
                              std::max(n, 1));
    std::optional<ParallelMeasurer> measurer;
    if (jobs > 1) {
        std::vector<std::string> names;
        for (int k = 0; k < n; ++k) {
            names.push_back(f.File1.diskName(k));
        }
        measurer.emplace(f.File1.path, std::move(names), context_.rules(), jobs);
    }
    for (int k = 0; k < n; ++k) {
        f.File1.entries.select(k);
        const std::string name = f.File1.entries.at(k);
        if (context_.progress) {
            context_.progress(k + 1, n, name);
        }
        if (context_.cancelled()) {
            return;  // the caller puts the stores back as they were before the run
        }
        std::optional<Error> problem;
        if (measurer) {
            // Measured in a form of its own; it takes the place of this one, which the reset
            // after the last text left holding only the gathered results.
            MeasuredText m = measurer->take(static_cast<std::size_t>(k));
            problem = std::move(m.error);
            if (!problem) {
                adoptMeasuredForm(context_, m);
                fileLoaded(std::move(m.facts));
            }
        } else {
            problem = loadSelectedFile();
        }
        // An unreadable file takes no part in the run; the report names it.
        if (problem) {
            f.skippedFiles.push_back(SkippedFile{f.File1.diskName(k), name, problem->reason});
            if (observer != nullptr) {
                observer->fileLeftOut(f.skippedFiles.back());
            }
            continue;
        }
        analyseLoadedText(k, name, measurer.has_value());
    }
    measurer.reset();
    if (context_.cancelled()) {
        return;
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
