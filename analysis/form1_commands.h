#pragma once
// The analysis form's commands. Each is parameterless and works only on the named stores of
// the forms, through the program context, so a command may re-create its own form (the
// resets do) and the next one finds the fresh stores.

#include <cstdint>
#include <string_view>
#include <vector>

#include "forms/program_context.h"

namespace pelmora {

class Form1Commands {
public:
    explicit Form1Commands(ProgramContext& context) : context_(context) {}

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

    // The steps of cmdDoItAll before the type code: everything that touches only this text.
    void measureAndClassify();

    // The count of the last key function word equal to `word`, 0 when none matches.
    std::int32_t GetFreq(std::string_view word);
    // Appends the density of the count in `field` per word of the text to lstTypeFrequencies.
    void AddDensity(const ValueField& field);

private:
    // Also does RemSpc's work: the spaces collapsed, the text padded.
    void RemPunc();
    Form1& form() { return context_.form1(); }

    ProgramContext& context_;
    // The key-word counts, which RemPunc takes in its pass for cmdPrincipes.
    std::vector<std::int64_t> keyWordCounts_;
};

}  // namespace pelmora
