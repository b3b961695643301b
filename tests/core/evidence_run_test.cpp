#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "app/file_reader.h"
#include "exports/chart_figures.h"
#include "explanation/digit_evidence.h"
#include "explanation/input_quality.h"
#include "explanation/pair_sides.h"
#include "exports/pair_matrix.h"
#include "exports/pairs_table.h"
#include "explanation/run_summary.h"
#include "stores/number_text.h"
#include "tests/support/report_pairs.h"
#include "tests/support/run_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

// The evidence must follow the very rules that gave the codes, text by text and digit by
// digit; at least `atLeast` texts in all.
void expectEveryDigitExplainedByTheRuleThatGaveIt(const std::vector<fs::path>& folders,
                                                  int atLeast) {
    int texts = 0, near = 0;
    for (const fs::path& folder : folders) {
        const auto run = test::runFolder(folder);
        for (const TextRecord& t : run->texts) {
            const TextMeasures& m = t.measures;
            const TextEvidence e = explainText(t);
            ++texts;
            near += e.nearCount() > 0 ? 1 : 0;
            const std::string actual[5] = {m.formality, m.personage, m.pastTenseness,
                                           m.obligationIntention, m.affect};
            for (std::size_t k = 0; k < 5; ++k) {
                EXPECT_EQ(e.digits[k].digit, t.code.at(k)) << t.name << " digit " << k + 1;
                EXPECT_EQ(e.digits[k].categoryText, actual[k]) << t.name << " digit " << k + 1;
                EXPECT_FALSE(e.digits[k].rule.empty());
                // The run marks the digits its evidence calls near a threshold.
                EXPECT_EQ(t.near[k], e.digits[k].nearThreshold) << t.name << " digit " << k + 1;
            }
        }
    }
    EXPECT_GE(texts, atLeast);
    std::cout << texts << " texts explained, " << near << " with a digit near a threshold\n";
}

// Texts written right at a threshold have the digit it decides marked near; the run marks
// the same digits the evidence does.
TEST(EvidenceOfRuns, TheRunMarksTheDigitsRightAtAThresholdNear) {
    const auto run = test::runFolder(test::kBoundary);
    const std::pair<const char*, std::size_t> atThreshold[] = {
        {"o_at.txt", 3},      {"o_strong_at.txt", 3}, {"a_at.txt", 4},
        {"a_high_at.txt", 4}, {"f_contr_at.txt", 0},  {"p_infl_at.txt", 2}};
    for (const auto& [name, digit] : atThreshold) {
        const TextRecord* t = run->byNameBytes(name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_TRUE(t->near[digit]) << name;
    }
    // The marks the run made on every core are the ones explaining the text alone finds.
    for (const TextRecord& t : run->texts) {
        const TextEvidence e = explainDecisions(t.decisions, t.measures, run->rules);
        for (std::size_t k = 0; k < t.near.size(); ++k) {
            EXPECT_EQ(t.near[k], e.digits[k].nearThreshold) << t.name << " digit " << k + 1;
        }
    }
}

// The matrix and the pairs table against the report as a user reads it.
void expectMatrixAndPairsTableHoldTheReportsPairs(const fs::path& folder) {
    const auto run = test::runFolder(folder);
    const test::ReportedPairs report = test::reportedPairs(run->report.text());
    const std::size_t n = run->texts.size();
    ASSERT_GE(n, 8u);
    ASSERT_EQ(report.all.size(), n * (n - 1) / 2);
    ASSERT_FALSE(report.significant.empty());

    const std::vector<TableRow> m = matrixTable(*run);
    ASSERT_EQ(m.size(), n + 1);
    const std::set<std::string> lines(report.all.begin(), report.all.end());
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(m[i + 1].size(), n + 1);
        EXPECT_EQ(m[0][i + 1], run->texts[i].name);
        EXPECT_EQ(m[i + 1][0], run->texts[i].name);
        EXPECT_EQ(m[i + 1][i + 1], "");
        for (std::size_t j = i + 1; j < n; ++j) {
            EXPECT_EQ(m[i + 1][j + 1], m[j + 1][i + 1]);
            EXPECT_EQ(lines.count(m[0][i + 1] + "-" + m[0][j + 1] + "\t" + m[i + 1][j + 1]), 1u)
                << i << " " << j;
        }
    }

    const std::vector<TableRow> pairs = pairsTable(*run);
    ASSERT_EQ(pairs.size(), report.all.size() + 1);
    for (std::size_t k = 0; k < report.all.size(); ++k) {
        const TableRow& row = pairs[k + 1];
        const std::string line = row.at(0) + "-" + row.at(1) + "\t" + row.at(2);
        EXPECT_EQ(line, report.all[k]);
        EXPECT_EQ(row.at(3), report.minimal.count(line) ? "yes" : "no") << line;
        EXPECT_EQ(row.at(4), report.significant.count(line) ? "yes" : "no") << line;
    }
}

