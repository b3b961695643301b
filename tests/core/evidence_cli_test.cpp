#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/cli_runner.h"
#include "tests/support/report_pairs.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

using test::readAll;
using test::runCli;
using test::TempFolder;

const fs::path kSamples = fs::path(PELMORA_SOURCE_DIR) / "samples";

TEST(EvidenceCli, RecordThenVerifyPassesUnchangedAndNamesTheChangedFile) {
    const TempFolder scratch;
    const fs::path corpus = scratch.path() / "corpus, copy";
    fs::copy(kSamples, corpus);
    const test::CliResult record = runCli({"record", corpus.string()});
    ASSERT_EQ(record.status, 0) << record.err;
    scratch.write("record.txt", record.out);
    EXPECT_EQ(record.out.rfind("Pelmora run record\nversion\t", 0), 0u);

    const test::CliResult same =
        runCli({"verify", (scratch.path() / "record.txt").string(), corpus.string()});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out.rfind("Unchanged: ", 0), 0u) << same.out;

    // One byte of one file, keeping its size.
    const fs::path changed = corpus / "parking_notice.txt";
    std::string bytes = readAll(changed);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'x' ? 'y' : 'x';
    std::ofstream(changed, std::ios::binary | std::ios::trunc) << bytes;
    const test::CliResult differs =
        runCli({"verify", (scratch.path() / "record.txt").string(), corpus.string()});
    EXPECT_EQ(differs.status, 1) << differs.err;
    EXPECT_NE(differs.out.find("parking_notice.txt: content changed"), std::string::npos)
        << differs.out;
    EXPECT_EQ(differs.out.find("letter_to_gran.txt"), std::string::npos) << differs.out;
}

TEST(EvidenceCli, ExplainMatrixAndQualityCoverEveryTextOfTheSamples) {
    std::size_t texts = 0;
    for (const auto& entry : fs::directory_iterator(kSamples)) {
        texts += entry.path().extension() == ".txt" ? 1 : 0;
    }
    const test::CliResult explain = runCli({"explain", kSamples.string()});
    ASSERT_EQ(explain.status, 0) << explain.err;
    std::size_t codes = 0;
    for (std::size_t at = 0; (at = explain.out.find("\nCode: ", at)) != std::string::npos; ++at) {
        ++codes;
    }
    EXPECT_EQ(codes, texts);
    EXPECT_EQ(explain.out.find("Warning:"), std::string::npos);
    EXPECT_EQ(explain.out.find('\r'), std::string::npos);

    // The matrix is numbers only: a row of names, then a row per text of as many cells.
    const test::CliResult matrix = runCli({"matrix", kSamples.string()});
    ASSERT_EQ(matrix.status, 0) << matrix.err;
    const std::vector<std::string> rows = test::textLines(matrix.out);
    ASSERT_EQ(rows.size(), texts + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<std::string> cells = test::splitFields(rows[r], '\t');
        ASSERT_EQ(cells.size(), texts + 1) << rows[r];
        for (std::size_t c = 1; r > 0 && c < cells.size(); ++c) {
            EXPECT_TRUE(c == r ? cells[c].empty()
                               : cells[c].size() == 1 && cells[c][0] >= '0' && cells[c][0] <= '5')
                << rows[r];
        }
    }

    const test::CliResult quality = runCli({"quality", kSamples.string()});
    ASSERT_EQ(quality.status, 0) << quality.err;
    EXPECT_EQ(quality.out.rfind("name\tencoding\tsize\twords\tsame_bytes_as\twarnings\n", 0), 0u);
}

TEST(EvidenceCli, NamesThatDisplayAlikeAreTwoTextsAndVerifyCleanlyFromAPipe) {
    const TempFolder folder;
    folder.write("caf\xE9.txt", "The the the.");
    folder.write("café.txt", "I was there.");
    const test::CliResult types = runCli({"types", folder.path().string()});
    EXPECT_EQ(types.out, "01200\tcafé.txt\n20200\tcafé.txt\n");
    const test::CliResult report = runCli({"report", folder.path().string()});
    EXPECT_NE(report.out.find("\ncafé.txt-café.txt\t3\n"), std::string::npos) << report.out;
    const std::string dir = test::shellQuoted(folder.path().string());
    const test::CliResult piped =
        test::runShell("\"$CLI\" record " + dir + " | \"$CLI\" verify - " + dir);
    EXPECT_EQ(piped.status, 0) << piped.out << piped.err;
    EXPECT_EQ(piped.out, "Unchanged: 2 files, every file and code as recorded.\n");
    const test::CliResult record = runCli({"record", folder.path().string()});
    EXPECT_NE(record.out.find("\tcaf\\xE9.txt\n"), std::string::npos) << record.out;
}

