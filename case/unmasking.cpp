#include "case/unmasking.h"

#include <algorithm>

namespace pelmora {

namespace {

constexpr std::string_view kLockHead = "questioned texts locked, each with its code and SHA-256:";
constexpr std::string_view kLockedRole = "Q";

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

const RecordedFile* fileNamed(const RunRecord& run, std::string_view nameBytes) {
    const auto found = std::find_if(run.files.begin(), run.files.end(), [&](const RecordedFile& f) {
        return f.nameBytes == nameBytes;
    });
    return found == run.files.end() ? nullptr : &*found;
}

std::string roleChangeLine(const std::string& nameBytes, Role now) {
    return recordField(nameBytes) + ": locked as a questioned text, now " +
           (now == Role::None ? std::string("without a role") : std::string(roleName(now)));
}

std::optional<std::string> runChangeLine(const LockedText& text, const RunRecord& run) {
    const RecordedFile* file = fileNamed(run, text.nameBytes);
    const std::string name = recordField(text.nameBytes);
    if (file == nullptr) {
        return name + ": locked as a questioned text, missing from the last run";
    }
    if (file->unreadable) {
        return name + ": locked as a questioned text, not read by the last run";
    }
    if (file->sha256 != text.sha256) {
        return name + ": content changed since the lock (its SHA-256 differs from the locked one)";
    }
    if (file->code != text.code) {
        return name + ": code changed since the lock (locked " + text.code + ", now " + file->code +
               ")";
    }
    return std::nullopt;
}

}  // namespace

VisibleResults visibleResults(UnmaskingStage stage) {
    if (stage == UnmaskingStage::Unlocked) {
        return {true, false, false};
    }
    return {};
}

bool mayShow(const VisibleResults& visible, CaseTable table) {
    switch (table) {
        case CaseTable::QuestionedKnown:
            return visible.questioned && visible.known;
        case CaseTable::KnownKnown:
            return visible.known;
        case CaseTable::QuestionedReference:
        case CaseTable::Matched:
            return visible.questioned && visible.reference;
        case CaseTable::QuestionedQuestioned:
            return visible.questioned;
    }
    return false;
}

std::string lockDetails(const std::vector<LockedText>& texts, const std::string& evidence) {
    std::string out(kLockHead);
    for (const LockedText& t : texts) {
        out += "\n" + std::string(kLockedRole) + "\t" + recordField(t.nameBytes) + "\t" + t.code +
               "\t" + t.sha256;
    }
    return out + "\n\n" + evidence;
}

std::optional<std::vector<LockedText>> lockedTextsOf(std::string_view details) {
    const std::size_t end = details.find("\n\n");
    if (end == std::string_view::npos || details.substr(0, details.find('\n')) != kLockHead) {
        return std::nullopt;
    }
    std::vector<LockedText> texts;
    std::string_view lines = details.substr(kLockHead.size(), end - kLockHead.size());
    while (!lines.empty()) {
        lines.remove_prefix(1);  // the line end before each line
        const std::string_view line = lines.substr(0, lines.find('\n'));
        lines.remove_prefix(line.size());
        const std::vector<std::string_view> fields = fieldsOf(line);
        std::optional<std::string> name =
            fields.size() == 4 ? recordFieldBytes(fields[1]) : std::nullopt;
        if (!name || fields[0] != kLockedRole) {
            return std::nullopt;
        }
        texts.push_back({std::move(*name), std::string(fields[2]), std::string(fields[3])});
    }
    return texts;
}

std::vector<std::string> lockChanges(const std::vector<LockedText>& locked,
                                     const Metadata& metadata, const RunRecord* run) {
    std::vector<std::string> lines;
    for (const LockedText& text : locked) {
        const Role now = metadata.roleOf(text.nameBytes);
        if (now != Role::Questioned) {
            lines.push_back(roleChangeLine(text.nameBytes, now));
        } else if (run != nullptr) {
            if (auto line = runChangeLine(text, *run)) {
                lines.push_back(std::move(*line));
            }
        }
    }
    for (const MetadataRow& row : metadata.rows) {
        const bool wasLocked = std::any_of(locked.begin(), locked.end(), [&](const LockedText& t) {
            return t.nameBytes == row.nameBytes;
        });
        if (row.role == Role::Questioned && !wasLocked) {
            lines.push_back(recordField(row.nameBytes) + ": questioned since the lock, not locked");
        }
    }
    return lines;
}

std::vector<TableRow> questionedCodesTable(const RunResult& run, const CaseTexts& texts,
                                           NameStyle style) {
    std::vector<TableRow> rows = {{"questioned", "code"}};
    for (int position : texts.questioned) {
        const TextRecord& text = run.texts[static_cast<std::size_t>(position)];
        rows.push_back({shownName(text.name, style), text.code});
    }
    return rows;
}

}  // namespace pelmora
