#include "forms/program_context.h"

#include "forms/sample_corpus.h"

namespace pelmora {

ProgramContext::ProgramContext() : ProgramContext(std::filesystem::path()) {
    const SampleCorpusSearch search = findSampleCorpus(runningProgramFolder());
    defaultCorpusFolder_ = search.found;
    if (search.found.empty()) {
        missingCorpusMessage_ = missingSampleCorpusMessage(search);
    }
}

ProgramContext::ProgramContext(std::filesystem::path defaultCorpusFolder)
    : defaultCorpusFolder_(std::move(defaultCorpusFolder)), form2_(std::make_unique<Form2>()) {}

ProgramContext::~ProgramContext() = default;

std::string ProgramContext::missingCorpusMessage() const {
    if (!missingCorpusMessage_.empty()) {
        return missingCorpusMessage_;
    }
    return "The folder " + defaultCorpusFolder_.string() +
           " cannot be opened, so the home folder is shown.";
}

Form1& ProgramContext::form1() {
    if (!form1_) {
        form1_ = std::make_unique<Form1>();
        form1_->Form_Load();
    }
    return *form1_;
}

void ProgramContext::recreateForm1() {
    if (!form1_) {
        form1();
        return;
    }
    *form1_ = Form1();
    form1_->Form_Load();
}

void ProgramContext::unloadForm1() {
    form1_.reset();
}

void ProgramContext::replaceForm1(Form1 form) {
    if (!form1_) {
        form1_ = std::make_unique<Form1>(std::move(form));
        return;
    }
    *form1_ = std::move(form);
}

void ProgramContext::reloadForm2() {
    *form2_ = Form2();
}

ProgramContext::Stores ProgramContext::saveStores() const {
    Stores stores{*form2_, std::nullopt, shared_, messages_};
    if (form1_) {
        stores.form1 = *form1_;
    }
    return stores;
}

void ProgramContext::restoreStores(Stores stores) {
    *form2_ = std::move(stores.form2);
    if (stores.form1) {
        replaceForm1(std::move(*stores.form1));
    } else {
        unloadForm1();
    }
    shared_ = std::move(stores.shared);
    messages_ = std::move(stores.messages);
}

}  // namespace pelmora