TEST(EvidenceCli, ConcordanceRowsAddUpToTheCountsAndExplainNamesTheWords) {
    const test::CliResult measures = runCli({"measures", kSamples.string()});
    const test::CliResult all = runCli({"concordance", kSamples.string()});
    ASSERT_EQ(all.status, 0) << all.err;
    std::istringstream table(measures.out), rows(all.out);
    std::string line;
    std::getline(table, line);
    const std::vector<std::string> header = test::splitFields(line, '\t');
    std::map<std::pair<std::string, std::string>, int> counted;
    std::getline(rows, line);
    EXPECT_EQ(line, "text\tmeasure\tpattern\tform\tstart\tend\tleft\tright\tinside_word");
    while (std::getline(rows, line)) {
        const std::vector<std::string> f = test::splitFields(line, '\t');
        ASSERT_EQ(f.size(), 9u) << line;
        ++counted[{f[0], f[1]}];
    }
    int texts = 0;
    while (std::getline(table, line)) {
        const std::vector<std::string> f = test::splitFields(line, '\t');
        ++texts;
        for (const char* column : {"contractions", "first_person", "past_tense_forms", "it",
                                   "obligation_count", "affect_count", "quotes"}) {
            const auto at = std::find(header.begin(), header.end(), column) - header.begin();
            const int count = counted[std::make_pair(f[0], std::string(column))];
            EXPECT_EQ(count, std::stoi(f[static_cast<std::size_t>(at)])) << f[0] << " " << column;
        }
    }
    EXPECT_EQ(texts, 10);

    const test::CliResult diary = runCli({"concordance", kSamples.string(), "--text",
                                          "diary_sunday.txt", "--measure", "obligation_count"});
    ASSERT_EQ(diary.status, 0) << diary.err;
    EXPECT_EQ(std::count(diary.out.begin(), diary.out.end(), '\n'), 6);
    EXPECT_NE(diary.out.find("\tshouldn't\tshouldn't\t538\t547\t"), std::string::npos);
    const test::CliResult explain = runCli({"explain", kSamples.string()});
    EXPECT_NE(explain.out.find("modal verbs 5: will 1, need 1 (in needed), should 2 (in "
                               "shouldn't, shoulders), shouldn't 1;"),
              std::string::npos);
    EXPECT_EQ(runCli({"concordance", kSamples.string(), "--text", "nothing.txt"}).status, 2);
    EXPECT_EQ(runCli({"concordance", kSamples.string(), "--measure", "d0"}).status, 2);
    EXPECT_EQ(runCli({"report", kSamples.string(), "--measure", "it"}).status, 2);
}

TEST(EvidenceCli, PairsAreTheReportsPairLinesWithTheirFlags) {
    const test::CliResult report = runCli({"report", kSamples.string()});
    const test::CliResult pairs = runCli({"pairs", kSamples.string()});
    ASSERT_EQ(pairs.status, 0) << pairs.err;
    const test::ReportedPairs reported = test::reportedPairs(report.out);
    ASSERT_EQ(reported.all.size(), 45u);
    ASSERT_FALSE(reported.significant.empty());
    const std::vector<std::string> rows = test::textLines(pairs.out);
    ASSERT_EQ(rows.size(), reported.all.size() + 1);
    EXPECT_EQ(rows[0], "text 1\ttext 2\tstrength\tminimal\tsignificant");
    for (std::size_t k = 0; k < reported.all.size(); ++k) {
        const std::vector<std::string> f = test::splitFields(rows[k + 1], '\t');
        ASSERT_EQ(f.size(), 5u) << rows[k + 1];
        const std::string line = f[0] + "-" + f[1] + "\t" + f[2];
        EXPECT_EQ(line, reported.all[k]);
        EXPECT_EQ(f[3], reported.minimal.count(line) ? "yes" : "no") << line;
        EXPECT_EQ(f[4], reported.significant.count(line) ? "yes" : "no") << line;
    }
}

TEST(EvidenceCli, BadArgumentsAndBrokenRecordsExitWithTwo) {
    const TempFolder scratch;
    scratch.write("not a record.txt", "hello\n");
    const std::vector<std::vector<std::string>> cases = {
        {"verify"},
        {"verify", (scratch.path() / "missing record.txt").string(), kSamples.string()},
        {"verify", (scratch.path() / "not a record.txt").string(), kSamples.string()},
        {"verify", (scratch.path() / "not a record.txt").string(), kSamples.string(), "extra"},
        {"explain"},
        {"matrix", (scratch.path() / "no such folder").string()},
        {"quality", kSamples.string(), "extra"},
        {"record"},
        {"pairs"},
        {"pairs", kSamples.string(), "extra"},
    };
    for (const auto& args : cases) {
        const test::CliResult o = runCli(args);
        EXPECT_EQ(o.status, 2) << args.size() << " " << o.out;
        EXPECT_TRUE(o.out.empty()) << o.out;
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    }
}

}  // namespace
}  // namespace pelmora
