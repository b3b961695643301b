#include <gtest/gtest.h>

#include "explanation/run_summary.h"
#include "tests/support/run_builder.h"

namespace pelmora {
namespace {

using test::BuiltText;
using test::runOf;

BuiltText text(const std::string& name, const std::string& code, std::string words = "500") {
    return BuiltText{.name = name, .code = code, .words = std::move(words), .sha256 = name};
}

// 20100-20201 agree on 3 digits, 20100-10100 on 4, 20201-10100 on 2.
TEST(RunSummary, CountsEveryListedPairByItsStrengthAndTakesTheReportsFigures) {
    RunResult run = runOf({text("a.txt", "20100"), text("b.txt", "20201"), text("c.txt", "10100")},
                          {/*0*/ false, false, /*2*/ true});
    run.folder = "/cases/2024/smith";
    run.mean = "3";
    run.stDev = "1";
    const RunSummary s = summariseRun(run);
    EXPECT_EQ(s.folder, "/cases/2024/smith");
    EXPECT_EQ(s.textsAnalysed, 3);
    EXPECT_EQ(s.textsByHand, 0);
    EXPECT_EQ(s.textsLeftOut, 0);
    EXPECT_EQ(s.pairs, 3);
    EXPECT_EQ(s.minimalPairs, 1);
    EXPECT_EQ(s.significantPairs, 1);
    EXPECT_EQ(s.mean, "3");
    EXPECT_EQ(s.stDev, "1");
    EXPECT_EQ(s.warnings, 0);
    EXPECT_TRUE(s.notes.empty());

    // Strengths 5, 5, 0, 5, 0, 0: three minimal pairs, the three of strength 0 off the norm.
    RunResult four = runOf({text("a.txt", "11111"), text("b.txt", "11111"), text("c.txt", "11111"),
                            text("d.txt", "00000")},
                           {/*0*/ true});
    const RunSummary t = summariseRun(four);
    EXPECT_EQ(t.pairs, 6);
    EXPECT_EQ(t.minimalPairs, 3);
    EXPECT_EQ(t.significantPairs, 3);
}

TEST(RunSummary, CountsTextsByHandLeftOutAndEveryInputWarning) {
    RunResult run = runOf({text("hand.txt", "11111"), text("short.txt", "11111", "150"),
                           text("empty.txt", "00000", "0"), text("same1.txt", "22222"),
                           text("same2.txt", "22222"), text("nul.txt", "00000", "0"),
                           text("noise.txt", "00000", "40")});
    run.texts[0].inRun = false;
    run.texts[2].file.byteSize = 0;
    run.texts[4].file.sha256 = run.texts[3].file.sha256;
    // One NUL is binary; so are controls and replacement characters beyond 1%, not at it.
    run.texts[5].file.characters = {.characters = 1000, .nul = 1, .controls = 1};
    run.texts[6].file.characters = {.characters = 1000, .controls = 6, .replacements = 5};
    run.texts[3].file.characters = {.characters = 1000, .controls = 5, .replacements = 5};
    run.leftOut.push_back(SkippedFile{"gone.txt", "gone.txt", "No such file or directory"});
    run.leftOut.push_back(SkippedFile{"link.txt", "link.txt", "Dangling link"});
    run.stDev = "2.1213";
    run.quality = assessQuality(run);  // as the run assesses it once it has every text
    const RunSummary s = summariseRun(run);
    EXPECT_EQ(s.textsAnalysed, 6);
    EXPECT_EQ(s.textsByHand, 1);
    EXPECT_EQ(s.textsLeftOut, 2);
    EXPECT_EQ(s.pairs, 21);
    EXPECT_EQ(s.binaryTexts, 2);
    EXPECT_EQ(s.emptyTexts, 1);
    // Fewer than 200 words twice, empty, no words, binary twice, one group of identical files,
    // two files left out.
    EXPECT_EQ(s.warnings, 9);
    EXPECT_EQ(s.notes, (std::vector<std::string>{
                           "1 text analysed by hand before the run took part in its pairs.",
                           "2 texts look binary and 1 text is empty (0 bytes): see Details.",
                           "Left out: gone.txt (No such file or directory), link.txt (Dangling "
                           "link)."}));
}

TEST(RunSummary, SaysWhatTheFolderHoldsBesidesItsTexts) {
    using Extensions = std::vector<std::pair<std::string, int>>;
    struct Case {
        Extensions byExtension;
        int hidden;
        std::string text;
    };
    const Case cases[] = {
        {{}, 0, ""},
        {{{".docx", 2}, {".eml", 1}}, 0, "3 other files not listed: 2 .docx, 1 .eml"},
        {{{"", 1}}, 1, "2 other files not listed: 1 hidden, 1 without extension"},
        {{{".pdf", 1}}, 0, "1 other file not listed: 1 .pdf"},
        // The five largest kinds, ties by name, and how many more.
        {{{".a", 1}, {".b", 4}, {".c", 1}, {".d", 2}, {".e", 1}, {".f", 3}, {"", 1}},
         2,
         "15 other files not listed: 4 .b, 3 .f, 2 .d, 2 hidden, 1 .a and 3 more"},
    };
    for (const Case& c : cases) {
        RunResult run = runOf({});
        run.unlisted = UnlistedFiles{c.byExtension, c.hidden};
        EXPECT_EQ(summariseRun(run).unlisted, c.text);
    }

    std::vector<SkippedFile> many;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt", "g.txt"}) {
        many.push_back(SkippedFile{name, name, "Link loops"});
    }
    EXPECT_EQ(leftOutText(many),
              "Left out: a.txt (Link loops), b.txt (Link loops), c.txt (Link loops), d.txt (Link "
              "loops), e.txt (Link loops) and 2 more");
    EXPECT_EQ(leftOutText({}), "");
}

TEST(RunSummary, SaysPlainlyWhatTheFiguresCannotShow) {
    const auto notesOf = [](RunResult run) { return summariseRun(run).notes; };
    using Notes = std::vector<std::string>;

    RunResult none = runOf({});
    none.mean = none.stDev = "n/a";
    EXPECT_EQ(notesOf(none), Notes{"No pair was compared: no text was analysed."});
    EXPECT_EQ(summariseRun(none).pairs, 0);
    EXPECT_EQ(notesOf(runOf({text("a.txt", "11111")})),
              Notes{"No pair was compared: only one text was analysed."});
    // A text analysed by hand and run again under its name is one text to the comparison.
    RunResult again = runOf({text("a.txt", "11111"), text("a.txt", "11111")});
    again.texts[0].inRun = false;
    EXPECT_EQ(summariseRun(again).pairs, 0);
    EXPECT_EQ(notesOf(again).front(),
              "No pair was compared: every text analysed has the same name.");

    EXPECT_EQ(notesOf(runOf({text("a.txt", "11111"), text("b.txt", "11100")})),
              Notes{"Only one pair was compared: a standard deviation needs at least two, so no "
                    "pair can be off the norm."});
    // 11111, 11100 and 11010 agree with one another on three digits each.
    RunResult equal =
        runOf({text("a.txt", "11111"), text("b.txt", "11100"), text("c.txt", "11010")});
    equal.stDev = "0";
    equal.stDevValue = 0.0;
    EXPECT_EQ(notesOf(equal),
              Notes{"Every pair has the same strength, so no pair can be off the norm."});
}

TEST(RunSummary, NamesAFolderWhoseBytesAreNotUtf8) {
    RunResult run = runOf({});
    run.folder = std::filesystem::path("/cases/caf\xE9");
    EXPECT_EQ(summariseRun(run).folder, "/cases/caf\xC3\xA9");
}

}  // namespace
}  // namespace pelmora
