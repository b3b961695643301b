// How far each digit holds when its text is resampled in blocks of words, and how the run's
// codes move when every threshold does.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "explanation/digit_evidence.h"
#include "stability/stability.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

// Fifty words: five I and five he among fillers, and `musts` modal verbs in place of fillers.
std::string block(int musts) {
    const char* const fillers[] = {"I",  "word", "word", "word", "word",
                                   "he", "word", "word", "word", "word"};
    std::string out;
    for (int w = 0; w < 50; ++w) {
        out.append(w > 0 ? " " : "").append(w >= 7 && w < 7 + musts ? "must" : fillers[w % 10]);
    }
    return out;
}

std::string blocks(const std::vector<int>& musts) {
    std::string out;
    for (std::size_t b = 0; b < musts.size(); ++b) {
        out.append(b > 0 ? " " : "").append(block(musts[b]));
    }
    return out;
}

TEST(Stability, RepeatedBlocksHoldFarTextsHoldAndATextOnAThresholdWavers) {
    test::TempFolder folder;
    // Every block alike: each resample is the text itself.
    folder.write("a same.txt", blocks({1, 1, 1, 1}));
    // Three modal verbs in every block: 0.06, far above both obligation thresholds.
    folder.write("b far.txt", blocks(std::vector<int>(8, 3)));
    // Nine of twelve blocks hold a modal verb: 9/600 = 0.015, right at the threshold.
    folder.write("c at.txt", blocks({1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}));
    folder.write("d short.txt", blocks({1}));
    const auto run = test::runFolder(folder.path());
    ASSERT_EQ(run->texts.at(2).code, "01200");  // 0.015 is not above 0.015
    const Result<RunStability> measured = measureStability(*run, StabilityOptions{});
    ASSERT_TRUE(measured.ok());
    const RunStability& s = measured.value();
    for (const int p : {0, 1}) {
        const TextStability& t = *s.of(p);
        EXPECT_FALSE(t.tooShort);
        EXPECT_EQ(t.codeKept, 1.0) << p;
        for (const DigitStability& d : t.digits) {
            EXPECT_EQ(d.kept(), 1.0) << p;
            EXPECT_FALSE(d.unstable());
        }
    }
    const TextStability& at = *s.of(2);
    const double obligation = at.digits[3].kept();
    EXPECT_GT(obligation, 0.4);
    EXPECT_LT(obligation, 0.8);
    EXPECT_TRUE(at.digits[3].unstable());
    EXPECT_EQ(at.digits[3].ofDigit[0] + at.digits[3].ofDigit[1], 200);
    for (const std::size_t k : {0u, 1u, 2u, 4u}) {
        EXPECT_EQ(at.digits[k].kept(), 1.0) << k;  // only the modal verbs move between blocks
    }
    const TextStability& tooShort = *s.of(3);
    EXPECT_TRUE(tooShort.tooShort);
    // Never resampled, so not known to waver either.
    EXPECT_FALSE(tooShort.anyUnstable());
    EXPECT_FALSE(tooShort.digits[3].unstable());
    EXPECT_EQ(s.of(4), nullptr);
    EXPECT_EQ(textStabilitySummary(tooShort), "too short to resample");
    EXPECT_EQ(textStabilityReport(tooShort, s.options),
              "Stability (200 resamples of 50-word blocks): too short to resample (50 words, "
              "fewer than 100)\n");

    // Only the obligation digit moves, so the code is kept exactly as often as it is.
    char kept[16];
    std::snprintf(kept, sizeof kept, "%.3f", obligation);
    EXPECT_TRUE(at.anyUnstable());
    EXPECT_FALSE(s.of(0)->anyUnstable());
    EXPECT_EQ(s.unstableTexts(), 1);
    EXPECT_EQ(textStabilitySummary(at),
              "code kept " + std::string(kept) + "; unstable: obligation/intention " + kept);
    EXPECT_EQ(textStabilitySummary(at, false),
              "code kept " + std::string(kept) + "; unstable: obligation/intention");
    EXPECT_EQ(textStabilitySummary(*s.of(1)), "code kept 1.000");
    const std::string report = textStabilityReport(at, s.options);
    char spread[64];
    std::snprintf(spread, sizeof spread, "0: %.3f, 1: %.3f", at.digits[3].ofDigit[0] / 200.0,
                  at.digits[3].ofDigit[1] / 200.0);
    EXPECT_NE(report.find("\n  4 obligation/intention: 0 kept " + std::string(kept) +
                          "; resampled " + spread + "  [unstable]\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\n  2 personage: 1 kept 1.000; resampled 1: 1.000\n"), std::string::npos)
        << report;

    // Against the steady text at 0.02 the wavering digit agrees whenever it leaves 0, so the
    // strength holds exactly as often as the digit; against 0.06 it can never agree.
    const PairStability ps = s.pair(*run, *run->pairs.between(0, 2));
    EXPECT_TRUE(ps.known);
    EXPECT_EQ(ps.sameStrength, obligation);
    EXPECT_EQ(s.pair(*run, *run->pairs.between(1, 2)).sameStrength, 1.0);
    // A text too short: the pair's stability is not known.
    EXPECT_EQ(pairStabilityText(s.pair(*run, *run->pairs.between(2, 3)), 200),
              "not known: a text too short to resample, not measured or not in the run");
    EXPECT_EQ(pairStabilityText(s.pair(*run, *run->pairs.between(1, 2)), 200),
              "strength held in 1.000, standing in 1.000 of 200 resamples");
    // Of the pairs the report lists as minimal or off the norm, those whose standing wavers.
    std::int64_t fragile = 0;
    run->pairs.forEach([&](const RunPair& p) {
        const PairStability ps = s.pair(*run, p);
        EXPECT_EQ(ps.fragile, (p.minimal || p.significant) && ps.known && ps.sameStanding < 0.95);
        if (ps.fragile) {
            EXPECT_NE(pairStabilityText(ps, 200).find("; fragile"), std::string::npos);
        }
        fragile += ps.fragile ? 1 : 0;
    });
    EXPECT_EQ(fragilePairCount(*run, s), std::optional<std::int64_t>(fragile));
    const std::atomic<bool> stop{true};
    EXPECT_EQ(fragilePairCount(*run, s, &stop), std::nullopt);

    const std::vector<TableRow> table = stabilityTable(*run, s);
    EXPECT_EQ(table.at(0),
              (TableRow{"text", "digit", "category", "kept", "other digits", "unstable"}));
    EXPECT_EQ(table.at(14).at(2), "obligation/intention");
    EXPECT_EQ(table.at(14).at(5), "yes");
    EXPECT_EQ(table.at(16).at(3), "too short to resample");
}

