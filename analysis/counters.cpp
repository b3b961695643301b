#include <initializer_list>
#include <string_view>

#include "analysis/form1.h"

namespace pelmora {

namespace {

std::int64_t sumOfFreqs(const Form1& form, std::initializer_list<std::string_view> words) {
    std::int64_t sum = 0;
    for (std::string_view word : words) {
        sum += form.GetFreq(word);
    }
    return sum;
}

}  // namespace

void Form1::cmdContractions() {
    // "we've" is a key word but not a contraction here.
    const std::int64_t s = sumOfFreqs(
        *this, {"it's",  "I'm",  "I'll",    "I've",    "I'd",    "you're", "you'll", "you've",
                "you'd", "he's", "he'll",   "he'd",    "she's",  "she'll", "she'd",  "we're",
                "we'll", "we'd", "they're", "they'll", "they'd", "they've"});
    lblContractions.setDouble(lblContractions.value() + static_cast<double>(s));
    AddDensity(lblContractions);
}

void Form1::cmdFirstPerson() {
    lblFirstPerson.setInt(sumOfFreqs(
        *this, {"I", "I'll", "I've", "I'd", "I'm", "we", "we'll", "we're", "we'd", "we've"}));
    AddDensity(lblFirstPerson);
}

void Form1::cmdSecondPerson() {
    // "you're" counts as a contraction only.
    lblSecondPerson.setInt(sumOfFreqs(*this, {"you", "you'll", "you'd", "you've"}));
    AddDensity(lblSecondPerson);
}

void Form1::cmdThirdPerson() {
    // Singular he and she only: the list has no plain "they".
    lblThirdPerson.setInt(
        sumOfFreqs(*this, {"he", "he's", "he'll", "he'd", "she", "she's", "she'll", "she'd"}));
    AddDensity(lblThirdPerson);
}

void Form1::cmdPastTense() {
    lblPastTense.setInt(sumOfFreqs(*this, {"knew", "bought", "said", "brought", "took", "went",
                                           "was", "were", "thought", "felt"}));
    AddDensity(lblPastTense);
    lblPastTenseForms.setInt(GetFreq("-ed"));
    AddDensity(lblPastTenseForms);
}

void Form1::cmdArticles() {
    lblDefiniteArticle.setInt(GetFreq("the"));
    AddDensity(lblDefiniteArticle);
    lblIndefiniteArticle.setInt(sumOfFreqs(*this, {"a", "an"}));
    AddDensity(lblIndefiniteArticle);
}

void Form1::cmdIt() {
    lblIt.setInt(sumOfFreqs(*this, {"it", "it's"}));
    AddDensity(lblIt);
}

}  // namespace pelmora
