#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/form2_commands.h"
#include "run/author_results.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "tests/support/run_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

class AuthorTools : public ::testing::Test {
protected:
    AuthorTools() : context_(std::filesystem::temp_directory_path() / "pelmora-no-such-folder") {
        form().File1.entries.clear();
    }
    Form2& form() { return context_.form2(); }
    Form2Commands commands() { return Form2Commands(context_); }
    void setFiles(const Lines& names) {
        form().File1.entries.clear();
        for (const std::string& n : names) {
            form().File1.entries.append(n);
        }
    }
    static void fill(ListStore& list, const Lines& items) {
        list.clear();
        for (const std::string& s : items) {
            list.append(s);
        }
    }
    void fillColumn(std::size_t k, const Lines& values) {
        for (const std::string& v : values) {
            form().lstAuthorPair.append(k, v);
        }
    }
    ProgramContext context_;
};

TEST_F(AuthorTools, AuthorListsFromFileNames) {
    setFiles({"ABCD1.txt", "abcd2.txt", "efgh1.txt", "ab.txt"});
    commands().cmdGetAuthors();
    EXPECT_EQ(form().lstAuthor.items(), (Lines{"ABCD", "abcd", "efgh", "ab.t"}));
    EXPECT_EQ(form().lstAuthorComp.items(), form().lstAuthor.items());

    commands().cmdRemDupesListAuthors();
    EXPECT_EQ(form().lstAuthor.items(), (Lines{"ABCD", "efgh", "ab.t"}));
    commands().cmdNumOfTextsPerAuthor();
    EXPECT_EQ(form().lstNumOfAuthorTexts.items(), (Lines{"2", "1", "1"}));

    // A second gathering is not adjacent to the first, so both copies stay.
    commands().cmdGetAuthors();
    commands().cmdRemDupesListAuthors();
    EXPECT_EQ(form().lstAuthor.items(), (Lines{"ABCD", "efgh", "ab.t", "ABCD", "efgh", "ab.t"}));

    commands().Command3();
    EXPECT_TRUE(form().lstAuthor.empty());
    EXPECT_EQ(form().lstAuthorComp.count(), 6);
}

TEST_F(AuthorTools, AdjacentRemovalLeavesEachRunOnceAndKeepsNonNeighbours) {
    fill(form().lstAuthor, {"a", "A", "a", "a", "b", "a", "c", "c"});
    fill(form().lstAuthorComp, {});
    commands().cmdRemDupesListAuthors();
    EXPECT_EQ(form().lstAuthor.items(), (Lines{"a", "b", "a", "c"}));
}

TEST_F(AuthorTools, PermutationsAndPairColumns) {
    fill(form().lstAuthor, {"abcd", "efgh"});
    fill(form().lstAuthorComp, {"abcd", "efgh"});
    commands().cmdAuthorPermutations();
    EXPECT_EQ(form().List1.items(), (Lines{"abcd", "abcd", "efgh", "efgh"}));
    EXPECT_EQ(form().List2.items(), (Lines{"abcd", "efgh", "abcd", "efgh"}));

    commands().Command5();
    commands().Command5();  // a second press creates no column twice
    ASSERT_EQ(form().lblAuthorPair.size(), 4u);
    ASSERT_EQ(form().lstAuthorPair.size(), 4u);
    const Lines captions{"abcd abcd", "abcd efgh", "efgh abcd", "efgh efgh"};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(form().lblAuthorPair.text(k), captions[k]);
        EXPECT_EQ(Form2::authorPairLeft(k), 101000 + 1460 * static_cast<int>(k));
    }
}

TEST_F(AuthorTools, NoAuthorsMeansNoColumnAndTheDesignedCaption) {
    const std::string designed = form().lblAuthorPair.text(0);
    commands().Command5();
    EXPECT_EQ(form().lblAuthorPair.size(), 1u);
    EXPECT_EQ(form().lblAuthorPair.text(0), designed);
}

TEST_F(AuthorTools, AssignResultsAveragesEachColumnWithANonZeroSum) {
    fill(form().lstAuthor, {"abcd", "efgh"});
    fill(form().lstAuthorComp, {"efgh"});
    commands().Command5();
    fillColumn(0, {"2", "4"});
    fillColumn(1, {"2", "-2"});
    commands().cmdAssignResults();
    EXPECT_EQ(form().Text4.text(), "abcd efgh\t3\r\n");
    EXPECT_TRUE(context_.takeMessages().empty());
}

TEST_F(AuthorTools, AssignResultsStopsWithTheMessageWhenASumOverflows) {
    fill(form().lstAuthor, {"abcd", "efgh", "ijkl"});
    fill(form().lstAuthorComp, {"x"});
    commands().Command5();
    fillColumn(0, {"1", "2"});
    fillColumn(1, {"1e308", "1e308"});
    fillColumn(2, {"5"});
    commands().cmdAssignResults();
    EXPECT_EQ(form().Text4.text(), "abcd x\t1.5\r\n");
    EXPECT_EQ(context_.takeMessages(),
              (Lines{"There was a null value in the comparison and this means your results may "
                     "have been truncated."}));
}

