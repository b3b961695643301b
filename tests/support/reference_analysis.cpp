#include "tests/support/reference_analysis.h"

#include <utility>

#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora::test {

ReferenceCleanup referenceRemovePunctuation(std::string text,
                                            const std::vector<std::string>& affectWords) {
    static const std::pair<const char*, const char*> kSteps[] = {
        {"mr. ", "mr "},
        {"\u00AB", " "},
        {"\u00BB", " "},
        {"mrs. ", "mrs "},
        {"dr. ", "dr "},
        {" dont ", " don't "},
        {" cant ", " can't "},
        {" wont ", " won't "},
        {" didnt ", " didn't "},
        {" Ime ", " I'm "},
        {" youre ", " you're "},
        {"'st", " "},
        {"[", " "},
        {"]", " "},
        {"\u2019", "'"},
        {".", ""},
        {",", ""},
        {";", ""},
        {":", ""},
        {"?", ""},
        {"!", ""},
        {"(", ""},
        {")", ""},
        {"-", " "},
        {" '", " "},
        {"' ", " "},
    };
    ReferenceCleanup r;
    for (const auto& [pattern, replacement] : kSteps) {
        text = replaceAll(text, pattern, replacement);
    }
    r.quotes = SplitCount(text, "\"");
    text = replaceAll(text, "\"", " ");
    text = replaceAll(text, "\r\n", " ");
    for (const char* modal :
         {"will", "shall", "must", "need", "needs", "should", "shouldn't", "ought", "oughtn't"}) {
        r.modal += SplitCount(text, modal);
    }
    for (const std::string& word : affectWords) {
        r.affect += SplitCount(text, word);
    }
    r.text = std::move(text);
    return r;
}

namespace {

std::string halveSpaceRuns24Times(std::string text) {
    for (int pass = 0; pass < 6; ++pass) {
        for (int k = 0; k < 4; ++k) {
            text = replaceAll(text, "  ", " ");
        }
    }
    return text;
}

}  // namespace

std::string referencePadWithSingleSpaces(std::string text) {
    text = halveSpaceRuns24Times(std::move(text));
    text = std::string(trimLeadingSpaces(text));
    text = std::string(trimTrailingSpaces(text));
    return " " + text + " ";
}

void referencePrincipes(Form1& form) {
    ReferenceCleanup cleaned =
        referenceRemovePunctuation(form.Text1.text(), form.lstWordsOfAffect.items());
    form.lblNumOfQuotes.setInt(cleaned.quotes);
    form.lblObligation.setInt(cleaned.modal);
    form.lblAffectTotal.setInt(cleaned.affect);
    std::string text = referencePadWithSingleSpaces(std::move(cleaned.text));

    const int words = form.lstKeyFunctionWords.count();
    for (int i = 0; i < words; ++i) {
        std::string pattern(1, ' ');
        pattern += form.lstKeyFunctionWords.at(i);
        pattern += ' ';
        form.lstKeyFunctionWordFrequency.append(intText(SplitCount(text, pattern)));
    }
    form.lstKeyFunctionWordFrequency.append(intText(SplitCount(text, "ed ")));
    form.lstKeyFunctionWords.append("-ed");
    const std::int32_t c = SplitCount(text, "n't");
    form.lstKeyFunctionWordFrequency.append(intText(c));
    form.lstKeyFunctionWords.append("n't");
    form.lblContractions.setDouble(form.lblContractions.value() + c);

    text = std::string(trimLeadingSpaces(text));
    text = replaceAll(text, "\r\n", " ");
    text = halveSpaceRuns24Times(std::move(text));
    const std::int32_t n = SplitCount(text, " ");
    form.lblTextLength.setInt(n);
    form.lblWordLenAv.setFourDecimal(n == 0 ? 0.0 : static_cast<double>(utf8Length(text) - n) / n);
    form.Text1.setText(std::move(text));
}

void pressCounters(ProgramContext& context) {
    Form1Commands form(context);
    form.cmdContractions();
    form.cmdFirstPerson();
    form.cmdSecondPerson();
    form.cmdThirdPerson();
    form.cmdPastTense();
    form.cmdArticles();
    form.cmdIt();
}

void referenceDoItAll(ProgramContext& context) {
    referencePrincipes(context.form1());
    pressCounters(context);
    Form1Commands form(context);
    form.cmdEvaluate();
    Form1& stores = context.form1();
    const double words = stores.lblTextLength.value();
    stores.lblObligation.setFourDecimal(words > 0 ? stores.lblObligation.value() / words : 0.0);
    form.cmdFormality();
    form.cmdPersonage();
    form.cmdPastTenseness();
    form.cmdObligation();
    form.cmdAffect();
    form.cmdTypeText();
    form.cmdCompare();
}

}  // namespace pelmora::test
