#include "exports/run_names.h"

#include <optional>

#include "record/run_record.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

// The code point of the UTF-8 sequence at `at` and its length, or nothing for bytes that do
// not form one.
std::optional<std::pair<char32_t, std::size_t>> codePointAt(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead >= 0x80 && lead < 0xC2) {
        return std::nullopt;
    }
    if (lead > 0xF4 || at + length > s.size() || !isValidUtf8(s.substr(at, length))) {
        return std::nullopt;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        c = (c << 6) | (static_cast<unsigned char>(s[at + k]) & 0x3F);
    }
    return std::pair{c, length};
}

// Whether a character may stand in a file name as it is. Spaces of every width, controls,
// the marks that turn text around or hide it, and ASCII punctuation but '_' and '.', may not.
bool keptInName(char32_t c) {
    if (c < 0x80) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               c == '_' || c == '.';
    }
    const bool invisible = c <= 0xA0 || c == 0xAD || (c >= 0x2000 && c <= 0x200F) ||
                           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) ||
                           c == 0x3000 || c == 0xFEFF || c >= 0xFFF0;
    return !invisible;
}

std::string safeStem(std::string_view name) {
    std::string out;
    bool gap = false;
    for (std::size_t at = 0; at < name.size();) {
        const auto point = codePointAt(name, at);
        const std::size_t length = point ? point->second : 1;
        if (point && keptInName(point->first)) {
            if (gap && !out.empty()) {
                out += '-';
            }
            gap = false;
            if (out.size() + length > kMostNameBytes) {
                break;
            }
            out.append(name.substr(at, length));
        } else {
            gap = true;
        }
        at += length;
    }
    // A leading dot would hide the file; trailing ones look like an extension.
    while (!out.empty() && (out.front() == '.' || out.front() == '-')) {
        out.erase(out.begin());
    }
    while (!out.empty() && (out.back() == '.' || out.back() == '-')) {
        out.pop_back();
    }
    return out.empty() ? std::string("pelmora") : out;
}

}  // namespace

std::string safeFileName(std::string_view name, std::string_view date, std::string_view what,
                         std::string_view extension) {
    std::string out = safeStem(name);
    for (std::string_view part : {date, what}) {
        if (!part.empty()) {
            out.append(1, '-').append(part);
        }
    }
    return out.append(extension);
}

std::string folderName(const std::filesystem::path& folder) {
    std::filesystem::path tidy = folder.lexically_normal();
    if (!tidy.has_filename() && tidy.has_parent_path() && tidy != tidy.root_path()) {
        tidy = tidy.parent_path();
    }
    return tidy.filename().string();
}

std::string runDate(const RunResult& run) {
    return utcTimestampOf(run.startedAt).substr(0, 10);
}

std::string runFileName(const RunResult& run, std::string_view what, std::string_view extension) {
    return safeFileName(folderName(run.folder), runDate(run), what, extension);
}

std::string runCaption(const RunResult& run) {
    const std::string time = utcTimestampOf(run.startedAt);
    return "Folder " + displayText(run.folder.string()) + " \xC2\xB7 run of " + time.substr(0, 10) +
           " " + time.substr(11, 5) + " UTC \xC2\xB7 run record " +
           runDigest(run).substr(0, kCaptionDigestDigits);
}

}  // namespace pelmora
