#include "formats/output_format.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr std::size_t kPieceBytes = 1 << 16;

}  // namespace

std::string withLineEnds(std::string_view text, LineEnds ends) {
    std::string out;
    out.reserve(text.size());
    LineEndWriter writer(ends, [&out](std::string_view piece) { out.append(piece); });
    writer.write(text);
    writer.finish();
    return out;
}

void LineEndWriter::write(std::string_view text) {
    if (ends_ == LineEnds::CrLf) {
        sink_(text);
        return;
    }
    if (text.empty()) {
        return;
    }
    // Given on in pieces of thousands of lines: one call per line is slow, one for a whole
    // large text holds a second copy of it.
    std::string& out = converted_;
    out.clear();
    if (std::exchange(pendingCr_, false) && text.front() != '\n') {
        out += '\r';
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const void* found = std::memchr(text.data() + start, '\r', text.size() - start);
        if (found == nullptr) {
            out.append(text, start);
            break;
        }
        const auto cr = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        out.append(text, start, cr - start);
        if (cr + 1 == text.size()) {
            pendingCr_ = true;  // the LF may come with the next piece
            break;
        }
        if (text[cr + 1] != '\n') {
            out += '\r';
        }
        start = cr + 1;
        if (out.size() >= kPieceBytes) {
            sink_(out);
            out.clear();
        }
    }
    if (!out.empty()) {
        sink_(out);
    }
}

void LineEndWriter::finish() {
    if (std::exchange(pendingCr_, false)) {
        sink_("\r");
    }
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

SpreadsheetWriter::SpreadsheetWriter(char delimiter, ColumnKinds kinds,
                                     std::function<void(std::string_view)> sink)
    : delimiter_(delimiter), kinds_(std::move(kinds)), sink_(std::move(sink)) {
    buffer_ = kUtf8ByteOrderMark;
}

void SpreadsheetWriter::row(const TableRow& cells) {
    fields_.resize(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        fields_[i] = spreadsheetField(cells[i], header_ ? CellKind::Text : kinds_[i]);
    }
    header_ = false;
    appendDelimitedRow(buffer_, fields_, delimiter_, "\r\n");
    if (buffer_.size() >= kPieceBytes) {
        sink_(buffer_);
        buffer_.clear();
    }
}

void SpreadsheetWriter::finish() {
    if (!buffer_.empty()) {
        sink_(buffer_);
        buffer_.clear();
    }
}

std::string spreadsheetFile(const std::vector<TableRow>& rows, const ColumnKinds& kinds,
                            char delimiter) {
    std::string out;
    SpreadsheetWriter writer(delimiter, kinds, [&out](std::string_view piece) { out += piece; });
    for (const TableRow& row : rows) {
        writer.row(row);
    }
    writer.finish();
    return out;
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
