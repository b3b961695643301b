#include "evidence/run_record.h"

#include <ctime>
#include <map>

#include "stores/text_encoding.h"

namespace pelmora {

namespace {

constexpr std::string_view kFirstLine = "Pelmora run record";

std::string escapeField(std::string_view s) {
    std::string out;
    const bool valid = isValidUtf8(s);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        // Bytes of a name that is not UTF-8 are written as hexadecimal escapes one by one; a
        // valid name keeps its characters.
        if (!valid && (static_cast<unsigned char>(c) & 0x80) != 0) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto b = static_cast<unsigned char>(c);
            out += "\\x";
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0xF]);
            continue;
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

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

// "0:13 1:187": each digit some resample gave, with how many gave it.
std::string digitCounts(const std::array<int, 10>& counts) {
    std::string out;
    for (std::size_t d = 0; d < counts.size(); ++d) {
        if (counts[d] > 0) {
            if (!out.empty()) {
                out += ' ';
            }
            out.append(std::to_string(d)).append(1, ':').append(std::to_string(counts[d]));
        }
    }
    return out.empty() ? "-" : out;
}

bool parseDigitCounts(std::string_view s, std::array<int, 10>& counts) {
    counts = {};
    if (s == "-") {
        return true;
    }
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(' ', start);
        if (end == std::string_view::npos) {
            end = s.size();
        }
        const std::string_view item = s.substr(start, end - start);
        std::uint64_t n = 0;
        if (item.size() < 3 || item[0] < '0' || item[0] > '9' || item[1] != ':' ||
            !parseSize(item.substr(2), n) || n > 1000000) {
            return false;
        }
        counts[static_cast<std::size_t>(item[0] - '0')] = static_cast<int>(n);
        start = end + 1;
    }
    return true;
}

Error badRecord(std::size_t lineNumber, std::string_view what,
                Error::Code code = Error::Code::RecordUnusable) {
    return {code,
            "The run record is not readable at line " + std::to_string(lineNumber) + ": " +
                std::string(what) + ".",
            "not a run record"};
}

}  // namespace

RunRecord recordOf(const RunResult& run, std::string created, const RunStability* stability) {
    RunRecord r;
    r.version = PELMORA_VERSION;
    r.created = std::move(created);
    r.folder = run.folder.native();
    if (stability != nullptr) {
        r.resamples = stability->options.resamples;
        r.blockWords = stability->options.blockWords;
        r.seedingRule = kSeedingRule;
    }
    for (const TextRecord& t : run.texts) {
        if (!t.inRun) {
            continue;
        }
        RecordedFile f;
        f.nameBytes = t.nameBytes;
        f.code = t.code;
        f.byteSize = t.file.byteSize;
        f.sha256 = t.file.sha256;
        f.encoding = encodingName(t.file.encoding);
        if (const TextStability* s = stability ? stability->of(t.position) : nullptr) {
            RecordedStability counts;
            counts.tooShort = s->tooShort;
            for (const std::string& code : s->codes) {
                counts.codeKept += code == t.code ? 1 : 0;
            }
            for (std::size_t k = 0; k < counts.digits.size(); ++k) {
                counts.digits[k] = s->digits[k].ofDigit;
            }
            f.stability = counts;
        }
        r.files.push_back(std::move(f));
    }
    for (const SkippedFile& s : run.leftOut) {
        RecordedFile f;
        f.nameBytes = s.nameBytes;
        f.unreadable = true;
        f.reason = s.reason;
        r.files.push_back(std::move(f));
    }
    return r;
}

std::string utcTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buf;
}

std::string recordText(const RunRecord& r) {
    std::string out(kFirstLine);
    out += "\nversion\t" + escapeField(r.version) + "\ncreated\t" + escapeField(r.created) +
           "\nfolder\t" + escapeField(r.folder) + "\n";
    out += "# file, size in bytes, SHA-256, encoding, type code, name\n";
    for (const RecordedFile& f : r.files) {
        if (f.unreadable) {
            out += "unreadable\t" + escapeField(f.reason) + "\t" + escapeField(f.nameBytes) + "\n";
        } else {
            out += "file\t" + std::to_string(f.byteSize) + "\t" + f.sha256 + "\t" +
                   escapeField(f.encoding) + "\t" + escapeField(f.code) + "\t" +
                   escapeField(f.nameBytes) + "\n";
        }
    }
    if (r.resamples > 0) {
        out += "resampling\t" + std::to_string(r.resamples) + "\t" + std::to_string(r.blockWords) +
               "\t" + escapeField(r.seedingRule) + "\n";
        out +=
            "# resampled file, resamples giving the whole code, resamples giving each digit "
            "at each place, name\n";
        for (const RecordedFile& f : r.files) {
            if (!f.stability) {
                continue;
            }
            if (f.stability->tooShort) {
                out += "too short\t" + escapeField(f.nameBytes) + "\n";
                continue;
            }
            out += "resampled\t" + std::to_string(f.stability->codeKept);
            for (const auto& counts : f.stability->digits) {
                out.append(1, '\t').append(digitCounts(counts));
            }
            out += "\t" + escapeField(f.nameBytes) + "\n";
        }
    }
    return out;
}

