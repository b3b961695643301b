#include "evidence/output_format.h"

#include <cstdio>

#include "stores/text_ops.h"

namespace pelmora {

std::string withLineEnds(std::string_view text, LineEnds ends) {
    if (ends == LineEnds::CrLf) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string_view::npos;
         start = pos + 2) {
        out.append(text.substr(start, pos - start)).push_back('\n');
    }
    out.append(text.substr(start));
    return out;
}

char delimiterForFile(std::string_view fileName) {
    for (std::string_view suffix : {".tsv", ".tab", ".txt"}) {
        if (fileName.size() >= suffix.size() &&
            equalsIgnoreCase(fileName.substr(fileName.size() - suffix.size()), suffix)) {
            return '\t';
        }
    }
    return ',';
}

std::string spreadsheetFile(const std::vector<TableRow>& rows, char delimiter) {
    return std::string(kUtf8ByteOrderMark) + delimitedTable(rows, delimiter, "\r\n");
}

std::string shownName(std::string_view name, NameStyle style) {
    if (style == NameStyle::Exact) {
        return std::string(name);
    }
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        // C1 controls are U+0080 to U+009F: C2 80 to C2 9F in UTF-8.
        const bool c1 = c == 0xC2 && i + 1 < name.size() &&
                        static_cast<unsigned char>(name[i + 1]) <= 0x9F &&
                        static_cast<unsigned char>(name[i + 1]) >= 0x80;
        char buf[8];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else if (c1) {
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(name[++i]));
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string warningsCountText(int count) {
    if (count == 0) {
        return "No input warnings";
    }
    return std::to_string(count) + (count == 1 ? " warning" : " warnings");
}

}  // namespace pelmora