TEST(Stability, TheSameFiguresOnEveryRunAndForEveryNumberOfJobs) {
    const auto run = test::runFolder(test::kSamples);
    StabilityOptions options;
    options.resamples = 30;
    options.jobs = 1;
    const Result<RunStability> one = measureStability(*run, options);
    options.jobs = 3;
    const Result<RunStability> three = measureStability(*run, options);
    const Result<RunStability> again = measureStability(*test::runFolder(test::kSamples), options);
    ASSERT_TRUE(one.ok() && three.ok() && again.ok());
    EXPECT_EQ(stabilityTable(*run, one.value()), stabilityTable(*run, three.value()));
    EXPECT_EQ(stabilityTable(*run, one.value()), stabilityTable(*run, again.value()));
    for (std::size_t i = 0; i < one.value().texts.size(); ++i) {
        EXPECT_EQ(one.value().texts[i].codes, three.value().texts[i].codes);
    }
    // A cancelled measuring says so instead of giving figures, whether the progress call
    // refuses or the flag is set while the texts are being resampled.
    EXPECT_FALSE(measureStability(*run, options, [](int, int) { return false; }).ok());
    std::atomic<bool> stop{false};
    options.cancel = &stop;
    int calls = 0;
    const Result<RunStability> stopped = measureStability(*run, options, [&](int, int) {
        stop = true;
        return ++calls > 0;
    });
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.error().reason, "cancelled");
    EXPECT_LT(calls, static_cast<int>(run->texts.size()));
}

