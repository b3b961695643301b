#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/sha256.h"
#include "explanation/input_quality.h"
#include "exports/measures_table.h"
#include "exports/pair_matrix.h"
#include "exports/pairs_table.h"
#include "exports/run_names.h"
#include "exports/workbook.h"
#include "files/replacing_file.h"
#include "formats/csv.h"
#include "formats/output_format.h"
#include "formats/spreadsheet_cells.h"
#include "record/run_record.h"
#include "tests/support/cli_runner.h"
#include "tests/support/run_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/workbook_reader.h"
#include "version/version.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;

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

// Three texts of known strengths: a and b agree but for the last digit (4), a and c in two
// digits (2, minimal), b and c in three (3). Pairs of strength 2 are off the norm.
RunResult threeTexts() {
    std::array<bool, 16> offTheNorm{};
    offTheNorm[2] = true;
    RunResult run =
        test::runOf({{"a.txt", "21201"}, {"b, c.txt", "21200"}, {"c.txt", "20000"}}, offTheNorm);
    run.mean = "3";
    run.stDev = "1";
    return run;
}

TEST(PairMatrix, NumbersOnlySymmetricInRunOrderWithoutMarksOrFooterAndEmptyWithoutPairs) {
    const RunResult run = threeTexts();
    EXPECT_EQ(delimitedTable(matrixTable(run), '\t', "\n"),
              "\ta.txt\tb, c.txt\tc.txt\n"
              "a.txt\t\t4\t2\n"
              "b, c.txt\t4\t\t3\n"
              "c.txt\t2\t3\t\n");

    // Texts of one file form no pair: their cells stay empty, and the grid stays square.
    const RunResult twice = test::runOf(
        {{"x.txt", "11111"}, {"twice.txt", "11112"}, {"twice.txt", "11112"}, {"y.txt", "22222"}});
    const std::vector<TableRow> m = matrixTable(twice);
    ASSERT_EQ(m.size(), 5u);
    for (const TableRow& row : m) {
        EXPECT_EQ(row.size(), 5u);
    }
    EXPECT_EQ(m[2], (TableRow{"twice.txt", "4", "", "", "1"}));
    EXPECT_EQ(m[3], (TableRow{"twice.txt", "4", "", "", "1"}));
    EXPECT_EQ(m[4], (TableRow{"y.txt", "0", "1", "1", ""}));

    EXPECT_EQ(matrixTable(RunResult{}), (std::vector<TableRow>{{""}}));
    EXPECT_EQ(matrixTable(test::runOf({{"only.txt", "11200"}})),
              (std::vector<TableRow>{{"", "only.txt"}, {"only.txt", ""}}));
}

TEST(PairsTable, OneRowPerPairInListOrderWithItsFlags) {
    const RunResult run = threeTexts();
    EXPECT_EQ(pairsTable(run), (std::vector<TableRow>{
                                   {"text 1", "text 2", "strength", "minimal", "significant"},
                                   {"a.txt", "b, c.txt", "4", "no", "no"},
                                   {"a.txt", "c.txt", "2", "yes", "yes"},
                                   {"b, c.txt", "c.txt", "3", "no", "no"},
                               }));
    // A visitor that has had enough gets no more rows.
    int rows = 0;
    forEachPairsRow(run, NameStyle::Exact, [&](const TableRow&) { return ++rows < 2; });
    EXPECT_EQ(rows, 2);
    const RunResult odd = test::runOf({{"new\nline.txt", "11111"}, {"b.txt", "11111"}});
    EXPECT_EQ(pairsTable(odd, NameStyle::Escaped).at(1),
              (TableRow{"new\\nline.txt", "b.txt", "5", "no", "no"}));
    EXPECT_EQ(pairsTable(RunResult{}).size(), 1u);
}

TEST(SpreadsheetCells, CodesStayTextFiguresStayNumbersAndNoTextStartsAFormula) {
    struct Case {
        const char* cell;
        CellKind kind;
        const char* field;
    };
    const Case cases[] = {
        {"01200", CellKind::Code, "=\"01200\""},
        {"11112", CellKind::Code, "=\"11112\""},
        {"", CellKind::Code, ""},
        {"=1+1", CellKind::Code, "'=1+1"},
        {"=HYPERLINK(\"http://x\",\"y\").txt", CellKind::Text,
         "'=HYPERLINK(\"http://x\",\"y\").txt"},
        {"+cmd.txt", CellKind::Text, "'+cmd.txt"},
        {"-2+3.txt", CellKind::Text, "'-2+3.txt"},
        {"@SUM(A1).txt", CellKind::Text, "'@SUM(A1).txt"},
        {"a=b+c.txt", CellKind::Text, "a=b+c.txt"},
        {"'quoted'.txt", CellKind::Text, "'quoted'.txt"},
        {"Informal", CellKind::Text, "Informal"},
        {"0.0545", CellKind::Number, "0.0545"},
        {"-0.5", CellKind::Number, "-0.5"},
        {"1e-05", CellKind::Number, "1e-05"},
        {"-2+3", CellKind::Number, "'-2+3"},
        {" 5", CellKind::Number, " 5"},
        {"", CellKind::Number, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spreadsheetField(c.cell, c.kind), c.field) << c.cell;
    }
}

