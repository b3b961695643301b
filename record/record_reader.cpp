#include "record/run_record.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "app/sha256.h"
#include "record/record_syntax.h"
#include "stores/text_encoding.h"

namespace pelmora {

using record_syntax::kFirstLine;
using record_syntax::kOldFirstLine;

namespace {

bool unescapeField(std::string_view s, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out.push_back(s[i]);
            continue;
        }
        if (++i >= s.size()) {
            return false;
        }
        switch (s[i]) {
            case '\\':
                out.push_back('\\');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 'x': {
                const auto hex = [](char h) {
                    return h >= '0' && h <= '9'   ? h - '0'
                           : h >= 'A' && h <= 'F' ? h - 'A' + 10
                           : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                                  : -1;
                };
                if (i + 2 >= s.size() || hex(s[i + 1]) < 0 || hex(s[i + 2]) < 0) {
                    return false;
                }
                out.push_back(static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2])));
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return out;
        }
        start = tab + 1;
    }
}

bool parseSize(std::string_view s, std::uint64_t& out) {
    if (s.empty() || s.size() > 19) {
        return false;
    }
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
        out = out * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

// Strictly as digitCounts writes them: digits rising, each given by at least one resample,
// together by no more than `resamples`.
bool parseDigitCounts(std::string_view s, std::uint64_t resamples, std::array<int, 10>& counts) {
    counts = {};
    if (s == "-") {
        return true;
    }
    std::uint64_t total = 0;
    int last = -1;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(' ', start);
        if (end == std::string_view::npos) {
            end = s.size();
        }
        const std::string_view item = s.substr(start, end - start);
        std::uint64_t n = 0;
        if (item.size() < 3 || item[0] < '0' || item[0] > '9' || item[0] - '0' <= last ||
            item[1] != ':' || !parseSize(item.substr(2), n) || n == 0 || n > resamples) {
            return false;
        }
        total += n;
        last = item[0] - '0';
        counts[static_cast<std::size_t>(last)] = static_cast<int>(n);
        start = end + 1;
    }
    return total <= resamples;
}

