#include <initializer_list>
#include <string_view>

#include "analysis/counter_words.h"
#include "analysis/form1_commands.h"

namespace pelmora {

namespace {

std::int64_t sumOfFreqs(Form1Commands& commands, Measure measure) {
    std::int64_t sum = 0;
    for (std::string_view word : counterWords(measure).words) {
        sum += commands.GetFreq(word);
    }
    return sum;
}

}  // namespace

void Form1Commands::cmdContractions() {
    const std::int64_t s = sumOfFreqs(*this, Measure::Contractions);
    Form1& f = form();
    f.lblContractions.setDouble(f.lblContractions.value() + static_cast<double>(s));
    AddDensity(f.lblContractions);
}

void Form1Commands::cmdFirstPerson() {
    const std::int64_t t = sumOfFreqs(*this, Measure::FirstPerson);
    form().lblFirstPerson.setInt(t);
    AddDensity(form().lblFirstPerson);
}

void Form1Commands::cmdSecondPerson() {
    form().lblSecondPerson.setInt(sumOfFreqs(*this, Measure::SecondPerson));
    AddDensity(form().lblSecondPerson);
}

void Form1Commands::cmdThirdPerson() {
    form().lblThirdPerson.setInt(sumOfFreqs(*this, Measure::ThirdPerson));
    AddDensity(form().lblThirdPerson);
}

void Form1Commands::cmdPastTense() {
    form().lblPastTense.setInt(sumOfFreqs(*this, Measure::PastTenseWords));
    AddDensity(form().lblPastTense);
    form().lblPastTenseForms.setInt(GetFreq("-ed"));
    AddDensity(form().lblPastTenseForms);
}

void Form1Commands::cmdArticles() {
    form().lblDefiniteArticle.setInt(sumOfFreqs(*this, Measure::DefiniteArticle));
    AddDensity(form().lblDefiniteArticle);
    form().lblIndefiniteArticle.setInt(sumOfFreqs(*this, Measure::IndefiniteArticle));
    AddDensity(form().lblIndefiniteArticle);
}

void Form1Commands::cmdIt() {
    form().lblIt.setInt(sumOfFreqs(*this, Measure::It));
    AddDensity(form().lblIt);
}

}  // namespace pelmora
