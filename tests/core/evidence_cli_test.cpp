#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

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
using test::runShell;
using test::tableRows;
using test::TempFolder;

using test::kSamples;

TEST(EvidenceCli, RecordThenVerifyPassesUnchangedAndNamesTheChangedFile) {
    const TempFolder scratch;
    const fs::path corpus = scratch.path() / "corpus, copy";
    fs::copy(kSamples, corpus);
    // With stability: verify resamples again as the record says and finds the same figures.
    const test::CliResult record =
        runCli({"record", corpus.string(), "--resamples", "30", "--block", "40"});
    ASSERT_EQ(record.status, 0) << record.err;
    const std::string path = scratch.write("record.txt", record.out).string();
    EXPECT_EQ(record.out.rfind("Pelmora run record, format 2\nversion\t", 0), 0u);
    EXPECT_NE(record.out.find("\nresampling\t30\t40\t"), std::string::npos);
    // The end line holds what the system's own tools count and digest of the lines above it,
    // and --crlf leaves a record as it is.
    const std::string quoted = test::shellQuoted(path);
    const test::CliResult tools =
        runShell("head -n -1 " + quoted + " | wc -l; head -n -1 " + quoted +
                 " | sha256sum | cut -c1-64; tail -n 1 " + quoted + " | cut -f 2,3");
    const std::vector<std::string> counted = test::textLines(tools.out);
    ASSERT_EQ(counted.size(), 3u) << tools.out << tools.err;
    EXPECT_EQ(counted[2], counted[0] + "\t" + counted[1]);
    const test::CliResult crlf = runCli({"--crlf", "record", corpus.string()});
    EXPECT_EQ(crlf.out.find('\r'), std::string::npos);

    const test::CliResult same = runCli({"verify", path, corpus.string()});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_EQ(same.out,
              "Unchanged: 10 files, every file and code and every stability figure as "
              "recorded.\n");
    // Cut after any line, it is refused naming where it ends; written the way records were
    // before they had an end line, it is read and said to be unable to show it is whole.
    const std::vector<std::string> lines = test::textLines(record.out);
    const std::string cut =
        scratch.write("cut.txt", record.out.substr(0, record.out.find("\nresampled\t") + 1))
            .string();
    const test::CliResult refused = runCli({"verify", cut, corpus.string()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "pelmora-cli: " + cut +
                               ": The run record is incomplete at line 17: it "
                               "ends after this line, without its end line.\n");
    std::string old = "Pelmora run record\n";
    for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
        old += lines[i] + "\n";
    }
    const test::CliResult oldRecord =
        runCli({"verify", scratch.write("old.txt", old).string(), corpus.string()});
    EXPECT_EQ(oldRecord.status, 0) << oldRecord.err;
    EXPECT_EQ(oldRecord.out,
              "The record has no end line (it was written before records had one), so it cannot "
              "show that it is whole.\nUnchanged: 10 files, every file and code and every "
              "stability figure as recorded.\n");

    // One byte of one file, keeping its size.
    const fs::path changed = corpus / "parking_notice.txt";
    std::string bytes = readAll(changed);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() / 2] = bytes[bytes.size() / 2] == 'x' ? 'y' : 'x';
    std::ofstream(changed, std::ios::binary | std::ios::trunc) << bytes;
    const test::CliResult differs = runCli({"verify", path, corpus.string()});
    EXPECT_EQ(differs.status, 1) << differs.err;
    const std::string size = std::to_string(bytes.size());
    EXPECT_EQ(differs.out, "Changed since the record:\nparking_notice.txt: content changed (" +
                               size + " bytes, now " + size + " bytes; SHA-256 differs)\n");
}

