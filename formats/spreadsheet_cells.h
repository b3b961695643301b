#pragma once
// What a spreadsheet is to make of each cell of an exported table. A spreadsheet guesses:
// it reads "01200" as the number 1200 and "=HYPERLINK(...)" or "-2+3" as a formula, so a
// file meant for one says which cells are text, and no text of a user becomes a formula.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

enum class CellKind {
    Text,    // a name or a word, shown as written
    Number,  // a figure: a number where the whole text reads as one, else text
    Code,    // digits that are a type code, which must keep their leading zeros
};

// The kind of every column of a table after its header row (which is all text).
struct ColumnKinds {
    std::vector<CellKind> first;     // the first columns, in order
    CellKind rest = CellKind::Text;  // every column after them

    CellKind operator[](std::size_t column) const {
        return column < first.size() ? first[column] : rest;
    }
};

// A text that would start a formula (its first character is =, +, - or @) with a single
// quote before it; any other text as it is.
std::string defusedText(std::string_view text);

// The number a cell of a number column holds: the whole text is a decimal number.
std::optional<double> cellNumber(std::string_view cell);

// What a CSV or TSV file holds for one cell, before quoting.
std::string spreadsheetField(std::string_view cell, CellKind kind);

// A text of valid UTF-8 as a workbook cell holds it, in the format's own escapes: a control
// character but tab and line feed, and U+FFFE and U+FFFF, which XML cannot hold, as _xHHHH_,
// and the underscore of a `_x` that a spreadsheet would read as the start of such an escape as
// _x005F_, so that every text reads back as written. At most `maxBytes`, cut between
// characters and escapes.
std::string workbookText(std::string_view text, std::size_t maxBytes);

}  // namespace pelmora
