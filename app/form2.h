#pragma once
// The main form: folder navigation, loading a text into the analysis form, the batch run
// over a folder, the pairwise statistics and the report, and the author tools.

#include <optional>
#include <string>
#include <vector>

#include "analysis/form1.h"
#include "classify/pair_list.h"
#include "evidence/file_facts.h"
#include "stores/input_problem.h"
#include "stores/list_store.h"
#include "stores/navigation.h"
#include "stores/text_field.h"
#include "stores/value_field.h"

namespace pelmora {

class ProgramContext;

// A file the batch run could not read, and the system's reason.
struct SkippedFile {
    std::string name;
    std::string reason;
};

class Form2 {
public:
    static constexpr const char* kReportHeader =
        "Text Pair\tStrength of Intertextual relationship\r\n";
    static constexpr int kAuthorPairLeft = 101000;  // designed left edge of column 0, twips
    static constexpr int kAuthorPairStep = 1460;

    explicit Form2(ProgramContext* context);

    // --- navigation ---
    DriveView Drive1, Drive2;
    FolderView Dir1, Dir2;
    FileList File1, File2;

    // --- shown ---
    TextField txtReport{kReportHeader};

    // --- working stores ---
    TextField txtFileName1, txtFileName2, txtFileName3;
    TextField Text1, Text2, Text3, Text4;
    TextField txtDogBox, txtDogHouse;
    ValueField lbl1{"0"}, lbl2{"0"}, lblFile1Pos{"0"}, lblFile2Pos{"0"};
    ValueField Label5{"Second candidate"};
    ValueField lblMean{"0"}, lblStDev{"0"};

    PairList lstDogBox{PairList::Filter::All};
    PairList lstDogHouse{PairList::Filter::Minimal};
    ListStore lstVals, lstCalcs, lstCalcs1;

    ListStore lstAuthor, lstAuthorComp, lstNumOfAuthorTexts;
    ListStore List1, List2;
    ListStore lstFirstText, lstSecondText, lstCLF;
    ListStore lstAuthPerm1, lstAuthPerm2, lstAuthPermVal;
    // Author pair columns: element i of both arrays, left edge at authorPairLeft[i].
    std::vector<ValueField> lblAuthorPair{ValueField("Author pair")};
    std::vector<ListStore> lstAuthorPair{ListStore()};
    std::vector<int> authorPairLeft{kAuthorPairLeft};

    // --- command state ---
    bool cmdAutoEnabled = true;
    bool visible = true;

    // --- results of the last batch run beyond the stores ---
    std::vector<TextMeasures> runMeasures;  // one per analysed text, in run order
    std::vector<SkippedFile> skippedFiles;  // files that could not be read
    std::vector<FileFacts> runFiles;        // parallel to runMeasures

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
    // File1_Click's work; a problem comes back instead of being raised as a message.
    std::optional<InputProblem> loadSelectedFile();
    void showFolder(FolderView& dir, FileList& files, bool reportProblem);

    FileFacts lastRead_;  // of the file loadSelectedFile read last

    ProgramContext* context_;
};

}  // namespace pelmora