std::string recordField(std::string_view field) {
    return escapeField(field);
}

std::vector<TableRow> recordTable(const RunRecord& r) {
    std::vector<TableRow> rows{{"name", "size", "SHA-256", "encoding", "code", "left out because"}};
    for (const RecordedFile& f : r.files) {
        if (f.unreadable) {
            rows.push_back({escapeField(f.nameBytes), "", "", "", "", escapeField(f.reason)});
        } else {
            rows.push_back({escapeField(f.nameBytes), std::to_string(f.byteSize), f.sha256,
                            escapeField(f.encoding), escapeField(f.code), ""});
        }
    }
    return rows;
}

ColumnKinds recordColumnKinds() {
    return {{CellKind::Text, CellKind::Number, CellKind::Text, CellKind::Text, CellKind::Code}};
}

Result<RunRecord> parseRecord(std::string_view text) {
    RunRecord r;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    bool sawVersion = false;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);  // a record that passed through an editor with CR LF
        }
        if (!isValidUtf8(line)) {
            return badRecord(lineNumber, "it holds a byte that is not UTF-8", Error::Code::NotUtf8);
        }
        if (lineNumber == 1) {
            if (line != kFirstLine) {
                return badRecord(1, "it does not start with \"Pelmora run record\"");
            }
            continue;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::vector<std::string_view> f = splitTabs(line);
        std::vector<std::string> v(f.size());
        for (std::size_t i = 0; i < f.size(); ++i) {
            if (!unescapeField(f[i], v[i])) {
                return badRecord(lineNumber, "a backslash starts no known escape");
            }
        }
        if (v[0] == "version" && v.size() == 2) {
            r.version = v[1];
            sawVersion = true;
        } else if (v[0] == "created" && v.size() == 2) {
            r.created = v[1];
        } else if (v[0] == "folder" && v.size() == 2) {
            r.folder = v[1];
        } else if (v[0] == "file" && v.size() == 6) {
            RecordedFile file;
            if (!parseSize(v[1], file.byteSize)) {
                return badRecord(lineNumber, "the size is not a number");
            }
            file.sha256 = v[2];
            file.encoding = v[3];
            file.code = v[4];
            file.nameBytes = v[5];
            r.files.push_back(std::move(file));
        } else if (v[0] == "resampling" && v.size() == 4) {
            std::uint64_t resamples = 0, block = 0;
            if (!parseSize(v[1], resamples) || !parseSize(v[2], block) || resamples == 0 ||
                resamples > 1000000 || block == 0 || block > 1000000) {
                return badRecord(lineNumber, "the resampling is not two whole numbers");
            }
            r.resamples = static_cast<int>(resamples);
            r.blockWords = static_cast<int>(block);
            r.seedingRule = v[3];
        } else if ((v[0] == "resampled" && v.size() == 8) ||
                   (v[0] == "too short" && v.size() == 2)) {
            RecordedFile* file = nullptr;
            for (RecordedFile& f : r.files) {
                file = !f.unreadable && f.nameBytes == v.back() ? &f : file;
            }
            if (file == nullptr || r.resamples == 0) {
                return badRecord(lineNumber, "stability for a file the record does not list");
            }
            RecordedStability counts;
            counts.tooShort = v[0] == "too short";
            if (!counts.tooShort) {
                std::uint64_t kept = 0;
                if (!parseSize(v[1], kept) || kept > 1000000) {
                    return badRecord(lineNumber, "the resamples keeping the code are no number");
                }
                counts.codeKept = static_cast<int>(kept);
                for (std::size_t k = 0; k < counts.digits.size(); ++k) {
                    if (!parseDigitCounts(v[2 + k], counts.digits[k])) {
                        return badRecord(lineNumber,
                                         "a digit's resamples are not as \"0:13 1:187\"");
                    }
                }
            }
            file->stability = counts;
        } else if (v[0] == "unreadable" && v.size() == 3) {
            RecordedFile file;
            file.unreadable = true;
            file.reason = v[1];
            file.nameBytes = v[2];
            r.files.push_back(std::move(file));
        } else {
            return badRecord(lineNumber, "unknown entry \"" + v[0] + "\"");
        }
    }
    if (lineNumber == 0) {
        return badRecord(1, "it is empty");
    }
    if (!sawVersion) {
        return badRecord(lineNumber, "it names no program version");
    }
    return r;
}

