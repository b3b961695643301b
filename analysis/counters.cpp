#include <initializer_list>
#include <string_view>

#include "analysis/form1_commands.h"

namespace pelmora {

namespace {

std::int64_t sumOfFreqs(Form1Commands& commands, std::initializer_list<std::string_view> words) {
    std::int64_t sum = 0;
    for (std::string_view word : words) {
        sum += commands.GetFreq(word);
    }
    return sum;
}

}  // namespace

void Form1Commands::cmdContractions() {
    // "we've" is a key word but not a contraction here.
    const std::int64_t s = sumOfFreqs(
        *this, {"it's",  "I'm",  "I'll",    "I've",    "I'd",    "you're", "you'll", "you've",
                "you'd", "he's", "he'll",   "he'd",    "she's",  "she'll", "she'd",  "we're",
                "we'll", "we'd", "they're", "they'll", "they'd", "they've"});
    Form1& f = form();
    f.lblContractions.setDouble(f.lblContractions.value() + static_cast<double>(s));
    AddDensity(f.lblContractions);
}

void Form1Commands::cmdFirstPerson() {
    const std::int64_t t = sumOfFreqs(
        *this, {"I", "I'll", "I've", "I'd", "I'm", "we", "we'll", "we're", "we'd", "we've"});
    form().lblFirstPerson.setInt(t);
    AddDensity(form().lblFirstPerson);
}

void Form1Commands::cmdSecondPerson() {
    // "you're" counts as a contraction only.
    form().lblSecondPerson.setInt(sumOfFreqs(*this, {"you", "you'll", "you'd", "you've"}));
    AddDensity(form().lblSecondPerson);
}

void Form1Commands::cmdThirdPerson() {
    // Singular he and she only: the list has no plain "they".
    form().lblThirdPerson.setInt(
        sumOfFreqs(*this, {"he", "he's", "he'll", "he'd", "she", "she's", "she'll", "she'd"}));
    AddDensity(form().lblThirdPerson);
}

void Form1Commands::cmdPastTense() {
    form().lblPastTense.setInt(sumOfFreqs(*this, {"knew", "bought", "said", "brought", "took",
                                                  "went", "was", "were", "thought", "felt"}));
    AddDensity(form().lblPastTense);
    form().lblPastTenseForms.setInt(GetFreq("-ed"));
    AddDensity(form().lblPastTenseForms);
}

void Form1Commands::cmdArticles() {
    form().lblDefiniteArticle.setInt(GetFreq("the"));
    AddDensity(form().lblDefiniteArticle);
    form().lblIndefiniteArticle.setInt(sumOfFreqs(*this, {"a", "an"}));
    AddDensity(form().lblIndefiniteArticle);
}

void Form1Commands::cmdIt() {
    form().lblIt.setInt(sumOfFreqs(*this, {"it", "it's"}));
    AddDensity(form().lblIt);
}

}  // namespace pelmora
