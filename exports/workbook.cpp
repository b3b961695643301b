#include "exports/workbook.h"

#include <limits>
#include <variant>

#include "explanation/input_quality.h"
#include "explanation/run_summary.h"
#include "exports/measures_table.h"
#include "exports/pairs_table.h"
#include "exports/run_texts.h"
#include "exports/workbook_sheet.h"
#include "record/run_record.h"
#include "version/version.h"

namespace pelmora {

namespace {

using workbook::Book;
using workbook::CNumbers;
using workbook::pairSheetRows;
using workbook::Sheet;
using workbook::sheetRows;

// A Matrix sheet of more texts than this may pass 4 GB unpacked, which needs the zip's 64-bit
// form; some readers lack it, so smaller workbooks go without.
constexpr int kZip64Texts = 8000;
// Summary, Report, Types, Measures, Pairs, Matrix, Quality and Run record; Stability when
// measured.
constexpr int kSheets = 8;

// The report one line a row, a line's figure in a column of its own: each line that has one
// gives it after its last tab (a name before it may hold tabs of its own).
void reportSheet(Book& book, const RunResult& run, const SheetLimits& limits) {
    const std::int64_t lines = run.report.lineCount();
    Sheet sheet(book, "Report", lines, pairSheetRows(limits), "lines of the report",
                "\"Save report…\" and pelmora-cli report write it whole.");
    sheet.width(0, 0, 60);
    // Line by line in order: a line found by its number is sought from the start.
    run.report.forEachLine(0, [&](std::string_view line) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        const std::size_t tab = line.rfind('\t');
        if (tab == std::string::npos) {
            sheet.text(0, line);
        } else {
            sheet.text(0, line.substr(0, tab));
            sheet.text(1, line.substr(tab + 1));
        }
        sheet.nextRow();
        return !sheet.full();
    });
    sheet.finish();
}

void tableSheet(Book& book, const char* name, const std::vector<TableRow>& rows,
                const ColumnKinds& kinds, const SheetLimits& limits) {
    Sheet sheet(book, name, static_cast<std::int64_t>(rows.size()), sheetRows(limits));
    sheet.freeze(1, 0);
    sheet.width(0, 0, 32);
    sheet.table(rows, kinds);
    sheet.finish();
}

void pairsSheet(Book& book, const RunResult& run, const SheetLimits& limits) {
    Sheet sheet(book, "Pairs", 1 + run.pairs.count(), pairSheetRows(limits), "pairs",
                "\"Export pairs…\" and pelmora-cli pairs write them all.");
    sheet.freeze(1, 0);
    sheet.width(0, 1, 32);
    const ColumnKinds kinds = pairsColumnKinds();
    bool header = true;
    forEachPairsRow(run, NameStyle::Exact, [&](const TableRow& row) {
        if (std::exchange(header, false)) {
            sheet.header(row);
        } else {
            sheet.add(row, kinds);
        }
        return !sheet.full();
    });
    sheet.finish();
}

// How many texts a sheet holds across (and down, with a row for the note above and below).
std::int64_t sheetTexts(std::int64_t n, const SheetLimits& limits) {
    if (n + 1 <= limits.columns && n + 1 <= limits.rows) {
        return n;
    }
    return std::max<std::int64_t>(0, std::min<std::int64_t>(limits.columns - 1, limits.rows - 3));
}

// How many of `n` texts the Matrix shows: all of them, or as many as the workbook keeps.
int keptTexts(std::int64_t n, const SheetLimits& limits) {
    return static_cast<int>(
        std::min<std::int64_t>(sheetTexts(n, limits), std::max(0, limits.matrixTexts)));
}

int matrixTexts(const RunResult& run, const SheetLimits& limits) {
    return keptTexts(static_cast<std::int64_t>(run.texts.size()), limits);
}

void matrixSheet(Book& book, const RunResult& run, const SheetLimits& limits) {
    const int n = static_cast<int>(run.texts.size());
    const int shown = matrixTexts(run, limits);
    Sheet sheet(book, "Matrix", shown + 2, sheetRows(limits));
    const bool sheetBound = shown == sheetTexts(n, limits);
    const std::string note =
        "The first " + std::to_string(shown) + " of " + std::to_string(n) + " texts, " +
        (sheetBound ? "as many as a sheet holds."
                    : "as many as the workbook keeps, " + std::string(workbook::kOpensQuickly)) +
        " \"Export matrix…\" and pelmora-cli matrix write every text.";
    if (shown < n) {
        sheet.noteFirst(note);
    }
    sheet.freeze(1, 1);
    sheet.width(0, 0, 32);
    for (int j = 0; j < shown; ++j) {
        sheet.text(j + 1, run.texts[static_cast<std::size_t>(j)].name, book.bold());
    }
    sheet.nextRow();
    for (int i = 0; i < shown; ++i) {
        sheet.text(0, run.texts[static_cast<std::size_t>(i)].name, book.bold());
        for (int j = 0; j < shown; ++j) {
            const std::optional<RunPair> p = run.pairs.between(i, j);
            if (p) {
                sheet.number(j + 1, p->strength, book.strengthCell(p->strength, p->significant));
            } else {
                sheet.blank(j + 1, book.strengthCell(-1, false));
            }
        }
        sheet.nextRow();
    }
    if (shown < n) {
        sheet.text(0, note, book.bold());
    }
}

// The run at a glance, each figure as the run result and the run summary give it: a number
// cell where it is a number, else the report's words for it.
void summarySheet(Book& book, const RunResult& run, const RunStability* stability,
                  const SheetLimits& limits) {
    using Value = std::variant<double, std::string>;
    const RunSummary s = summariseRun(run);
    const auto number = [](auto n) { return Value(static_cast<double>(n)); };
    const auto figure = [](const std::optional<double>& value, const std::string& text) {
        return value ? Value(*value) : Value(text);
    };
    std::vector<std::pair<const char*, Value>> rows = {
        {"folder", displayText(run.folder.string())},
        {"texts analysed", number(s.textsAnalysed)},
        {"texts left out", number(s.textsLeftOut)},
        {"pairs", number(s.pairs)},
        {"mean", figure(run.meanValue, s.mean)},
        {"standard deviation", figure(s.stDevValue, s.stDev)},
        {"minimal pairs", number(s.minimalPairs)},
        {"significant pairs", number(s.significantPairs)},
        {"warnings", number(s.warnings)},
    };
    if (stability != nullptr) {
        rows.insert(rows.end(), {{"unstable texts", number(stability->unstableTexts())},
                                 {"texts not resampled", number(stability->notMeasuredTexts())},
                                 {"resamples", number(stability->options.resamples)},
                                 {"words per block", number(stability->options.blockWords)}});
    }
    rows.insert(rows.end(), {{"version", programVersion()},
                             {"run started (UTC)", utcTimestampOf(run.startedAt)},
                             {"run time (seconds)", number(run.seconds)}});
    Sheet sheet(book, "Summary", static_cast<std::int64_t>(rows.size()), sheetRows(limits));
    sheet.width(0, 0, 32);
    sheet.width(1, 1, 60);
    for (const auto& [key, value] : rows) {
        sheet.text(0, key, book.bold());
        if (const double* n = std::get_if<double>(&value)) {
            sheet.number(1, *n);
        } else {
            sheet.text(1, std::get<std::string>(value));
        }
        sheet.nextRow();
    }
    sheet.finish();
}

void recordSheet(Book& book, const RunResult& run, const std::string& created,
                 const SheetLimits& limits) {
    const RunRecord record = recordOf(run, created);
    const std::vector<TableRow> files = recordTable(record);
    Sheet sheet(book, "Run record", 4 + static_cast<std::int64_t>(files.size()), sheetRows(limits));
    sheet.width(0, 0, 32);
    sheet.width(2, 2, 66);
    for (const auto& [key, value] : {std::pair<const char*, std::string>{"version", record.version},
                                     {"created", record.created},
                                     {"folder", recordField(record.folder)}}) {
        sheet.text(0, key, book.bold());
        sheet.text(1, value);
        sheet.nextRow();
    }
    sheet.nextRow();
    sheet.table(files, recordColumnKinds());
    sheet.finish();
}

}  // namespace

