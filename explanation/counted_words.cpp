#include "explanation/counted_words.h"

#include <algorithm>
#include <string_view>

#include "analysis/counter_words.h"
#include "analysis/normalisation.h"
#include "analysis/occurrences.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// Forms a reader looks for under a measure that its lists do not hold, and what a reader of
// the row must know beyond its words. A form the lists come to count is left out of the row.
struct Expected {
    Measure measure;
    std::vector<std::string_view> notCounted;
    std::string_view note;
};
const Expected kExpected[] = {
    {Measure::Contractions,
     {"we've", "that's", "there's", "let's"},
     "The 's of a possessive (John's) is not counted."},
    {Measure::FirstPerson,
     {"me", "my", "mine", "us", "our", "ours"},
     "I counts in either case, so a lone lower-case i counts too."},
    {Measure::SecondPerson, {"your", "yours", "you're"}, ""},
    {Measure::ThirdPerson,
     {"him", "his", "her", "hers", "they", "them", "their", "they're", "they'll", "they'd",
      "they've"},
     "Singular he and she forms only: a text full of they and them counts none."},
    {Measure::PastTenseWords,
     {"had", "did", "came", "saw"},
     "Only the irregular verbs listed; regular past forms are counted by their ending."},
    {Measure::PastTenseForms,
     {},
     "Any word with this ending counts, past tense or not: need, bed."},
    {Measure::DefiniteArticle, {}, ""},
    {Measure::IndefiniteArticle, {}, ""},
    {Measure::It, {"its", "itself"}, ""},
    {Measure::ObligationCount,
     {"would", "could", "may", "might"},
     "Counted inside longer words too: will in willing, need in needle."},
    {Measure::AffectCount, {}, "Counted inside longer words too: rest in interest, sad in saddle."},
    {Measure::Quotes,
     {"\u201c", "\u201d", "\u00ab", "\u00bb", "'"},
     "Straight double quotation marks only, each one, counted before the other punctuation "
     "is removed."},
};

std::string label(Measure m) {
    return kMeasures[static_cast<std::size_t>(m)].label;
}

bool holds(const std::vector<std::string>& words, std::string_view word) {
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& w) { return equalsIgnoreCase(w, word); });
}

std::string joined(const std::vector<std::string>& items, std::size_t most = std::string::npos) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < most; ++i) {
        out += (i == 0 ? "" : ", ") + items[i];
    }
    if (items.size() > most) {
        out += " and " + std::to_string(items.size() - most) + " more";
    }
    return out;
}

// The counted words and patterns of every row, from the lists a fresh analysis form loads.
std::vector<CountedWords> countedRows() {
    Form1 form;
    form.Form_Load();
    const CountedPatterns counted = countedPatterns(form);
    const auto part = [&](std::size_t from, std::size_t count) {
        return std::vector<std::string>(
            counted.patterns.begin() + static_cast<std::ptrdiff_t>(from),
            counted.patterns.begin() + static_cast<std::ptrdiff_t>(from + count));
    };
    const std::size_t keysFrom = counted.modal + counted.affect;
    std::vector<std::string> keys;
    for (const std::string& spaced : part(keysFrom, counted.keys)) {
        keys.push_back(spaced.substr(1, spaced.size() - 2));  // a key word counts between spaces
    }
    std::vector<CountedWords> rows;
    for (const Measure m : kCountedMeasures) {
        rows.push_back({m, {}, {}, {}, {}});
    }
    const auto row = [&](Measure m) -> CountedWords& {
        return *std::find_if(rows.begin(), rows.end(),
                             [m](const CountedWords& r) { return r.measure == m; });
    };
    for (const CounterWords& c : kCounterWords) {
        // A counter adds up only the key words the form counts.
        for (std::string_view w : c.words) {
            if (const auto k =
                    std::find_if(keys.begin(), keys.end(),
                                 [w](const std::string& key) { return equalsIgnoreCase(key, w); });
                k != keys.end()) {
                row(c.measure).words.push_back(*k);
            }
        }
    }
    row(Measure::ObligationCount).inside = part(0, counted.modal);
    row(Measure::AffectCount).inside = part(counted.modal, counted.affect);
    // The patterns after the key words: one ending in a space counts at a word's end (the
    // inflections), any other inside words (the contractions' ending).
    for (const std::string& p :
         part(keysFrom + counted.keys, counted.patterns.size() - keysFrom - counted.keys)) {
        if (!p.empty() && p.back() == ' ') {
            row(Measure::PastTenseForms).inside.push_back("-" + p.substr(0, p.size() - 1));
        } else {
            row(Measure::Contractions).inside.push_back(p);
        }
    }
    row(Measure::Quotes).inside.emplace_back("\"");
    return rows;
}

