// The occurrences behind every count: where each counted word stands in the text as read,
// through every step of the cleaning that moves text, and as many as the count says.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/occurrences.h"
#include "explanation/concordance.h"
#include "explanation/counted_words.h"
#include "stores/text_encoding.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

// measure column, pattern, start, end, form, inside a word
using Row = std::tuple<std::string, std::string, std::int64_t, std::int64_t, std::string, bool>;

std::vector<Row> rowsOf(const std::string& text) {
    std::vector<Row> rows;
    for (const Occurrence& o : findOccurrences(text)) {
        rows.emplace_back(kMeasures[static_cast<std::size_t>(o.measure)].column, o.pattern, o.start,
                          o.end, o.form, o.insideWord);
    }
    return rows;
}

TEST(Occurrences, SpansAndFormsThroughEveryStepThatMovesText) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"a repaired contraction and a run of spaces",
         "I dont  know",
         {{"first_person", "I", 0, 1, "I", false}, {"contractions", "n't", 2, 6, "dont", true}}},
        {"an abbreviation and a curly apostrophe",
         "Mr. He\u2019s here.",
         {{"contractions", "he's", 4, 8, "He\u2019s", false},
          {"third_person", "he's", 4, 8, "He\u2019s", false}}},
        {"angle quotation marks",
         "\u00ABthe\u00BB end",
         {{"definite_article", "the", 1, 4, "the", false}}},
        {"brackets and deleted punctuation",
         "[it] (was)",
         {{"it", "it", 1, 3, "it", false}, {"past_tense_words", "was", 6, 9, "was", false}}},
        {"'st at a word's edge", "'Stop, feel", {{"affect_count", "feel", 7, 11, "feel", false}}},
        {"CR LF between words",
         "sad\r\nbad",
         {{"affect_count", "sad", 0, 3, "sad", false},
          {"affect_count", "bad", 5, 8, "bad", false}}},
        // A lone line feed joins the words on either side of it into one.
        {"a lone LF", "I\nwill", {{"obligation_count", "will", 2, 6, "will", true}}},
        {"double quotation marks",
         "He said \"no\".",
         {{"third_person", "he", 0, 2, "He", false},
          {"past_tense_words", "said", 3, 7, "said", false},
          {"quotes", "\"", 8, 9, "\"", false},
          {"quotes", "\"", 11, 12, "\"", false}}},
        {"inside longer words",
         "needed walked",
         {{"obligation_count", "need", 0, 4, "need", true},
          {"past_tense_forms", "-ed", 4, 6, "ed", true},
          {"past_tense_forms", "-ed", 11, 13, "ed", true}}},
        {"a word counted twice over",
         "shouldn't",
         {{"obligation_count", "should", 0, 6, "should", true},
          {"obligation_count", "shouldn't", 0, 9, "shouldn't", false},
          {"contractions", "n't", 6, 9, "n't", true}}},
        {"code points, not bytes", "café I", {{"first_person", "I", 5, 6, "I", false}}},
        {"neighbours share their space",
         "the the the",
         {{"definite_article", "the", 0, 3, "the", false},
          {"definite_article", "the", 8, 11, "the", false}}},
        {"one word, two measures",
         "It's",
         {{"contractions", "it's", 0, 4, "It's", false}, {"it", "it's", 0, 4, "It's", false}}},
        {"nothing at all", "?!", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rowsOf(c.text), c.rows) << c.what;
    }
    const std::vector<Occurrence> inside = findOccurrences("shoulders");
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(inside[0].word, "shoulders");
}

// What the concordance heads its lines with: each pattern's count, split by the words it was
// found in, as a linguist reads them.
TEST(Occurrences, CountsByFormSplitEachPatternByTheWordsItWasFoundIn) {
    const std::vector<Occurrence> diary =
        findOccurrences("You should go. Shouldn't you? Her shoulders SHOULD rest, we will.");
    const std::vector<PatternForms> modal = formCounts(diary, Measure::ObligationCount);
    ASSERT_EQ(modal.size(), 3u);
    EXPECT_EQ(modal[0].pattern, "will");
    EXPECT_EQ(modal[1].pattern, "should");
    EXPECT_EQ(modal[1].count, 4);
    ASSERT_EQ(modal[1].forms.size(), 3u);
    EXPECT_EQ(modal[1].forms[0].form, "should");  // first written so, then SHOULD
    EXPECT_EQ(modal[1].forms[0].count, 2);
    EXPECT_EQ(formCountsText(modal),
              "will 1; should 4: should 2, Shouldn't 1, shoulders 1; "
              "shouldn't 1");

    // A word around a lone line feed is shown on one line.
    const std::vector<Occurrence> edges =
        findOccurrences("I walked, I needed. It\u2019s so, it's. I\nwill \"quoted\" ed");
    EXPECT_EQ(formCountsText(formCounts(edges, Measure::PastTenseForms)),
              "-ed 4: walked 1, needed 1, quoted 1, ed 1");
    EXPECT_EQ(formCountsText(formCounts(edges, Measure::ObligationCount)),
              "will 1: I will 1; need 1: needed 1");
    // A curly apostrophe is another spelling of the same contraction.
    EXPECT_EQ(formCountsText(formCounts(edges, Measure::It)), "it's 2: It\u2019s 1, it's 1");
    EXPECT_EQ(formCountsText(formCounts(edges, Measure::Quotes)), "\" 2");
    EXPECT_EQ(formCountsText(formCounts(edges, Measure::SecondPerson)), "");

    std::string many;
    for (int i = 0; i < 12; ++i) {
        many += std::string(1, static_cast<char>('b' + i)) + "ed ";
    }
    EXPECT_EQ(formCountsText(formCounts(findOccurrences(many + "bed"), Measure::PastTenseForms)),
              "-ed 13: bed 2, ced 1, ded 1, eed 1, fed 1, ged 1, hed 1, ied 1 and 4 more in 4 "
              "other forms");
}

