#pragma once
// The main form's commands: the start-up step, drive and folder navigation, loading a text
// into the analysis form, the batch run over a folder, the statistics and the report, and
// the author tools. Like the analysis form's, they work only on the named stores of the
// forms, through the program context.

#include <optional>

#include "forms/program_context.h"
#include "stores/error.h"

namespace pelmora {

class Form2Commands {
public:
    explicit Form2Commands(ProgramContext& context) : context_(context) {}

    // --- handlers of the navigation stores ---
    void Form_Load();
    void Drive1_Change();
    void Drive2_Change();
    void Dir1_Change();
    void Dir2_Change();
    // Loads the file selected in File1 into the analysis form. Returns false, leaves Text1
    // as it was and raises a message when the file cannot be read.
    bool File1_Click();
    void File2_Click();
    void List1_Click();

    // --- batch run and report ---
    void cmdAuto();
    void cmdRefresh();
    void cmdReset();
    void Command1();
    void cmdRemDupes();

    // --- author tools ---
    void cmdGetAuthors();
    void Command3();
    void cmdRemDupesListAuthors();
    void cmdNumOfTextsPerAuthor();
    void cmdAuthorPermutations();
    void Command5();
    void cmdAssignResults();
    void Command2();
    void Command4();

private:
    // File1_Click's work; an error comes back instead of being raised as a message.
    std::optional<Error> loadSelectedFile();
    // What the file click does besides putting the text into Text1.
    void fileLoaded(FileFacts facts);
    // Text k of the run, loaded (or `measured` already), analysed, told to the observer and
    // reset.
    void analyseLoadedText(int k, const std::string& name, bool measured);
    void showFolder(FolderView& dir, FileList& files, bool reportProblem);
    Form2& form() { return context_.form2(); }

    ProgramContext& context_;
};

// Opens the program: the main form's start-up step on a fresh context.
void startProgram(ProgramContext& context);

}  // namespace pelmora
