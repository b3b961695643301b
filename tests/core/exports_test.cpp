#include <gtest/gtest.h>

#include "evidence/csv.h"
#include "evidence/input_quality.h"
#include "evidence/pair_matrix.h"
#include "evidence/sha256.h"

namespace pelmora {
namespace {

TEST(Csv, AwkwardNamesSurviveTheRoundTripInBothDelimiters) {
    const std::vector<TableRow> rows = {
        {"name", "code"},
        {"smith, john.txt", "21201"},
        {"say \"hi\".txt", "10100"},
        {"two\nlines.txt", "0"},
        {"cr\r\nlf.txt", ""},
        {"tab\there.txt", "\""},
        {"", " leading and trailing "},
        {"Zoë’s «notes».txt", "3"},
    };
    for (char delimiter : {',', '\t'}) {
        const auto back = parseDelimitedTable(delimitedTable(rows, delimiter), delimiter);
        ASSERT_TRUE(back.has_value()) << delimiter;
        EXPECT_EQ(*back, rows) << delimiter;
    }
}

TEST(Csv, QuotesOnlyWhatNeedsQuotingAndRefusesMalformedText) {
    struct Case {
        const char* field;
        char delimiter;
        const char* written;
    };
    const Case cases[] = {
        {"", ',', ""},
        {"plain.txt", ',', "plain.txt"},
        {"a,b", ',', "\"a,b\""},
        {"a,b", '\t', "a,b"},
        {"a\tb", '\t', "\"a\tb\""},
        {"say \"hi\"", ',', "\"say \"\"hi\"\"\""},
        {"line\nbreak", ',', "\"line\nbreak\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(delimitedField(c.field, c.delimiter), c.written) << c.field;
    }
    EXPECT_EQ(delimitedTable({{"a", "b,c"}, {"d"}}), "a,\"b,c\"\r\nd\r\n");
    EXPECT_EQ(delimitedTable({{"a", "b"}}, '\t', "\n"), "a\tb\n");
    for (const char* bad : {"\"unclosed", "a\"b,c\r\n", "\"closed\"x,y\r\n"}) {
        EXPECT_FALSE(parseDelimitedTable(bad).has_value()) << bad;
    }
}

TEST(Sha256, DigestsOfKnownInputs) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex(std::string("\0\xff", 2)),
              "06eb7d6a69ee19e5fbdf749018d3d2abfa04bcbd1365db312eb86dc7169389b8");
}

TextMeasures text(const std::string& name, const std::string& words) {
    TextMeasures m;
    m.name = name;
    m.textLength = words;
    return m;
}

RunSnapshot threeTexts() {
    RunSnapshot run;
    run.texts = {text("a.txt", "500"), text("b, c.txt", "500"), text("c.txt", "500")};
    run.names = {"a.txt", "b, c.txt", "c.txt"};
    run.pairs = {{0, 1, 4, false}, {0, 2, 2, true}, {1, 2, 5, false}};
    run.mean = "3.6667";
    run.stdev = "1.5275";
    return run;
}

TEST(PairMatrix, GridIsSymmetricInRunOrderWithMarksAndStatistics) {
    const PairMatrix m = pairMatrix(threeTexts());
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m.strength[0][0], PairMatrix::kNone);
    EXPECT_EQ(m.strength[0][1], 4);
    EXPECT_EQ(m.strength[1][0], 4);
    EXPECT_EQ(m.strength[2][1], 5);
    EXPECT_TRUE(m.significant[2][0]);
    EXPECT_FALSE(m.significant[1][2]);
    EXPECT_EQ(delimitedTable(matrixTable(m), '\t', "\n"),
              "\ta.txt\tb, c.txt\tc.txt\n"
              "a.txt\t\t4\t2*\n"
              "b, c.txt\t4\t\t5\n"
              "c.txt\t2*\t5\t\n"
              "\n"
              "Arithmetic Mean\t3.6667\n"
              "Sample Standard Deviation\t1.5275\n"
              "* significantly different from the norm for this group of texts\n");
    EXPECT_EQ(delimitedTable(matrixTable(m)).substr(0, 29), ",a.txt,\"b, c.txt\",c.txt\r\na.tx");
}

TEST(PairMatrix, EmptyAndSingleTextRunsGiveEmptyGrids) {
    RunSnapshot none;
    none.mean = none.stdev = "n/a";
    EXPECT_EQ(delimitedTable(matrixTable(pairMatrix(none)), '\t', "\n"),
              "\n\nArithmetic Mean\tn/a\nSample Standard Deviation\tn/a\n"
              "* significantly different from the norm for this group of texts\n");
    RunSnapshot one;
    one.names = {"only.txt"};
    EXPECT_EQ(pairMatrix(one).strength, std::vector<std::vector<int>>{{PairMatrix::kNone}});
}

TEST(InputQuality, EachKindOfDoubtfulInputIsWarnedAbout) {
    RunSnapshot run;
    run.texts = {text("empty.txt", "0"), text("short.txt", "199"), text("enough.txt", "200"),
                 text("copy 1.txt", "350"), text("copy 2.txt", "350")};
    run.files = {{"empty.txt", "ASCII", 0, sha256Hex("")},
                 {"short.txt", "Windows-1252", 1100, sha256Hex("short")},
                 {"enough.txt", "UTF-8", 1250, sha256Hex("enough")},
                 {"copy 1.txt", "UTF-16LE", 4000, sha256Hex("same")},
                 {"copy 2.txt", "UTF-16LE", 4000, sha256Hex("same")}};
    run.skipped = {{"locked.txt", "Permission denied"}};
    const std::vector<FileQuality> q = assessQuality(run);
    EXPECT_EQ(delimitedTable(qualityTable(q), '\t', "\n"),
              "name\tencoding\tsize\twords\twarnings\n"
              "empty.txt\tASCII\t0\t0\tno words\n"
              "short.txt\tWindows-1252\t1100\t199\tfewer than 200 words (densities unreliable)\n"
              "enough.txt\tUTF-8\t1250\t200\t\n"
              "copy 1.txt\tUTF-16LE\t4000\t350\tidentical content to copy 2.txt\n"
              "copy 2.txt\tUTF-16LE\t4000\t350\tidentical content to copy 1.txt\n"
              "locked.txt\t\t\t\tleft out as unreadable: Permission denied\n");
    EXPECT_EQ(warningCount(q), 5);
    EXPECT_EQ(qualitySummary(q), "5 warnings: see Details");

    RunSnapshot oneWarning;
    oneWarning.skipped = {{"gone.txt", "No such file or directory"}};
    EXPECT_EQ(qualitySummary(assessQuality(oneWarning)), "1 warning: see Details");
    EXPECT_EQ(qualitySummary(assessQuality(RunSnapshot{})), "No input warnings");
}

}  // namespace
}  // namespace pelmora