TEST(EvidenceOfRuns, EveryDigitOfTheSamplesIsExplainedByTheRuleThatGaveIt) {
    expectEveryDigitExplainedByTheRuleThatGaveIt({test::kSamples}, 8);
}

TEST(EvidenceOfRuns, MatrixAndPairsTableHoldTheReportsPairsAndItsFlags) {
    expectMatrixAndPairsTableHoldTheReportsPairs(test::kSamples);
}

TEST(CorporaEvidence, EveryDigitOfTheRealTextsIsExplainedByTheRuleThatGaveIt) {
    const fs::path mixed = test::sharedCorpus("real-mixed");
    const fs::path large = test::sharedCorpus("real-large");
    ASSERT_FALSE(mixed.empty() || large.empty());
    expectEveryDigitExplainedByTheRuleThatGaveIt({mixed, large}, 200);
}

TEST(CorporaEvidence, MatrixAndPairsTableHoldTheReportsPairsOfRealTexts) {
    const fs::path mixed = test::sharedCorpus("real-mixed");
    ASSERT_FALSE(mixed.empty());
    expectMatrixAndPairsTableHoldTheReportsPairs(mixed);
}

// Each bar is the density of its count over the text length, as the run wrote it, with the
// thresholds of the run's own rule book that the rules compare it with.
// Every line of the report that lists a pair leads to the texts it names, wherever it stands
// (all pairs, the minimal ones, those off the norm); its neighbours are the lines around it in
// the list of all pairs, and any other line leads nowhere.
TEST(EvidenceOfRuns, EachPairLineOfTheReportLeadsToItsTextsAndNeighbours) {
    const auto run = test::runFolder(test::kSamples);
    std::map<std::string, int> positions;
    for (const TextRecord& t : run->texts) {
        positions[t.name] = t.position;
    }
    const auto textsOf = [&](const std::string& line) {
        const std::size_t dash = line.find(".txt-") + 4;
        return std::pair{positions.at(line.substr(0, dash)),
                         positions.at(line.substr(dash + 1, line.rfind('\t') - dash - 1))};
    };
    const std::vector<std::string> lines = test::textLines(run->report.text());
    const std::vector<std::string> all = test::reportedPairs(run->report.text()).all;
    ASSERT_EQ(all.size(), 45U);
    int pairLines = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::optional<RunPair> pair = run->reportPairAt(static_cast<std::int64_t>(k));
        const bool listsPair = lines[k].find(".txt-") != std::string::npos;
        ASSERT_EQ(pair.has_value(), listsPair) << k << ": " << lines[k];
        if (!listsPair) {
            continue;
        }
        ++pairLines;
        EXPECT_EQ(std::pair(pair->first, pair->second), textsOf(lines[k])) << lines[k];
        EXPECT_EQ(pair->strength, lines[k].back() - '0') << lines[k];
    }
    EXPECT_GT(pairLines, 45);  // minimal pairs and those off the norm are listed twice
    for (std::size_t k = 0; k < all.size(); ++k) {
        const auto [a, b] = textsOf(all[k]);
        ASSERT_EQ(reportIndexOf(*run, b, a), std::optional<std::int64_t>(k));
        const std::optional<RunPair> before = neighbouringPair(*run, a, b, -1);
        const std::optional<RunPair> after = neighbouringPair(*run, b, a, 1);
        ASSERT_EQ(before.has_value(), k > 0);
        ASSERT_EQ(after.has_value(), k + 1 < all.size());
        if (before) {
            EXPECT_EQ(std::pair(before->first, before->second), textsOf(all[k - 1]));
        }
        if (after) {
            EXPECT_EQ(std::pair(after->first, after->second), textsOf(all[k + 1]));
        }
    }
    EXPECT_FALSE(reportIndexOf(*run, 0, 0));
    EXPECT_FALSE(pairSides(*run, 3, 3));
}

