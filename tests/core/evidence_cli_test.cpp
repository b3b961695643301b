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
#include "tests/support/workbook_reader.h"

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
    // With stability: verify resamples again as the record says and finds the same figures.
    const test::CliResult record =
        runCli({"record", corpus.string(), "--resamples", "30", "--block", "40"});
    ASSERT_EQ(record.status, 0) << record.err;
    scratch.write("record.txt", record.out);
    EXPECT_EQ(record.out.rfind("Pelmora run record\nversion\t", 0), 0u);
    EXPECT_NE(record.out.find("\nresampling\t30\t40\t"), std::string::npos);

    const test::CliResult same =
        runCli({"verify", (scratch.path() / "record.txt").string(), corpus.string()});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out, "Unchanged: 10 files, every file and code and every stability figure as "
                        "recorded.\n");

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

// The rows of a tab-separated table as the command line prints it.
std::vector<std::vector<std::string>> tableRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : test::textLines(out)) {
        rows.push_back(test::splitFields(line, '\t'));
    }
    return rows;
}

// Every cell of a sheet row past its `from`th, against the same row of a table: text cells
// hold the table's text, number cells its value.
void expectSameRow(const test::WorkbookSheet& sheet, std::size_t row,
                   const std::vector<std::string>& cells, std::size_t from, const char* what) {
    for (std::size_t c = from; c < cells.size(); ++c) {
        const test::WorkbookCell* cell = sheet.at(row, c);
        if (cells[c].empty()) {
            EXPECT_TRUE(cell == nullptr || cell->text.empty()) << what << " " << row << " " << c;
            continue;
        }
        ASSERT_NE(cell, nullptr) << what << " " << row << " " << c;
        if (cell->kind == test::WorkbookCell::Kind::Number) {
            EXPECT_EQ(std::stod(cell->text), std::stod(cells[c])) << what << " " << row << " " << c;
        } else {
            EXPECT_EQ(cell->kind, test::WorkbookCell::Kind::Text) << what << " " << row << " " << c;
            EXPECT_EQ(cell->text, cells[c]) << what << " " << row << " " << c;
        }
    }
}

