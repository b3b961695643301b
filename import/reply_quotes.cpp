#include "import/reply_quotes.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace pelmora {

namespace {

std::string_view trimmed(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        return {};
    }
    return line.substr(start, line.find_last_not_of(" \t\r") - start + 1);
}

// "-----Original Message-----" and "----- Original Message -----", in any case.
bool isOriginalMessageLine(std::string_view line) {
    line = trimmed(line);
    if (!line.starts_with("--")) {
        return false;
    }
    std::string letters;
    for (const char c : line) {
        if (c != '-' && c != ' ') {
            letters.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    return letters == "originalmessage";
}

// "On Mon, 7 Dec 2026, Alice wrote:", on one line or broken over two.
bool isAttributionLine(const std::vector<std::string_view>& lines, std::size_t i) {
    const std::string_view line = trimmed(lines[i]);
    if (!line.starts_with("On ")) {
        return false;
    }
    return line.ends_with("wrote:") ||
           (i + 1 < lines.size() && trimmed(lines[i + 1]).ends_with("wrote:"));
}

bool isQuoted(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && line[start] == '>';
}

// Lines from `from` to `to` but blank lines at the end.
int linesWithoutTrailingBlanks(const std::vector<std::string_view>& lines, std::size_t from,
                               std::size_t to) {
    while (to > from && trimmed(lines[to - 1]).empty()) {
        --to;
    }
    return static_cast<int>(to - from);
}

}  // namespace

AuthorsLines authorsLines(std::string_view body, bool keepEverything) {
    AuthorsLines out;
    if (keepEverything) {
        out.text = tidyLines(body);
        return out;
    }
    const std::vector<std::string_view> lines = linesOf(body);
    std::size_t end = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isOriginalMessageLine(lines[i]) || isAttributionLine(lines, i)) {
            end = i;
            break;
        }
    }
    addRemoval(out.removals, "quoted original",
               linesWithoutTrailingBlanks(lines, end, lines.size()));
    for (std::size_t i = end; i-- > 0;) {
        if (lines[i] == "-- ") {
            addRemoval(out.removals, "signature", linesWithoutTrailingBlanks(lines, i, end));
            end = i;
            break;
        }
    }
    std::string kept;
    int quoted = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (isQuoted(lines[i])) {
            ++quoted;
        } else {
            kept.append(lines[i]).append("\n");
        }
    }
    addRemoval(out.removals, "quoted lines", quoted);
    out.text = tidyLines(kept);
    return out;
}

}  // namespace pelmora
