#pragma once
// The forms every output takes, in one place: line ends, byte-order marks, spreadsheet
// files, names shown on a terminal, and the count of warnings.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/csv.h"
#include "formats/spreadsheet_cells.h"

namespace pelmora {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

enum class LineEnds { Lf, CrLf };
// A text with CR LF line ends (as the stores hold them) with the line ends asked for.
std::string withLineEnds(std::string_view text, LineEnds ends);

// The same for a text that goes by in pieces: a CR that ends one piece waits for the next.
class LineEndWriter {
public:
    LineEndWriter(LineEnds ends, std::function<void(std::string_view)> sink)
        : ends_(ends), sink_(std::move(sink)) {}
    void write(std::string_view piece);
    void finish();  // a CR still waiting was one of its own

private:
    LineEnds ends_;
    std::function<void(std::string_view)> sink_;
    bool pendingCr_ = false;
    std::string converted_;  // kept for its memory
};

// Tab for a name ending in .tsv, .tab or .txt, else comma.
char delimiterForFile(std::string_view fileName);
// A table for a spreadsheet, written row by row as it comes: UTF-8 with a byte-order mark,
// RFC 4180 quoting, CR LF. The first row is the header, all text; every later cell is written
// as its column's kind asks (spreadsheetField).
class SpreadsheetWriter {
public:
    SpreadsheetWriter(char delimiter, ColumnKinds kinds,
                      std::function<void(std::string_view)> sink);
    void row(const TableRow& cells);
    void finish();  // what is still buffered goes to the sink

private:
    char delimiter_;
    ColumnKinds kinds_;
    std::function<void(std::string_view)> sink_;
    std::string buffer_;
    TableRow fields_;
    bool header_ = true;
};

// The same for a table made whole.
std::string spreadsheetFile(const std::vector<TableRow>& rows, const ColumnKinds& kinds,
                            char delimiter);

// How a file name is written: as its text, or with control characters and backslashes
// escaped (\n, \t, \x1b, \\), so that a name cannot move a terminal's cursor or colour it.
enum class NameStyle { Exact, Escaped };
std::string shownName(std::string_view name, NameStyle style);

// "No input warnings", "1 warning", "3 warnings".
std::string warningsCountText(int count);

}  // namespace pelmora