// A text that reads differently each time (the process's own input counts) is analysed, then
// changed when it is resampled: stability, record and verify write everything else, state
// that text in its rows, and exit 3 (complete, but something left out) or 1 (verify differs).
TEST(EvidenceCli, ATextChangedWhileResampledIsStatedAndTheOutputIsComplete) {
    const TempFolder folder, scratch;
    for (const char* name : {"diary_sunday.txt", "letter_to_gran.txt"}) {
        fs::copy_file(kSamples / name, folder.path() / name);
    }
    fs::create_symlink("/proc/self/io", folder.path() / "io.txt");
    fs::resize_file(folder.write("huge.txt", ""), (1ull << 30) + 1);  // sparse, left out
    const std::vector<std::string> options{"--resamples", "5", "--block", "20"};
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), options.begin(), options.end());
        return runCli(args);
    };
    const std::string stated =
        "pelmora-cli: left out huge.txt: File too large (over 1 GiB)\n"
        "pelmora-cli: not resampled io.txt: changed since the run\n";
    const test::CliResult stability = run({"stability", folder.path().string()});
    EXPECT_EQ(stability.status, 3);
    EXPECT_EQ(stability.err, stated);
    const auto rows = tableRows(stability.out);
    ASSERT_EQ(rows.size(), 16u) << stability.out;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const bool io = rows[r][0] == "io.txt";
        ASSERT_EQ(rows[r].size(), 6u) << r;
        EXPECT_EQ(rows[r][3] == "not measured: changed since the run", io) << r;
        EXPECT_EQ(rows[r][5] == "yes" || rows[r][5] == "no", !io) << r;
    }

    const test::CliResult record = run({"record", folder.path().string()});
    EXPECT_EQ(record.status, 3);
    EXPECT_EQ(record.err, stated);
    EXPECT_NE(record.out.find("\nnot measured\tchanged since the run\tio.txt\n"), std::string::npos)
        << record.out;
    const test::CliResult verify =
        runCli({"verify", scratch.write("r.txt", record.out).string(), folder.path().string()});
    EXPECT_EQ(verify.status, 1) << verify.err;
    const std::vector<std::string> out = test::textLines(verify.out);
    ASSERT_EQ(out.size(), 3u) << verify.out;
    EXPECT_EQ(out[0], "Changed since the record:");
    EXPECT_EQ(out[1].rfind("io.txt: content changed (", 0), 0u);
    EXPECT_EQ(out[2], "io.txt: could not be resampled now (changed since the run)");
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
}

TEST(EvidenceCli, ConcordanceRowsAddUpToTheCountsAndExplainCoversEveryText) {
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
    // Explain gives every text its evidence, with the words behind each count.
    const test::CliResult explain = runCli({"explain", kSamples.string()});
    ASSERT_EQ(explain.status, 0) << explain.err;
    std::size_t codes = 0;
    for (std::size_t at = 0; (at = explain.out.find("\nCode: ", at)) != std::string::npos; ++at) {
        ++codes;
    }
    EXPECT_EQ(codes, 10u);
    EXPECT_EQ(explain.out.find("Warning:"), std::string::npos);
    EXPECT_EQ(explain.out.find('\r'), std::string::npos);
    EXPECT_NE(explain.out.find("modal verbs 5: will 1, need 1 (in needed), should 2 (in "
                               "shouldn't, shoulders), shouldn't 1;"),
              std::string::npos);
}