std::string pairSheetsText(const SheetLimits& limits) {
    // As many as any run keeps: the texts of one too large for every bound.
    constexpr std::int64_t kEveryBound = std::numeric_limits<std::int64_t>::max() - 1;
    return "the Report and Pairs sheets keep their first " +
           std::to_string(pairSheetRows(limits).rows) + " rows and the Matrix its first " +
           std::to_string(keptTexts(kEveryBound, limits)) + " texts";
}

std::optional<Error> writeWorkbook(const RunResult& run, ReplacingFile file,
                                   const std::string& created, const SheetLimits& limits,
                                   JobControl* control, const RunStability* stability) {
    const CNumbers numbers;
    const std::filesystem::path folder = file.temporary().has_parent_path()
                                             ? file.temporary().parent_path()
                                             : std::filesystem::path(".");
    lxw_error error;
    {
        Book book(file.temporary(), folder, matrixTexts(run, limits) > kZip64Texts,
                  control != nullptr ? &control->token() : nullptr);
        // Each sheet a step; the last step is the file put together.
        int step = 0;
        const auto next = [&](const char* name) {
            if (!book.ok() || book.stopped()) {
                return false;
            }
            if (control != nullptr) {
                control->report(++step, kSheets + (stability != nullptr ? 2 : 1), name);
            }
            return !book.stopped();
        };
        if (next("Summary")) {
            summarySheet(book, run, stability, limits);
        }
        if (next("Report")) {
            reportSheet(book, run, limits);
        }
        if (next("Types")) {
            tableSheet(book, "Types", typesTable(run), typesColumnKinds(), limits);
        }
        if (next("Measures")) {
            tableSheet(book, "Measures", measuresTable(run, ColumnNames::Readable),
                       measuresColumnKinds(), limits);
        }
        if (next("Pairs")) {
            pairsSheet(book, run, limits);
        }
        if (next("Matrix")) {
            matrixSheet(book, run, limits);
        }
        if (next("Quality")) {
            tableSheet(book, "Quality", qualityTable(run.quality), qualityColumnKinds(), limits);
        }
        if (stability != nullptr && next("Stability")) {
            tableSheet(book, "Stability", stabilityTable(run, *stability), stabilityColumnKinds(),
                       limits);
        }
        if (next("Run record")) {
            recordSheet(book, run, created, limits);
        }
        if (!next("the workbook put together") && book.stopped()) {
            // Dropped uncommitted, the temporary file goes and the target stays.
            book.abandon();
            return cancelledError("Saving \"" + file.target().string() + "\"");
        }
        error = book.close();
    }
    if (error != LXW_NO_ERROR) {
        std::string reason = lxw_strerror(error);
        if (!reason.empty() && reason.back() == '.') {
            reason.pop_back();  // the message ends the sentence
        }
        return saveError(file.target(), reason);
    }
    return file.commit();
}

std::optional<Error> writeWorkbook(const RunResult& run, const std::filesystem::path& path,
                                   const std::string& created, const SheetLimits& limits,
                                   JobControl* control, const RunStability* stability) {
    Result<ReplacingFile> file = ReplacingFile::create(path);
    if (!file.ok()) {
        return file.error();
    }
    return writeWorkbook(run, std::move(file.value()), created, limits, control, stability);
}

}  // namespace pelmora
