#include "import/chat_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "stores/text_encoding.h"

namespace pelmora {

namespace {

// Left-to-right marks that one phone puts before system lines and attachments, and the
// spaces another puts before AM and PM.
constexpr std::string_view kLeftToRightMark = "\xE2\x80\x8E";
constexpr std::string_view kNarrowNoBreakSpace = "\xE2\x80\xAF";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

// The longest participant name taken as one; a longer "name" is text with a colon in it.
constexpr std::size_t kLongestName = 80;

struct MessageLine {
    bool system = false;  // no participant's name, or a line the app wrote
    std::string_view name;
    std::string_view text;
};

class Cursor {
public:
    explicit Cursor(std::string_view rest) : rest_(rest) {}
    std::string_view rest() const { return rest_; }
    bool take(std::string_view what) {
        if (!rest_.starts_with(what)) {
            return false;
        }
        rest_.remove_prefix(what.size());
        return true;
    }
    int digits(int most) {
        int n = 0;
        while (n < most && n < static_cast<int>(rest_.size()) && rest_[n] >= '0' &&
               rest_[n] <= '9') {
            ++n;
        }
        rest_.remove_prefix(n);
        return n;
    }
    void skipMarks() {
        while (take(kLeftToRightMark)) {
        }
    }

private:
    std::string_view rest_;
};

bool takeDate(Cursor& c) {
    const auto separator = [&c] { return c.take("/") || c.take(".") || c.take("-"); };
    return c.digits(4) > 0 && separator() && c.digits(2) > 0 && separator() && c.digits(4) >= 2;
}

bool takeTime(Cursor& c) {
    if (c.digits(2) == 0 || !c.take(":") || c.digits(2) != 2) {
        return false;
    }
    if (c.take(":") && c.digits(2) != 2) {
        return false;
    }
    Cursor meridiem = c;
    if (meridiem.take(" ") || meridiem.take(kNarrowNoBreakSpace) || meridiem.take(kNoBreakSpace)) {
        if (meridiem.take("AM") || meridiem.take("PM") || meridiem.take("am") ||
            meridiem.take("pm") || meridiem.take("a.m.") || meridiem.take("p.m.")) {
            c = meridiem;
        }
    }
    return true;
}

// Text that the app writes in a participant's place.
bool isSystemText(std::string_view text) {
    return text.starts_with(kLeftToRightMark) ||
           text.find("end-to-end encrypted") != std::string_view::npos;
}

bool isMediaPlaceholder(std::string_view text) {
    static constexpr std::string_view kPlaceholders[] = {
        "<Media omitted>", "image omitted",   "video omitted",    "audio omitted",
        "GIF omitted",     "sticker omitted", "document omitted", "Contact card omitted"};
    return std::any_of(std::begin(kPlaceholders), std::end(kPlaceholders),
                       [text](std::string_view p) { return text == p; });
}

std::optional<MessageLine> messageLine(std::string_view line) {
    Cursor c(line);
    c.skipMarks();
    const bool bracket = c.take("[");
    if (!takeDate(c) || !(c.take(", ") || c.take(" ")) || !takeTime(c)) {
        return std::nullopt;
    }
    if (!(bracket ? c.take("] ") : c.take(" - "))) {
        return std::nullopt;
    }
    c.skipMarks();
    const std::string_view rest = c.rest();
    const std::size_t colon = rest.find(": ");
    if (colon == std::string_view::npos || colon == 0 || colon > kLongestName) {
        return MessageLine{true, {}, rest};
    }
    MessageLine message{false, rest.substr(0, colon), rest.substr(colon + 2)};
    Cursor bare(message.text);
    bare.skipMarks();
    if (isMediaPlaceholder(bare.rest())) {
        message.text = bare.rest();
    } else {
        message.system = isSystemText(message.text);
    }
    return message;
}

struct Participant {
    std::string name;
    std::string text;
    std::vector<Removal> removals;
};

}  // namespace

bool looksLikeChatExport(std::string_view bytes) {
    const std::string text = decodeText(std::string(bytes.substr(0, 4096))).text;
    for (const std::string_view line : linesOf(text)) {
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            return messageLine(line).has_value();
        }
    }
    return false;
}

std::optional<Error> readChatExport(std::string_view bytes, const ImportOptions& options,
                                    const TextSink& sink) {
    const std::string text = decodeText(std::string(bytes)).text;
    std::vector<Participant> participants;
    int systemLines = 0;
    Participant* current = nullptr;  // whose message the next lines continue
    for (const std::string_view line : linesOf(text)) {
        const std::optional<MessageLine> message = messageLine(line);
        if (!message) {
            if (current != nullptr) {
                current->text.append(line).append("\n");
            } else {
                systemLines += line.empty() ? 0 : 1;
            }
            continue;
        }
        if (message->system) {
            ++systemLines;
            current = nullptr;
            continue;
        }
        auto found = std::find_if(participants.begin(), participants.end(),
                                  [&](const Participant& p) { return p.name == message->name; });
        if (found == participants.end()) {
            participants.push_back(Participant{std::string(message->name), {}, {}});
            found = participants.end() - 1;
        }
        current = &*found;
        if (isMediaPlaceholder(message->text) && !options.keepEverything) {
            addRemoval(current->removals, "media omitted", 1);
            current = nullptr;  // a placeholder is never continued
            continue;
        }
        current->text.append(message->text).append("\n");
    }
    bool wrote = false;
    for (Participant& p : participants) {
        ImportedText out;
        out.text = tidyLines(p.text);
        if (out.text.empty()) {
            continue;
        }
        out.part = p.name;
        out.suffix = "-" + p.name;
        out.author = p.name;
        out.removals = std::move(p.removals);
        addRemoval(out.removals, "system lines of the chat", systemLines, true);
        sink(std::move(out));
        wrote = true;
    }
    if (!wrote) {
        return unconvertible("no participant's message was found in the chat export");
    }
    return std::nullopt;
}

}  // namespace pelmora