TEST(EvidenceOfRuns, ChartsDrawTheRunsDensitiesThresholdsAndStrengths) {
    const auto sampled = test::runFolder(test::kSamples);
    RunResult run = *sampled;
    run.rules = run.rules.with(Threshold::Contractions, 0.0123).with(Threshold::HighAffect, 0.07);
    const std::map<Measure, std::vector<std::pair<Threshold, double>>> marks = {
        {Measure::D0, {{Threshold::Classifiable, 0.01}, {Threshold::Contractions, 0.0123}}},
        {Measure::D4, {{Threshold::PassiveCommonPast, 0.01}, {Threshold::Classifiable, 0.01}}},
        {Measure::D5,
         {{Threshold::PassiveInflections, 0.01},
          {Threshold::Classifiable, 0.01},
          {Threshold::PastInflections, 0.01}}},
        {Measure::D6, {{Threshold::Classifiable, 0.01}, {Threshold::DefiniteArticle, 0.02}}},
        {Measure::ObligationDensity,
         {{Threshold::Obligation, 0.015}, {Threshold::StrongObligation, 0.03}}},
        {Measure::AffectDensity, {{Threshold::Affect, 0.03}, {Threshold::HighAffect, 0.07}}},
        {Measure::D8, {{Threshold::Classifiable, 0.01}}},
    };
    for (const TextRecord& t : run.texts) {
        const auto bars = densityBars(t, run.rules);
        for (const DensityBar& bar : bars) {
            const std::string column = kMeasures[static_cast<std::size_t>(bar.density)].column;
            EXPECT_EQ(bar.value, t.text(bar.density)) << t.name << " " << column;
            const double words = t.number(Measure::TextLength);
            EXPECT_EQ(fourDecimalText(t.number(bar.count) / words), bar.value)
                << t.name << " " << column;
            for (const ThresholdMark& mark : bar.thresholds) {
                // The rules name the density each constant is compared with.
                if (mark.id != Threshold::Classifiable) {
                    EXPECT_STREQ(thresholdInfo(mark.id).measure,
                                 kMeasures[static_cast<std::size_t>(bar.density)].label);
                }
            }
            if (const auto it = marks.find(bar.density); it != marks.end()) {
                std::vector<std::pair<Threshold, double>> drawn;
                for (const ThresholdMark& mark : bar.thresholds) {
                    drawn.emplace_back(mark.id, mark.limit);
                }
                EXPECT_EQ(drawn, it->second) << column;
            }
        }
        EXPECT_EQ(bars[0].thresholds[1].limitText, "0.0123");
    }

    // Texts with codes 00000, 00011, 11111 and 11111: strengths 3, 0, 0, 2, 2, 5.
    RunResult built = test::runOf(
        {{"a.txt", "00000"}, {"b.txt", "00011"}, {"c.txt", "11111"}, {"d.txt", "11111"}}, [] {
            std::array<bool, 16> s{};
            s[5] = true;
            return s;
        }());
    built.mean = "2";
    built.stDev = "1.8974";
    built.meanValue = 2;
    built.stDevValue = 1.8974;
    const StrengthDistribution d = strengthDistribution(built);
    EXPECT_EQ(d.pairs, (std::array<std::int64_t, 6>{2, 0, 2, 1, 0, 1}));
    EXPECT_EQ(d.significant, (std::array<bool, 6>{false, false, false, false, false, true}));
    ASSERT_TRUE(d.band.has_value());
    EXPECT_DOUBLE_EQ(d.band->first, 2 - 1.65 * 1.8974);
    EXPECT_DOUBLE_EQ(d.band->second, 2 + 1.65 * 1.8974);
    built.stDev = "n/a";
    built.stDevValue.reset();
    EXPECT_FALSE(strengthDistribution(built).band.has_value());
    EXPECT_EQ(strengthDistribution(built).mean, 2.0);
}

std::string words(int n, const char* word = "dog ") {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += word;
    }
    return out;
}

