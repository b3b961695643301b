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

namespace {

// Steps over one line end at `i`; false when there is none.
bool skipLineEnd(std::string_view text, std::size_t& i) {
    if (text[i] == '\r') {
        i += (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        return true;
    }
    if (text[i] == '\n') {
        ++i;
        return true;
    }
    return false;
}

// A quoted field from its opening quote at `i` to the quote that is not doubled; false when
// it is not closed or something other than a delimiter or a line end follows it.
bool readQuoted(std::string_view text, char delimiter, std::size_t& i, std::string& field,
                int& line) {
    const std::size_t n = text.size();
    ++i;
    while (true) {
        if (i >= n) {
            return false;
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
        const std::size_t from = i;
        if (skipLineEnd(text, i)) {
            field.append(text.substr(from, i - from));
            ++line;
            continue;
        }
        field.push_back(text[i++]);
    }
    return i >= n || text[i] == delimiter || text[i] == '\r' || text[i] == '\n';
}

}  // namespace

DelimitedRecords parseDelimitedRecords(std::string_view text, char delimiter) {
    DelimitedRecords out;
    TableRow row;
    std::string field;
    int line = 1, rowLine = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto fail = [&](int at) {
        out.rows.clear();
        out.lines.clear();
        out.badLine = at;
        return out;
    };
    while (i < n) {
        if (text[i] == '"' && field.empty()) {
            const int opened = line;
            if (!readQuoted(text, delimiter, i, field, line)) {
                return fail(i >= n ? opened : line);
            }
            continue;
        }
        const char c = text[i];
        if (c == delimiter) {
            row.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (skipLineEnd(text, i)) {
            row.push_back(std::move(field));
            field.clear();
            out.rows.push_back(std::move(row));
            out.lines.push_back(rowLine);
            row.clear();
            rowLine = ++line;
        } else if (c == '"') {
            return fail(line);
        } else {
            field.push_back(c);
            ++i;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        out.rows.push_back(std::move(row));
        out.lines.push_back(rowLine);
    }
    return out;
}

std::optional<std::vector<TableRow>> parseDelimitedTable(std::string_view text, char delimiter) {
    DelimitedRecords records = parseDelimitedRecords(text, delimiter);
    if (records.badLine != 0) {
        return std::nullopt;
    }
    return std::move(records.rows);
}

}  // namespace pelmora
