#pragma once
// The analysis form: the workspace in which one text at a time is measured and classified,
// and in which the type codes of a run are gathered. Its commands talk to each other and to
// the main form only through the named stores below.

#include <cstdint>
#include <string>
#include <vector>

#include "stores/list_store.h"
#include "stores/text_field.h"
#include "stores/value_field.h"

namespace pelmora {

class ProgramContext;

// The store texts of one analysed text, taken right after the full analysis.
struct TextMeasures {
    std::string name, code, textClass;
    std::string textLength, wordLengthAvg, contractions;
    std::string firstPerson, secondPerson, thirdPerson;
    std::string pastTenseWords, pastTenseForms;
    std::string definiteArticle, indefiniteArticle, it;
    std::string obligationCount, obligationDensity, affectCount, affectDensity, quotes;
    std::string densities[9];
    std::string formality, personage, pastTenseness, obligationIntention, affect;
    // What the evaluation left for the categories: positions 0 and 1 of lstResults, and
    // position 5 of lstTypes ("Passive" once relabelled).
    std::string rankedFirst, rankedSecond, inflectionFeature;
};

class Form1 {
public:
    // Designed left edge of the window, in twips: beyond the right edge of any screen.
    static constexpr int kDesignedLeft = 30000;

    explicit Form1(ProgramContext* context);

    // --- shown stores ---
    TextField Text1;     // working text
    TextField txtTypes;  // results box: code, tab, file name, CR LF per text
    TextField Text2;     // legend

    // --- working stores ---
    TextField txtFileName;
    TextField txtTheFirst, txtTheSecond;
    TextField txtDogHouse, txtDogBox;  // kept for the window; nothing uses them

    ListStore lstKeyFunctionWords;
    ListStore lstKeyFunctionWordFrequency;
    ListStore lstTypes;
    ListStore lstTypeFrequencies;
    ListStore lstWordsOfAffect;
    ListStore lstCharacterValues{ListStore::Order::Sorted};
    ListStore lstSortedValues;
    ListStore lstResults;
    ListStore lstTypology;
    ListStore lstAllTypes;
    ListStore lstTypeNames;

    ValueField lblTextLength{"0"};
    ValueField lblWordLenAv{"0"};
    ValueField lblContractions{"0"};
    ValueField lblFirstPerson{"0"};
    ValueField lblSecondPerson{"0"};
    ValueField lblThirdPerson{"0"};
    ValueField lblPastTense{"0"};
    ValueField lblPastTenseForms{"0"};
    ValueField lblDefiniteArticle{"0"};
    ValueField lblIndefiniteArticle{"0"};
    ValueField lblIt{"0"};
    ValueField lblObligation{"0"};
    ValueField lblAffectTotal{"0"};
    ValueField lblNumOfQuotes{"0"};
    ValueField lblClass;
    ValueField lblFormality;
    ValueField lblPersonage;
    ValueField lblPastTenseness;
    ValueField lblObligationIntention;
    ValueField lblAffect;

    // --- window state ---
    bool visible = false;
    int left = kDesignedLeft;

    // --- commands ---
    void Form_Load();  // fills the three word lists
    void cmdReset();
    void cmdTotalReset();
    void cmdPrincipes();
    void cmdContractions();
    void cmdFirstPerson();
    void cmdSecondPerson();
    void cmdThirdPerson();
    void cmdPastTense();
    void cmdArticles();
    void cmdIt();
    void cmdEvaluate();
    void cmdFormality();
    void cmdPersonage();
    void cmdPastTenseness();
    void cmdObligation();
    void cmdAffect();
    void cmdTypeText();
    void cmdCompare();
    void cmdDoItAll();

    // The count of the last key function word equal to `word`, 0 when none matches.
    std::int32_t GetFreq(std::string_view word) const;
    // Appends the density of the count in `field` per word of the text to lstTypeFrequencies.
    void AddDensity(const ValueField& field);

    // The measures of the current text; valid right after cmdDoItAll.
    TextMeasures measures() const;

private:
    void RemPunc();
    void RemSpc();

    ProgramContext* context_;
    // The modal-verb and affect counts as normalisation found them, before the pipeline
    // turns them into densities; kept for the measures table.
    std::string modalCountText_ = "0";
    std::string affectCountText_ = "0";
    // The key-word counts when RemPunc took them in its own pass; empty otherwise.
    std::vector<std::int64_t> keyWordCounts_;
};

}  // namespace pelmora
