#include "evidence/spreadsheet_cells.h"

#include <algorithm>

#include "stores/number_text.h"

namespace pelmora {

namespace {

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string defusedText(std::string_view text) {
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        std::string defused(1, '\'');
        return defused.append(text);
    }
    return std::string(text);
}

std::optional<double> cellNumber(std::string_view cell) {
    // Spaces around a figure would make a spreadsheet read it as text; none of ours has any.
    if (cell.empty() || cell.front() == ' ' || cell.back() == ' ') {
        return std::nullopt;
    }
    return strictParse(cell);
}

std::string spreadsheetField(std::string_view cell, CellKind kind) {
    switch (kind) {
        case CellKind::Number:
            if (cellNumber(cell)) {
                return std::string(cell);
            }
            break;
        case CellKind::Code:
            // A file of values cannot mark a cell as text, but every spreadsheet evaluates
            // ="01200" to the text 01200 and shows it so. The formula holds our digits only,
            // never a user's text; a code that is not all digits is read as text anyway.
            if (isDigits(cell)) {
                return "=\"" + std::string(cell) + "\"";
            }
            break;
        case CellKind::Text:
            break;
    }
    return defusedText(cell);
}

}  // namespace pelmora