// UTF-16LE of an ASCII text, without a byte-order mark.
std::string utf16(const std::string& ascii) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

// Doubtful files of every kind: analysed all the same, binary-looking ones too, and warned of;
// identical files as one group, the one beyond the size cap left out.
TEST(EvidenceOfRuns, DoubtfulFilesAreAnalysedAndWarnedOf) {
    const test::TempFolder folder;
    folder.write("a empty.txt", "");
    folder.write("b short.txt", words(20));
    folder.write("c long.txt", "The " + words(250, "walked "));
    folder.write("d copy.txt", "The " + words(250, "walked "));
    folder.write("e latin.txt", "caf\xe9 " + words(300));
    folder.write("f again.txt", "The " + words(250, "walked "));
    // Beyond the reader's size cap, so the run leaves it out; sparse, so it costs no disk.
    fs::resize_file(folder.write("g huge.txt", ""), kMaxTextFileBytes + 1);
    std::mt19937 random(21);
    std::string noise(20480, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random() >> 24);
    }
    folder.write("h random.txt", noise);
    folder.write("i utf16.txt", "\xFF\xFE" + utf16(words(250)));
    folder.write("j utf16 unmarked.txt", utf16(words(250)));
    // A control here and there is no binary: 1 in 100 characters is at the limit.
    folder.write("k vertical tab.txt", words(24) + "dog\x0b");

    const auto run = test::runFolder(folder.path());
    const std::vector<FileQuality>& quality = run->quality;  // assessed once by the run
    const std::vector<TableRow> table = qualityTable(quality);
    ASSERT_EQ(table.size(), 12u);
    // The three identical files are one group, warned of once.
    const std::vector<TableRow> expected = {
        {"name", "encoding", "size", "words", "same_bytes_as", "warnings"},
        {"a empty.txt", "ASCII", "0", "0", "", "empty file (0 bytes)"},
        {"b short.txt", "ASCII", "80", "20", "", "fewer than 200 words (densities unreliable)"},
        {"c long.txt", "ASCII", "1754", "251", "",
         "identical content: 3 files (c long.txt, d copy.txt, f again.txt)"},
        {"d copy.txt", "ASCII", "1754", "251", "c long.txt", ""},
        {"e latin.txt", "Windows-1252", "1205", "301", "", ""},
        {"f again.txt", "ASCII", "1754", "251", "c long.txt", ""},
    };
    EXPECT_EQ(std::vector<TableRow>(table.begin(), table.begin() + 7), expected);
    // The noise decodes as Windows-1252, a character a byte: 83 NUL bytes, and 2,686 bytes of
    // the 34 values that are controls there (counted apart from the same bytes).
    const std::string warnings[] = {
        "looks binary: 83 NUL characters, 13.1% control or replacement characters (more than 1%)",
        "",
        "looks binary: 1000 NUL characters, 50.0% control or replacement characters (more than "
        "1%)",
        "fewer than 200 words (densities unreliable)",
    };
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(table[7 + k].at(5), warnings[k]) << table[7 + k].at(0);
    }
    EXPECT_EQ(table[11], (TableRow{"g huge.txt", "", "", "", "",
                                   "left out as unreadable: File too large (over 1 GiB)"}));
    EXPECT_EQ(qualitySummary(quality), "7 warnings: see Details");
    // printf 'dog %.0s' {1..20} | sha256sum
    EXPECT_EQ(run->texts[1].file.sha256,
              "1fd036f5efc7a33c44f0e69d7606d15a75761d59a2fc809ebac88aa1498964b0");
    ASSERT_EQ(run->analysedCount(), 10);
    for (const TextRecord& t : run->texts) {
        EXPECT_EQ(t.code.size(), 5u) << t.name;
    }
    EXPECT_GT(run->byNameBytes("h random.txt")->number(Measure::TextLength), 100);
    const RunSummary summary = summariseRun(*run);
    EXPECT_EQ(summary.binaryTexts, 2);
    EXPECT_EQ(summary.emptyTexts, 1);
    EXPECT_EQ(summary.notes, (std::vector<std::string>{
                                 "2 texts look binary and 1 text is empty (0 bytes): see Details.",
                                 "Left out: g huge.txt (File too large (over 1 GiB))."}));
}

}  // namespace
}  // namespace pelmora
