#pragma once
// Owns the two forms and the state that outlives them. The main form exists from the
// start; the analysis form is created by the first access and re-created by its resets.
// Re-creation happens in place, so a command of a form may re-create its own form.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/shared_state.h"

namespace pelmora {

class Form1;
class Form2;

class ProgramContext {
public:
    // `defaultCorpusFolder` is the folder the main form opens on; when it does not exist
    // the main form opens the user's home folder instead.
    explicit ProgramContext(std::filesystem::path defaultCorpusFolder = builtInCorpusFolder());
    ~ProgramContext();
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    static std::filesystem::path builtInCorpusFolder();
    const std::filesystem::path& defaultCorpusFolder() const { return defaultCorpusFolder_; }

    Form1& form1();  // creates the analysis form (and runs its load step) on first access
    bool form1Exists() const { return form1_ != nullptr; }
    void recreateForm1();  // discard every store and run the load step again
    void unloadForm1();

    Form2& form2() { return *form2_; }
    void reloadForm2();  // fresh stores, then the start-up step

    SharedState& shared() { return shared_; }

    // Messages for the user (a message box in the GUI, stderr in the CLI).
    void raiseMessage(std::string text) { messages_.push_back(std::move(text)); }
    std::vector<std::string> takeMessages() { return std::exchange(messages_, {}); }

    // Called by the batch run before each text: k from 1 to n, and the file name.
    std::function<void(int k, int n, const std::string& name)> progress;

    // Set by the main form's "E&xit"; the front end ends the program when it sees it.
    bool quitRequested = false;

private:
    std::filesystem::path defaultCorpusFolder_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    SharedState shared_;
    std::vector<std::string> messages_;
};

}  // namespace pelmora
