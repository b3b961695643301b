#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"
#include "tests/support/workbook_reader.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::runCli;
using test::runShell;
using test::shellQuoted;
using test::TempFolder;

std::string withLf(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    return out;
}

// A usage error exits with 2, output that cannot be saved with 4; either says so on one line
// of its own and writes nothing else.
TEST(Cli, BadArgumentsAndUnsavableWorkbooksExitWithOneLine) {
    TempFolder folder;
    const std::string file = folder.write("file.txt", "hello\n").string();
    const std::string fifo = (folder.path() / "fifo.xlsx").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string dir = folder.path().string(), samples = test::kSamples.string();
    const std::string missing = dir + "/missing", out = dir + "/w.xlsx";
    const std::string tooLong = "/tmp/" + std::string(300, 'n');
    struct Case {
        std::vector<std::string> args;
        std::string err;  // the line itself where it is given
        int status = 2;
    };
    const Case cases[] = {
        {{}, "pelmora-cli: missing COMMAND (try --help)\n"},
        {{"report"}, "pelmora-cli: report: missing FOLDER (try --help)\n"},
        {{"--crlf", "measures"}, "pelmora-cli: measures: missing FOLDER (try --help)\n"},
        {{"report", missing},
         "pelmora-cli: Could not open the folder \"" + missing +
             "\": No such file or directory.\n"},
        {{"types", file},
         "pelmora-cli: Could not open the folder \"" + file + "\": Not a directory.\n"},
        {{"report", dir, "extra"},
         "pelmora-cli: report: unexpected argument 'extra' (try --help)\n"},
        {{"frobnicate", dir}, "pelmora-cli: unknown command 'frobnicate' (try --help)\n"},
        {{"report", "--fast", dir}, "pelmora-cli: unknown option '--fast' (try --help)\n"},
        {{"report", tooLong},
         "pelmora-cli: Could not open the folder \"" + tooLong + "\": File name too long.\n"},
        {{"verify"}, ""},
        {{"verify", missing, samples}, ""},
        {{"verify", file, samples}, ""},
        {{"verify", file, samples, "extra"}, ""},
        {{"explain"}, ""},
        {{"matrix", missing}, ""},
        {{"quality", samples, "extra"}, ""},
        {{"record"}, ""},
        {{"record", samples, "--resamples", "0"}, ""},
        {{"stability", samples, "--block", "many"}, ""},
        {{"pairs"}, ""},
        {{"pairs", samples, "extra"}, ""},
        {{"concordance", samples, "--text", "nothing.txt"}, ""},
        {{"concordance", samples, "--measure", "d0"}, ""},
        {{"report", samples, "--measure", "it"}, ""},
        {{"workbook"}, ""},
        {{"workbook", samples}, ""},
        {{"workbook", samples, out, "extra"}, ""},
        {{"workbook", missing, out}, ""},
        {{"workbook", samples, missing + "/w.xlsx"}, "", 4},
        {{"workbook", samples, file + "/w.xlsx"},
         "pelmora-cli: Could not save \"" + file + "/w.xlsx\": Not a directory.\n",
         4},
        {{"workbook", samples, dir}, "", 4},
        {{"workbook", samples, fifo},
         "pelmora-cli: Could not save \"" + fifo +
             "\": it is a named pipe (FIFO), not a regular file.\n",
         4},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.size() << " " << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        }
    }
    // Nothing but what was there: no workbook, no temporary file, the named pipe as it was.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(Cli, HelpListsEverySubCommand) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"report", "--help"}, {"-h"}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Usage: pelmora-cli [--crlf] [--jobs N] COMMAND ARGUMENTS...\n", 0),
                  0u);
        for (const char* line : {"  report FOLDER", "  types FOLDER", "  measures FOLDER",
                                 "  0  success", "  1  verify", "  2  bad arguments",
                                 "  3  the output is complete", "  4  the output could not"}) {
            EXPECT_NE(r.out.find(line), std::string::npos) << line;
        }
    }
}

TEST(Cli, ReportOnTheSamplesIsTheMainFormsReport) {
    const fs::path samples = test::kSamples;
    const auto run = test::runFolder(samples);
    ASSERT_GT(run->analysedCount(), 7);
    const std::string report = run->report.text();

    const CliResult lf = runCli({"report", samples.string()});
    EXPECT_EQ(lf.status, 0);
    EXPECT_EQ(lf.err, "");
    EXPECT_EQ(lf.out, withLf(report));
    EXPECT_EQ(lf.out.find('\r'), std::string::npos);

    const CliResult crlf = runCli({"--crlf", "report", samples.string()});
    EXPECT_EQ(crlf.status, 0);
    EXPECT_EQ(crlf.out, report);
}

TEST(Cli, TypesAndMeasuresListEveryTextInRunOrder) {
    TempFolder folder;
    folder.write("a.txt", "");
    folder.write("b.txt", "The the the the.");
    folder.write("c.txt", "was walked was walked");

    const CliResult types = runCli({"types", folder.path().string()});
    EXPECT_EQ(types.status, 0);
    EXPECT_EQ(types.out, "11200\ta.txt\n20200\tb.txt\n00100\tc.txt\n");

    const CliResult measures = runCli({"measures", folder.path().string()});
    EXPECT_EQ(measures.status, 0);
    const std::vector<std::vector<std::string>> rows = test::tableRows(measures.out);
    ASSERT_EQ(rows.size(), 4u);
    const std::vector<std::string> header = test::splitFields(
        "name|code|class|text_length|word_length_avg|contractions|first_person|second_person|"
        "third_person|past_tense_words|past_tense_forms|definite_article|indefinite_article|it|"
        "obligation_count|obligation_density|affect_count|affect_density|quotes|d0|d1|d2|d3|d4|"
        "d5|d6|d7|d8|formality|personage|past_tenseness|obligation_intention|affect");
    EXPECT_EQ(rows[0], header);
    std::vector<std::string> emptyText = {"a.txt", "11200", "Unclassifiable"};
    emptyText.insert(emptyText.end(), 25, "0");
    emptyText.insert(emptyText.end(), {"Informal", "First Person", "Not Past Tense", "", ""});
    EXPECT_EQ(rows[1], emptyText);  // the figures of texts with words are the pipeline tests'
}

