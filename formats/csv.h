#pragma once
// Delimited tables as spreadsheets read them: RFC 4180 quoting, CR LF between records.
// The same quoting serves the tab-separated form, so names with tabs or line breaks survive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

using TableRow = std::vector<std::string>;

// A field is quoted when it holds the delimiter, a quote, CR or LF; quotes inside are doubled.
std::string delimitedField(std::string_view field, char delimiter = ',');
// One row as a record ending in `lineEnd`, appended to `out`.
void appendDelimitedRow(std::string& out, const TableRow& row, char delimiter = ',',
                        std::string_view lineEnd = "\r\n");
// Every row as one record ending in `lineEnd`.
std::string delimitedTable(const std::vector<TableRow>& rows, char delimiter = ',',
                           std::string_view lineEnd = "\r\n");

// Reads a table written as above (records end in CR LF or LF). Nothing when a quoted field
// is not closed or a quote stands inside an unquoted field.
[[nodiscard]] std::optional<std::vector<TableRow>> parseDelimitedTable(std::string_view text,
                                                                       char delimiter = ',');

// The same with the line each record starts on (from 1; CR LF, CR and LF each end a line,
// inside quotes too), and the line of the first fault when the text is malformed.
struct DelimitedRecords {
    std::vector<TableRow> rows;
    std::vector<int> lines;  // the line each row starts on
    int badLine = 0;         // 0 when the text is well formed
};
[[nodiscard]] DelimitedRecords parseDelimitedRecords(std::string_view text, char delimiter = ',');

}  // namespace pelmora