// Every count of a run's measures, against the occurrences found in its texts.
void expectCountsMatch(const fs::path& folder) {
    const auto run = test::runFolder(folder);
    ASSERT_GT(run->analysedCount(), 0);
    for (const TextRecord& t : run->texts) {
        std::map<Measure, double> counted;
        std::string bytes;
        {
            std::ifstream in(folder / t.nameBytes, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        for (const Occurrence& o : findOccurrences(decodeText(bytes).text)) {
            ++counted[o.measure];
        }
        for (const Measure m : kCountedMeasures) {
            EXPECT_EQ(counted[m], t.number(m))
                << t.name << " " << kMeasures[static_cast<std::size_t>(m)].column;
        }
    }
}

TEST(Occurrences, AsManyAsEveryCountOfTheBoundaryCorpusAndOfGeneratedTexts) {
    expectCountsMatch(test::kBoundary);
    expectCountsMatch(test::kSamples);
    const char* const pieces[] = {"I'm ",    "dont ",        "Mr. ",  "\u2019s ", "\"yes\" ",
                                  "needed ", "the the ",     "it's ", "sad, ",    "\r\n",
                                  "\n",      "you're ",      "-- ",   "(felt) ",  "[a] ",
                                  "'Stop ",  "caf\xC3\xA9 ", "  "};
    test::TempFolder folder;
    std::mt19937 rng(11);
    for (int t = 0; t < 40; ++t) {
        std::string text;
        for (int w = 0; w < 200; ++w) {
            text += pieces[rng() % std::size(pieces)];
        }
        folder.write(std::string("g") + std::to_string(100 + t) + ".txt", text);
    }
    expectCountsMatch(folder.path());
}

// Help's table of the words each measure counts, against the lists written out here and
// against what the counting finds: every word it names is counted for its measure, and no
// form it names as not counted is.
TEST(CountedWords, TheTableSaysWhatTheCountingFinds) {
    using Words = std::vector<std::string>;
    const std::vector<CountedWords> table = countedWordTable();
    ASSERT_EQ(table.size(), kCountedMeasures.size());
    const auto row = [&](Measure m) {
        const auto it = std::find_if(table.begin(), table.end(),
                                     [m](const CountedWords& r) { return r.measure == m; });
        EXPECT_NE(it, table.end());
        return it == table.end() ? CountedWords{} : *it;
    };
    const auto holds = [](const Words& items, const std::string& item) {
        return std::find(items.begin(), items.end(), item) != items.end();
    };
    EXPECT_EQ(row(Measure::ThirdPerson).words,
              (Words{"he", "he's", "he'll", "he'd", "she", "she's", "she'll", "she'd"}));
    EXPECT_TRUE(holds(row(Measure::ThirdPerson).notCounted, "they"));
    EXPECT_TRUE(holds(row(Measure::ThirdPerson).notes,
                      "Counted as contractions instead: they're, they'll, they'd, they've."));
    EXPECT_TRUE(
        holds(row(Measure::SecondPerson).notes, "Counted as contractions instead: you're."));
    EXPECT_EQ(row(Measure::IndefiniteArticle).words, (Words{"a", "an"}));
    EXPECT_EQ(row(Measure::It).words, (Words{"it", "it's"}));
    EXPECT_TRUE(holds(row(Measure::It).notes, "Also counted as contractions: it's."));
    EXPECT_EQ(row(Measure::ObligationCount).inside,
              (Words{"will", "shall", "must", "need", "needs", "should", "shouldn't", "ought",
                     "oughtn't"}));
    EXPECT_TRUE(
        holds(row(Measure::AffectCount).notes, "Also counted as common past-tense words: felt."));
    EXPECT_EQ(row(Measure::PastTenseForms).inside, Words{"-ed"});
    EXPECT_EQ(row(Measure::Contractions).inside, Words{"n't"});
    EXPECT_TRUE(holds(row(Measure::Contractions).notCounted, "we've"));
    EXPECT_EQ(countedWordsTip(Measure::AffectCount).substr(0, 34),
              "affect words: inside words too: ac");
    EXPECT_NE(countedWordsTip(Measure::AffectCount).find(" and 86 more. Right-click"),
              std::string::npos);
    EXPECT_NE(wordCountingNotes().at(2).find("dont as don't"), std::string::npos);

    for (std::size_t i = 0; i < table.size(); ++i) {
        const CountedWords& r = table[i];
        EXPECT_EQ(r.measure, kCountedMeasures[i]);
        EXPECT_FALSE(r.words.empty() && r.inside.empty()) << i;
        const auto found = [&](const std::string& text) {
            const std::vector<Occurrence> all = findOccurrences(text);
            return std::any_of(all.begin(), all.end(),
                               [&](const Occurrence& o) { return o.measure == r.measure; });
        };
        for (const std::string& w : r.words) {
            EXPECT_TRUE(found(w)) << w;
        }
        for (const std::string& p : r.inside) {
            // An ending shown as "-ed" ends a word; any other pattern counts inside one.
            EXPECT_TRUE(found(p[0] == '-' ? "walk" + p.substr(1) : "x" + p + "x")) << p;
        }
        for (const std::string& w : r.notCounted) {
            EXPECT_FALSE(found(w)) << w;
        }
    }
}

}  // namespace
}  // namespace pelmora
