#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/form2.h"
#include "app/program_context.h"
#include "tests/support/cli_runner.h"
#include "tests/support/report_texts.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::readAll;
using test::runCli;
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

TEST(Cli, BadArgumentsGiveOneLineOnStderrAndStatus2) {
    TempFolder folder;
    const fs::path file = folder.write("file.txt", "x");
    const std::string missing = (folder.path() / "missing").string();
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{}, "pelmora-cli: missing COMMAND (try --help)\n"},
        {{"report"}, "pelmora-cli: report: missing FOLDER (try --help)\n"},
        {{"--crlf", "measures"}, "pelmora-cli: measures: missing FOLDER (try --help)\n"},
        {{"report", missing},
         "pelmora-cli: Could not open the folder \"" + missing +
             "\": No such file or directory.\n"},
        {{"types", file.string()},
         "pelmora-cli: Could not open the folder \"" + file.string() + "\": Not a directory.\n"},
        {{"report", folder.path().string(), "extra"},
         "pelmora-cli: report: unexpected argument 'extra' (try --help)\n"},
        {{"frobnicate", folder.path().string()},
         "pelmora-cli: unknown command 'frobnicate' (try --help)\n"},
        {{"report", "--fast", folder.path().string()},
         "pelmora-cli: unknown option '--fast' (try --help)\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
    }
}

TEST(Cli, HelpListsEverySubCommand) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"report", "--help"}, {"-h"}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Usage: pelmora-cli [--crlf] COMMAND ARGUMENTS...\n", 0), 0u);
        for (const char* command : {"  report FOLDER", "  types FOLDER", "  measures FOLDER"}) {
            EXPECT_NE(r.out.find(command), std::string::npos) << command;
        }
    }
}

TEST(Cli, ReportOnTheSamplesIsTheMainFormsReport) {
    const fs::path samples = fs::path(PELMORA_SOURCE_DIR) / "samples";
    ProgramContext context(samples);
    context.form2().cmdAuto();
    const std::string report = context.form2().txtReport.text();
    ASSERT_GT(context.form2().runMeasures.size(), 7u);

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
    std::vector<std::vector<std::string>> rows;
    std::stringstream in(measures.out);
    for (std::string line; std::getline(in, line);) {
        rows.push_back(test::splitFields(line, '\t'));
    }
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
    EXPECT_EQ(rows[1], emptyText);

    const auto cell = [&](std::size_t row, const std::string& column) {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == column && i < rows[row].size()) {
                return rows[row][i];
            }
        }
        return std::string("<missing>");
    };
    EXPECT_EQ(cell(2, "code"), "20200");
    EXPECT_EQ(cell(2, "definite_article"), "2");
    EXPECT_EQ(cell(2, "d6"), "0.5");
    EXPECT_EQ(cell(2, "formality"), "Formal");
    EXPECT_EQ(cell(3, "past_tense_words"), "2");
    EXPECT_EQ(cell(3, "past_tense_forms"), "2");
    EXPECT_EQ(cell(3, "past_tenseness"), "Past Tense");
}

TEST(Cli, FileLeftOutIsNamedOnStderrAndInTheReport) {
    TempFolder folder;
    folder.write("a.txt", "");
    fs::resize_file(folder.write("huge.txt", ""), 64ull * 1024 * 1024 + 1);  // sparse
    const CliResult r = runCli({"report", folder.path().string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "pelmora-cli: left out huge.txt: File too large (over 64 MiB)\n");
    const std::string tail = std::string("The following files could not be read and were left ") +
                             "out:\nhuge.txt\tFile too large (over 64 MiB)\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
}

}  // namespace
}  // namespace pelmora
