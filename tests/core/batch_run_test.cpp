#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/folder_run.h"
#include "tests/support/pair_lines.h"
#include "tests/support/report_texts.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using namespace test;
using Texts = std::vector<std::string>;

// Texts whose codes follow from the ranking rules alone: no words gives 11200, only the
// definite article 20200, "was" and an -ed form in equal numbers 00100. Their strengths:
// E-T 3, E-P 2, T-P 3.
const std::string kEmpty = "";
const std::string kThe = "The the the the.";
const std::string kPast = "was walked was walked";

std::string lines(const Texts& texts) {
    std::string out;
    for (const std::string& t : texts) {
        out += t + "\r\n";
    }
    return out;
}

TEST(BatchRun, ReportsFollowTheStrengthsOfEveryFolderSizeAndName) {
    struct Case {
        const char* what;
        std::vector<File> files;
        Texts pairs;    // lstDogBox after the run
        Texts minimal;  // lstDogHouse after the run
        std::string mean, stDev;
        Texts significant;
    };
    const Case cases[] = {
        {"no text", {}, {}, {}, "n/a", "n/a", {}},
        {"one text", {{"a.txt", kThe}}, {}, {}, "n/a", "n/a", {}},
        {"two texts", {{"a.txt", kEmpty}, {"b.txt", kThe}}, {"a.txt-b.txt\t3"}, {}, "3", "n/a", {}},
        {"all equal",
         {{"a.txt", kThe}, {"b.txt", kThe}, {"c.txt", kThe}},
         {"a.txt-b.txt\t5", "a.txt-c.txt\t5", "b.txt-c.txt\t5"},
         {},
         "5",
         "0",
         {}},
        {"three texts",
         {{"a.txt", kEmpty}, {"b.txt", kThe}, {"c.txt", kPast}},
         {"a.txt-b.txt\t3", "a.txt-c.txt\t2", "b.txt-c.txt\t3"},
         {"a.txt-c.txt\t2"},
         "2.6667",
         "0.5773",
         {}},
        // Every pair once, in the order of the last comparison; a-b lies 1.8258 deviations
        // above the mean.
        {"four texts",
         {{"a.txt", kEmpty}, {"b.txt", kEmpty}, {"c.txt", kThe}, {"d.txt", kPast}},
         {"a.txt-b.txt\t5", "a.txt-c.txt\t3", "a.txt-d.txt\t2", "b.txt-c.txt\t3", "b.txt-d.txt\t2",
          "c.txt-d.txt\t3"},
         {"a.txt-d.txt\t2", "b.txt-d.txt\t2"},
         "3",
         "1.0954",
         {"a.txt-b.txt\t5"}},
        // Names differing only in case are different files here.
        {"odd names",
         {{"a.txt", kThe}, {"A.txt", kEmpty}, {"my text.txt", kEmpty}, {"x-y.TXT", kPast}},
         {"A.txt-a.txt\t3", "A.txt-my text.txt\t5", "A.txt-x-y.TXT\t2", "a.txt-my text.txt\t3",
          "a.txt-x-y.TXT\t3", "my text.txt-x-y.TXT\t2"},
         {"A.txt-x-y.TXT\t2", "my text.txt-x-y.TXT\t2"},
         "3",
         "1.0954",
         {"A.txt-my text.txt\t5"}},
    };
    for (const Case& c : cases) {
        FolderRun run(c.files);
        const auto result = run.run();
        const Form2& form = run.form2();
        EXPECT_EQ(test::linesOf(form.lstDogBox), c.pairs) << c.what;
        EXPECT_EQ(test::linesOf(form.lstDogHouse), c.minimal) << c.what;
        EXPECT_EQ(form.lblMean.text(), c.mean) << c.what;
        EXPECT_EQ(form.lblStDev.text(), c.stDev) << c.what;
        const std::string significant = c.significant.empty()
                                            ? kNoSignificant
                                            : kSignificantHead + lines(c.significant) + "\r\n";
        const std::string minimal =
            c.minimal.empty() ? kNoMinimal : kMinimalHead + lines(c.minimal) + "\r\n";
        EXPECT_EQ(run.report(), kReportHeader + lines(c.pairs) + "\r\n" + lines(c.minimal) +
                                    "\r\n" + kExplanationRows + statisticsRows(c.mean, c.stDev) +
                                    significant + minimal)
            << c.what;
        EXPECT_EQ(result->analysedCount(), static_cast<int>(c.files.size())) << c.what;
        EXPECT_FALSE(form.cmdAutoEnabled);
    }
}

