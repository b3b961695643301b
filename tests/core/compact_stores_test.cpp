// The compact pair stores and the report against the plain reading: every comparison
// appends its lines to a list of texts, the repeats go, and every figure is worked out entry
// by entry from the texts, as the list stores of the report would hold them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "app/statistics.h"
#include "forms/program_context.h"
#include "rules/rule_book.h"
#include "stores/number_text.h"
#include "tests/support/pair_lines.h"
#include "tests/support/report_texts.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

// Agreeing positions of two codes, a missing position agreeing with a missing one.
int literalStrength(const std::string& a, const std::string& b) {
    int s = 0;
    for (std::size_t k = 0; k < 5; ++k) {
        const std::string x = k < a.size() ? a.substr(k, 1) : "";
        const std::string y = k < b.size() ? b.substr(k, 1) : "";
        s += x == y ? 1 : 0;
    }
    return s;
}

// The figures of some strengths worked out entry by entry, as the list stores hold them.
struct EntryFigures {
    std::string mean = "n/a";
    Lines calcs, calcs1;
    double squareSum = 0;
};

EntryFigures entryByEntry(const std::vector<int>& strengths) {
    EntryFigures f;
    if (strengths.empty()) {
        return f;
    }
    double sum = 0;
    for (const int x : strengths) {
        sum += x;
    }
    f.mean = fourDecimalText(sum / static_cast<double>(strengths.size()));
    const long long meanUnits = std::llround(decimalParse(f.mean) * 1e4);
    for (const int x : strengths) {
        const long long d = std::llabs(x * 10000LL - meanUnits);
        f.calcs.push_back(fourDecimalText(static_cast<double>(d) / 1e4));
        f.calcs1.push_back(doubleText(static_cast<double>(d * d) / 1e8));
        f.squareSum += decimalParse(f.calcs1.back());
    }
    return f;
}

struct LiteralStores {
    Lines dogBox, dogHouse, vals;
    EntryFigures figures;
    std::string stDev = "n/a", box, house, report;
};

// The run's stores worked out line by line: the lists as every comparison appends them, each
// pair kept once in the order of the last comparison, then the figures entry by entry.
LiteralStores literalRun(const Lines& codes, const Lines& names) {
    LiteralStores s;
    Lines appended;
    for (std::size_t k = 2; k <= codes.size(); ++k) {
        for (std::size_t i = 0; i < k; ++i) {
            for (std::size_t j = i + 1; j < k; ++j) {
                appended.push_back(names[i] + "-" + names[j] + "\t" +
                                   std::to_string(literalStrength(codes[i], codes[j])));
            }
        }
    }
    // The last comparison holds every pair once, in its order.
    const std::size_t last = codes.size() * (codes.size() - (codes.empty() ? 0 : 1)) / 2;
    s.dogBox.assign(appended.end() - static_cast<std::ptrdiff_t>(last), appended.end());
    std::vector<int> strengths;
    for (const std::string& line : s.dogBox) {
        s.vals.push_back(line.substr(line.size() - 1));
        strengths.push_back(line.back() - '0');
        s.box += line + "\r\n";
        if (line.back() < '3') {
            s.dogHouse.push_back(line);
            s.house += line + "\r\n";
        }
    }
    s.figures = entryByEntry(strengths);
    std::string significant;
    if (s.vals.size() > 1) {
        s.stDev = fourDecimalText(std::sqrt(decimalParse(
            fourDecimalText(s.figures.squareSum / static_cast<double>(s.vals.size() - 1)))));
        const double sd = *strictParse(s.stDev);
        for (std::size_t i = 0; i < s.vals.size(); ++i) {
            if (sd != 0 &&
                decimalParse(fourDecimalText(*strictParse(s.figures.calcs[i]) / sd)) > 1.65) {
                significant += s.dogBox[i] + "\r\n";
            }
        }
    }
    s.report = test::kReportHeader + s.box + "\r\n" + s.house + "\r\n" + test::kExplanationRows +
               test::statisticsRows(s.figures.mean, s.stDev) +
               (significant.empty() ? test::kNoSignificant
                                    : test::kSignificantHead + significant + "\r\n") +
               (s.house.empty() ? test::kNoMinimal : test::kMinimalHead + s.house + "\r\n");
    return s;
}

Lines linesOfText(const std::string& text) {
    Lines out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
        out.push_back(text.substr(start, end - start));
        start = end;
    }
    return out;
}

