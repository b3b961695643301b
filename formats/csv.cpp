#include "formats/csv.h"

namespace pelmora {

std::string delimitedField(std::string_view field, char delimiter) {
    if (field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string_view::npos) {
        return std::string(field);
    }
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

void appendDelimitedRow(std::string& out, const TableRow& row, char delimiter,
                        std::string_view lineEnd) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            out.push_back(delimiter);
        }
        out += delimitedField(row[i], delimiter);
    }
    out += lineEnd;
}

std::string delimitedTable(const std::vector<TableRow>& rows, char delimiter,
                           std::string_view lineEnd) {
    std::string out;
    for (const TableRow& row : rows) {
        appendDelimitedRow(out, row, delimiter, lineEnd);
    }
    return out;
}

std::optional<std::vector<TableRow>> parseDelimitedTable(std::string_view text, char delimiter) {
    std::vector<TableRow> rows;
    TableRow row;
    std::string field;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        if (text[i] == '"' && field.empty()) {
            // Quoted field: runs to the quote that is not doubled.
            ++i;
            while (true) {
                if (i >= n) {
                    return std::nullopt;
                }
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.push_back(text[i++]);
            }
            if (i < n && text[i] != delimiter && text[i] != '\r' && text[i] != '\n') {
                return std::nullopt;
            }
            continue;
        }
        const char c = text[i];
        if (c == delimiter) {
            row.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (c == '\r' || c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
        } else if (c == '"') {
            return std::nullopt;
        } else {
            field.push_back(c);
            ++i;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace pelmora