TEST(BatchRun, StoresHoldTheRunsValuesAndTheAnalysisFormComesIntoView) {
    FolderRun run({{"a.txt", kEmpty}, {"b.txt", kEmpty}, {"c.txt", kThe}, {"d.txt", kPast}});
    std::vector<std::tuple<int, int, std::string>> progress;
    run.context->progress = [&](int k, int n, const std::string& name) {
        progress.emplace_back(k, n, name);
    };
    const auto result = run.run();
    const Form2& form = run.form2();
    EXPECT_EQ(form.lstVals.items(), (Texts{"5", "3", "2", "3", "2", "3"}));
    EXPECT_EQ(form.lstCalcs.items(), (Texts{"2", "0", "1", "0", "1", "0"}));
    EXPECT_EQ(form.lstCalcs1.items(), (Texts{"4", "0", "1", "0", "1", "0"}));
    EXPECT_EQ(form.txtDogHouse.text(), "a.txt-d.txt\t2\r\nb.txt-d.txt\t2\r\n");
    EXPECT_EQ(run.form1().txtTypes.text(),
              "11200\ta.txt\r\n11200\tb.txt\r\n20200\tc.txt\r\n00100\td.txt\r\n");
    Texts measured;
    for (const TextRecord& t : result->texts) {
        measured.push_back(t.name + " " + t.code);
    }
    EXPECT_EQ(measured, (Texts{"a.txt 11200", "b.txt 11200", "c.txt 20200", "d.txt 00100"}));
    EXPECT_EQ(progress, (std::vector<std::tuple<int, int, std::string>>{
                            {1, 4, "a.txt"}, {2, 4, "b.txt"}, {3, 4, "c.txt"}, {4, 4, "d.txt"}}));
    EXPECT_TRUE(run.form1().visible);
    EXPECT_EQ(run.form1().left, 9000);
    EXPECT_EQ(form.File1.selected(), 3);
}

TEST(BatchRun, UnreadableFilesAndLinksToNothingAreLeftOutAndNamedAtTheEnd) {
    FolderRun run({{"a.txt", kEmpty},
                   {"b.txt", kThe},
                   {"b2.txt", kThe},
                   {"c.txt", kPast},
                   {"pipe.txt", kThe},
                   {"notes.docx", kThe},
                   {".hidden.txt", kThe}});
    // Found by the listing itself: a link to nothing and one that loops, which the run names
    // before what it could not read.
    fs::create_symlink("gone.txt", run.folder.path() / "dangling.txt");
    fs::create_symlink("loop.txt", run.folder.path() / "loop.txt");
    fs::create_directory(run.folder.path() / "sub");
    run.main().Dir1_Change();
    // Both vanish after the list was filled; a pipe takes the place of one.
    fs::remove(run.folder.path() / "b2.txt");
    fs::remove(run.folder.path() / "pipe.txt");
    ASSERT_EQ(::mkfifo((run.folder.path() / "pipe.txt").c_str(), 0600), 0);
    const auto result = run.run();

    FolderRun plain({{"a.txt", kEmpty}, {"b.txt", kThe}, {"c.txt", kPast}});
    plain.run();
    EXPECT_EQ(run.report(), plain.report() + kSkippedHead +
                                "dangling.txt\tDangling link\r\n"
                                "loop.txt\tLink loops\r\n"
                                "b2.txt\tNo such file or directory\r\n"
                                "pipe.txt\tNot a regular file\r\n");
    EXPECT_EQ(run.form1().txtTypes.text(), plain.form1().txtTypes.text());
    EXPECT_EQ(result->analysedCount(), 3);
    EXPECT_EQ(result->leftOut.size(), 4u);
    EXPECT_EQ(result->unlisted.byExtension,
              (std::vector<std::pair<std::string, int>>{{".docx", 1}}));
    EXPECT_EQ(result->unlisted.hidden, 1);
    EXPECT_TRUE(run.context->takeMessages().empty());  // the report says it, not a message
}

