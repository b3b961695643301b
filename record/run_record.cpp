#include "record/run_record.h"

#include <algorithm>
#include <ctime>

#include "app/sha256.h"
#include "record/record_syntax.h"
#include "stores/text_encoding.h"
#include "version/version.h"

namespace pelmora {

namespace record_syntax {

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

}  // namespace record_syntax

using record_syntax::digitCounts;
using record_syntax::kEndComment;
using record_syntax::kFirstLine;

namespace {

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

}  // namespace

RunRecord recordOf(const RunResult& run, std::string created, const RunStability* stability) {
    RunRecord r;
    r.version = versionText();
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
            counts.notMeasured = s->notMeasured;
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
    return utcTimestampOf(std::time(nullptr));
}

std::string runDigest(const RunResult& run) {
    const std::string text = recordText(recordOf(run, utcTimestampOf(run.startedAt)));
    // The end line closes with the digest of every line above it.
    constexpr std::size_t kHexDigits = 64;
    return text.substr(text.size() - 1 - kHexDigits, kHexDigits);
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
            if (!f.stability->notMeasured.empty()) {
                out += "not measured\t" + escapeField(f.stability->notMeasured) + "\t" +
                       escapeField(f.nameBytes) + "\n";
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
    out.append(kEndComment).append(1, '\n');
    const auto lines = std::count(out.begin(), out.end(), '\n');
    out += "end\t" + std::to_string(lines) + "\t" + sha256Hex(out) + "\n";
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

}  // namespace pelmora