TEST(EvidenceCli, WorkbookHoldsTheFiguresOfEveryTable) {
    const TempFolder scratch;
    const fs::path file = scratch.path() / "samples.xlsx";
    const test::CliResult written = runCli({"workbook", kSamples.string(), file.string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(written.err, "");
    const test::Workbook book = test::readWorkbook(file);
    ASSERT_EQ(book.problem, "");
    EXPECT_EQ(book.names, (std::vector<std::string>{"Report", "Types", "Measures", "Pairs",
                                                    "Matrix", "Quality", "Run record"}));

    const auto sameTable = [&](const char* command, const char* sheetName, std::size_t firstRow,
                               std::size_t tableRowCount = 0) {
        auto rows = tableRows(runCli({command, kSamples.string()}).out);
        if (tableRowCount > 0) {
            rows.resize(tableRowCount);  // what follows the table is not of it
        }
        const test::WorkbookSheet& sheet = book.sheets.at(sheetName);
        ASSERT_EQ(sheet.rows.size(), rows.size()) << sheetName;
        for (std::size_t r = firstRow; r < rows.size(); ++r) {
            expectSameRow(sheet, r, rows[r], 0, sheetName);
        }
    };
    sameTable("pairs", "Pairs", 0);
    sameTable("matrix", "Matrix", 0);
    sameTable("quality", "Quality", 0, 11);
    sameTable("measures", "Measures", 1);  // its column names are the readable ones

    // The types command prints code and name, as the sheet has them, the code a text cell.
    const auto types = tableRows(runCli({"types", kSamples.string()}).out);
    const test::WorkbookSheet& typesSheet = book.sheets.at("Types");
    ASSERT_EQ(typesSheet.rows.size(), types.size() + 1);
    for (std::size_t r = 0; r < types.size(); ++r) {
        expectSameRow(typesSheet, r + 1, types[r], 0, "Types");
        EXPECT_EQ(typesSheet.at(r + 1, 0)->kind, test::WorkbookCell::Kind::Text);
        EXPECT_EQ(book.sheets.at("Measures").at(r + 1, 1)->kind, test::WorkbookCell::Kind::Text);
    }

    std::vector<std::string> report = test::textLines(runCli({"report", kSamples.string()}).out);
    while (!report.empty() && report.back().empty()) {
        report.pop_back();  // a sheet's empty last rows are no rows
    }
    const test::WorkbookSheet& reportSheet = book.sheets.at("Report");
    ASSERT_EQ(reportSheet.rows.size(), report.size());
    for (std::size_t r = 0; r < report.size(); ++r) {
        const std::vector<std::string> cells = reportSheet.texts(r);
        std::string joined;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            joined += (c == 0 ? "" : "\t") + cells[c];
        }
        EXPECT_EQ(joined, report[r]) << r;
    }

    // The record's files as `record` lists them: size, digest, encoding, code, name.
    const std::vector<std::string> record =
        test::textLines(runCli({"record", kSamples.string()}).out);
    const test::WorkbookSheet& recordSheet = book.sheets.at("Run record");
    std::size_t files = 0;
    for (const std::string& line : record) {
        const std::vector<std::string> f = test::splitFields(line, '\t');
        if (f[0] != "file") {
            continue;
        }
        ++files;
        expectSameRow(recordSheet, 4 + files, {f[5], f[1], f[2], f[3], f[4]}, 0, "Run record");
    }
    EXPECT_EQ(files, 10u);
}

TEST(EvidenceCli, WorkbookExitStatuses) {
    const TempFolder scratch;
    const fs::path out = scratch.path() / "w.xlsx";
    const fs::path aFile = scratch.write("file.txt", "x");
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"workbook"}, 2},
        {{"workbook", kSamples.string()}, 2},
        {{"workbook", kSamples.string(), out.string(), "extra"}, 2},
        {{"workbook", (scratch.path() / "no such folder").string(), out.string()}, 2},
        {{"workbook", kSamples.string(), (scratch.path() / "none" / "w.xlsx").string()}, 4},
        {{"workbook", kSamples.string(), (aFile / "w.xlsx").string()}, 4},
        {{"workbook", kSamples.string(), scratch.path().string()}, 4},
    };
    for (const Case& c : cases) {
        const test::CliResult o = runCli(c.args);
        EXPECT_EQ(o.status, c.status) << c.args.size() << " " << o.err;
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    }
    EXPECT_EQ(runCli({"workbook", kSamples.string(), aFile.string() + "/w.xlsx"}).err,
              "pelmora-cli: Could not save \"" + aFile.string() + "/w.xlsx\": Not a directory.\n");
    EXPECT_FALSE(fs::exists(out));
    // Nothing but the file that was there: no workbook, no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()), 1);

    // A file left out: the workbook is written all the same, and says so.
    const TempFolder corpus;
    corpus.write("a.txt", "The the the.");
    fs::resize_file(corpus.write("huge.txt", ""), (1ull << 30) + 1);  // sparse
    const test::CliResult leftOut = runCli({"workbook", corpus.path().string(), out.string()});
    EXPECT_EQ(leftOut.status, 3) << leftOut.err;
    const test::Workbook book = test::readWorkbook(out);
    ASSERT_EQ(book.problem, "");
    const test::WorkbookSheet& quality = book.sheets.at("Quality");
    ASSERT_EQ(quality.rows.size(), 3u);
    EXPECT_EQ(quality.texts(2).front(), "huge.txt");
    EXPECT_EQ(quality.texts(2).back(), "left out as unreadable: File too large (over 1 GiB)");
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
        {"record", kSamples.string(), "--resamples", "0"},
        {"stability", kSamples.string(), "--block", "many"},
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