// The run goes through the folder the user chose, as it was listed, or not at all.
TEST(BatchRun, FolderGoneMovedOrUnreadableSinceItWasListedStopsTheRun) {
    const auto elsewhere = [](const fs::path& folder) {
        fs::rename(folder, folder.string() + "-moved");
    };
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> change;
        std::string problem;  // what the message says after the folder's name
    };
    std::vector<Case> cases = {
        {"removed", [](const fs::path& folder) { fs::remove_all(folder); },
         " is gone or was moved since it was listed: the run did not start."},
        {"renamed", elsewhere, " is gone or was moved since it was listed: the run did not start."},
        {"replaced by another folder",
         [&](const fs::path& folder) {
             elsewhere(folder);
             fs::create_directory(folder);
             std::ofstream(folder / "a.txt") << kThe;
         },
         " is not the one listed (it was moved or replaced since): the run did not start."},
        {"replaced by a link that loops",
         [&](const fs::path& folder) {
             elsewhere(folder);
             fs::create_symlink(folder, folder);
         },
         " cannot be read (Too many levels of symbolic links): the run did not start."},
    };
    if (::geteuid() != 0) {  // the superuser reads every folder
        cases.push_back(
            {"without read permission",
             [](const fs::path& folder) { fs::permissions(folder, fs::perms::owner_exec); },
             " cannot be read (Permission denied): the run did not start."});
    }
    for (const Case& c : cases) {
        const TempFolder root;
        const fs::path folder = root.path() / "corpus";
        fs::create_directory(folder);
        std::ofstream(folder / "a.txt") << kThe;
        ProgramContext context(folder);
        startProgram(context);
        c.change(folder);
        EXPECT_EQ(runBatch(context), nullptr) << c.what;
        EXPECT_EQ(context.takeMessages(),
                  std::vector<std::string>{"The folder \"" + folder.string() + "\"" + c.problem})
            << c.what;
        const Form2& form = context.form2();
        EXPECT_EQ(form.txtReport.text(), kReportHeader) << c.what;
        EXPECT_TRUE(form.cmdAutoEnabled) << c.what;
        EXPECT_EQ(form.Dir1.folder, folder) << c.what;
        EXPECT_EQ(form.File1.count(), 1) << c.what;
        std::error_code ignored;  // for the removal of what the case left
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

// Everything a run leaves, as the stores and the run result hold it.
std::string everythingOf(ProgramContext& context, const RunResult& run) {
    const Form2& m = context.form2();
    const Form1& a = context.form1();
    std::string out = m.txtReport.text() + "|" + a.txtTypes.text() + "|" + m.lblMean.text() + "|" +
                      m.lblStDev.text() + "|" + std::to_string(m.File1.selected()) + "|" +
                      m.txtFileName1.text() + "|" + m.lastRead.sha256 + "|" +
                      std::to_string(a.lstAllTypes.count()) + "|";
    for (const std::string& v : m.lstCalcs1.items()) {
        out += v + ",";
    }
    for (const TextRecord& t : run.texts) {
        out += t.nameBytes + ":" + t.code + ":" + t.file.sha256 + ":" + t.measures.affectDensity +
               ":" + t.decisions.categories[0]->text() + ";";
    }
    for (const SkippedFile& s : run.leftOut) {
        out += s.nameBytes + "=" + s.reason + ";";
    }
    return out;
}

TEST(BatchRun, TextsMeasuredInParallelComeOutExactlyAsOneByOne) {
    std::vector<File> files;
    for (int i = 0; i < 40; ++i) {
        files.push_back({std::string("t") + std::to_string(100 + i) + ".txt",
                         i % 3 == 0   ? kThe
                         : i % 3 == 1 ? kPast
                                      : "I felt sad, you know."});
    }
    files.push_back({"z big.txt", std::string(3 << 20, 'x') + " the the"});
    const auto prepare = [](FolderRun& run) {
        // Gone after the list was filled, a pipe in a file's place, and one beyond the cap.
        fs::remove(run.folder.path() / "t105.txt");
        fs::remove(run.folder.path() / "t120.txt");
        ASSERT_EQ(::mkfifo((run.folder.path() / "t120.txt").c_str(), 0600), 0);
        fs::resize_file(run.folder.write("t130.txt", ""), (1ull << 30) + 1);
    };
    // Everything the run leaves, and the texts in the order their progress was shown.
    const auto runWith = [&](int jobs) {
        FolderRun run(files);
        prepare(run);
        run.context->jobs = jobs;
        std::vector<std::string> progress;
        run.context->progress = [&](int, int, const std::string& name) {
            progress.push_back(name);
        };
        const auto result = run.run();
        EXPECT_EQ(result->leftOut.size(), 3u) << jobs << " jobs";
        return std::make_pair(everythingOf(*run.context, *result), progress);
    };
    const auto sequential = runWith(1);
    for (const int jobs : {2, 3, 8}) {
        EXPECT_EQ(runWith(jobs), sequential) << jobs << " jobs";
    }
}

TEST(BatchRun, CancelledAtAnyFilePutsEveryStoreBackAndALaterRunIsWhole) {
    const std::vector<File> files = {
        {"a.txt", kEmpty}, {"b.txt", kThe}, {"c.txt", kPast}, {"d.txt", kThe}};
    // Cancelled while the progress names file `at` (1 to 4), in one thread and in several.
    for (const int jobs : {1, 3}) {
        for (const int at : {1, 2, 4}) {
            FolderRun run(files);
            run.context->jobs = jobs;
            run.form2().File1.entries.select(2);
            run.context->raiseMessage("shown before the run");
            const std::string before = run.report();
            const bool hadAnalysisForm = run.context->form1Exists();
            CancelToken cancel;
            std::vector<int> shown;
            run.context->progress = [&](int k, int, const std::string&) {
                shown.push_back(k);
                if (k == at) {
                    cancel.cancel();
                }
            };
            EXPECT_EQ(runBatch(*run.context, &cancel), nullptr) << jobs << " jobs, file " << at;
            EXPECT_EQ(shown.size(), static_cast<std::size_t>(at));
            EXPECT_EQ(run.report(), before);
            EXPECT_TRUE(run.form2().cmdAutoEnabled);
            EXPECT_EQ(run.form2().File1.selected(), 2);
            EXPECT_EQ(run.form2().lstDogBox.count(), 0);
            EXPECT_EQ(run.context->form1Exists(), hadAnalysisForm);
            EXPECT_EQ(run.context->takeMessages(),
                      std::vector<std::string>{"shown before the run"});
            EXPECT_EQ(run.context->cancel, nullptr);

            // Nothing of the cancelled run is left in the next.
            run.context->progress = nullptr;
            const auto whole = run.run();
            ASSERT_NE(whole, nullptr);
            EXPECT_EQ(test::linesOf(run.form2().lstDogBox),
                      (Texts{"a.txt-b.txt\t3", "a.txt-c.txt\t2", "a.txt-d.txt\t3",
                             "b.txt-c.txt\t3", "b.txt-d.txt\t5", "c.txt-d.txt\t3"}));
            EXPECT_EQ(whole->analysedCount(), 4);
        }
    }
}

TEST(BatchRun, RefreshReturnsToTheStartAndTheSameFolderGivesTheSameReport) {
    FolderRun run({{"a.txt", kEmpty}, {"b.txt", kThe}, {"c.txt", kPast}});
    TempFolder other;
    Form2& form = run.form2();
    form.Dir1.folder = other.path();
    run.main().Dir1_Change();
    form.Dir1.folder = run.folder.path();
    run.main().Dir1_Change();
    run.main().cmdAuto();
    const std::string first = run.report();

    run.main().cmdAuto();  // disabled: the report stays as it is
    EXPECT_EQ(run.report(), first);

    run.main().cmdRefresh();
    EXPECT_TRUE(form.cmdAutoEnabled);
    EXPECT_EQ(run.report(), kReportHeader);
    EXPECT_EQ(form.lstDogBox.count(), 0);
    EXPECT_EQ(form.lblMean.text(), "0");
    EXPECT_FALSE(run.context->form1Exists());
    EXPECT_EQ(run.form1().lstAllTypes.count(), 0);
    EXPECT_EQ(run.form1().txtTypes.text(), "");
    EXPECT_EQ(form.Dir1.folder, run.folder.path());  // the default corpus of this program

    run.main().cmdAuto();
    EXPECT_EQ(run.report(), first);

    run.main().cmdReset();
    EXPECT_TRUE(form.cmdAutoEnabled);
    EXPECT_EQ(run.report(), kReportHeader);
    EXPECT_FALSE(run.context->form1Exists());

    run.main().Command1();
    EXPECT_TRUE(run.context->quitRequested);
}

TEST(BatchRun, TextAnalysedByHandBeforeTheRunTakesPart) {
    FolderRun run({{"a.txt", kEmpty}, {"b.txt", kPast}});
    TempFolder handFolder;
    handFolder.write("hand.txt", kThe);
    Form2& form = run.form2();
    form.Dir1.folder = handFolder.path();
    run.main().Dir1_Change();
    form.File1.entries.select(0);
    ASSERT_TRUE(run.main().File1_Click());
    run.analysis().cmdDoItAll();

    form.Dir1.folder = run.folder.path();
    run.main().Dir1_Change();
    const auto result = run.run();
    EXPECT_EQ(test::linesOf(form.lstDogBox),
              (Texts{"hand.txt-a.txt\t3", "hand.txt-b.txt\t3", "a.txt-b.txt\t2"}));
    EXPECT_EQ(run.form1().txtTypes.text(), "20200\thand.txt\r\n11200\ta.txt\r\n00100\tb.txt\r\n");
    EXPECT_EQ(result->analysedCount(), 2);
}

}  // namespace
}  // namespace pelmora
