#pragma once
// The main form's stores: folder navigation, the report and the pair lists of a run, and the
// author tools' lists. Its commands (Form2Commands) read and write these by name.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/file_facts.h"
#include "rules/rule_book.h"
#include "stores/author_pair_columns.h"
#include "stores/composed_text.h"
#include "stores/list_store.h"
#include "stores/navigation.h"
#include "stores/pair_list.h"
#include "stores/pair_values.h"
#include "stores/text_field.h"
#include "stores/value_field.h"

namespace pelmora {

class Form2 {
public:
    static constexpr const char* kReportHeader =
        "Text Pair\tStrength of Intertextual relationship\r\n";
    static constexpr int kAuthorPairLeft = 101000;  // designed left edge of column 0, twips
    static constexpr int kAuthorPairStep = 1460;

    // --- navigation ---
    DriveView Drive1, Drive2;
    FolderView Dir1, Dir2;
    FileList File1, File2;

    // --- shown ---
    ComposedText txtReport{kReportHeader};

    // --- working stores ---
    TextField txtFileName1, txtFileName2, txtFileName3;
    TextField Text1, Text2, Text3, Text4;
    ComposedText txtDogBox, txtDogHouse;  // the pair lists as text, written when read
    ValueField lbl1{"0"}, lbl2{"0"}, lblFile1Pos{"0"}, lblFile2Pos{"0"};
    ValueField Label5{"Second candidate"};
    ValueField lblMean{"0"}, lblStDev{"0"};

    PairList lstDogBox;
    PairList lstDogHouse{RuleBook::kMinimalBelow};
    PairValueList lstVals, lstCalcs, lstCalcs1;

    ListStore lstAuthor, lstAuthorComp, lstNumOfAuthorTexts;
    ListStore List1, List2;
    ListStore lstFirstText, lstSecondText, lstCLF;
    ListStore lstAuthPerm1, lstAuthPerm2, lstAuthPermVal;
    // Author pair columns: element k of both, left edge at authorPairLeft(k).
    AuthorPairCaptions lblAuthorPair{"Author pair"};
    AuthorPairValues lstAuthorPair;
    static std::int64_t authorPairLeft(std::size_t k) {
        return kAuthorPairLeft + kAuthorPairStep * static_cast<std::int64_t>(k);
    }

    // --- command state ---
    bool cmdAutoEnabled = true;
    bool visible = true;

    // --- working state beyond the named stores ---
    std::vector<SkippedFile> skippedFiles;  // files the run left out, for the report
    FileFacts lastRead;                     // of the file the last file click read
    // The strengths the report found off the norm, by strength.
    std::array<bool, 16> significantStrength{};
};

}  // namespace pelmora
