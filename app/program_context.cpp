#include "app/program_context.h"

#include <cstdlib>

#include "analysis/form1.h"
#include "app/form2.h"

#ifndef PELMORA_SAMPLES_DIR
#define PELMORA_SAMPLES_DIR "samples"
#endif

namespace pelmora {

ProgramContext::ProgramContext(std::filesystem::path defaultCorpusFolder)
    : defaultCorpusFolder_(std::move(defaultCorpusFolder)) {
    form2_ = std::make_unique<Form2>(this);
    form2_->Form_Load();
}

ProgramContext::~ProgramContext() = default;

std::filesystem::path ProgramContext::builtInCorpusFolder() {
    return PELMORA_SAMPLES_DIR;
}

Form1& ProgramContext::form1() {
    if (!form1_) {
        form1_ = std::make_unique<Form1>(this);
        form1_->Form_Load();
    }
    return *form1_;
}

void ProgramContext::recreateForm1() {
    if (!form1_) {
        form1();
        return;
    }
    *form1_ = Form1(this);
    form1_->Form_Load();
}

void ProgramContext::unloadForm1() {
    form1_.reset();
}

void ProgramContext::reloadForm2() {
    *form2_ = Form2(this);
    form2_->Form_Load();
}

}  // namespace pelmora