TEST(SpreadsheetCells, AMeasuresFileKeepsCodesAsTextAndDefusesNames) {
    const RunResult run = test::runOf({{"=cmd|' /C calc'!A0.txt", "01200", "350"},
                                       {"-minus.txt", "11112"},
                                       {"plain.txt", "00000"}});
    for (char delimiter : {',', '\t'}) {
        const std::string file = spreadsheetFile(measuresTable(run, ColumnNames::Readable),
                                                 measuresColumnKinds(), delimiter);
        ASSERT_TRUE(file.starts_with("\uFEFFname"));
        const auto rows = parseDelimitedTable(file.substr(3), delimiter);
        ASSERT_TRUE(rows.has_value());
        ASSERT_EQ(rows->size(), 4u);
        EXPECT_EQ(rows->at(0).at(1), "code");
        EXPECT_EQ(rows->at(0).at(19), "contraction density");  // readable, not d0
        EXPECT_EQ(measuresTable(run)[0].at(19), "d0");         // the short names are for programs
        EXPECT_EQ(rows->at(1).at(0), "'=cmd|' /C calc'!A0.txt");
        EXPECT_EQ(rows->at(1).at(1), "=\"01200\"");
        EXPECT_EQ(rows->at(1).at(3), "350");  // the text length, a figure as it is
        EXPECT_EQ(rows->at(2).at(0), "'-minus.txt");
        EXPECT_EQ(rows->at(3).at(0), "plain.txt");
        EXPECT_EQ(rows->at(3).at(1), "=\"00000\"");
    }
}

using Kind = test::WorkbookCell::Kind;

// The kind and text of a cell, then its fill if it has one; "<none>" where the sheet has no
// such cell.
std::string cellOf(const test::Workbook& book, const std::string& sheet, std::size_t row,
                   std::size_t column) {
    const auto found = book.sheets.find(sheet);
    const test::WorkbookCell* c =
        found == book.sheets.end() ? nullptr : found->second.at(row, column);
    if (c == nullptr) {
        return "<none>";
    }
    static const char* const kKinds[] = {"text ", "number ", "formula ", "blank"};
    const std::string fill = book.fillOf(*c);
    return kKinds[static_cast<int>(c->kind)] + c->text + (fill.empty() ? "" : " fill " + fill);
}

// Four texts whose names would be formulas, with strengths 0, 2, 3 and 5 among them; pairs
// of strength 0 are off the norm.
RunResult formulaNamedTexts() {
    std::array<bool, 16> offTheNorm{};
    offTheNorm[0] = true;
    RunResult run = test::runOf({{"=1+1.txt", "01200", "350", TextEncoding::Utf8, 1234},
                                 {"+cmd.txt", "12011"},
                                 {"-x.txt", "01200"},
                                 {"@y.txt", "01211"}},
                                offTheNorm);
    run.report = ComposedText(
        "line one\r\nArithmetic Mean\t2.1667\r\n=danger\r\ntab\there.txt-b.txt\t3\r\n");
    return run;
}

TEST(Workbook, EverySheetByNameWithCodesAndNamesAsTextAndFiguresAsNumbers) {
    const test::TempFolder folder;
    const fs::path file = folder.path() / "run.xlsx";
    ASSERT_FALSE(writeWorkbook(formulaNamedTexts(), file, "2026-01-02T03:04:05Z"));
    const test::Workbook book = test::readWorkbook(file);
    ASSERT_EQ(book.problem, "");
    EXPECT_EQ(book.names, (std::vector<std::string>{"Summary", "Report", "Types", "Measures",
                                                    "Pairs", "Matrix", "Quality", "Run record"}));
    for (const auto& [name, sheet] : book.sheets) {
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
                EXPECT_NE(sheet.rows[r][c].kind, Kind::Formula) << name << " " << r << " " << c;
            }
        }
    }
    EXPECT_EQ(book.sheets.at("Types").frozenPane, "A2");
    // Coloured as the matrix window colours them; frozen names across and down.
    EXPECT_EQ(book.sheets.at("Matrix").frozenPane, "B2");
    EXPECT_EQ(book.sheets.at("Pairs").rows.size(), 7u);
    EXPECT_EQ(book.sheets.at("Matrix").rows.size(), 5u);
    EXPECT_EQ(book.sheets.at("Pairs").texts(0),
              (std::vector<std::string>{"text 1", "text 2", "strength", "minimal", "significant"}));
    EXPECT_EQ(book.sheets.at("Pairs").texts(1),
              (std::vector<std::string>{"=1+1.txt", "+cmd.txt", "0", "yes", "yes"}));
    EXPECT_EQ(book.sheets.at("Pairs").texts(5),
              (std::vector<std::string>{"+cmd.txt", "@y.txt", "2", "yes", "no"}));
    const std::tuple<const char*, std::size_t, std::size_t, const char*> cells[] = {
        {"Report", 0, 0, "text line one"},
        {"Report", 1, 1, "text 2.1667"},
        {"Report", 2, 0, "text =danger"},
        {"Report", 3, 0, "text tab\there.txt-b.txt"},
        {"Report", 3, 1, "text 3"},
        {"Types", 0, 0, "text code"},
        {"Types", 1, 0, "text 01200"},
        {"Types", 1, 1, "text =1+1.txt"},
        {"Types", 2, 1, "text +cmd.txt"},
        {"Measures", 0, 3, "text text length"},
        {"Measures", 1, 0, "text =1+1.txt"},
        {"Measures", 1, 1, "text 01200"},
        {"Measures", 1, 3, "number 350"},
        {"Pairs", 2, 1, "text -x.txt"},
        {"Pairs", 2, 2, "number 5"},
        {"Matrix", 0, 0, "<none>"},
        {"Matrix", 0, 4, "text @y.txt"},
        {"Matrix", 4, 0, "text @y.txt"},
        {"Matrix", 1, 1, "blank fill EEEEEE"},
        {"Matrix", 1, 2, "number 0 fill D73027"},
        {"Matrix", 2, 4, "number 2 fill FDAE61"},
        {"Matrix", 4, 1, "number 3 fill FEE08B"},
        {"Matrix", 3, 1, "number 5 fill 1A9850"},
        {"Quality", 1, 0, "text =1+1.txt"},
        {"Quality", 1, 1, "text UTF-8"},
        {"Quality", 1, 2, "number 1234"},
        {"Quality", 1, 3, "number 350"},
        {"Run record", 1, 0, "text created"},
        {"Run record", 1, 1, "text 2026-01-02T03:04:05Z"},
        {"Run record", 4, 4, "text code"},
        {"Run record", 5, 0, "text =1+1.txt"},
        {"Run record", 5, 1, "number 1234"},
        {"Run record", 5, 4, "text 01200"},
    };
    for (const auto& [sheet, row, column, cell] : cells) {
        EXPECT_EQ(cellOf(book, sheet, row, column), cell) << sheet << " " << row << " " << column;
    }
}

