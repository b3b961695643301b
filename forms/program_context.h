#pragma once
// Owns the two forms' stores and the state that outlives them. The main form exists from
// the start; the analysis form is created by the first access (which runs its load step) and
// re-created by its resets. Re-creation happens in place.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/shared_state.h"
#include "jobs/job.h"
#include "rules/rule_book.h"

namespace pelmora {

class RunObserver;

class ProgramContext {
public:
    // The main form's start-up step opens the sample corpus found beside the running program.
    ProgramContext();
    // `defaultCorpusFolder` is the folder the main form's start-up step opens.
    explicit ProgramContext(std::filesystem::path defaultCorpusFolder);
    ~ProgramContext();
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    const std::filesystem::path& defaultCorpusFolder() const { return defaultCorpusFolder_; }
    // Why the start-up step shows the home folder when the default folder cannot be opened.
    [[nodiscard]] std::string missingCorpusMessage() const;

    Form1& form1();  // creates the analysis form (and runs its load step) on first access
    bool form1Exists() const { return form1_ != nullptr; }
    void recreateForm1();  // discard every store and run the load step again
    void unloadForm1();
    // Puts `form` in the analysis form's place, as if the commands had worked on it there.
    void replaceForm1(Form1 form);

    Form2& form2() { return *form2_; }
    const Form2& form2() const { return *form2_; }
    void reloadForm2();  // fresh stores; the start-up step is the main form's own command

    SharedState& shared() { return shared_; }

    // Every store of both forms and the messages not yet shown, as they stand.
    struct Stores {
        Form2 form2;
        std::optional<Form1> form1;
        SharedState shared;
        std::vector<std::string> messages;
    };
    [[nodiscard]] Stores saveStores() const;
    // Puts the stores back as they were saved: a form that did not exist then is unloaded.
    void restoreStores(Stores stores);

    // The thresholds every command decides by; the standard ones unless a caller moves them.
    const RuleBook& rules() const { return rules_; }
    void setRules(const RuleBook& rules) { rules_ = rules; }

    // How many texts the batch run measures at once, and in how many pieces at once a long
    // text is cleaned and counted; 0 for one per core.
    int jobs = 0;
    // The least a piece of a text measured on several cores holds.
    std::size_t textPieceBytes = std::size_t{4} << 20;

    // Messages for the user (a message box in the GUI, stderr in the CLI).
    void raiseMessage(std::string text) { messages_.push_back(std::move(text)); }
    std::vector<std::string> takeMessages() { return std::exchange(messages_, {}); }

    // Called by the batch run before each text: k from 1 to n, and the file name.
    std::function<void(int k, int n, const std::string& name)> progress;

    // The batch run stops between two texts once this is set; nothing when null.
    const CancelToken* cancel = nullptr;
    [[nodiscard]] bool cancelled() const { return cancel != nullptr && cancel->cancelled(); }

    // Told of every batch run as it goes, when set.
    RunObserver* observer = nullptr;

    // Set by the main form's "E&xit"; the front end ends the program when it sees it.
    bool quitRequested = false;

private:
    std::filesystem::path defaultCorpusFolder_;
    std::string missingCorpusMessage_;  // when the sample corpus was looked for and not found
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    SharedState shared_;
    RuleBook rules_ = RuleBook::standard();
    std::vector<std::string> messages_;
};

}  // namespace pelmora