// "shouldn't counts as should and shouldn't": the first listed pattern holding another.
std::string nestedNote(const std::vector<std::string>& inside) {
    for (const std::string& outer : inside) {
        for (const std::string& inner : inside) {
            if (inner.size() < outer.size() &&
                toLowerAscii(outer).find(toLowerAscii(inner)) != std::string::npos) {
                return "A listed word inside another counts for both: " + outer + " counts as " +
                       inner + " and as " + outer + ".";
            }
        }
    }
    return {};
}

// The notes of each row: its own, what it shares with other rows, and where a form it does
// not count is counted instead.
void addNotes(std::vector<CountedWords>& rows) {
    for (CountedWords& r : rows) {
        const auto e = std::find_if(std::begin(kExpected), std::end(kExpected),
                                    [&](const Expected& x) { return x.measure == r.measure; });
        std::vector<std::string> all = r.words;
        all.insert(all.end(), r.inside.begin(), r.inside.end());
        if (e != std::end(kExpected)) {
            for (std::string_view form : e->notCounted) {
                if (!holds(all, form)) {
                    r.notCounted.emplace_back(form);
                }
            }
            if (!e->note.empty()) {
                r.notes.emplace_back(e->note);
            }
        }
        if (std::string nested = nestedNote(r.inside); !nested.empty()) {
            r.notes.push_back(std::move(nested));
        }
        for (const CountedWords& other : rows) {
            if (other.measure == r.measure) {
                continue;
            }
            std::vector<std::string> shared, elsewhere;
            for (const std::string& w : all) {
                if (holds(other.words, w) || holds(other.inside, w)) {
                    shared.push_back(w);
                }
            }
            for (const std::string& w : r.notCounted) {
                if (holds(other.words, w)) {
                    elsewhere.push_back(w);
                }
            }
            if (!shared.empty()) {
                r.notes.push_back("Also counted as " + label(other.measure) + ": " +
                                  joined(shared) + ".");
            }
            if (!elsewhere.empty()) {
                r.notes.push_back("Counted as " + label(other.measure) +
                                  " instead: " + joined(elsewhere) + ".");
            }
        }
    }
}

}  // namespace

std::vector<CountedWords> countedWordTable() {
    std::vector<CountedWords> rows = countedRows();
    addNotes(rows);
    return rows;
}

CountedWords countedWordsOf(Measure measure) {
    // The lists a fresh form loads never change while the program runs.
    static const std::vector<CountedWords> kTable = countedWordTable();
    for (const CountedWords& r : kTable) {
        if (r.measure == measure) {
            return r;
        }
    }
    return {measure, {}, {}, {}, {}};
}

std::vector<std::string> wordCountingNotes() {
    std::string repairs;
    for (const RepairedSpelling& r : repairedSpellings()) {
        repairs += (repairs.empty() ? "" : ", ") + std::string(r.word) + " as " +
                   std::string(r.replacement);
    }
    return {
        "Before counting, the text is cleaned: . , ; : ? ! ( ) are removed (so end.The reads "
        "as one word), - [ ] \u00ab \u00bb and double quotation marks become spaces, a curly "
        "apostrophe (\u2019) reads as a straight one, and an apostrophe with a space beside it "
        "is removed.",
        "A word is what stands between two spaces, in any letter case. A Windows line end (CR "
        "LF) is a space; a tab or a lone line feed (LF) is not, so the words on either side "
        "of it read as one word.",
        "Standing alone, " + repairs + " are read as written with the apostrophe.",
        "The same whole word twice in a row shares the space between: the the counts once, "
        "the the the twice.",
        "Patterns marked \"inside words too\" count wherever their letters stand, inside longer "
        "words as well; Details shows such a match lighter, underlined with dots.",
    };
}

std::string wordsHelpPointer() {
    return "Right-click a measure in the legend for all its words in Help";
}

std::string countedWordsTip(Measure measure) {
    constexpr std::size_t kShown = 12;  // a tooltip names the first words of a long list
    const CountedWords r = countedWordsOf(measure);
    std::string tip = label(measure) + ": ";
    if (!r.words.empty()) {
        tip += joined(r.words, kShown);
    }
    if (!r.inside.empty()) {
        tip += std::string(r.words.empty() ? "" : "; ") +
               "inside words too: " + joined(r.inside, kShown);
    }
    if (!r.notCounted.empty()) {
        tip += ". Not counted: " + joined(r.notCounted, kShown);
    }
    return tip + ". " + wordsHelpPointer() + ".";
}

}  // namespace pelmora