// A text changed or gone since the run is not measured and says why; the others are measured
// as they would be without it, and nothing counts it stable, unstable or fragile.
TEST(Stability, ATextChangedOrGoneSinceTheRunIsNotMeasuredAndTheOthersAre) {
    test::TempFolder folder;
    folder.write("a same.txt", blocks({1, 1, 1, 1}));
    folder.write("b changed.txt", blocks({1, 0, 1, 0}));
    folder.write("c gone.txt", blocks({1, 1, 0}));
    folder.write("d at.txt", blocks({1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}));
    const auto run = test::runFolder(folder.path());
    const Result<RunStability> before = measureStability(*run, StabilityOptions{});
    ASSERT_TRUE(before.ok());
    ASSERT_TRUE(before.value().of(3)->anyUnstable());
    folder.write("b changed.txt", blocks({1, 1, 1, 1}));
    fs::remove(folder.path() / "c gone.txt");
    const Result<RunStability> after = measureStability(*run, StabilityOptions{});
    ASSERT_TRUE(after.ok());
    const RunStability& s = after.value();
    EXPECT_EQ(s.of(1)->notMeasured, "changed since the run");
    EXPECT_EQ(s.of(2)->notMeasured, "cannot be read now: No such file or directory");
    EXPECT_EQ(s.notMeasuredTexts(), 2);
    for (const int p : {0, 3}) {
        EXPECT_TRUE(s.of(p)->measured());
        EXPECT_EQ(s.of(p)->codes, before.value().of(p)->codes) << p;
    }
    EXPECT_EQ(s.unstableTexts(), 1);
    const TextStability& changed = *s.of(1);
    EXPECT_FALSE(changed.anyUnstable());
    EXPECT_TRUE(changed.codes.empty());
    EXPECT_EQ(textStabilitySummary(changed), "not measured: changed since the run");
    EXPECT_EQ(textStabilityReport(changed, s.options),
              "Stability (200 resamples of 50-word blocks): not measured: changed since the run\n");
    for (const int other : {0, 2, 3}) {
        const PairStability pair = s.pair(*run, *run->pairs.between(1, other));
        EXPECT_FALSE(pair.fragile);
        EXPECT_EQ(pairStabilityText(pair, 200),
                  "not known: a text too short to resample, not measured or not in the run");
    }
    const std::vector<TableRow> table = stabilityTable(*run, s);
    ASSERT_EQ(table.size(), 21u);
    for (std::size_t row = 6; row <= 10; ++row) {
        EXPECT_EQ(table[row], (TableRow{"b changed.txt", table[row][1], table[row][2],
                                        "not measured: changed since the run", "", ""}));
    }
    EXPECT_EQ(table.at(11).at(3), "not measured: cannot be read now: No such file or directory");
}

TEST(Stability, BlocksAreWholeWordsAndResamplesAsLongAsTheText) {
    const std::string text = "one two\r\nthree  four, five six seven";
    int words = 0;
    const auto b = wordBlocks(text, 3, &words);
    EXPECT_EQ(words, 7);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(text.substr(b[0].first, b[0].second - b[0].first), "one two\r\nthree");
    EXPECT_EQ(text.substr(b[1].first, b[1].second - b[1].first), "four, five six");
    EXPECT_EQ(text.substr(b[2].first, b[2].second - b[2].first), "seven");
    const std::string sha(64, 'a');
    const std::string r = resampleText(text, b, sha, 7);
    EXPECT_EQ(r, resampleText(text, b, sha, 7));
    EXPECT_NE(resampleText(text, b, sha, 7) + resampleText(text, b, sha, 8) +
                  resampleText(text, b, sha, 9),
              resampleText(text, b, sha, 7) + resampleText(text, b, sha, 7) +
                  resampleText(text, b, sha, 7));
}