TEST(CompactStores, EveryStoreOfARunReadsAsThePlainListsOnRandomRuns) {
    const char* const kinds[] = {"21201", "10100", "0100", "03222", "21101", "11200", "20200"};
    std::mt19937 rng(20261207);
    for (int run = 0; run < 40; ++run) {
        const int n = run < 4 ? run : static_cast<int>(rng() % 61);
        SCOPED_TRACE("run " + std::to_string(run) + ", " + std::to_string(n) + " texts");
        ProgramContext context;
        Form1& form = context.form1();
        Lines codes, names;
        for (int k = 0; k < n; ++k) {
            codes.push_back(kinds[rng() % std::size(kinds)]);
            names.push_back(std::string("t").append(1, static_cast<char>('a' + k % 26)) +
                            std::to_string(k) + ".txt");
            form.lstAllTypes.append(codes.back());
            form.lstTypeNames.append(names.back());
            Form1Commands(context).cmdCompare();
        }
        Form2Commands(context).cmdRemDupes();
        const LiteralStores plain = literalRun(codes, names);
        const Form2& main = context.form2();
        EXPECT_EQ(test::linesOf(main.lstDogBox), plain.dogBox);
        EXPECT_EQ(test::linesOf(main.lstDogHouse), plain.dogHouse);
        EXPECT_EQ(main.lstVals.items(), plain.vals);
        EXPECT_EQ(main.lstCalcs.items(), plain.figures.calcs);
        EXPECT_EQ(main.lstCalcs1.items(), plain.figures.calcs1);
        for (std::int64_t k = 0; k < main.lstCalcs1.count(); k += 7) {
            EXPECT_EQ(main.lstCalcs1.at(k), plain.figures.calcs1[static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(main.lblMean.text(), plain.figures.mean);
        EXPECT_EQ(main.lblStDev.text(), plain.stDev);
        EXPECT_EQ(strengthStatistics(main.lstDogBox).squareSum, plain.figures.squareSum);
        EXPECT_EQ(main.txtDogBox.text(), plain.box);
        EXPECT_EQ(main.txtDogHouse.text(), plain.house);
        ASSERT_EQ(main.txtReport.text(), plain.report);
        EXPECT_EQ(main.txtReport.size(), plain.report.size());
        // Line by line too, as a view of the report box reads it.
        const Lines lines = linesOfText(plain.report);
        ASSERT_EQ(main.txtReport.lineCount(), static_cast<std::int64_t>(lines.size()));
        for (std::size_t k = 0; k < lines.size(); k += 1 + k / 50) {
            EXPECT_EQ(main.txtReport.line(static_cast<std::int64_t>(k)), lines[k]) << k;
        }
    }
}

TEST(CompactStores, ComposedTextReadsItsPiecesAsOneTextAcrossUnfinishedLines) {
    ComposedText t("first line\r\nhalf ");
    t.append("a line\nthird");
    EXPECT_EQ(t.text(), "first line\r\nhalf a line\nthird");
    EXPECT_EQ(t.lineCount(), 3);
    EXPECT_EQ(t.line(0), "first line\r\n");
    EXPECT_EQ(t.line(1), "half a line\n");
    EXPECT_EQ(t.line(2), "third");
    std::string pieces;
    t.forEachPiece([&](std::string_view p) { pieces += std::string(p) + "|"; });
    EXPECT_EQ(pieces, "first line\r\nhalf |a line\nthird|");
    t.appendNamedLines({{"gone.txt", "\tNo such file"}});
    EXPECT_EQ(t.line(2), "thirdgone.txt\tNo such file\r\n");
    EXPECT_EQ(t.lineCount(), 3);
    std::string escaped;
    t.forEachPiece([&](std::string_view p) { escaped += p; },
                   [](std::string_view name) { return std::string("<").append(name) + ">"; });
    EXPECT_EQ(escaped, "first line\r\nhalf a line\nthird<gone.txt>\tNo such file\r\n");
    EXPECT_TRUE(ComposedText().empty());
    EXPECT_EQ(ComposedText().lineCount(), 0);
}

// Lines read onward from the middle of a text whose pieces are pair lines (every pair, and a
// filtered list long enough that reading must skip from a kept position) and literals that
// leave a line open for the next piece.
TEST(CompactStores, LinesReadOnwardFromAnyLineAreTheLinesOfThePlainText) {
    const char* const kinds[] = {"21201", "10100", "0100", "03222", "21101"};
    std::mt19937 rng(77);
    ListStore codes, names;
    std::vector<std::string> keys;
    for (int k = 0; k < 200; ++k) {
        codes.append(kinds[rng() % std::size(kinds)]);
        names.append(std::string("n") + std::to_string(k) + ".txt");
        keys.push_back(names.at(k));
    }
    PairList pairs;
    pairs.appendComparison(codes, names, keys, typeCodeStrength);
    ComposedText::Strengths low{};
    low[0] = low[1] = low[2] = low[3] = true;

    ComposedText text("head\r\nopen ");
    text.appendPairLines(pairs, low);
    text.append("middle\n");
    text.appendPairLines(pairs);
    text.append("no line end");

    std::string plain = "head\r\nopen ";
    std::string every;
    int lowLines = 0;
    for (int i = 0; i < 200; ++i) {
        for (int j = i + 1; j < 200; ++j) {
            const int s = literalStrength(codes.at(i), codes.at(j));
            const std::string line =
                names.at(i) + "-" + names.at(j) + "\t" + std::to_string(s) + "\r\n";
            every += line;
            if (s < 4) {
                plain += line;
                ++lowLines;
            }
        }
    }
    plain += "middle\n" + every + "no line end";
    ASSERT_GT(lowLines, 3 * 4096);  // the filtered piece keeps a position every 4096 lines

    const Lines lines = linesOfText(plain);
    ASSERT_EQ(text.lineCount(), static_cast<std::int64_t>(lines.size()));
    for (std::size_t from = 0; from < lines.size(); from += 1 + from / 3 + rng() % 97) {
        Lines read;
        text.forEachLine(static_cast<std::int64_t>(from), [&](std::string_view line) {
            read.emplace_back(line);
            return true;
        });
        ASSERT_EQ(read, Lines(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()))
            << from;
    }
    // The last line, and stopping early.
    Lines last;
    text.forEachLine(text.lineCount() - 1, [&](std::string_view line) {
        last.emplace_back(line);
        return true;
    });
    EXPECT_EQ(last, Lines{"no line end"});
    Lines three;
    text.forEachLine(4095, [&](std::string_view line) {
        three.emplace_back(line);
        return three.size() < 3;
    });
    EXPECT_EQ(three, Lines(lines.begin() + 4095, lines.begin() + 4098));
    int beyond = 0;
    text.forEachLine(text.lineCount(), [&](std::string_view) { return ++beyond > 0; });
    EXPECT_EQ(beyond, 0);
}

TEST(CompactStores, CopiesShareTheirPiecesAndAnyChangeOrNewTextDoesNot) {
    const ComposedText a("one\r\n");
    ComposedText copy = a;
    EXPECT_TRUE(copy.sharesPieces(a));
    copy.append("two\r\n");
    EXPECT_FALSE(copy.sharesPieces(a));
    // The same text made anew is not a copy: a view must not take it for the one it shows.
    EXPECT_FALSE(ComposedText("one\r\n").sharesPieces(a));
    EXPECT_TRUE(ComposedText().sharesPieces(ComposedText()));
}

// 104 zeros and a one: the mean is 0.0095 and each zero's square is written 9.025e-05, which
// a parse that stops at the "e" would read as 9.025.
TEST(CompactStores, GroupedStatisticsEqualTheEntryByEntryFiguresBitForBit) {
    std::vector<std::vector<int>> cases = {{}, {3}, {4, 2, 5}, {5, 5, 5, 5, 5, 5, 0}};
    std::vector<int> crafted(104, 0);
    crafted.push_back(1);
    cases.push_back(crafted);
    std::mt19937 rng(5);
    for (int r = 0; r < 30; ++r) {
        std::vector<int> random(1 + rng() % 3000);
        for (int& x : random) {
            x = static_cast<int>(rng() % 6);
        }
        cases.push_back(random);
    }
    for (const std::vector<int>& strengths : cases) {
        const StrengthStatistics grouped = strengthStatistics([&](const auto& visit) {
            for (int x : strengths) {
                visit(x);
            }
        });
        const EntryFigures plain = entryByEntry(strengths);
        EXPECT_EQ(grouped.mean, plain.mean);
        std::uint64_t a, b;
        std::memcpy(&a, &grouped.squareSum, sizeof a);
        std::memcpy(&b, &plain.squareSum, sizeof b);
        EXPECT_EQ(a, b) << strengths.size();
    }
    const StrengthStatistics c = strengthStatistics([&](const auto& visit) {
        for (int x : crafted) {
            visit(x);
        }
    });
    EXPECT_EQ(c.mean, "0.0095");
    EXPECT_EQ(c.square[0], "9.025e-05");
    EXPECT_EQ(c.deviation[1], "0.9905");
}

}  // namespace
}  // namespace pelmora
