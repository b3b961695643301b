#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/report.h"
#include "app/statistics.h"
#include "tests/support/report_texts.h"

namespace pelmora {
namespace {

using Texts = std::vector<std::string>;
using namespace test;

StrengthStatistics statisticsOf(const std::vector<int>& strengths) {
    return strengthStatistics([&](const std::function<void(int)>& visit) {
        for (int x : strengths) {
            visit(x);
        }
    });
}

TEST(StrengthStatistics, FiguresAreExactToTheLastDigitAndSignificantMeansAbove165) {
    struct Case {
        std::vector<int> strengths;
        const char* mean;
        const char* stDev;
        std::vector<std::size_t> significant;
        Texts deviations, squares;  // checked when given
    };
    std::vector<int> zerosThenHigh(18, 0);
    zerosThenHigh.insert(zerosThenHigh.end(), {3, 3, 3, 5});
    // 119 zeros and one 1: each zero's square 0.00006889 is written 6.889e-05 and still counts
    // in the sum 0.9916668 / 119.
    std::vector<int> smallSquares(119, 0);
    smallSquares.push_back(1);
    const Case cases[] = {
        {{}, "n/a", "n/a", {}, {}, {}},
        {{4}, "4", "n/a", {}, {"0"}, {}},
        {{3, 3, 3}, "3", "0", {}, {"0", "0", "0"}, {}},
        {{5, 5}, "5", "0", {}, {"0", "0"}, {}},
        {{4, 2, 5},
         "3.6667",
         "1.5275",
         {},
         {"0.3333", "1.6667", "1.3333"},
         {"0.11108889", "2.77788889", "1.77768889"}},
        {{5, 5, 5, 5, 5, 5, 0},
         "4.2857",
         "1.8898",
         {6},
         {"0.7143", "0.7143", "0.7143", "0.7143", "0.7143", "0.7143", "4.2857"},
         {"0.51022449", "0.51022449", "0.51022449", "0.51022449", "0.51022449", "0.51022449",
          "18.36722449"}},
        // Squaring the double difference would write 0.694388890000001.
        {{3, 2, 3, 2, 2, 2},
         "2.3333",
         "0.5164",
         {},
         {"0.6667", "0.3333", "0.6667", "0.3333", "0.3333", "0.3333"},
         {"0.44448889", "0.11108889", "0.44448889", "0.11108889", "0.11108889", "0.11108889"}},
        {smallSquares, "0.0083", "0.0911", {119}, {}, {}},
        // 2.7 / 1.6364 = 1.64996, written 1.65: on the limit, not above it.
        {{0, 0, 0, 0, 0, 1, 2, 2, 4, 4}, "1.3", "1.6364", {}, {}, {}},
        // 2.3636 / 1.4324 rounds to 1.6501.
        {zerosThenHigh, "0.6364", "1.4324", {18, 19, 20, 21}, {}, {}},
        {{0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, "4.5455", "1.5075", {0}, {}, {}},
    };
    for (const Case& c : cases) {
        const StrengthStatistics stats = statisticsOf(c.strengths);
        EXPECT_EQ(stats.mean, c.mean);
        EXPECT_EQ(stats.stDev, c.stDev) << c.mean;
        std::vector<std::size_t> significant;
        Texts deviations, squares;
        for (std::size_t i = 0; i < c.strengths.size(); ++i) {
            const auto x = static_cast<std::size_t>(c.strengths[i]);
            if (stats.significant[x]) {
                significant.push_back(i);
            }
            deviations.push_back(stats.deviation[x]);
            squares.push_back(stats.square[x]);
        }
        EXPECT_EQ(significant, c.significant) << c.mean;
        if (!c.deviations.empty()) {
            EXPECT_EQ(deviations, c.deviations) << c.mean;
        }
        if (!c.squares.empty()) {
            EXPECT_EQ(squares, c.squares) << c.mean;
        }
    }
    const StrengthStatistics small = statisticsOf(smallSquares);
    EXPECT_EQ(small.square[0], "6.889e-05");
    EXPECT_EQ(small.square[1], "0.98346889");
}

TEST(ReportText, RowsFollowTheLayoutCharacterForCharacter) {
    const std::vector<SkippedFile> skipped = {{"gone.txt", "gone.txt", "No such file or directory"},
                                              {"pipe.txt", "pipe.txt", "Not a regular file"}};
    const std::vector<SkippedFile> none;
    struct Content {
        std::string box, house, mean, stDev, significant;
        const std::vector<SkippedFile>* skipped;
    };
    struct Case {
        Content content;
        std::string expected;
    };
    const Case cases[] = {
        {{"", "", "n/a", "n/a", "", &none},
         "\r\n\r\n" + kExplanationRows + statisticsRows("n/a", "n/a") + kNoSignificant +
             kNoMinimal},
        {{"a.txt-b.txt\t4\r\na.txt-c.txt\t2\r\nb.txt-c.txt\t5\r\n", "a.txt-c.txt\t2\r\n", "3.6667",
          "1.5275", "", &none},
         "a.txt-b.txt\t4\r\na.txt-c.txt\t2\r\nb.txt-c.txt\t5\r\n\r\na.txt-c.txt\t2\r\n\r\n" +
             kExplanationRows + statisticsRows("3.6667", "1.5275") + kNoSignificant + kMinimalHead +
             "a.txt-c.txt\t2\r\n\r\n"},
        {{"c.txt-d.txt\t0\r\n", "c.txt-d.txt\t0\r\n", "4.2857", "1.8898", "c.txt-d.txt\t0\r\n",
          &skipped},
         "c.txt-d.txt\t0\r\n\r\nc.txt-d.txt\t0\r\n\r\n" + kExplanationRows +
             statisticsRows("4.2857", "1.8898") + kSignificantHead + "c.txt-d.txt\t0\r\n\r\n" +
             kMinimalHead + "c.txt-d.txt\t0\r\n\r\n" + kSkippedHead +
             "gone.txt\tNo such file or directory\r\npipe.txt\tNot a regular file\r\n"},
    };
    for (const Case& c : cases) {
        const Content& in = c.content;
        const ComposedText box(in.box), house(in.house), significant(in.significant);
        const ComposedText report = reportText(
            ReportContent{box, house, in.mean, in.stDev, significant, in.skipped});
        EXPECT_EQ(report.text(), c.expected);
        EXPECT_EQ(report.size(), c.expected.size());
    }
}

}  // namespace
}  // namespace pelmora