// Texts right at the obligation threshold, at the affect threshold and far from all, each
// copied: lower thresholds make the texts at them cross, higher ones leave everything. Copies
// move together, so a pair of two copies keeps its strength and every pair between texts that
// moved differently changes: of 3 + 2 + 2 texts' 21 pairs, the 3 + 1 + 1 inside each kind keep
// theirs.
TEST(Sensitivity, EveryThresholdMovedAFewPercentMovesTheTextsAtThem) {
    struct Case {
        int atObligation, atAffect, far;
        TableRow lower, higher;  // the rows of -5% and +5%
    };
    const Case cases[] = {
        {1, 1, 1, {"-5%", "2 of 3", "3 of 3", "0", "0"}, {"+5%", "0 of 3", "0 of 3", "0", "0"}},
        {3, 2, 2, {"-5%", "5 of 7", "16 of 21", "0", "0"}, {"+5%", "0 of 7", "0 of 21", "0", "0"}},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        for (const auto& [name, count] : {std::pair{"o_at.txt", c.atObligation},
                                          {"a_at.txt", c.atAffect},
                                          {"café.txt", c.far}}) {
            for (int k = 0; k < count; ++k) {
                fs::copy_file(test::kBoundary / name, folder.path() / (std::to_string(k) + name));
            }
        }
        const auto run = test::runFolder(folder.path());
        const std::vector<SensitivityRow> rows = runSensitivity(*run);
        ASSERT_EQ(rows.size(), 4u);
        const std::vector<TableRow> table = sensitivityTable(*run, rows);
        TableRow lowest = c.lower;
        lowest[0] = "-10%";
        EXPECT_EQ(table.at(1), lowest) << c.lower[1];
        EXPECT_EQ(table.at(2), c.lower);
        EXPECT_EQ(table.at(3), c.higher);
        EXPECT_EQ(rows[3].codesChanged + rows[3].strengthsChanged, 0) << c.lower[1];
        // A density right at its threshold: the evidence names the way any move changes it.
        const std::string atThreshold =
            textEvidenceReport(explainText(*run->byNameBytes("0o_at.txt")));
        EXPECT_NE(atThreshold.find("changes when the obligation threshold moves down at all\n"),
                  std::string::npos)
            << atThreshold;
    }
}

// The move the evidence states for a digit is where the digit changes: half of it keeps the
// digit, a little beyond it changes it, for every digit of the boundary corpus that has one.
TEST(Sensitivity, EachDigitChangesJustBeyondTheMoveItsEvidenceStates) {
    const auto run = test::runFolder(test::kBoundary);
    const RuleBook& rules = run->rules;
    int checked = 0;
    for (const TextRecord& t : run->texts) {
        if (!t.inRun) {
            continue;
        }
        const TextEvidence e = explainText(t);
        for (std::size_t k = 0; k < e.digits.size(); ++k) {
            if (!e.digits[k].decisiveMove) {
                continue;
            }
            const auto [threshold, move] = *e.digits[k].decisiveMove;
            const auto digitWith = [&](double by) {
                return classify(rules.with(threshold, rules[threshold] + by), t.decisions.inputs)
                    .code.at(k);
            };
            // A density right at the threshold: the least move the way the zero's sign says.
            const double beyond = move != 0 ? move * 1.01 : std::copysign(1e-9, move);
            EXPECT_EQ(digitWith(move / 2), t.code[k]) << t.name << " digit " << k + 1;
            EXPECT_NE(digitWith(beyond), t.code[k]) << t.name << " digit " << k + 1;
            if (move == 0) {
                EXPECT_EQ(digitWith(-beyond), t.code[k]) << t.name << " digit " << k + 1;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

}  // namespace
}  // namespace pelmora
