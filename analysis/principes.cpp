#include <algorithm>
#include <cassert>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "analysis/density.h"
#include "analysis/form1_commands.h"
#include "analysis/normalisation.h"
#include "analysis/pattern_counter.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// The key function words, each between two spaces, then the two inflection patterns.
std::vector<std::string> keyWordPatterns(const ListStore& words) {
    std::vector<std::string> patterns;
    patterns.reserve(static_cast<std::size_t>(words.count()) + 2);
    for (const std::string& word : words.items()) {
        patterns.push_back(" " + word + " ");
    }
    patterns.emplace_back("ed ");
    patterns.emplace_back("n't");
    return patterns;
}

std::int64_t countSpaces(std::string_view text) {
    std::int64_t n = 0;
    for (char c : text) {
        n += c == ' ';
    }
    return n;
}

}  // namespace

void Form1Commands::RemPunc() {
    Form1& f = form();
    std::string text = f.Text1.take();
    f.lblNumOfQuotes.setInt(removePunctuation(text));

    // Modal verbs and affect words are counted anywhere, inside words too.
    std::vector<std::string> patterns(std::begin(kModalVerbs), std::end(kModalVerbs));
    const std::size_t modalCount = patterns.size();
    patterns.insert(patterns.end(), f.lstWordsOfAffect.items().begin(),
                    f.lstWordsOfAffect.items().end());
    const std::size_t wordCount = patterns.size();
    // None of these words holds a space, so each keeps its count when RemSpc collapses and
    // pads the spaces: they are counted after it, in the one pass that counts the key words.
    assert(std::none_of(patterns.begin(), patterns.end(),
                        [](const auto& p) { return p.find(' ') != std::string::npos; }));
    f.Text1.setText(std::move(text));
    RemSpc();
    const std::vector<std::string> keys = keyWordPatterns(f.lstKeyFunctionWords);
    patterns.insert(patterns.end(), keys.begin(), keys.end());
    std::vector<std::int64_t> counts = PatternCounter::forPatterns(patterns).count(f.Text1.text());
    keyWordCounts_.assign(counts.begin() + static_cast<std::ptrdiff_t>(wordCount), counts.end());
    counts.resize(wordCount);

    std::int64_t modal = 0;
    std::int64_t affect = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        (i < modalCount ? modal : affect) += counts[i];
    }
    f.lblObligation.setInt(modal);
    f.lblAffectTotal.setInt(affect);
    f.modalCountText = f.lblObligation.text();
    f.affectCountText = f.lblAffectTotal.text();
}

void Form1Commands::RemSpc() {
    Form1& f = form();
    std::string text = f.Text1.take();
    padWithSingleSpaces(text);
    f.Text1.setText(std::move(text));
}

void Form1Commands::cmdPrincipes() {
    RemPunc();
    Form1& f = form();
    const std::vector<std::int64_t> counts = std::exchange(keyWordCounts_, {});

    const int words = f.lstKeyFunctionWords.count();
    for (int i = 0; i < words; ++i) {
        f.lstKeyFunctionWordFrequency.append(intText(counts[static_cast<std::size_t>(i)]));
    }
    const std::int64_t edEndings = counts[static_cast<std::size_t>(words)];
    const std::int64_t notEndings = counts[static_cast<std::size_t>(words) + 1];
    f.lstKeyFunctionWordFrequency.append(intText(edEndings));
    f.lstKeyFunctionWords.append("-ed");
    f.lstKeyFunctionWordFrequency.append(intText(notEndings));
    f.lstKeyFunctionWords.append("n't");
    f.lblContractions.setDouble(f.lblContractions.value() + static_cast<double>(notEndings));

    std::string text = f.Text1.take();
    text.erase(0, text.size() - trimLeadingSpaces(text).size());
    replaceAllAnchored(text, "\r\n", " ", 0);
    collapseSpaceRuns(text, 24);
    // Every word is now followed by exactly one space.
    const std::int64_t n = countSpaces(text);
    f.lblTextLength.setInt(n);
    f.lblWordLenAv.setFourDecimal(
        perWord(static_cast<double>(utf8Length(text) - n), static_cast<double>(n)));
    f.Text1.setText(std::move(text));
}

std::int32_t Form1Commands::GetFreq(std::string_view word) {
    const Form1& f = form();
    std::int32_t found = 0;
    for (int i = 0; i < f.lstKeyFunctionWords.count(); ++i) {
        if (equalsIgnoreCase(f.lstKeyFunctionWords.at(i), word)) {
            // A count not yet written (a press before the key words were counted) reads 0.
            found = static_cast<std::int32_t>(
                strictParse(f.lstKeyFunctionWordFrequency.get(i)).value_or(0.0));
        }
    }
    return found;
}

void Form1Commands::AddDensity(const ValueField& field) {
    Form1& f = form();
    f.lstTypeFrequencies.append(fourDecimalText(perWord(field.value(), f.lblTextLength.value())));
}

}  // namespace pelmora