bool isSha256(std::string_view s) {
    return s.size() == 64 && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Five digits, or four when the formality field gave none.
bool isTypeCode(std::string_view s) {
    return (s.size() == 4 || s.size() == 5) &&
           s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool isEncodingName(std::string_view s) {
    for (const TextEncoding e : {TextEncoding::Ascii, TextEncoding::Utf8, TextEncoding::Utf16LE,
                                 TextEncoding::Utf16BE, TextEncoding::Windows1252}) {
        if (s == encodingName(e)) {
            return true;
        }
    }
    return false;
}

Error badRecord(std::size_t lineNumber, std::string_view what,
                Error::Code code = Error::Code::RecordUnusable) {
    return {code,
            "The run record is not readable at line " + std::to_string(lineNumber) + ": " +
                std::string(what) + ".",
            "not a run record"};
}

Error incompleteRecord(std::size_t lineNumber, std::string_view what) {
    return {Error::Code::RecordUnusable,
            "The run record is incomplete at line " + std::to_string(lineNumber) + ": " +
                std::string(what) + ".",
            "incomplete run record"};
}

// The entries of a record, each checked as it is read; a problem is the reason for refusing
// the record at that line.
class RecordReader {
public:
    std::optional<std::string> entry(std::size_t lineNumber,
                                     const std::vector<std::string_view>& f) {
        const std::string_view kind = f[0];
        const auto fields = [&](std::size_t n) -> std::optional<std::string> {
            if (f.size() == n) {
                return std::nullopt;
            }
            return "a \"" + std::string(kind) + "\" line has " + std::to_string(n) +
                   " fields, not " + std::to_string(f.size());
        };
        if (kind == "version" || kind == "created" || kind == "folder") {
            if (auto wrong = fields(2)) {
                return wrong;
            }
            std::string& to = kind == "version"   ? r_.version
                              : kind == "created" ? r_.created
                                                  : r_.folder;
            if (!seen_.insert(std::string(kind)).second) {
                return "a second \"" + std::string(kind) + "\" line";
            }
            return unescaped(f[1], to);
        }
        if (kind == "file") {
            if (auto wrong = fields(6)) {
                return wrong;
            }
            return fileEntry(f);
        }
        if (kind == "unreadable") {
            if (auto wrong = fields(3)) {
                return wrong;
            }
            RecordedFile file;
            file.unreadable = true;
            if (auto bad = unescaped(f[1], file.reason)) {
                return bad;
            }
            return addFile(std::move(file), f[2]);
        }
        if (kind == "resampling") {
            if (auto wrong = fields(4)) {
                return wrong;
            }
            std::uint64_t resamples = 0, block = 0;
            if (resamplingLine_ != 0) {
                return std::string("a second \"resampling\" line");
            }
            if (!parseSize(f[1], resamples) || resamples == 0 ||
                resamples > StabilityOptions::kMostResamples || !parseSize(f[2], block) ||
                block == 0 || block > StabilityOptions::kMostBlockWords) {
                return "the resampling is not 1 to " +
                       std::to_string(StabilityOptions::kMostResamples) +
                       " resamples of blocks of 1 to " +
                       std::to_string(StabilityOptions::kMostBlockWords) + " words";
            }
            r_.resamples = static_cast<int>(resamples);
            r_.blockWords = static_cast<int>(block);
            resamplingLine_ = lineNumber;
            return unescaped(f[3], r_.seedingRule);
        }
        if (kind == "resampled" || kind == "too short" || kind == "not measured") {
            if (auto wrong = fields(kind == "resampled" ? 8 : kind == "too short" ? 2 : 3)) {
                return wrong;
            }
            return addStability(kind, f);
        }
        return "unknown entry \"" + std::string(kind) + "\"";
    }

    // The checks that need the whole record; the record, or the line and reason to refuse it.
    Result<RunRecord> finish(std::size_t lastLine) {
        if (seen_.count("version") == 0) {
            return badRecord(lastLine, "it names no program version");
        }
        for (const RecordedFile& f : r_.files) {
            if (r_.resamples > 0 && !f.unreadable && !f.stability) {
                return badRecord(resamplingLine_, "the record gives no stability for \"" +
                                                      recordField(f.nameBytes) + "\"");
            }
        }
        return std::move(r_);
    }

private:
    // A "file" line of six fields.
    std::optional<std::string> fileEntry(const std::vector<std::string_view>& f) {
        RecordedFile file;
        if (!parseSize(f[1], file.byteSize)) {
            return "the size is not a number";
        }
        // The digest is written as it is, never escaped.
        if (!isSha256(f[2])) {
            return "the SHA-256 is not 64 lower-case hexadecimal digits";
        }
        if (!isEncodingName(f[3])) {
            return "the encoding is none this version names";
        }
        if (!isTypeCode(f[4])) {
            return "the type code is not four or five digits";
        }
        file.sha256 = f[2];
        file.encoding = f[3];
        file.code = f[4];
        return addFile(std::move(file), f[5]);
    }

    static std::optional<std::string> unescaped(std::string_view field, std::string& out) {
        if (!unescapeField(field, out)) {
            return std::string("a backslash starts no known escape");
        }
        return std::nullopt;
    }

    std::optional<std::string> addFile(RecordedFile file, std::string_view name) {
        if (auto bad = unescaped(name, file.nameBytes)) {
            return bad;
        }
        if (file.nameBytes.empty()) {
            return std::string("a file without a name");
        }
        if (!at_.emplace(file.nameBytes, r_.files.size()).second) {
            return "\"" + recordField(file.nameBytes) + "\" is listed twice";
        }
        r_.files.push_back(std::move(file));
        return std::nullopt;
    }

    std::optional<std::string> addStability(std::string_view kind,
                                            const std::vector<std::string_view>& f) {
        if (r_.resamples == 0) {
            return std::string("stability before the \"resampling\" line");
        }
        std::string name;
        if (auto bad = unescaped(f.back(), name)) {
            return bad;
        }
        const auto found = at_.find(name);
        if (found == at_.end() || r_.files[found->second].unreadable) {
            return std::string("stability for a file the record does not list as read");
        }
        RecordedFile& file = r_.files[found->second];
        if (file.stability) {
            return "a second stability line for \"" + recordField(name) + "\"";
        }
        RecordedStability counts;
        const auto resamples = static_cast<std::uint64_t>(r_.resamples);
        if (kind == "too short") {
            counts.tooShort = true;
        } else if (kind == "not measured") {
            if (auto bad = unescaped(f[1], counts.notMeasured)) {
                return bad;
            }
            if (counts.notMeasured.empty()) {
                return std::string("a text not measured without the reason");
            }
        } else {
            std::uint64_t kept = 0;
            if (!parseSize(f[1], kept) || kept > resamples) {
                return "the resamples keeping the code are not a number up to the record's " +
                       std::to_string(resamples);
            }
            counts.codeKept = static_cast<int>(kept);
            for (std::size_t k = 0; k < counts.digits.size(); ++k) {
                if (!parseDigitCounts(f[2 + k], resamples, counts.digits[k])) {
                    return "a digit's resamples are not as \"0:13 1:187\", together up to the "
                           "record's " +
                           std::to_string(resamples);
                }
            }
        }
        file.stability = std::move(counts);
        return std::nullopt;
    }

    RunRecord r_;
    std::unordered_map<std::string, std::size_t> at_;  // each file's place by its name
    std::set<std::string> seen_;                       // the header lines read
    std::size_t resamplingLine_ = 0;
};

}  // namespace

std::optional<std::string> recordFieldBytes(std::string_view field) {
    std::string bytes;
    if (!unescapeField(field, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

Result<RunRecord> parseRecord(std::string_view text, bool* withoutEndLine) {
    if (text.empty()) {
        return badRecord(1, "it is empty");
    }
    const std::size_t firstEnd = text.find('\n');
    if (firstEnd == std::string_view::npos && kFirstLine.substr(0, text.size()) == text) {
        return incompleteRecord(1, "it ends inside the line, without its end line");
    }
    std::string_view first = text.substr(0, firstEnd);
    if (first == std::string(kFirstLine) + "\r") {
        return badRecord(1, "its line ends were changed to CR LF, so it is not as written");
    }
    // An older record may have passed through an editor that wrote CR LF.
    const bool old = first == kOldFirstLine || first == std::string(kOldFirstLine) + "\r";
    if (withoutEndLine != nullptr) {
        *withoutEndLine = old;
    }
    if (!old && first != kFirstLine) {
        return badRecord(1, "it does not start with \"" + std::string(kFirstLine) + "\", or \"" +
                                std::string(kOldFirstLine) + "\" as older records do");
    }
    if (text.back() != '\n') {
        return incompleteRecord(
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1,
            "it ends inside the line, without its end line");
    }
    RecordReader reader;
    std::size_t lineNumber = 1;
    for (std::size_t start = firstEnd + 1; start < text.size();) {
        const std::size_t lineStart = start;
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (old && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!isValidUtf8(line)) {
            return badRecord(lineNumber, "it holds a byte that is not UTF-8", Error::Code::NotUtf8);
        }
        if (line.empty() || line.front() == '#') {
            if (line.empty() && !old) {
                return badRecord(lineNumber, "an empty line");
            }
            continue;
        }
        const std::vector<std::string_view> f = splitTabs(line);
        if (!old && f[0] == "end") {
            std::uint64_t count = 0;
            if (f.size() != 3 || !parseSize(f[1], count) || !isSha256(f[2])) {
                return incompleteRecord(lineNumber,
                                        "the end line is not \"end\", the number of lines above "
                                        "it and their SHA-256");
            }
            if (count != lineNumber - 1) {
                return incompleteRecord(lineNumber, "the end line counts " + std::string(f[1]) +
                                                        " lines above it, not " +
                                                        std::to_string(lineNumber - 1));
            }
            if (f[2] != sha256Hex(text.substr(0, lineStart))) {
                return incompleteRecord(
                    lineNumber, "the SHA-256 of the lines above it is not the one it states");
            }
            if (start != text.size()) {
                return badRecord(lineNumber + 1, "it goes on after its end line");
            }
            return reader.finish(lineNumber);
        }
        if (const std::optional<std::string> problem = reader.entry(lineNumber, f)) {
            return badRecord(lineNumber, *problem);
        }
    }
    if (!old) {
        return incompleteRecord(lineNumber, "it ends after this line, without its end line");
    }
    return reader.finish(lineNumber);
}

}  // namespace pelmora
