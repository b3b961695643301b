#pragma once
// The analysis form's stores: the workspace in which one text at a time is measured and
// classified, and in which the type codes of a run are gathered. Its commands (Form1Commands)
// read and write these by name.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "rules/rule_book.h"
#include "stores/list_store.h"
#include "stores/text_field.h"
#include "stores/value_field.h"

namespace pelmora {

// The measures of a text, in the order of the measures table.
enum class Measure {
    TextLength,
    WordLengthAvg,
    Contractions,
    FirstPerson,
    SecondPerson,
    ThirdPerson,
    PastTenseWords,
    PastTenseForms,
    DefiniteArticle,
    IndefiniteArticle,
    It,
    ObligationCount,
    ObligationDensity,
    AffectCount,
    AffectDensity,
    Quotes,
    D0,
    D1,
    D2,
    D3,
    D4,
    D5,
    D6,
    D7,
    D8,
};
inline constexpr int kMeasureCount = 25;

struct MeasureInfo {
    Measure id;
    const char* column;  // the measures table's column name: "text_length", "d0"
    const char* label;   // in words: "text length", "contraction density"
};
extern const std::array<MeasureInfo, kMeasureCount> kMeasures;
inline Measure densityMeasure(int feature) {
    return static_cast<Measure>(static_cast<int>(Measure::D0) + feature);
}

// The store texts of one analysed text, taken right after the full analysis.
struct TextMeasures {
    std::string name, code, textClass;
    std::string textLength, wordLengthAvg, contractions;
    std::string firstPerson, secondPerson, thirdPerson;
    std::string pastTenseWords, pastTenseForms;
    std::string definiteArticle, indefiniteArticle, it;
    std::string obligationCount, obligationDensity, affectCount, affectDensity, quotes;
    std::array<std::string, 9> densities;
    std::string formality, personage, pastTenseness, obligationIntention, affect;
    // What the evaluation left for the categories: positions 0 and 1 of lstResults, and
    // position 5 of lstTypes ("Passive" once relabelled).
    std::string rankedFirst, rankedSecond, inflectionFeature;

    const std::string& text(Measure m) const;
};

// What the rule book decided for the current text, as the commands applied it.
struct Form1Decisions {
    ClassifierInputs inputs;  // as the evaluation and the categories read them
    std::optional<Evaluation> evaluation;
    std::array<std::optional<Decision>, 5> categories;
};

class Form1 {
public:
    // Designed left edge of the window, in twips: beyond the right edge of any screen.
    static constexpr int kDesignedLeft = 30000;

    Form1();

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

    // --- working state beyond the named stores ---
    // The exact bytes of the name in txtFileName, and of every gathered name (parallel to
    // lstTypeNames, carried with it): two texts are the same text only when these are equal,
    // however alike their names display.
    std::string fileNameBytes;
    std::vector<std::string> typeNameBytes;
    // The modal-verb and affect counts as normalisation found them, before the pipeline turns
    // them into densities.
    std::string modalCountText = "0";
    std::string affectCountText = "0";
    Form1Decisions decisions;

    // --- window state ---
    bool visible = false;
    int left = kDesignedLeft;

    // The load step: fills the three word lists.
    void Form_Load();

    // The measures of the current text; valid right after the full analysis.
    TextMeasures measures() const;
};

// The word lists of the load step, in their order.
extern const std::array<const char*, 98> kWordsOfAffect;
extern const std::array<const char*, 46> kKeyFunctionWords;
// The modal verbs of obligation and intention the normalisation counts, in its order.
extern const std::array<const char*, 9> kModalVerbs;

}  // namespace pelmora