TEST(Cli, FileOrLinkLeftOutIsNamedOnStderrAndInTheReportAndWorkbookAndExitsWithThree) {
    TempFolder folder, scratch;
    folder.write("a.txt", "");
    fs::resize_file(folder.write("huge.txt", ""), (1ull << 30) + 1);  // sparse
    const CliResult r = runCli({"report", folder.path().string()});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "pelmora-cli: left out huge.txt: File too large (over 1 GiB)\n");
    const std::string tail = std::string("The following files could not be read and were left ") +
                             "out:\nhuge.txt\tFile too large (over 1 GiB)\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);

    // The workbook is written all the same, and says so.
    const fs::path out = scratch.path() / "w.xlsx";
    EXPECT_EQ(runCli({"workbook", folder.path().string(), out.string()}).status, 3);
    const test::Workbook book = test::readWorkbook(out);
    ASSERT_EQ(book.problem, "");
    const test::WorkbookSheet& quality = book.sheets.at("Quality");
    ASSERT_EQ(quality.rows.size(), 3u);
    EXPECT_EQ(quality.texts(2).front(), "huge.txt");
    EXPECT_EQ(quality.texts(2).back(), "left out as unreadable: File too large (over 1 GiB)");

    // A link to nothing is a file that was not analysed: status 0 would claim it was.
    TempFolder linked;
    linked.write("a.txt", "");
    linked.write("notes.docx", "x");
    fs::create_symlink("gone.txt", linked.path() / "broken.txt");
    const CliResult report = runCli({"report", linked.path().string()});
    EXPECT_EQ(report.status, 3);
    EXPECT_EQ(report.err, "pelmora-cli: left out broken.txt: Dangling link\n");
    EXPECT_TRUE(report.out.ends_with("left out:\nbroken.txt\tDangling link\n")) << report.out;
    // The quality of the run ends with what the folder holds besides its texts.
    const CliResult q = runCli({"quality", linked.path().string()});
    EXPECT_EQ(q.status, 3);
    EXPECT_TRUE(
        q.out.ends_with("broken.txt\t\t\t\t\tleft out as unreadable: Dangling link\n\n"
                        "2 warnings\n1 other file not listed: 1 .docx\n"))
        << q.out;
}

TEST(Cli, OutputThatCannotBeWrittenExitsWithFourAndOneLine) {
    TempFolder folder;
    // Enough pairs that the report outgrows a pipe's buffer.
    for (int i = 0; i < 120; ++i) {
        folder.write("text " + std::to_string(i) + ".txt", i % 2 ? "The the the." : "I was.");
    }
    folder.write("record.txt", runCli({"record", folder.path().string()}).out);
    const std::string dir = shellQuoted(folder.path().string());
    for (const std::string command :
         {"report", "types", "measures", "explain", "matrix", "quality", "record", "authors"}) {
        const CliResult full = runShell("\"$CLI\" " + command + " " + dir + " >/dev/full");
        EXPECT_EQ(full.status, 4) << command;
        EXPECT_EQ(full.err, "pelmora-cli: cannot write the output: No space left on device\n")
            << command;
    }
    const CliResult verify =
        runShell("\"$CLI\" verify " + dir + "/record.txt " + dir + " >/dev/full");
    EXPECT_EQ(verify.status, 4);
    EXPECT_EQ(runShell("\"$CLI\" --help >/dev/full").status, 4);
    const CliResult closed =
        runShell("\"$CLI\" report " + dir + " | head -c 10 >/dev/null; exit ${PIPESTATUS[0]}");
    EXPECT_EQ(closed.status, 4);
    EXPECT_EQ(closed.err, "pelmora-cli: cannot write the output: Broken pipe\n");
}

TEST(Cli, TerminalsSeeControlCharactersInNamesEscapedAndPipesTheExactText) {
    TempFolder folder;
    folder.write("red\x1b[31m.txt", "The the.");
    folder.write("plain.txt", "I was.");
    const std::string dir = shellQuoted(folder.path().string());
    const CliResult piped = runCli({"types", folder.path().string()});
    EXPECT_EQ(piped.out, "01200\tplain.txt\n20200\tred\x1b[31m.txt\n");
    // script gives the program a terminal of its own and copies what it wrote.
    const CliResult terminal =
        runShell("script -qec \"$(printf '%q' \"$CLI\") types " + dir + "\" /dev/null");
    EXPECT_NE(terminal.out.find("20200\tred\\x1b[31m.txt"), std::string::npos) << terminal.out;
    EXPECT_EQ(terminal.out.find('\x1b'), std::string::npos);
    const CliResult report =
        runShell("script -qec \"$(printf '%q' \"$CLI\") report " + dir + "\" /dev/null");
    EXPECT_NE(report.out.find("plain.txt-red\\x1b[31m.txt\t3"), std::string::npos) << report.out;
    EXPECT_EQ(report.out.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace pelmora
