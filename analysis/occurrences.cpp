#include "analysis/occurrences.h"

#include <algorithm>

#include "analysis/counter_words.h"
#include "analysis/normalisation.h"
#include "analysis/pattern_counter.h"
#include "stores/text_ops.h"

namespace pelmora {

const std::array<Measure, 12> kCountedMeasures = {
    Measure::Contractions,    Measure::FirstPerson,       Measure::SecondPerson,
    Measure::ThirdPerson,     Measure::PastTenseWords,    Measure::PastTenseForms,
    Measure::DefiniteArticle, Measure::IndefiniteArticle, Measure::It,
    Measure::ObligationCount, Measure::AffectCount,       Measure::Quotes,
};

namespace {

// An occurrence while its place is still in bytes of the decoded text.
struct Found {
    Measure measure;
    std::string_view pattern;
    int patternIndex;
    Origin at;
    Origin word;  // the word it lies in, when it is inside a longer one
    std::size_t order;
};

// The measures each key word feeds.
std::vector<std::vector<Measure>> measuresFedByKeys(const Form1& lists, std::size_t keys) {
    std::vector<std::vector<Measure>> feeds(keys);
    for (std::size_t k = 0; k < keys; ++k) {
        for (const CounterWords& c : kCounterWords) {
            for (std::string_view w : c.words) {
                if (equalsIgnoreCase(w, lists.lstKeyFunctionWords.at(static_cast<int>(k)))) {
                    feeds[k].push_back(c.measure);
                }
            }
        }
    }
    return feeds;
}

// The occurrences in order, placed in code points of the decoded text as well as in bytes.
std::vector<Occurrence> inCodePoints(std::string_view decoded, const std::vector<Found>& found) {
    // Code points of every byte offset, counted once along the text.
    std::vector<std::int64_t> points(decoded.size() + 1);
    std::int64_t n = 0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        points[i] = n;
        n += (static_cast<unsigned char>(decoded[i]) & 0xC0) != 0x80 ? 1 : 0;
    }
    points[decoded.size()] = n;
    std::vector<Occurrence> out;
    out.reserve(found.size());
    for (const Found& f : found) {
        Occurrence o;
        o.measure = f.measure;
        o.pattern = std::string(f.pattern);
        o.patternIndex = f.patternIndex;
        o.start = points[f.at.begin];
        o.end = points[f.at.end];
        o.byteStart = f.at.begin;
        o.byteEnd = f.at.end;
        o.form = std::string(decoded.substr(f.at.begin, f.at.end - f.at.begin));
        o.insideWord = f.word.end > f.word.begin;
        if (o.insideWord) {
            o.word = std::string(decoded.substr(f.word.begin, f.word.end - f.word.begin));
        }
        out.push_back(std::move(o));
    }
    return out;
}

}  // namespace

std::vector<Occurrence> findOccurrences(std::string_view decoded) {
    Form1 lists;
    lists.Form_Load();
    const CountedPatterns counted = countedPatterns(lists);
    TracedText traced = cleanTraced(std::string(decoded));
    const std::string& text = traced.text;
    const std::vector<Origin>& from = traced.origins;

    const std::vector<std::vector<Measure>> feeds = measuresFedByKeys(lists, counted.keys);
    std::vector<Found> found;
    const auto place = [&](std::size_t a, std::size_t b) {
        return Origin{from[a].begin, from[b - 1].end};
    };
    const auto add = [&](Measure m, std::string_view pattern, int index, std::size_t a,
                         std::size_t b) {
        // The word around it: up to the spaces on either side in the cleaned text.
        std::size_t wa = a, wb = b;
        while (wa > 0 && text[wa - 1] != ' ') {
            --wa;
        }
        while (wb < text.size() && text[wb] != ' ') {
            ++wb;
        }
        const bool inside = wa < a || wb > b;
        found.push_back(
            {m, pattern, index, place(a, b), inside ? place(wa, wb) : Origin{}, found.size()});
    };
    const std::size_t keysFrom = counted.modal + counted.affect;
    PatternCounter::forPatterns(counted.patterns)
        .find(text, [&](int index, std::size_t start, std::size_t end) {
            const auto i = static_cast<std::size_t>(index);
            const std::string& pattern = counted.patterns[i];
            if (i < counted.modal) {
                add(Measure::ObligationCount, pattern, index, start, end);
            } else if (i < keysFrom) {
                add(Measure::AffectCount, pattern, index, start, end);
            } else if (i < keysFrom + counted.keys) {
                // A key word counts between its two spaces; the spaces are not the word.
                for (const Measure m : feeds[i - keysFrom]) {
                    add(m, std::string_view(pattern).substr(1, pattern.size() - 2), index,
                        start + 1, end - 1);
                }
            } else if (pattern == "ed ") {
                add(Measure::PastTenseForms, "-ed", index, start, end - 1);
            } else {
                add(Measure::Contractions, pattern, index, start, end);
            }
        });
    for (const Origin& quote : traced.quoteOrigins) {
        found.push_back({Measure::Quotes, "\"", -1, quote, Origin{}, found.size()});
    }
    std::sort(found.begin(), found.end(), [](const Found& x, const Found& y) {
        if (x.at.begin != y.at.begin) {
            return x.at.begin < y.at.begin;
        }
        return x.order < y.order;
    });

    return inCodePoints(decoded, found);
}

}  // namespace pelmora
