#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "tests/support/pair_lines.h"
#include "stores/pair_list.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

TEST(Compare, StrengthCountsAgreeingPositionsOneToFiveWithEmptyBeyondTheEnd) {
    struct Case {
        const char* a;
        const char* b;
        int strength;
    };
    const Case cases[] = {
        {"", "", 5},
        {"21201", "", 0},
        {"0100", "1100", 4},
        {"21201", "0100", 2},
        {"21201", "21201", 5},
        {"21201", "10100", 1},
        {"21202", "21101", 3},
        {"212011", "212019", 5},  // a sixth character is not compared
        {"2a", "2A", 5},
        {"\xc3\xa9"
         "1",
         "e1", 4},  // characters, not bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(typeCodeStrength(c.a, c.b), c.strength) << c.a << " / " << c.b;
        EXPECT_EQ(typeCodeStrength(c.b, c.a), c.strength) << c.b << " / " << c.a;
    }
}

class CompareTest : public ::testing::Test {
protected:
    ProgramContext ctx{std::filesystem::temp_directory_path()};
    Form1& f = ctx.form1();

    void gather(const char* code, const char* name) {
        f.lstAllTypes.append(code);
        f.lstTypeNames.append(name);
    }
    Lines dogBox() { return test::linesOf(ctx.form2().lstDogBox); }
    Lines dogHouse() { return test::linesOf(ctx.form2().lstDogHouse); }
};

TEST_F(CompareTest, PairLinesGoToDogBoxAndTheWeakOnesAlsoToDogHouse) {
    gather("21201", "a.txt");
    gather("21201", "b c.txt");
    gather("10100", "d-e.txt");
    gather("21202", "f.txt");
    gather("21101", "g.txt");
    Form1Commands(ctx).cmdCompare();
    EXPECT_EQ(dogBox(),
              (Lines{"a.txt-b c.txt\t5", "a.txt-d-e.txt\t1", "a.txt-f.txt\t4", "a.txt-g.txt\t4",
                     "b c.txt-d-e.txt\t1", "b c.txt-f.txt\t4", "b c.txt-g.txt\t4",
                     "d-e.txt-f.txt\t1", "d-e.txt-g.txt\t2", "f.txt-g.txt\t3"}));
    EXPECT_EQ(dogHouse(), (Lines{"a.txt-d-e.txt\t1", "b c.txt-d-e.txt\t1", "d-e.txt-f.txt\t1",
                                 "d-e.txt-g.txt\t2"}));
    EXPECT_EQ(f.txtTheFirst.text(), "21202");
    EXPECT_EQ(f.txtTheSecond.text(), "21101");
}

TEST_F(CompareTest, OnlyExactlyEqualNamesAreTheSameText) {
    gather("11111", "a.txt");
    gather("22222", "A.txt");
    gather("12222", "a.txt");
    Form1Commands(ctx).cmdCompare();
    EXPECT_EQ(dogBox(), (Lines{"a.txt-A.txt\t0", "A.txt-a.txt\t4"}));
    EXPECT_EQ(dogHouse(), (Lines{"a.txt-A.txt\t0"}));
    // The last pair compared is shown even though it gave no line.
    f.txtTheFirst.setText("");
    f.lstAllTypes.append("33333");
    f.lstTypeNames.append("a.txt");
    f.lstAllTypes.append("44444");
    f.lstTypeNames.append("a.txt");
    Form1Commands(ctx).cmdCompare();
    EXPECT_EQ(f.txtTheFirst.text(), "33333");
    EXPECT_EQ(f.txtTheSecond.text(), "44444");
}

// How blocks pile up over many comparisons is the pair list's own test; here only that a
// single text gives no pair and leaves the last pair shown.
TEST_F(CompareTest, OneTextGivesNoPairAndLeavesTheShownPair) {
    f.txtTheFirst.setText("untouched");
    gather("21201", "a.txt");
    Form1Commands(ctx).cmdCompare();
    EXPECT_EQ(ctx.form2().lstDogBox.count(), 0);
    EXPECT_EQ(f.txtTheFirst.text(), "untouched");
}

}  // namespace
}  // namespace pelmora
