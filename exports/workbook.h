#pragma once
// Every table of a run in one workbook, for a spreadsheet: the sheets Summary, Report, Types,
// Measures, Pairs, Matrix, Quality, Stability (when it was measured) and Run record. Codes and
// names are text cells and figures number cells, so that the spreadsheet guesses nothing, and
// no text can become a formula.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "files/replacing_file.h"
#include "jobs/job.h"
#include "run/run_result.h"
#include "stability/stability.h"
#include "stores/error.h"

namespace pelmora {

// What one sheet holds at most: `rows` and `columns` are the spreadsheet's own bounds. The
// sheets that grow with the square of the texts keep no more than a sheet of older
// spreadsheets, 65,536 rows by 256 columns: the Report and Pairs `pairRows` rows and the
// Matrix `matrixTexts` texts beside their names. A sheet of a million rows takes a spreadsheet
// minutes to open and the export many times the run; the pair, matrix and report exports
// hold everything.
struct SheetLimits {
    std::int64_t rows = 1'048'576;
    int columns = 16'384;
    std::int64_t pairRows = 65'536;
    int matrixTexts = 255;
};

// `limits` with the sheets of pairs kept as long and wide as a spreadsheet takes them.
[[nodiscard]] constexpr SheetLimits allRows(SheetLimits limits = {}) {
    limits.pairRows = limits.rows;
    limits.matrixTexts = limits.columns;
    return limits;
}

// What `limits` keep of the sheets of pairs, in words: "the Report and Pairs sheets keep their
// first 65536 rows and the Matrix its first 255 texts".
[[nodiscard]] std::string pairSheetsText(const SheetLimits& limits = {});

// A sheet with more rows than it keeps holds its first rows between a first and a last row
// that say how many were left out, why, and which export has them all; the Matrix keeps as
// many texts as fit across, by as many down. The workbook is written into `file` and committed
// when complete; `created` is the time its Run record sheet names. Each sheet is a step
// reported to `control`; once it is cancelled nothing is committed and the Cancelled error
// comes back. With `stability` the Summary gives its figures and a Stability sheet its table.
[[nodiscard]] std::optional<Error> writeWorkbook(const RunResult& run, ReplacingFile file,
                                                 const std::string& created,
                                                 const SheetLimits& limits = {},
                                                 JobControl* control = nullptr,
                                                 const RunStability* stability = nullptr);
// The same into a temporary file made beside `path`.
[[nodiscard]] std::optional<Error> writeWorkbook(const RunResult& run,
                                                 const std::filesystem::path& path,
                                                 const std::string& created,
                                                 const SheetLimits& limits = {},
                                                 JobControl* control = nullptr,
                                                 const RunStability* stability = nullptr);

}  // namespace pelmora