// Every cell of a sheet row against the same row of a table: text cells hold the table's
// text, number cells its value, and the sheet has no cell beyond the table's.
void expectSameRow(const test::WorkbookSheet& sheet, std::size_t row,
                   const std::vector<std::string>& cells, const char* what) {
    EXPECT_LE(sheet.texts(row).size(), cells.size()) << what << " " << row;
    for (std::size_t c = 0; c < cells.size(); ++c) {
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

// The table commands print what the sheets hold, cell for cell.
TEST(EvidenceCli, WorkbookHoldsTheFiguresOfEveryTable) {
    const TempFolder scratch;
    const fs::path file = scratch.path() / "samples.xlsx";
    const test::CliResult written = runCli({"workbook", kSamples.string(), file.string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(written.err, "");
    const test::Workbook book = test::readWorkbook(file);
    ASSERT_EQ(book.problem, "");
    EXPECT_EQ(book.names, (std::vector<std::string>{"Summary", "Report", "Types", "Measures",
                                                    "Pairs", "Matrix", "Quality", "Run record"}));
    // Asked for, the stability has a sheet of its own, as the stability command prints it.
    const fs::path measured = scratch.path() / "measured.xlsx";
    const test::CliResult withStability =
        runCli({"workbook", kSamples.string(), measured.string(), "--resamples", "5"});
    ASSERT_EQ(withStability.status, 0) << withStability.err;
    const test::Workbook stable = test::readWorkbook(measured);
    ASSERT_EQ(stable.problem, "");
    EXPECT_EQ(stable.names.at(7), "Stability");
    EXPECT_EQ(stable.sheets.at("Stability").rows.size(),
              tableRows(runCli({"stability", kSamples.string(), "--resamples", "5"}).out).size());

    // The sheet's rows from `sheetRow` on are the command's from `firstRow` on.
    const auto sameTable = [&](const char* command, const char* sheetName, std::size_t firstRow,
                               std::size_t sheetRow = 0) {
        auto rows = tableRows(runCli({command, kSamples.string()}).out);
        if (command == std::string("quality")) {
            // The count of warnings that follows the table is not of it.
            EXPECT_EQ(rows.back(), std::vector<std::string>{"No input warnings"});
            rows.resize(rows.size() - 2);  // and the empty line before it
        }
        while (rows.back() == std::vector<std::string>{""}) {
            rows.pop_back();  // a sheet's empty last rows are no rows
        }
        const test::WorkbookSheet& sheet = book.sheets.at(sheetName);
        ASSERT_EQ(sheet.rows.size(), rows.size() + sheetRow) << sheetName;
        for (std::size_t r = firstRow; r < rows.size(); ++r) {
            expectSameRow(sheet, r + sheetRow, rows[r], sheetName);
        }
    };
    sameTable("report", "Report", 0);
    sameTable("pairs", "Pairs", 0);
    sameTable("matrix", "Matrix", 0);
    sameTable("quality", "Quality", 0);
    sameTable("measures", "Measures", 1);  // its column names are the readable ones
    sameTable("types", "Types", 0, 1);     // the command prints no column names
    const test::WorkbookSheet &types = book.sheets.at("Types"),
                              &measures = book.sheets.at("Measures");
    for (std::size_t r = 1; r < types.rows.size() && r < measures.rows.size(); ++r) {
        EXPECT_EQ(types.at(r, 0)->kind, test::WorkbookCell::Kind::Text) << r;
        EXPECT_EQ(measures.at(r, 1)->kind, test::WorkbookCell::Kind::Text) << r;
    }

    // The record's files as `record` lists them: size, digest, encoding, code, name.
    std::size_t files = 0;
    for (const std::string& line : test::textLines(runCli({"record", kSamples.string()}).out)) {
        const std::vector<std::string> f = test::splitFields(line, '\t');
        if (f[0] == "file") {
            ++files;
            expectSameRow(book.sheets.at("Run record"), 4 + files, {f[5], f[1], f[2], f[3], f[4]},
                          "Run record");
        }
    }
    EXPECT_EQ(files, 10u);
}

// Of a run of 363 texts, 65,703 pairs, the workbook keeps the header and 65,533 pairs between
// two notes in 65,536 rows, and 255 texts of the Matrix, unless asked for all rows.
TEST(EvidenceCli, AWorkbookKeepsTheFirstPairsOfALargeRunUnlessAskedForAllRows) {
    const TempFolder texts, out;
    const std::string sample = readAll(kSamples / "letter_to_gran.txt");
    for (int k = 0; k < 363; ++k) {
        texts.write("t" + std::to_string(1000 + k).substr(1) + ".txt", sample);  // t000.txt
    }
    const fs::path kept = out.path() / "kept.xlsx", all = out.path() / "all.xlsx";
    ASSERT_EQ(runCli({"workbook", texts.path().string(), kept.string()}).status, 0);
    ASSERT_EQ(runCli({"workbook", "--all-rows", texts.path().string(), all.string()}).status, 0);

    const test::Workbook book = test::readWorkbook(kept);
    ASSERT_EQ(book.problem, "");
    const std::string why =
        " left out: the workbook keeps 65536 rows of this sheet, so that a spreadsheet opens it "
        "quickly. ";
    const test::WorkbookSheet& pairs = book.sheets.at("Pairs");
    const std::string note =
        "170 more pairs" + why + "\"Export pairs…\" and pelmora-cli pairs write them all.";
    ASSERT_EQ(pairs.rows.size(), 65'536u);
    EXPECT_EQ(pairs.texts(0), std::vector<std::string>{note});
    EXPECT_EQ(pairs.texts(2), (std::vector<std::string>{"t000.txt", "t001.txt", "5", "no", "no"}));
    // The 170 left out are the 153 pairs of t345 to t361 and the last 17 of t344's 18.
    EXPECT_EQ(pairs.texts(65'534),
              (std::vector<std::string>{"t344.txt", "t345.txt", "5", "no", "no"}));
    EXPECT_EQ(pairs.texts(65'535), std::vector<std::string>{note});
    const std::vector<std::string> reportNote = book.sheets.at("Report").texts(0);
    ASSERT_EQ(reportNote.size(), 1u);
    EXPECT_NE(reportNote[0].find(" more lines of the report" + why + "\"Save report…\""),
              std::string::npos);
    // The Matrix keeps 255 texts across, their names, and a row for each note.
    const test::WorkbookSheet& matrix = book.sheets.at("Matrix");
    const std::string matrixNote =
        "The first 255 of 363 texts, as many as the workbook keeps, so that a spreadsheet opens "
        "it quickly. \"Export matrix…\" and pelmora-cli matrix write every text.";
    ASSERT_EQ(matrix.rows.size(), 258u);
    EXPECT_EQ(matrix.texts(0), std::vector<std::string>{matrixNote});
    EXPECT_EQ(matrix.rows[1].size(), 256u);
    EXPECT_EQ(matrix.texts(1).back(), "t254.txt");
    EXPECT_EQ(matrix.texts(257), std::vector<std::string>{matrixNote});
    EXPECT_EQ(book.sheets.at("Types").rows.size(), 364u);

    const test::Workbook whole = test::readWorkbook(all);
    ASSERT_EQ(whole.problem, "");
    const test::WorkbookSheet& allPairs = whole.sheets.at("Pairs");
    ASSERT_EQ(allPairs.rows.size(), 65'704u);
    EXPECT_EQ(allPairs.texts(0).at(0), "text 1");
    EXPECT_EQ(allPairs.texts(65'703),
              (std::vector<std::string>{"t361.txt", "t362.txt", "5", "no", "no"}));
    EXPECT_EQ(whole.sheets.at("Report").texts(0).at(0), "Text Pair");
    EXPECT_EQ(whole.sheets.at("Matrix").rows.size(), 364u);
}

// Ended by SIGINT or SIGTERM while it works, the workbook command leaves the file that was
// at its target as it was, and no temporary file beside it.
TEST(EvidenceCli, AWorkbookEndedBySigintOrSigtermLeavesTheOldFileAndNoTemporaryFile) {
    const TempFolder texts;
    const std::string sample = readAll(kSamples / "letter_to_gran.txt");
    for (int k = 0; k < 1000; ++k) {
        texts.write("t" + std::to_string(k) + ".txt", sample + std::to_string(k));
    }
    for (const int signal : {SIGINT, SIGTERM}) {
        const TempFolder out;
        const fs::path target = out.write("run.xlsx", "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // As from a terminal, where either signal ends a program.
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            ::close(STDOUT_FILENO);
            ::execl(PELMORA_CLI_PATH, "pelmora-cli", "workbook", texts.path().c_str(),
                    target.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Signalled once its temporary file is there, before the workbook is complete.
        const auto pending = [&out] {
            for (const auto& entry : fs::directory_iterator(out.path())) {
                if (entry.path().extension() == ".part") {
                    return true;
                }
            }
            return false;
        };
        int status = 0;
        while (!pending() && ::waitpid(child, &status, WNOHANG) == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::kill(child, signal);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << signal << " came too late: status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
        EXPECT_EQ(readAll(target), "old");
    }
}

}  // namespace
}  // namespace pelmora
