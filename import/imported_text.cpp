#include "import/imported_text.h"

#include <algorithm>

namespace pelmora {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && isSpace(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isSpace(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

Error unconvertible(std::string reason) {
    return Error{Error::Code::Unconvertible, std::move(reason), {}};
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

int lineCount(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const auto breaks = std::count(text.begin(), text.end(), '\n');
    return static_cast<int>(breaks) + (text.back() == '\n' ? 0 : 1);
}

long long wordCount(std::string_view text) {
    long long words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool space = isSpace(c);
        words += !space && !inWord ? 1 : 0;
        inWord = !space;
    }
    return words;
}

std::string tidyLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool blankPending = false;
    while (!text.empty()) {
        // A CR alone ends a line as well: no CR is left in the text.
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = trimmed(text.substr(0, end));
        const bool crLf = text.substr(end, 2) == "\r\n";
        text.remove_prefix(std::min(end + (crLf ? 2 : 1), text.size()));
        if (line.empty()) {
            blankPending = !out.empty();
            continue;
        }
        if (blankPending) {
            out += '\n';
            blankPending = false;
        }
        out.append(line);
        out += '\n';
    }
    return out;
}

void addRemoval(std::vector<Removal>& removals, std::string_view what, int lines, bool ofSource) {
    if (lines <= 0) {
        return;
    }
    const auto same = std::find_if(removals.begin(), removals.end(),
                                   [what](const Removal& removal) { return removal.what == what; });
    if (same != removals.end()) {
        same->lines += lines;
    } else {
        removals.push_back(Removal{std::string(what), lines, ofSource});
    }
}

}  // namespace pelmora
