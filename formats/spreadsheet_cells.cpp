#include "formats/spreadsheet_cells.h"

#include <algorithm>
#include <cstdio>

#include "stores/number_text.h"

namespace pelmora {

namespace {

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The character at `at` when a workbook must hold it as an escape, else 0.
unsigned escapedCharacter(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x20 && c != '\t' && c != '\n') {
        return c;
    }
    if (c == 0xEF && text.substr(at, 3) == "\xEF\xBF\xBE") {
        return 0xFFFE;
    }
    if (c == 0xEF && text.substr(at, 3) == "\xEF\xBF\xBF") {
        return 0xFFFF;
    }
    return 0;
}

// Whether a reader takes the underscore at `at` for the start of an escape: `_x`, four hex
// digits, then an underscore, written or starting an escape of its own.
bool startsEscape(std::string_view text, std::size_t at) {
    if (at + 6 >= text.size() || text[at] != '_' || text[at + 1] != 'x') {
        return false;
    }
    for (std::size_t k = at + 2; k < at + 6; ++k) {
        if (!isHexDigit(text[k])) {
            return false;
        }
    }
    return text[at + 6] == '_' || escapedCharacter(text, at + 6) != 0;
}

std::size_t utf8Length(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::string workbookText(std::string_view text, std::size_t maxBytes) {
    std::string out;
    out.reserve(std::min(text.size(), maxBytes));
    for (std::size_t at = 0; at < text.size();) {
        char escape[16];
        std::string_view unit;
        std::size_t used = 1;
        if (const unsigned c = escapedCharacter(text, at)) {
            std::snprintf(escape, sizeof escape, "_x%04X_", c);
            unit = escape;
            used = c > 0xFF ? 3 : 1;
        } else if (startsEscape(text, at)) {
            unit = "_x005F_";
        } else {
            used = std::min(utf8Length(static_cast<unsigned char>(text[at])), text.size() - at);
            unit = text.substr(at, used);
        }
        if (out.size() + unit.size() > maxBytes) {
            break;
        }
        out.append(unit);
        at += used;
    }
    return out;
}

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
