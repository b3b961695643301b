#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/folder_run.h"
#include "tests/support/run_builder.h"
#include "tests/support/temp_folder.h"
#include "validation/validation_tables.h"

namespace pelmora {
namespace {

using Rows = std::vector<TableRow>;

struct Labelled {
    std::string name, code, label;
};

// The texts as a run, and metadata giving each its label in a "genre" column (an empty label
// for none) after a column that is not read.
Validation validationOf(const std::vector<Labelled>& texts, const RunStability* stability = nullptr,
                        std::string_view column = "genre") {
    std::vector<test::BuiltText> made;
    std::string csv = "file,author,genre\n";
    std::vector<std::string> names;
    for (const Labelled& t : texts) {
        made.push_back({t.name, t.code});
        csv += t.name + ",someone," + t.label + "\n";
        names.push_back(t.name);
    }
    const RunResult run = test::runOf(made);
    return validateLabels(run, parseMetadata(csv, names).value(), column, stability).value();
}

// Two labels of two texts, every figure worked out by hand from the six pairs:
// same a1-a2 4, b1-b2 4; different a1-b1 3, a1-b2 4, a2-b1 2, a2-b2 3.
const std::vector<Labelled> kTwoLabels = {{"a1.txt", "21111", "A"},
                                          {"b1.txt", "01211", "B"},
                                          {"x.txt", "22222", ""},
                                          {"a2.txt", "21112", "A"},
                                          {"b2.txt", "21211", "B"}};

TEST(LabelValidation, TwoLabelsGiveEveryFigureWorkedByHand) {
    const Validation v = validationOf(kTwoLabels);
    EXPECT_EQ(validationTable(v, ValidationTable::Summary),
              (Rows{{"name", "value"},
                    {"texts", "4"},
                    {"labels", "2"},
                    {"same_label_pairs", "2"},
                    {"different_label_pairs", "4"},
                    {"same_label_mean", "4.0000"},
                    {"different_label_mean", "3.0000"},
                    // Each same pair beats 3 different pairs and ties 1: 2 * 3.5 / 8.
                    {"auc", "0.8750"},
                    // Between cut 4 (missed 0, taken 1/4) and cut 5 (missed 1, taken 0).
                    {"eer", "0.2000"},
                    {"best_cut", "4"},
                    {"digit_1_formality_top_share", "0.7500"},
                    {"digit_2_personage_top_share", "1.0000"},
                    {"digit_3_past_tenseness_top_share", "0.5000"},
                    {"digit_4_obligation_intention_top_share", "1.0000"},
                    {"digit_5_affect_top_share", "0.7500"}}));
    EXPECT_EQ(validationTable(v, ValidationTable::Roc),
              (Rows{{"cut", "true_positive_rate", "false_positive_rate", "balanced_accuracy"},
                    {"0", "1.0000", "1.0000", "0.5000"},
                    {"1", "1.0000", "1.0000", "0.5000"},
                    {"2", "1.0000", "1.0000", "0.5000"},
                    {"3", "1.0000", "0.7500", "0.6250"},
                    {"4", "1.0000", "0.2500", "0.8750"},
                    {"5", "0.0000", "0.0000", "0.5000"},
                    {"6", "0.0000", "0.0000", "0.5000"}}));
    EXPECT_EQ(validationTable(v, ValidationTable::Labels),
              (Rows{{"label", "texts", "most_common_code", "code_texts", "unstable_share"},
                    {"A", "2", "21111", "1", "n/a: stability not measured"},
                    {"B", "2", "01211", "1", "n/a: stability not measured"}}));
    const Rows digits = validationTable(v, ValidationTable::Digits);
    const std::string constant = "no: one value on at least 95% of the labelled texts";
    EXPECT_EQ(digits[0], (TableRow{"digit", "category", "value", "label", "texts", "top_share",
                                   "separates", "agree_within", "agree_across"}));
    EXPECT_EQ(digits[1], (TableRow{"1", "formality", "0 Neutral", "A", "0", "0.7500", "yes",
                                   "0.5000", "0.5000"}));
    EXPECT_EQ(digits[4], (TableRow{"1", "formality", "2 Formal", "B", "1", "0.7500", "yes",
                                   "0.5000", "0.5000"}));
    EXPECT_EQ(digits[5], (TableRow{"2", "personage", "1 First Person", "A", "2", "1.0000", constant,
                                   "1.0000", "1.0000"}));
    // Past tenseness: each label keeps its own value, so it agrees within and never across.
    EXPECT_EQ(digits[10], (TableRow{"3", "past tenseness", "2 Not Past Tense", "B", "2", "0.5000",
                                    "yes", "1.0000", "0.0000"}));
    EXPECT_EQ(digits.size(), 1u + 2 * (2 + 1 + 2 + 1 + 2));
}

TEST(LabelValidation, ThreeLabelsAndTheSeparatingShareAtItsEdge) {
    // Same pairs 5, 4, 4; different: 4 4 3 3 against y, 0 1 0 1 against z, 0 1 1 2 y-z.
    const Validation v = validationOf({{"x1", "21111", "X"},
                                       {"x2", "21111", "X"},
                                       {"y1", "11111", "Y"},
                                       {"y2", "11211", "Y"},
                                       {"z1", "02222", "Z"},
                                       {"z2", "02221", "Z"}});
    const Rows summary = validationTable(v, ValidationTable::Summary);
    const Rows expected = {{"same_label_pairs", "3"},
                           {"different_label_pairs", "12"},
                           {"same_label_mean", "4.3333"},
                           {"different_label_mean", "1.6667"},
                           {"auc", "0.9444"},
                           {"eer", "0.1333"},
                           {"best_cut", "4"},
                           {"digit_1_formality_top_share", "0.3333"}};
    EXPECT_EQ(Rows(summary.begin() + 3, summary.begin() + 11), expected);
    EXPECT_EQ(v.different.atStrength, (std::array<std::int64_t, 6>{3, 4, 1, 2, 2, 0}));
    EXPECT_EQ(v.digits[0].topValue, '0');  // three values of two texts each: the lowest
    EXPECT_EQ(v.labels[2].commonCode, "02221");

    // 19 of 20 texts on one affect value is 95%: no longer separating; 18 of 20 still is.
    for (const int others : {1, 2}) {
        std::vector<Labelled> texts;
        for (int i = 0; i < 20; ++i) {
            texts.push_back(
                {"t" + std::to_string(i), i < others ? "21112" : "21111", i % 2 == 0 ? "A" : "B"});
        }
        const DigitSeparation affect = validationOf(texts).digits[4];
        EXPECT_EQ(affect.separates, others == 2) << others;
        EXPECT_DOUBLE_EQ(affect.topShare, (20.0 - others) / 20.0);
    }
}

TEST(LabelValidation, TooFewLabelsSayWhyAndStabilityStandsBesideEachLabel) {
    const std::string reason = "n/a: fewer than 2 labels of at least 2 texts each";
    for (const std::vector<Labelled>& texts :
         {std::vector<Labelled>{{"a1", "21111", "A"}, {"a2", "21111", "A"}, {"b1", "11111", "B"}},
          std::vector<Labelled>{{"a1", "21111", "A"}, {"a2", "21112", "A"}},
          std::vector<Labelled>{{"a1", "21111", ""}}}) {
        const Validation v = validationOf(texts);
        const Rows summary = validationTable(v, ValidationTable::Summary);
        for (const char* name : {"auc", "eer", "best_cut"}) {
            const auto row = std::find_if(summary.begin(), summary.end(),
                                          [&](const TableRow& r) { return r[0] == name; });
            ASSERT_NE(row, summary.end());
            EXPECT_EQ((*row)[1], reason) << name;
        }
        EXPECT_EQ(validationTable(v, ValidationTable::Roc).back()[0], reason);
    }

    // a1 wavers on its affect digit, a2 holds, b2 was too short to resample.
    RunStability stability;
    for (const int position : {0, 1, 3, 4}) {
        TextStability t;
        t.position = position;
        t.tooShort = position == 4;
        for (DigitStability& d : t.digits) {
            d.resamples = 10;
            d.ofDigit[1] = position == 0 ? 7 : 10;
            d.digit = '1';
        }
        stability.texts.push_back(t);
    }
    const Rows labels =
        validationTable(validationOf(kTwoLabels, &stability), ValidationTable::Labels);
    EXPECT_EQ(labels[1].back(), "0.5000");
    EXPECT_EQ(labels[2].back(), "0.0000");  // b1 measured and stable, b2 not counted

    const RunResult run = test::runOf({{"a", "21111"}});
    const Result<Validation> missing =
        validateLabels(run, parseMetadata("file,genre\na,x\n", {"a"}).value(), "register");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().message,
              "The metadata has no column \"register\" to read labels from; its columns are "
              "file, genre.");
}

TEST(LabelValidation, CliPrintsTheFiguresAndRefusesWithTwo) {
    // Both texts of a label share a code; the labels' codes differ in past tenseness only.
    const std::vector<test::File> texts = {
        {"q1.txt", "I walked. I was. I must. I love you. I should."},
        {"k1.txt", "I walked home. I was. I must. I love you. I should."},
        {"q2.txt", "I must go. I love you. I should."},
        {"k2.txt", "I must go. I love you."},
        {"n1.txt", "I must. I love you so."},
    };
    test::TempFolder folder, elsewhere;
    for (const test::File& f : texts) {
        folder.write(f.name, f.bytes);
    }
    const std::string meta =
        elsewhere
            .write("meta.csv",
                   "file,role,genre\nq1.txt,,letter\nk1.txt,,letter\nq2.txt,Q,note\nk2.txt,K,"
                   "note\nn1.txt,,\n")
            .string();
    const std::string dir = folder.path().string();
    const test::CliResult summary = test::runCli({"validate", dir, "--metadata", meta});
    EXPECT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(summary.out,
              "name\tvalue\ntexts\t4\nlabels\t2\nsame_label_pairs\t2\ndifferent_label_pairs\t4\n"
              "same_label_mean\t5.0000\ndifferent_label_mean\t4.0000\nauc\t1.0000\neer\t0.0000\n"
              "best_cut\t5\ndigit_1_formality_top_share\t1.0000\n"
              "digit_2_personage_top_share\t1.0000\ndigit_3_past_tenseness_top_share\t0.5000\n"
              "digit_4_obligation_intention_top_share\t1.0000\ndigit_5_affect_top_share\t1.0000\n");
    // Roles as labels: one questioned and one known text are too few.
    const test::CliResult roles =
        test::runCli({"validate", dir, "--metadata", meta, "--label", "role", "--table", "roc"});
    EXPECT_EQ(roles.status, 0) << roles.err;
    EXPECT_EQ(test::tableRows(roles.out).back()[0],
              "n/a: fewer than 2 labels of at least 2 texts each");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"validate", dir},
          {"validate", dir, "--metadata", meta, "--label", "register"},
          {"validate", dir, "--metadata", meta, "--table", "summary"},
          {"validate", dir, "--metadata", meta, "--resamples", "0"}}) {
        const test::CliResult refused = test::runCli(args);
        EXPECT_EQ(refused.status, 2) << refused.err;
        EXPECT_EQ(refused.out, "");
    }
}

}  // namespace
}  // namespace pelmora