namespace {

void compareStability(const std::string& name, const RecordedStability& was,
                      const RecordedStability& is, int resamples,
                      std::vector<std::string>& differences) {
    if (was.tooShort != is.tooShort) {
        differences.push_back(name + (was.tooShort ? ": was too short to resample, now resampled"
                                                   : ": was resampled, now too short to resample"));
        return;
    }
    if (was.codeKept != is.codeKept) {
        differences.push_back(name + ": the whole code held in " + std::to_string(was.codeKept) +
                              " of " + std::to_string(resamples) + " resamples, now in " +
                              std::to_string(is.codeKept));
    }
    for (std::size_t k = 0; k < was.digits.size(); ++k) {
        if (was.digits[k] != is.digits[k]) {
            differences.push_back(name + ": digit " + std::to_string(k + 1) + " resampled as " +
                                  digitCounts(was.digits[k]) + ", now as " +
                                  digitCounts(is.digits[k]));
        }
    }
}

}  // namespace

Verification verifyRun(const RunRecord& recorded, const RunRecord& now, NameStyle style) {
    Verification v;
    if (recorded.version != now.version) {
        v.note = "The record was made by Pelmora " + recorded.version + "; this is Pelmora " +
                 now.version + ".";
    }
    if (recorded.resamples > 0 && recorded.seedingRule != now.seedingRule) {
        v.note += std::string(v.note.empty() ? "" : "\n") +
                  "The record's resamples were drawn by another rule (" + recorded.seedingRule +
                  "); the stability figures cannot agree.";
    }
    const auto named = [style](const RecordedFile& f) {
        return shownName(displayText(f.nameBytes), style);
    };
    std::map<std::string, const RecordedFile*> current;
    for (const RecordedFile& f : now.files) {
        current.emplace(f.nameBytes, &f);
    }
    std::map<std::string, const RecordedFile*> earlier;
    for (const RecordedFile& was : recorded.files) {
        earlier.emplace(was.nameBytes, &was);
        const auto found = current.find(was.nameBytes);
        if (found == current.end()) {
            v.differences.push_back(named(was) + ": missing from the folder");
            continue;
        }
        const RecordedFile& is = *found->second;
        if (was.unreadable || is.unreadable) {
            if (was.unreadable && !is.unreadable) {
                v.differences.push_back(named(was) + ": was left out as unreadable (" + was.reason +
                                        "), is now read");
            } else if (!was.unreadable && is.unreadable) {
                v.differences.push_back(named(was) + ": is now unreadable (" + is.reason + ")");
            }
            continue;
        }
        if (was.byteSize != is.byteSize || was.sha256 != is.sha256) {
            v.differences.push_back(named(was) + ": content changed (" +
                                    std::to_string(was.byteSize) + " bytes, now " +
                                    std::to_string(is.byteSize) + " bytes; SHA-256 differs)");
        }
        if (was.encoding != is.encoding) {
            v.differences.push_back(named(was) + ": encoding was " + was.encoding + ", now " +
                                    is.encoding);
        }
        if (was.code != is.code) {
            v.differences.push_back(named(was) + ": code was " + was.code + ", now " + is.code);
        }
        if (was.stability && is.stability && *was.stability != *is.stability) {
            compareStability(named(was), *was.stability, *is.stability, recorded.resamples,
                             v.differences);
        }
    }
    v.stabilityCompared = recorded.resamples > 0 && now.resamples > 0;
    for (const RecordedFile& is : now.files) {
        if (!earlier.count(is.nameBytes)) {
            v.differences.push_back(named(is) + ": new file, not in the record");
        }
    }
    return v;
}

std::string verificationText(const Verification& v, std::size_t fileCount) {
    std::string out = v.note.empty() ? "" : v.note + "\n";
    if (v.unchanged()) {
        return out + "Unchanged: " + std::to_string(fileCount) +
               (fileCount == 1 ? " file" : " files") + ", every file and code" +
               (v.stabilityCompared ? " and every stability figure" : "") + " as recorded.\n";
    }
    out += "Changed since the record:\n";
    for (const std::string& d : v.differences) {
        out += d + "\n";
    }
    return out;
}

}  // namespace pelmora
