#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/counter_words.h"
#include "analysis/density.h"
#include "analysis/form1_commands.h"
#include "analysis/normalisation.h"
#include "analysis/pattern_counter.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

struct SpacesAndCharacters {
    std::int64_t spaces = 0, characters = 0;
};

constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = kOnes * 0x80;

// How many bytes of x have their high bit set, when no other bit is set: the bits shifted
// down to one per byte and summed into the top byte by one multiplication (popcount is a
// library call on the baseline instruction set).
int highBits(std::uint64_t x) {
    return static_cast<int>(((x >> 7) * kOnes) >> 56);
}

// Both in one pass, eight bytes at a time: spaces, and code points (bytes that are not UTF-8
// continuation bytes).
SpacesAndCharacters spacesAndCharacters(std::string_view text) {
    SpacesAndCharacters n;
    std::size_t i = 0;
    std::int64_t continuation = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, text.data() + i, 8);
        // A byte 10xxxxxx has bit 7 set and bit 6 clear.
        continuation += highBits(x & ~(x << 1) & kHigh);
        const std::uint64_t t = x ^ (kOnes * ' ');
        n.spaces += highBits(~(((t & (kOnes * 0x7F)) + kOnes * 0x7F) | t) & kHigh);
    }
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        n.spaces += c == ' ' ? 1 : 0;
        continuation += (c & 0xC0) == 0x80 ? 1 : 0;
    }
    n.characters = static_cast<std::int64_t>(text.size()) - continuation;
    return n;
}

}  // namespace

CountedPatterns countedPatterns(const Form1& f) {
    CountedPatterns c;
    c.patterns.assign(std::begin(kModalVerbs), std::end(kModalVerbs));
    c.modal = c.patterns.size();
    c.patterns.insert(c.patterns.end(), f.lstWordsOfAffect.items().begin(),
                      f.lstWordsOfAffect.items().end());
    c.affect = c.patterns.size() - c.modal;
    // None of these holds a space, so each keeps its count when RemSpc collapses and pads
    // the spaces: all are counted after it, in one pass.
    assert(std::none_of(c.patterns.begin(), c.patterns.end(),
                        [](const auto& p) { return p.find(' ') != std::string::npos; }));
    for (const std::string& word : f.lstKeyFunctionWords.items()) {
        c.patterns.push_back(" " + word + " ");
    }
    c.keys = static_cast<std::size_t>(f.lstKeyFunctionWords.count());
    c.patterns.emplace_back("ed ");
    c.patterns.emplace_back("n't");
    return c;
}

namespace {

struct CountingPatterns {
    CountedPatterns counted;
    PatternCounter counter;
};

// The patterns follow from the two word lists alone, and a batch run gives every text the
// same lists: while they share their entries with the lists last seen on this thread, the
// patterns and their counter built then still hold. Valid until the next call.
const CountingPatterns& countingPatterns(const Form1& f) {
    struct Kept {
        ListStore affect, keys;  // copies, so that a change to the form's lists is a new list
        std::unique_ptr<const CountingPatterns> patterns;
    };
    thread_local Kept kept;
    if (!kept.patterns || !kept.affect.sharesEntriesWith(f.lstWordsOfAffect) ||
        !kept.keys.sharesEntriesWith(f.lstKeyFunctionWords)) {
        CountedPatterns counted = countedPatterns(f);
        PatternCounter counter(counted.patterns);
        kept.patterns = std::make_unique<const CountingPatterns>(
            CountingPatterns{std::move(counted), std::move(counter)});
        kept.affect = f.lstWordsOfAffect;
        kept.keys = f.lstKeyFunctionWords;
    }
    return *kept.patterns;
}

}  // namespace

void Form1Commands::RemPunc() {
    Form1& f = form();
    const CountingPatterns& patterns = countingPatterns(f);
    const CountedPatterns& counted = patterns.counted;
    std::string text = f.Text1.take();
    // The punctuation clean-up, RemSpc's collapsing and padding of the spaces, and the
    // counting in one go, on every core for a long text.
    const int pieces =
        context_.jobs > 0 ? context_.jobs : static_cast<int>(std::thread::hardware_concurrency());
    CleanedText cleaned = cleanAndCount(text, patterns.counter, pieces, context_.textPieceBytes);
    f.Text1.setText(std::move(text));
    f.lblNumOfQuotes.setInt(cleaned.quotes);
    std::vector<std::int64_t>& counts = cleaned.counts;
    const std::size_t wordCount = counted.modal + counted.affect;
    keyWordCounts_.assign(counts.begin() + static_cast<std::ptrdiff_t>(wordCount), counts.end());
    counts.resize(wordCount);

    std::int64_t modal = 0;
    std::int64_t affect = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        (i < counted.modal ? modal : affect) += counts[i];
    }
    f.lblObligation.setInt(modal);
    f.lblAffectTotal.setInt(affect);
    f.modalCountText = f.lblObligation.text();
    f.affectCountText = f.lblAffectTotal.text();
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
    const SpacesAndCharacters counted = spacesAndCharacters(text);
    const std::int64_t n = counted.spaces;
    f.lblTextLength.setInt(n);
    f.lblWordLenAv.setFourDecimal(
        perWord(static_cast<double>(counted.characters - n), static_cast<double>(n)));
    f.Text1.setText(std::move(text));
}

std::int32_t Form1Commands::GetFreq(std::string_view word) {
    const Form1& f = form();
    // The last entry of the word counts, so the search runs from the end.
    for (int i = f.lstKeyFunctionWords.count() - 1; i >= 0; --i) {
        if (equalsIgnoreCase(f.lstKeyFunctionWords.at(i), word)) {
            // A count not yet written (a press before the key words were counted) reads 0.
            return static_cast<std::int32_t>(
                strictParse(f.lstKeyFunctionWordFrequency.get(i)).value_or(0.0));
        }
    }
    return 0;
}

void Form1Commands::AddDensity(const ValueField& field) {
    Form1& f = form();
    f.lstTypeFrequencies.append(fourDecimalText(perWord(field.value(), f.lblTextLength.value())));
}

}  // namespace pelmora
