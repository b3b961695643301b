// Finding a phrase in a composed text: on a report of 1,000 texts every match, forward and
// backward, stepping through the text a few lines at a time, against a plain find over the
// whole text; and the order in which the lines around the start are looked at.

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "app/report.h"
#include "search/text_search.h"
#include "tests/support/run_builder.h"

namespace pelmora {
namespace {

// Every place where `needle` (lower case) starts in `text`, ignoring ASCII case, as line and
// byte: a plain find over the whole text, the line starts counted by hand.
std::vector<TextPlace> plainFind(const std::string& text, const std::string& needle) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::vector<TextPlace> places;
    std::int64_t line = 0;
    std::size_t lineStart = 0;
    std::size_t counted = 0;  // the LFs before it are counted up to here
    for (std::size_t at = lower.find(needle); at != std::string::npos;
         at = lower.find(needle, at + 1)) {
        for (; counted < at; ++counted) {
            if (lower[counted] == '\n') {
                ++line;
                lineStart = counted + 1;
            }
        }
        places.push_back({line, at - lineStart});
    }
    return places;
}

// Every match the search goes to from the start of the text, each search starting just after
// (or, backward, at) the last match, until it comes round again; `step` lines at a time.
std::vector<TextPlace> stepThrough(const ComposedText& text, const std::string& needle,
                                   bool backward, std::int64_t step) {
    std::vector<TextPlace> found;
    TextPlace from = backward ? TextPlace{text.lineCount(), 0} : TextPlace{0, 0};
    while (true) {
        TextSearch search(text, needle, from, backward);
        while (!search.advance(step)) {
        }
        if (!search.match() || (!found.empty() && (backward ? *search.match() >= found.back()
                                                            : *search.match() <= found.back()))) {
            return found;
        }
        found.push_back(*search.match());
        from = backward ? found.back() : TextPlace{found.back().line, found.back().byte + 1};
    }
}

TEST(TextSearch, EveryMatchInAReportOfAThousandTextsIsWhereAPlainFindPutsIt) {
    std::vector<test::BuiltText> texts;
    for (int k = 0; k < 1000; ++k) {
        const std::string number = std::to_string(10000 + k).substr(1);
        texts.push_back({"Text_" + number + ".txt", k % 3 == 0 ? "01200" : "11210"});
    }
    const RunResult run = test::runOf(texts);
    ComposedText all, minimal;
    all.appendPairLines(run.pairs.list());
    ComposedText::Strengths low{};
    low[0] = low[1] = low[2] = true;
    minimal.appendPairLines(run.pairs.list(), low);
    const ComposedText report = reportText({all, minimal, "3.1000", "0.9000", minimal});
    const std::string whole = report.text();

    for (const std::string needle : {"text_0042", "t_004"}) {
        const std::vector<TextPlace> expected = plainFind(whole, needle);
        ASSERT_GT(expected.size(), 100u) << needle;
        std::string asked = needle;
        for (char& c : asked) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(stepThrough(report, asked, false, 997), expected) << needle;
        const std::vector<TextPlace> reversed(expected.rbegin(), expected.rend());
        EXPECT_EQ(stepThrough(report, asked, true, 61), reversed) << needle;
        // Counted a few lines at a time, each match has its number among them all.
        for (const std::size_t k : {std::size_t{0}, expected.size() / 2, expected.size() - 1}) {
            MatchCount count(report, asked, expected[k]);
            int steps = 0;
            while (!count.advance(97)) {
                ++steps;
            }
            EXPECT_GT(steps, 10);
            EXPECT_EQ(count.total(), static_cast<std::int64_t>(expected.size())) << needle;
            EXPECT_EQ(count.number(), static_cast<std::int64_t>(k + 1)) << needle;
        }
    }
    // Overlapping matches count each; a place where none starts has no number.
    MatchCount overlapping(ComposedText("aAa\r\nxaa\r\n"), "aa", TextPlace{1, 0});
    while (!overlapping.advance(1)) {
    }
    EXPECT_EQ(overlapping.total(), 3);
    EXPECT_EQ(overlapping.number(), 0);
    EXPECT_FALSE(findInText(report, "text_1000", {0, 0}));
    EXPECT_FALSE(findInText(report, "text_1000", {0, 0}, true));
}

TEST(TextSearch, TheLinesAroundTheStartAreLookedAtInTheOrderOfAFindBar) {
    const ComposedText text(std::string("ab ab\r\nxx\r\nAB\n"));
    struct Case {
        const char* what;
        std::string needle;
        TextPlace from;
        bool backward;
        std::optional<TextPlace> expected;
    };
    const std::vector<Case> cases = {
        {"forward from a match finds it", "ab", {0, 0}, false, TextPlace{0, 0}},
        {"forward after a match finds the next on its line", "ab", {0, 1}, false, {{0, 3}}},
        {"forward past the last match wraps to the top", "ab", {2, 1}, false, {{0, 0}}},
        {"the start line's own part comes last", "xx", {1, 1}, false, {{1, 0}}},
        {"backward finds a match starting before the start", "ab", {0, 4}, true, {{0, 3}}},
        {"backward never the match at the start first", "ab", {0, 3}, true, {{0, 0}}},
        {"backward from the top wraps to the bottom", "ab", {0, 0}, true, {{2, 0}}},
        {"from the empty row after the last LF forward", "ab", {3, 0}, false, {{0, 0}}},
        {"from the empty row after the last LF backward", "ab", {3, 0}, true, {{2, 0}}},
        {"line ends are not searched", "\r", {0, 0}, false, std::nullopt},
        {"a phrase across lines is not found", "xx\r\nab", {0, 0}, false, std::nullopt},
        {"an empty needle finds nothing", "", {0, 0}, false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findInText(text, c.needle, c.from, c.backward), c.expected) << c.what;
    }
    EXPECT_FALSE(findInText(ComposedText(), "ab", {0, 0}));
}

TEST(TextSearch, LatinCapitalsMatchTheirSmallForms) {
    const ComposedText text(std::string("Ein Bericht über ÄRGER\r\n"));
    EXPECT_EQ(findInText(text, "ÜBER", {0, 0}), (TextPlace{0, 12}));
    EXPECT_EQ(findInText(text, "ärger", {0, 0}), (TextPlace{0, 18}));
}

}  // namespace
}  // namespace pelmora
