// The CSV and TSV writer: a table cut from the input, written as a spreadsheet file and read
// back by a strict RFC 4180 reader of its own, gives every cell as its column's kind asks:
// the header and text as written unless they would start a formula, then with a quote before
// them; a figure as written when it is a decimal number; a type code of digits as ="01200".
// The first byte chooses comma or tab, the second the kinds of the first four columns; then
// rows are cut at byte 01 and cells at byte 00.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "formats/output_format.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

using Table = std::vector<TableRow>;

// A decimal number as the C library reads one, in digits, sign, point and exponent only: no
// infinity, no hexadecimal, no spaces.
bool decimalNumber(const std::string& cell) {
    if (cell.empty() || cell.find_first_not_of("0123456789+-.eE") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    std::strtod(cell.c_str(), &end);
    return end == cell.c_str() + cell.size();
}

std::string expectedCell(const std::string& cell, CellKind kind) {
    if (kind == CellKind::Number && decimalNumber(cell)) {
        return cell;
    }
    if (kind == CellKind::Code && !cell.empty() &&
        cell.find_first_not_of("0123456789") == std::string::npos) {
        return "=\"" + cell + "\"";
    }
    const bool formula = !cell.empty() && std::string("=+-@").find(cell[0]) != std::string::npos;
    return formula ? "'" + cell : cell;
}

// Records that each end in CR LF; a field quoted, with quotes doubled inside, or holding no
// quote, delimiter, CR or LF. Nothing for anything else.
std::optional<Table> readStrictly(std::string_view s, char delimiter) {
    Table rows;
    TableRow row;
    std::size_t i = 0;
    while (i < s.size()) {
        std::string field;
        if (s[i] == '"') {
            for (++i;; ++i) {
                if (i >= s.size()) {
                    return std::nullopt;
                }
                if (s[i] == '"' && (i + 1 >= s.size() || s[i + 1] != '"')) {
                    ++i;
                    break;
                }
                i += s[i] == '"' ? 1 : 0;
                field.push_back(s[i]);
            }
        } else {
            for (; i < s.size() && s[i] != delimiter && s[i] != '\r' && s[i] != '\n'; ++i) {
                if (s[i] == '"') {
                    return std::nullopt;
                }
                field.push_back(s[i]);
            }
        }
        row.push_back(std::move(field));
        if (i < s.size() && s[i] == delimiter) {
            ++i;
        } else if (s.substr(i, 2) == "\r\n") {
            rows.push_back(std::move(row));
            row.clear();
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (!row.empty()) {
        return std::nullopt;
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const char delimiter = data[0] % 2 == 0 ? ',' : '\t';
    ColumnKinds kinds;
    for (int c = 0; c < 4; ++c) {
        const int kind = data[1] >> (2 * c) & 3;
        kinds.first.push_back(kind == 1   ? CellKind::Number
                              : kind == 2 ? CellKind::Code
                                          : CellKind::Text);
    }
    Table table, expected;
    for (const std::string_view row : split(bytesOf(data + 2, size - 2), '\x01', 64)) {
        TableRow& cells = table.emplace_back();
        TableRow& fields = expected.emplace_back();
        for (const std::string_view cell : split(row, '\0', 16)) {
            cells.emplace_back(cell);
            fields.push_back(expectedCell(
                cells.back(), table.size() == 1 ? CellKind::Text : kinds[cells.size() - 1]));
        }
    }

    const std::string file = spreadsheetFile(table, kinds, delimiter);
    const std::string input = shown(bytesOf(data, size));
    FUZZ_CHECK(file.starts_with(kUtf8ByteOrderMark), input);
    const std::string_view records = std::string_view(file).substr(kUtf8ByteOrderMark.size());
    const std::optional<Table> read = readStrictly(records, delimiter);
    FUZZ_CHECK(read.has_value(), input + "\nwritten as\n" + shown(file));
    FUZZ_CHECK(*read == expected, input + "\nwritten as\n" + shown(file));
    // The program's own reader of such files reads them back the same.
    FUZZ_CHECK(parseDelimitedTable(records, delimiter) == read, input);
    return 0;
}