TEST(SpreadsheetCells, AWorkbookHoldsControlCharactersAndAnEscapeWrittenOutAsEscapes) {
    const std::pair<std::string, std::string> cases[] = {
        {"c\001d.txt", "c_x0001_d.txt"},
        {"c_x0001_d.txt", "c_x005F_x0001_d.txt"},
        {"_x005F_", "_x005F_x005F_"},
        {"_xbeef_", "_x005F_xbeef_"},
        {"_x0041\x02", "_x005F_x0041_x0002_"},  // the escape after it ends the one before
        {"cr\r lf\n tab\t del\x7f", "cr_x000D_ lf\n tab\t del\x7f"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", "_xFFFE__xFFFF_"},
        // Nothing a reader would take for an escape.
        {"my_xylophone_x12_.txt", "my_xylophone_x12_.txt"},
        {"_x0041 _X0041_ _x004G_ __x0041", "_x0041 _X0041_ _x004G_ __x0041"},
    };
    for (const auto& [text, held] : cases) {
        EXPECT_EQ(workbookText(text, 100), held) << text;
    }
    // Cut before a character or an escape that would pass the limit.
    EXPECT_EQ(workbookText("ab\x01", 8), "ab");
    EXPECT_EQ(workbookText("_x0041_", 6), "");
    EXPECT_EQ(workbookText("_x0041_", 12), "_x005F_x0041");
    EXPECT_EQ(workbookText("a\u00e9", 2), "a");
    EXPECT_EQ(workbookText("a\u00e9", 3), "a\u00e9");
}

TEST(Workbook, EveryNameReadsBackAsWrittenWhateverItsCharactersAndBytes) {
    const std::vector<std::string> names = {"\x1b[31mred & <b>.txt", "c\001d.txt",
                                            "c_x0001_d.txt",         "_x005F_x0041_\r\n.txt",
                                            "_x0041\x02.txt",        "my_xylophone.txt"};
    std::vector<test::BuiltText> texts;
    for (const std::string& name : names) {
        texts.push_back({name, "11111"});
    }
    texts.push_back({"café.txt", "11112", "500", TextEncoding::Ascii, 0, "", "caf\xE9.txt"});
    const test::TempFolder folder;
    ASSERT_FALSE(writeWorkbook(test::runOf(texts), folder.path() / "odd.xlsx", "now"));
    const test::Workbook book = test::readWorkbook(folder.path() / "odd.xlsx");
    ASSERT_EQ(book.problem, "");
    for (std::size_t k = 0; k < names.size(); ++k) {
        EXPECT_EQ(cellOf(book, "Types", k + 1, 1), "text " + names[k]) << k;
        EXPECT_EQ(cellOf(book, "Matrix", 0, k + 1), "text " + names[k]) << k;
    }
    EXPECT_EQ(cellOf(book, "Pairs", 1, 0), "text " + names[0]);
    EXPECT_EQ(cellOf(book, "Pairs", names.size(), 1), "text café.txt");
    // The record names a file by its bytes, escaped as its text file does.
    EXPECT_EQ(cellOf(book, "Run record", 5 + names.size(), 0), "text caf\\xE9.txt");
}

// Cut by the spreadsheet's bound, every sheet longer than it says so; cut by the workbook's
// own bound, only the sheets that grow with the pairs are, and say why.
TEST(Workbook, ASheetLongerThanItsLimitEndsInANoteOfWhatWasLeftOut) {
    std::vector<test::BuiltText> texts;
    for (int k = 0; k < 6; ++k) {
        texts.push_back({"t" + std::to_string(k) + ".txt", k % 2 == 0 ? "11111" : "11122"});
    }
    RunResult run = test::runOf(texts);
    std::string report;
    for (int k = 0; k < 12; ++k) {
        report += "line " + std::to_string(k) + "\r\n";
    }
    run.report = ComposedText(report);
    const test::TempFolder folder;
    struct Case {
        SheetLimits limits;
        const char* why;        // after "left out: "
        const char* matrixWhy;  // after "The first 4 of 6 texts, "
        bool perTextCut;        // whether the sheets of texts are cut too
    };
    const Case cases[] = {
        {SheetLimits{7, 5}, "a sheet holds 7 rows at most.", "as many as a sheet holds.", true},
        {SheetLimits{1'048'576, 16'384, 7, 4},
         "the workbook keeps 7 rows of this sheet, so that a spreadsheet opens it quickly.",
         "as many as the workbook keeps, so that a spreadsheet opens it quickly.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        // The words the help and the command line use say what either bound keeps.
        EXPECT_EQ(pairSheetsText(c.limits),
                  "the Report and Pairs sheets keep their first 7 rows and the Matrix its first 4 "
                  "texts");
        ASSERT_FALSE(writeWorkbook(run, folder.path() / "small.xlsx", "now", c.limits));
        const test::Workbook book = test::readWorkbook(folder.path() / "small.xlsx");
        ASSERT_EQ(book.problem, "");

        // Seven rows fit seven rows: no note.
        EXPECT_EQ(book.sheets.at("Types").rows.size(), 7u);
        EXPECT_EQ(cellOf(book, "Types", 6, 1), "text t5.txt");
        EXPECT_EQ(book.sheets.at("Quality").rows.size(), 7u);

        const test::WorkbookSheet& pairs = book.sheets.at("Pairs");
        const std::string pairsCut = std::string("text 11 more pairs left out: ") + c.why +
                                     " \"Export pairs…\" and pelmora-cli pairs write them all.";
        ASSERT_EQ(pairs.rows.size(), 7u);
        EXPECT_EQ(cellOf(book, "Pairs", 0, 0), pairsCut);
        EXPECT_EQ(pairs.texts(1), (std::vector<std::string>{"text 1", "text 2", "strength",
                                                            "minimal", "significant"}));
        EXPECT_EQ(pairs.texts(5), (std::vector<std::string>{"t0.txt", "t4.txt", "5", "no", "no"}));
        EXPECT_EQ(cellOf(book, "Pairs", 6, 0), pairsCut);
        EXPECT_EQ(pairs.frozenPane, "A3");  // the header stays in sight under the note

        // Cut sheets say so first and last, the rows kept between.
        const std::string reportCut = std::string("text 7 more lines of the report left out: ") +
                                      c.why +
                                      " \"Save report…\" and pelmora-cli report write it whole.";
        ASSERT_EQ(book.sheets.at("Report").rows.size(), 7u);
        EXPECT_EQ(cellOf(book, "Report", 0, 0), reportCut);
        EXPECT_EQ(cellOf(book, "Report", 1, 0), "text line 0");
        EXPECT_EQ(cellOf(book, "Report", 5, 0), "text line 4");
        EXPECT_EQ(cellOf(book, "Report", 6, 0), reportCut);

        // As many texts as fit across, by as many down, then the note.
        const test::WorkbookSheet& matrix = book.sheets.at("Matrix");
        const std::string matrixCut = std::string("text The first 4 of 6 texts, ") + c.matrixWhy +
                                      " \"Export matrix…\" and pelmora-cli matrix write every "
                                      "text.";
        ASSERT_EQ(matrix.rows.size(), 7u);
        for (std::size_t r = 1; r < 6; ++r) {
            EXPECT_LE(matrix.rows[r].size(), 5u) << r;
        }
        EXPECT_EQ(cellOf(book, "Matrix", 0, 0), matrixCut);
        EXPECT_EQ(cellOf(book, "Matrix", 1, 4), "text t3.txt");
        EXPECT_EQ(cellOf(book, "Matrix", 5, 1), "number 3 fill FEE08B");
        EXPECT_EQ(cellOf(book, "Matrix", 6, 0), matrixCut);
        EXPECT_EQ(matrix.frozenPane, "B3");

        // The record of six files takes eleven rows.
        const test::WorkbookSheet& record = book.sheets.at("Run record");
        if (c.perTextCut) {
            EXPECT_EQ(record.rows.size(), 7u);
            EXPECT_EQ(cellOf(book, "Run record", 0, 0),
                      "text 6 more rows left out: a sheet holds 7 rows at most.");
            EXPECT_EQ(cellOf(book, "Run record", 5, 0), "text name");
            EXPECT_EQ(cellOf(book, "Run record", 6, 0),
                      "text 6 more rows left out: a sheet holds 7 rows at most.");
        } else {
            EXPECT_EQ(record.rows.size(), 11u);
            EXPECT_EQ(cellOf(book, "Run record", 4, 0), "text name");
            EXPECT_EQ(cellOf(book, "Run record", 10, 0), "text t5.txt");
        }
    }

    // Four texts fill five columns exactly.
    ASSERT_FALSE(writeWorkbook(formulaNamedTexts(), folder.path() / "fits.xlsx", "now",
                               SheetLimits{1'048'576, 5}));
    const test::Workbook fits = test::readWorkbook(folder.path() / "fits.xlsx");
    EXPECT_EQ(fits.sheets.at("Matrix").rows.size(), 5u);
    EXPECT_EQ(cellOf(fits, "Matrix", 4, 3), "number 3 fill FEE08B");
}

// A run of six texts in three kinds, begun at 2026-12-08 14:03:07 UTC, whose report is longer
// than its sheet may be: strengths 5 within a kind, 3, 2 and 0 between them, 0 off the norm.
RunResult cutRun() {
    std::array<bool, 16> offTheNorm{};
    offTheNorm[0] = true;
    const char* codes[] = {"11111", "11122", "22222"};
    std::vector<test::BuiltText> texts;
    for (int k = 0; k < 6; ++k) {
        texts.push_back({"t" + std::to_string(k) + ".txt", codes[k % 3], "500", TextEncoding::Ascii,
                         1000, std::string(64, static_cast<char>('a' + k))});
    }
    RunResult run = test::runOf(texts, offTheNorm);
    run.folder = "/cases/brown corpus";
    run.mean = "2.4667";
    run.meanValue = 2.4667;
    run.stDev = "n/a";
    run.startedAt = 1796738587;
    run.seconds = 1.5;
    std::string report;
    for (int k = 0; k < 40; ++k) {
        report += "line " + std::to_string(k) + "\r\n";
    }
    run.report = ComposedText(report);
    return run;
}

TEST(Workbook, TheSummaryComesFirstWholeWhenTheReportIsCutAndStabilityHasItsSheet) {
    const RunResult run = cutRun();
    RunStability stability;
    stability.options.resamples = 20;
    stability.options.blockWords = 10;
    for (int k = 0; k < 6; ++k) {
        TextStability t;
        t.position = k;
        for (std::size_t d = 0; d < 5; ++d) {
            t.digits[d].digit = run.texts[static_cast<std::size_t>(k)].code[d];
            t.digits[d].resamples = 20;
            // The first text keeps its first digit in 10 of 20 resamples only.
            const int kept = k == 0 && d == 0 ? 10 : 20;
            t.digits[d].ofDigit[static_cast<std::size_t>(t.digits[d].digit - '0')] = kept;
            t.digits[d].ofDigit[9] = 20 - kept;
        }
        stability.texts.push_back(t);
    }
    const test::TempFolder folder;
    const RunStability* const measures[] = {nullptr, &stability};
    for (const RunStability* measured : measures) {
        const fs::path file = folder.path() / "cut.xlsx";
        ASSERT_FALSE(writeWorkbook(run, file, "now", SheetLimits{32, 50}, nullptr, measured));
        const test::Workbook book = test::readWorkbook(file);
        ASSERT_EQ(book.problem, "");
        std::vector<std::string> names = {"Summary", "Report", "Types",   "Measures",
                                          "Pairs",   "Matrix", "Quality", "Run record"};
        if (measured != nullptr) {
            names.insert(names.end() - 1, "Stability");
        }
        EXPECT_EQ(book.names, names);
        // The report was cut before its figures; the summary still has them all.
        EXPECT_EQ(cellOf(book, "Report", 31, 0), cellOf(book, "Report", 0, 0));
        EXPECT_EQ(cellOf(book, "Report", 1, 0), "text line 0");
        std::vector<std::pair<std::string, std::string>> rows = {
            {"folder", "text /cases/brown corpus"},
            {"texts analysed", "number 6"},
            {"texts left out", "number 0"},
            {"pairs", "number 15"},
            {"mean", "number 2.4667"},
            {"standard deviation", "text n/a"},
            {"minimal pairs", "number 8"},
            {"significant pairs", "number 4"},
            {"warnings", "number 0"},
        };
        if (measured != nullptr) {
            rows.insert(rows.end(), {{"unstable texts", "number 1"},
                                     {"texts not resampled", "number 0"},
                                     {"resamples", "number 20"},
                                     {"words per block", "number 10"}});
        }
        rows.insert(rows.end(), {{"version", "text " + programVersion()},
                                 {"run started (UTC)", "text 2026-12-08T14:03:07Z"},
                                 {"run time (seconds)", "number 1.5"}});
        const test::WorkbookSheet& summary = book.sheets.at("Summary");
        ASSERT_EQ(summary.rows.size(), rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(cellOf(book, "Summary", r, 0), "text " + rows[r].first) << r;
            EXPECT_EQ(cellOf(book, "Summary", r, 1), rows[r].second) << r;
        }
        if (measured != nullptr) {
            EXPECT_EQ(book.sheets.at("Stability").texts(0),
                      (std::vector<std::string>{"text", "digit", "category", "kept", "other digits",
                                                "unstable"}));
            EXPECT_EQ(cellOf(book, "Stability", 1, 0), "text t0.txt");
            EXPECT_EQ(cellOf(book, "Stability", 1, 3), "number 0.5");
            EXPECT_EQ(cellOf(book, "Stability", 1, 5), "text yes");
        }
    }
}

TEST(RunNames, FileNamesAreSafeWhateverTheFolderIsCalled) {
    const std::pair<std::string, std::string> cases[] = {
        {"brown", "brown-2026-12-08-workbook.xlsx"},
        {"my texts", "my-texts-2026-12-08-workbook.xlsx"},
        {"  case 12/2026: Q & K  ", "case-12-2026-Q-K-2026-12-08-workbook.xlsx"},
        {"back\\slash|pipe?*", "back-slash-pipe-2026-12-08-workbook.xlsx"},
        {"caf\xE9 \xFF\xFE", "caf-2026-12-08-workbook.xlsx"},  // Windows-1252 bytes
        {"caf\u00e9 \u0421\u0430\u0448\u0430",
         "caf\u00e9-\u0421\u0430\u0448\u0430-2026-12-08-workbook.xlsx"},
        {"evil\u202Etxt.exe", "evil-txt.exe-2026-12-08-workbook.xlsx"},  // no turned text
        {"tab\there\r\nnew", "tab-here-new-2026-12-08-workbook.xlsx"},
        {".hidden.", "hidden-2026-12-08-workbook.xlsx"},
        {"", "pelmora-2026-12-08-workbook.xlsx"},
        {"../..", "pelmora-2026-12-08-workbook.xlsx"},
        {"\x01\x02", "pelmora-2026-12-08-workbook.xlsx"},
        {std::string(200, 'a'), std::string(80, 'a') + "-2026-12-08-workbook.xlsx"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(safeFileName(name, "2026-12-08", "workbook", ".xlsx"), expected) << name;
    }
    // Cut between characters, never inside one.
    std::string accents;
    for (int k = 0; k < 50; ++k) {
        accents += "\u00e9";
    }
    EXPECT_EQ(safeFileName(accents, "", "case", ".pelmora"),
              accents.substr(0, 80) + "-case.pelmora");

    const std::pair<fs::path, std::string> folders[] = {
        {"/home/ann/brown", "brown"},
        {"/home/ann/brown/", "brown"},
        {"/a/b/.", "b"},
        {"brown", "brown"},
        {"/", ""},
    };
    for (const auto& [path, name] : folders) {
        EXPECT_EQ(folderName(path), name) << path;
    }
}

TEST(RunNames, OutputsOfARunCarryItsFolderDateAndRecordDigest) {
    RunResult run = cutRun();
    EXPECT_EQ(runFileName(run, "matrix", ".png"), "brown-corpus-2026-12-08-matrix.png");
    // The identity is the digest that ends the run's record as made when the run began.
    const std::string record = recordText(recordOf(run, "2026-12-08T14:03:07Z"));
    const std::string digest = record.substr(record.rfind('\t') + 1, 64);
    EXPECT_EQ(runDigest(run), digest);
    EXPECT_EQ(runCaption(run),
              "Folder /cases/brown corpus \u00b7 run of 2026-12-08 14:03 UTC "
              "\u00b7 run record " +
                  digest.substr(0, 16));
    // Another run of the same folder is another run.
    run.texts[0].code = "99999";
    EXPECT_NE(runDigest(run), digest);
}

// The names in a folder, hidden ones too, sorted.
std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        entries.push_back(entry.path().filename().string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// What stands at a path, not following a link.
mode_t typeAt(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? (status.st_mode & S_IFMT) : 0;
}

std::optional<Error> writeText(const fs::path& path, const std::string& text) {
    return writeWholeFile(path, [&text](const auto& piece) { piece(text); });
}

TEST(ReplacingFile, OnlyARegularFileIsReplacedAndARefusalLeavesEverythingAsItWas) {
    const test::TempFolder folder;
    const fs::path aFile = folder.write("file.txt", "x");
    const fs::path fifo = folder.path() / "fifo.xlsx", socket = folder.path() / "socket.xlsx",
                   device = folder.path() / "device.xlsx", toFifo = folder.path() / "to fifo.xlsx",
                   loop = folder.path() / "loop.xlsx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(listening);
    // The null device's numbers, made here: a fault must not reach the system's own node.
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0) << "needs root";
    fs::create_symlink(fifo, toFifo);
    fs::create_symlink("loop.xlsx", loop);
    const std::vector<std::string> before = entriesOf(folder.path());

    const std::pair<fs::path, std::string> cases[] = {
        {folder.path() / "no such folder" / "w.xlsx", "No such file or directory"},
        {aFile / "w.xlsx", "Not a directory"},
        {folder.path(), "it is a folder, not a regular file"},
        {fifo, "it is a named pipe (FIFO), not a regular file"},
        {socket, "it is a socket, not a regular file"},
        {device, "it is a character device, not a regular file"},
        {toFifo, "it leads to \"" + fifo.string() + "\", a named pipe (FIFO), not a regular file"},
        {loop, "Too many levels of symbolic links"},
    };
    for (const auto& [path, reason] : cases) {
        const std::string message = "Could not save \"" + path.string() + "\": " + reason + ".";
        EXPECT_EQ(writeWorkbook(threeTexts(), path, "now").value_or(Error{}).message, message);
        EXPECT_EQ(writeText(path, "text").value_or(Error{}).message, message);
    }
    EXPECT_EQ(entriesOf(folder.path()), before);
    EXPECT_EQ(typeAt(fifo), S_IFIFO);
    EXPECT_EQ(typeAt(socket), S_IFSOCK);
    EXPECT_EQ(typeAt(device), S_IFCHR);
    EXPECT_EQ(typeAt(toFifo), S_IFLNK);
    EXPECT_EQ(test::readAll(aFile), "x");
}

TEST(ReplacingFile, ALinkIsFollowedToTheFileItLeadsToWhichIsReplacedWhileTheLinkStays) {
    const test::TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const fs::path real = folder.write("real/old.xlsx", "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = folder.path() / "link.xlsx", chain = folder.path() / "chain.xlsx",
                   dangling = folder.path() / "dangling.txt";
    fs::create_symlink("real/old.xlsx", link);  // relative to the link's folder
    fs::create_symlink(link, chain);
    fs::create_symlink("real/new.txt", dangling);

    // The temporary file is made beside the file replaced, not beside the link.
    Result<ReplacingFile> pending = ReplacingFile::create(chain);
    ASSERT_TRUE(pending.ok());
    EXPECT_EQ(pending.value().destination(), folder.path() / "real/old.xlsx");
    EXPECT_EQ(pending.value().temporary().parent_path(), folder.path() / "real");
    ASSERT_FALSE(writeWorkbook(threeTexts(), std::move(pending.value()), "now"));
    EXPECT_EQ(test::readWorkbook(real).names.size(), 8u);
    ASSERT_FALSE(writeText(link, "through the link"));
    EXPECT_EQ(test::readAll(real), "through the link");
    ASSERT_FALSE(writeText(dangling, "made"));
    EXPECT_EQ(test::readAll(folder.path() / "real/new.txt"), "made");

    EXPECT_EQ(fs::read_symlink(link), "real/old.xlsx");
    EXPECT_EQ(fs::read_symlink(chain), link);
    EXPECT_EQ(fs::read_symlink(dangling), "real/new.txt");
    EXPECT_EQ(entriesOf(folder.path() / "real"), (std::vector<std::string>{"new.txt", "old.xlsx"}));
    // A replaced file keeps its permissions; a new one has what the umask leaves of 0666.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(static_cast<mode_t>(fs::status(dangling).permissions()), 0666 & ~mask);
}

TEST(ReplacingFile, AFailedOrAbandonedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const test::TempFolder folder;
    const fs::path old = folder.write("old.txt", "old");

    // Pieces of every size arrive whole and in order.
    std::string whole;
    ASSERT_FALSE(writeWholeFile(old, [&whole](const auto& piece) {
        for (std::size_t size : {1u, 70'000u, 65'535u, 0u, 3u, 200'000u}) {
            const std::string bytes(size, static_cast<char>('a' + whole.size() % 26));
            whole += bytes;
            piece(bytes);
        }
    }));
    EXPECT_EQ(test::readAll(old), whole);
    ASSERT_FALSE(writeText(old, "old"));

    // A file larger than the process may write: the first error is kept and reported.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{1000, limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::optional<Error> tooLarge = writeText(old, std::string(300'000, 'x'));
    const std::optional<Error> workbook = writeWorkbook(formulaNamedTexts(), old, "now");
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    ::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(tooLarge.value_or(Error{}).message,
              "Could not save \"" + old.string() + "\": File too large.");
    ASSERT_TRUE(workbook.has_value());
    EXPECT_EQ(test::readAll(old), "old");

    // Dropped without a commit.
    {
        Result<ReplacingFile> dropped = ReplacingFile::create(old);
        ASSERT_TRUE(dropped.ok());
        dropped.value().write("new");
        EXPECT_TRUE(fs::exists(dropped.value().temporary()));
    }

    // What stands at the target is checked again before the rename: a folder or a named pipe
    // made there meanwhile stays, and the temporary file goes.
    const fs::path late = folder.path() / "late.xlsx", pipe = folder.path() / "pipe.xlsx";
    Result<ReplacingFile> lateFile = ReplacingFile::create(late);
    Result<ReplacingFile> pipeFile = ReplacingFile::create(pipe);
    ASSERT_TRUE(lateFile.ok() && pipeFile.ok());
    fs::create_directory(late);
    folder.write("late.xlsx/inside", "x");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(
        writeWorkbook(threeTexts(), std::move(lateFile.value()), "now").value_or(Error{}).message,
        "Could not save \"" + late.string() + "\": it is a folder, not a regular file.");
    pipeFile.value().write("text");
    EXPECT_EQ(pipeFile.value().commit().value_or(Error{}).reason,
              "it is a named pipe (FIFO), not a regular file");
    EXPECT_EQ(typeAt(pipe), S_IFIFO);

    EXPECT_EQ(entriesOf(folder.path()),
              (std::vector<std::string>{"late.xlsx", "old.txt", "pipe.xlsx"}));
}

TEST(ReplacingFile, ACancelledSaveLeavesTheOldFileOrNoneAndNoTemporaryFile) {
    const test::TempFolder folder;
    const fs::path old = folder.write("old.xlsx", "old"), fresh = folder.path() / "new.xlsx";
    const std::vector<std::string> sheets = {"Summary",  "Report",     "Types",
                                             "Measures", "Pairs",      "Matrix",
                                             "Quality",  "Run record", "the workbook put together"};
    // The workbook's steps in order, cancelled at each: at the first sheet, in the middle and
    // at the last step, after every sheet was written.
    for (std::size_t at = 1; at <= sheets.size(); ++at) {
        for (const fs::path& target : {old, fresh}) {
            std::vector<std::string> steps;
            JobControl control([&](const JobProgress& p) {
                steps.push_back(p.step);
                EXPECT_EQ(p.done, static_cast<std::int64_t>(steps.size()));
                EXPECT_EQ(p.total, static_cast<std::int64_t>(sheets.size()));
                if (steps.size() == at) {
                    control.cancel();
                }
            });
            const std::optional<Error> stopped =
                writeWorkbook(threeTexts(), target, "now", {}, &control);
            ASSERT_TRUE(stopped.has_value()) << at;
            EXPECT_EQ(stopped->code, Error::Code::Cancelled);
            EXPECT_EQ(stopped->message, "Saving \"" + target.string() + "\" was cancelled.");
            EXPECT_EQ(steps, std::vector<std::string>(sheets.begin(), sheets.begin() + at));
        }
        EXPECT_EQ(entriesOf(folder.path()), std::vector<std::string>{"old.xlsx"}) << at;
        EXPECT_EQ(test::readAll(old), "old");
    }
    // Not cancelled, every step is reported and the workbook is whole.
    std::vector<std::string> steps;
    JobControl control([&](const JobProgress& p) { steps.push_back(p.step); });
    ASSERT_FALSE(writeWorkbook(threeTexts(), fresh, "now", {}, &control));
    EXPECT_EQ(steps, sheets);
    EXPECT_EQ(test::readWorkbook(fresh).names.size(), 8u);

    // Any other file: cancelled between two pieces, nothing more is written and none is kept.
    for (const fs::path& target : {old, folder.path() / "other.txt"}) {
        CancelToken cancel;
        const std::optional<Error> stopped = writeWholeFile(
            target,
            [&cancel](const auto& piece) {
                piece("first");
                cancel.cancel();
                piece("second");
            },
            &cancel);
        EXPECT_EQ(stopped.value_or(Error{}).code, Error::Code::Cancelled);
    }
    EXPECT_EQ(entriesOf(folder.path()), (std::vector<std::string>{"new.xlsx", "old.xlsx"}));
    EXPECT_EQ(test::readAll(old), "old");
}

// Each export used to keep a descriptor open, so that about a thousand of them used up what
// a process may open.
TEST(Workbook, FiveThousandWorkbooksInOneProcessLeaveNoDescriptorOpen) {
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    // In memory: each export waits for the disk to hold it, which is not what is measured.
    const test::TempFolder folder("/dev/shm");
    const RunResult run = test::runOf({{"a.txt", "11111"}});  // with an empty Report sheet
    const auto before = openDescriptors();
    for (int k = 0; k < 5000; ++k) {
        ASSERT_FALSE(writeWorkbook(run, folder.path() / "w.xlsx", "now")) << k;
    }
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(entriesOf(folder.path()), (std::vector<std::string>{"w.xlsx"}));
    EXPECT_EQ(test::readWorkbook(folder.path() / "w.xlsx").names.size(), 8u);
}

TEST(InputQuality, EachKindOfDoubtfulInputIsWarnedAboutAndCopiesOncePerGroup) {
    const std::string none(64, '0'), same(64, '5');
    RunResult run = test::runOf({
        {"empty.txt", "11200", "0", TextEncoding::Ascii, 0, none},
        {"short.txt", "11200", "199", TextEncoding::Windows1252, 1100, std::string(64, '1')},
        {"enough.txt", "11200", "200", TextEncoding::Utf8, 1250, std::string(64, '2')},
        {"copy 1.txt", "11200", "350", TextEncoding::Utf16LE, 4000, same},
        {"copy 2.txt", "11200", "350", TextEncoding::Utf16LE, 4000, same},
    });
    run.leftOut = {{"locked.txt", "locked.txt", "Permission denied"}};
    const std::vector<FileQuality> q = assessQuality(run);
    EXPECT_EQ(delimitedTable(qualityTable(q), '\t', "\n"),
              "name\tencoding\tsize\twords\tsame_bytes_as\twarnings\n"
              "empty.txt\tASCII\t0\t0\t\tempty file (0 bytes)\n"
              "short.txt\tWindows-1252\t1100\t199\t\tfewer than 200 words (densities "
              "unreliable)\n"
              "enough.txt\tUTF-8\t1250\t200\t\t\n"
              "copy 1.txt\tUTF-16LE\t4000\t350\t\tidentical content: 2 files (copy 1.txt, "
              "copy 2.txt)\n"
              "copy 2.txt\tUTF-16LE\t4000\t350\tcopy 1.txt\t\n"
              "locked.txt\t\t\t\t\tleft out as unreadable: Permission denied\n");
    EXPECT_EQ(warningCount(q), 4);
    EXPECT_EQ(qualitySummary(q), "4 warnings: see Details");

    // A thousand empty files are one group, named by its first few.
    std::vector<test::BuiltText> empties;
    for (int i = 0; i < 1000; ++i) {
        empties.push_back({std::string("e").append(std::to_string(1000 + i)).append(".txt"),
                           "11200", "0", TextEncoding::Ascii, 0, none});
    }
    const std::vector<FileQuality> many = assessQuality(test::runOf(empties));
    EXPECT_EQ(warningCount(many), 1001);  // each is empty; the group is one warning
    EXPECT_EQ(many[0].warnings.at(1),
              "identical content: 1000 files (e1000.txt, e1001.txt, e1002.txt, e1003.txt, "
              "e1004.txt and 995 more)");

    EXPECT_EQ(qualitySummary(assessQuality(RunResult{})), "No input warnings");
}

TEST(OutputFormat, LineEndsNamesAndSpreadsheetFiles) {
    EXPECT_EQ(withLineEnds("a\r\nb\rc\n\r\n", LineEnds::Lf), "a\nb\rc\n\n");
    EXPECT_EQ(withLineEnds("a\r\n", LineEnds::CrLf), "a\r\n");
    // A CR LF split between two pieces is still one line end; a lone CR at the end stays.
    std::string out;
    LineEndWriter pieces(LineEnds::Lf, [&out](std::string_view p) { out += p; });
    for (const char* piece : {"a\r", "\nb\r", "c\r", ""}) {
        pieces.write(piece);
    }
    pieces.finish();
    EXPECT_EQ(out, "a\nb\rc\r");
    EXPECT_EQ(shownName("a\x1b[31mb\\c\td\ne\x7f\u009bf.txt", NameStyle::Escaped),
              "a\\x1b[31mb\\\\c\\td\\ne\\x7f\\u009bf.txt");
    EXPECT_EQ(shownName("café\n.txt", NameStyle::Exact), "café\n.txt");
    EXPECT_EQ(delimiterForFile("x.TSV"), '\t');
    EXPECT_EQ(delimiterForFile("x.csv"), ',');
    EXPECT_EQ(spreadsheetFile({{"a", "b,c"}}, {}, ','), "\uFEFFa,\"b,c\"\r\n");
    EXPECT_EQ(warningsCountText(0), "No input warnings");
    EXPECT_EQ(warningsCountText(1), "1 warning");
    EXPECT_EQ(warningsCountText(2), "2 warnings");
}

}  // namespace
}  // namespace pelmora