TEST_F(AuthorTools, Command4KeepsTheEarlierCopyAndSkipsTheEntryMovedIntoPlace) {
    fill(form().lstAuthPermVal, {"abc", "ABC", "abc", "x"});
    commands().Command4();
    EXPECT_EQ(form().lstAuthPermVal.items(), (Lines{"abc", "abc", "x"}));

    // With nothing to select from, Command2 only tidies the collected values.
    fill(form().lstAuthor, {"abcd", "efgh"});
    commands().Command2();
    EXPECT_EQ(form().lstAuthPermVal.items(), (Lines{"abc", "x"}));
}

TEST_F(AuthorTools, PairStrengthsGoToTheColumnOfTheirAuthorsInLineOrder) {
    const RunResult run =
        test::runOf({{"abcd1.txt", "21201"}, {"abcd2.txt", "21201"}, {"efgh1.txt", "10100"}});
    fill(form().lstAuthor, {"abcd", "efgh"});
    fill(form().lstAuthorComp, {"abcd", "efgh"});
    commands().Command5();
    fillAuthorPairColumns(form(), run);
    EXPECT_EQ(form().lstAuthorPair.column(0).items(), (Lines{"5"}));       // abcd abcd
    EXPECT_EQ(form().lstAuthorPair.column(1).items(), (Lines{"1", "1"}));  // abcd efgh
    EXPECT_TRUE(form().lstAuthorPair.empty(2));                            // efgh abcd
    commands().cmdAssignResults();
    EXPECT_EQ(form().Text4.text(), "abcd abcd\t5\r\nabcd efgh\t1\r\n");
}

TEST_F(AuthorTools, ColumnsKeepTheirValuesInOrderAndTheirCaptionsAcrossPresses) {
    const RunResult run =
        test::runOf({{"abcd1.txt", "21201"}, {"abcd2.txt", "21202"}, {"efgh1.txt", "10100"}});
    fill(form().lstAuthor, {"abcd", "efgh"});
    fill(form().lstAuthorComp, {"abcd", "efgh"});
    commands().Command5();
    fillColumn(1, {"7"});
    fillAuthorPairColumns(form(), run);
    fillColumn(0, {"0.5"});
    fillAuthorPairColumns(form(), run);
    EXPECT_EQ(form().lstAuthorPair.column(0).items(), (Lines{"4", "0.5", "4"}));
    EXPECT_EQ(form().lstAuthorPair.column(1).items(), (Lines{"7", "1", "1", "1", "1"}));
    EXPECT_TRUE(form().lstAuthorPair.empty(2));

    // A press over fewer authors re-captions its own columns only; a column then read for
    // authors it no longer names gets nothing.
    fill(form().lstAuthor, {"wxyz"});
    commands().Command5();
    EXPECT_EQ(form().lstAuthorPair.size(), 4u);
    const Lines captions{"wxyz abcd", "wxyz efgh", "efgh abcd", "efgh efgh"};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(form().lblAuthorPair.text(k), captions[k]);
    }
    fill(form().lstAuthor, {"abcd", "efgh"});
    fillAuthorPairColumns(form(), run);
    EXPECT_EQ(form().lstAuthorPair.count(0), 3);
    EXPECT_EQ(form().lstAuthorPair.count(1), 5);

    commands().cmdAssignResults();
    EXPECT_EQ(form().Text4.text(), "wxyz abcd\t2.83333333333333\r\nwxyz efgh\t2.2\r\n");
    // Left edges past 2^31 twips, for the millions of columns of thousands of authors.
    EXPECT_EQ(Form2::authorPairLeft(2'000'000), 2'920'101'000);
}

TEST(AuthorToolsRun, TwoAuthorsOfThreeTextsEach) {
    test::TempFolder folder;
    const std::string letter =
        "I'm so happy you came. I've missed you and I'll write again. We're fine and I love it.";
    const std::string notice =
        "The committee shall review the application. The board must approve the budget of the "
        "society. The members were informed by the secretary.";
    for (const char* name : {"abcd1.txt", "abcd2.txt", "abcd3.txt"}) {
        folder.write(name, letter);
    }
    for (const char* name : {"efgh1.txt", "efgh2.txt", "efgh3.txt"}) {
        folder.write(name, notice);
    }

    ProgramContext context(folder.path());
    startProgram(context);
    const auto run = runBatch(context);
    assignAuthorResults(context, *run);
    const Form2& form = context.form2();

    EXPECT_EQ(form.lstAuthor.items(), (Lines{"abcd", "efgh"}));
    EXPECT_EQ(form.lstNumOfAuthorTexts.items(), (Lines{"3", "3"}));
    const ListStore& codes = context.form1().lstAllTypes;
    ASSERT_EQ(codes.count(), 6);
    ASSERT_NE(codes.at(0), codes.at(3)) << "the two kinds of text should get different codes";
    const int cross = typeCodeStrength(codes.at(0), codes.at(3));
    // Same-author pairs are identical texts; every cross pair has the same strength, and
    // the files of the second author all come after the first's, so "efgh abcd" gets none.
    EXPECT_EQ(form.lstAuthorPair.count(0), 3);
    EXPECT_EQ(form.lstAuthorPair.count(1), 9);
    EXPECT_TRUE(form.lstAuthorPair.empty(2));
    EXPECT_EQ(form.Text4.text(),
              "abcd abcd\t5\r\n" +
                  std::string(cross == 0 ? "" : "abcd efgh\t" + std::to_string(cross) + "\r\n") +
                  "efgh efgh\t5\r\n");
}

}  // namespace
}  // namespace pelmora
