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

Error badRecord(std::size_t lineNumber, std::string_view what,
                Error::Code code = Error::Code::RecordUnusable) {
    return {code,
            "The run record is not readable at line " + std::to_string(lineNumber) + ": " +
                std::string(what) + ".",
            "not a run record"};
}

}  // namespace

RunRecord recordOf(const RunResult& run, std::string created) {
    RunRecord r{PELMORA_VERSION, std::move(created), run.folder.native(), {}};
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
            return badRecord(lineNumber, "it holds a byte that is not UTF-8",
                             Error::Code::NotUtf8);
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

Verification verifyRun(const RunRecord& recorded, const RunRecord& now, NameStyle style) {
    Verification v;
    if (recorded.version != now.version) {
        v.note = "The record was made by Pelmora " + recorded.version + "; this is Pelmora " +
                 now.version + ".";
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
                v.differences.push_back(named(was) + ": was left out as unreadable (" +
                                        was.reason + "), is now read");
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
    }
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
               (fileCount == 1 ? " file" : " files") + ", every file and code as recorded.\n";
    }
    out += "Changed since the record:\n";
    for (const std::string& d : v.differences) {
        out += d + "\n";
    }
    return out;
}

}  // namespace pelmora
