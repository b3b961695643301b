#include "case/metadata.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include "formats/csv.h"
#include "record/run_record.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Each role's letter and name, in the order of Role.
constexpr std::array<std::array<std::string_view, 2>, 4> kRoleWords = {
    {{"", "none"}, {"Q", "questioned"}, {"K", "known"}, {"R", "reference"}}};

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> columnNamed(const std::vector<std::string>& header, std::string_view name) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (lowered(header[i]) == name) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

Error lineError(int line, std::string reason) {
    return Error{Error::Code::MetadataUnusable, "line " + std::to_string(line) + ": " + reason,
                 std::move(reason)};
}

// The line of the first byte that is not part of valid UTF-8.
int firstInvalidLine(std::string_view bytes) {
    std::size_t good = 0;
    for (std::size_t end = bytes.find('\n'); good < bytes.size(); end = bytes.find('\n', good)) {
        const std::size_t stop = end == std::string_view::npos ? bytes.size() : end + 1;
        if (!isValidUtf8(bytes.substr(good, stop - good))) {
            break;
        }
        good = stop;
    }
    const std::string_view before = bytes.substr(0, good);
    return 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
}

bool allEmpty(const TableRow& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& f) { return f.empty(); });
}

// The header's faults: no file column, or a column named twice.
std::optional<std::string> headerFault(const std::vector<std::string>& header) {
    std::unordered_set<std::string> seen;
    for (const std::string& name : header) {
        if (!seen.insert(lowered(name)).second) {
            return "the column \"" + name + "\" is named twice";
        }
    }
    if (!columnNamed(header, Metadata::kFileColumn)) {
        return "the header row names no \"file\" column";
    }
    return std::nullopt;
}

class RowReader {
public:
    RowReader(const Metadata& metadata, const std::vector<std::string>& folderNames)
        : header_(metadata.header),
          fileColumn_(metadata.fileColumn()),
          roleColumn_(metadata.roleColumn()),
          folder_(folderNames.begin(), folderNames.end()) {}

    // The row of one record, or why it cannot be one.
    std::optional<std::string> read(const TableRow& fields, int line, MetadataRow& row) {
        if (fields.size() != header_.size()) {
            return "the line has " + std::to_string(fields.size()) + " fields, the header " +
                   std::to_string(header_.size());
        }
        const std::string& file = fields[static_cast<std::size_t>(fileColumn_)];
        auto bytes = recordFieldBytes(file);
        if (!bytes) {
            return "the file name \"" + file + "\" holds a backslash that starts no escape";
        }
        if (bytes->empty()) {
            return std::string("the file name is empty");
        }
        if (auto [at, added] = listed_.emplace(*bytes, line); !added) {
            return "\"" + file + "\" is listed already on line " + std::to_string(at->second);
        }
        if (!folder_.contains(*bytes)) {
            return "the folder holds no file \"" + file + "\"";
        }
        row.nameBytes = std::move(*bytes);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (static_cast<int>(i) == roleColumn_) {
                const auto role = roleFromText(fields[i]);
                if (!role) {
                    return "unknown role \"" + fields[i] +
                           "\" (Q, K, R, questioned, known, reference or empty)";
                }
                row.role = *role;
            } else if (static_cast<int>(i) != fileColumn_) {
                row.values.push_back(fields[i]);
            }
        }
        return std::nullopt;
    }

private:
    const std::vector<std::string>& header_;
    int fileColumn_;
    std::optional<int> roleColumn_;
    std::unordered_set<std::string> folder_;
    std::unordered_map<std::string, int> listed_;  // name bytes, and the line that listed them
};

}  // namespace

std::string_view roleLetter(Role role) {
    return kRoleWords[static_cast<std::size_t>(role)][0];
}

std::string_view roleName(Role role) {
    return kRoleWords[static_cast<std::size_t>(role)][1];
}

std::optional<Role> roleFromText(std::string_view text) {
    const std::string word = lowered(trimmed(text));
    if (word.empty()) {
        return Role::None;
    }
    for (Role role : {Role::Questioned, Role::Known, Role::Reference}) {
        if (word == lowered(roleLetter(role)) || word == roleName(role)) {
            return role;
        }
    }
    return std::nullopt;
}

int Metadata::fileColumn() const {
    return columnNamed(header, kFileColumn).value_or(0);
}

std::optional<int> Metadata::roleColumn() const {
    return columnNamed(header, kRoleColumn);
}

std::vector<std::string> Metadata::valueColumns() const {
    std::vector<std::string> out;
    const int file = fileColumn();
    const std::optional<int> role = roleColumn();
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (static_cast<int>(i) != file && static_cast<int>(i) != role) {
            out.push_back(header[i]);
        }
    }
    return out;
}

const MetadataRow* Metadata::row(std::string_view nameBytes) const {
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const MetadataRow& r) { return r.nameBytes == nameBytes; });
    return it == rows.end() ? nullptr : &*it;
}

Role Metadata::roleOf(std::string_view nameBytes) const {
    const MetadataRow* r = row(nameBytes);
    return r ? r->role : Role::None;
}

void Metadata::setRole(std::string_view nameBytes, Role role) {
    if (!roleColumn()) {
        header.insert(header.begin() + fileColumn() + 1, std::string(kRoleColumn));
    }
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const MetadataRow& r) { return r.nameBytes == nameBytes; });
    if (it != rows.end()) {
        it->role = role;
        return;
    }
    rows.push_back({std::string(nameBytes), role, std::vector<std::string>(header.size() - 2)});
}

Result<Metadata> parseMetadata(std::string_view bytes,
                               const std::vector<std::string>& folderNames) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (!isValidUtf8(bytes)) {
        return lineError(firstInvalidLine(bytes), "the line is not UTF-8");
    }
    DelimitedRecords records = parseDelimitedRecords(bytes);
    if (records.badLine != 0) {
        return lineError(records.badLine,
                         "malformed CSV: a quote is not closed or stands "
                         "inside an unquoted field");
    }
    if (records.rows.empty()) {
        return lineError(1, "no header row");
    }
    Metadata metadata;
    metadata.header = std::move(records.rows.front());
    if (auto fault = headerFault(metadata.header)) {
        return lineError(records.lines.front(), *fault);
    }
    RowReader reader(metadata, folderNames);
    for (std::size_t k = 1; k < records.rows.size(); ++k) {
        if (allEmpty(records.rows[k])) {
            continue;  // a blank line, or the empty rows a spreadsheet leaves at the end
        }
        MetadataRow row;
        if (auto fault = reader.read(records.rows[k], records.lines[k], row)) {
            return lineError(records.lines[k], *fault);
        }
        metadata.rows.push_back(std::move(row));
    }
    return metadata;
}

std::string metadataCsv(const Metadata& metadata) {
    std::string out(kByteOrderMark);
    appendDelimitedRow(out, metadata.header);
    const int file = metadata.fileColumn();
    const std::optional<int> role = metadata.roleColumn();
    TableRow fields(metadata.header.size());
    for (const MetadataRow& row : metadata.rows) {
        std::size_t value = 0;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (static_cast<int>(i) == file) {
                fields[i] = recordField(row.nameBytes);
            } else if (static_cast<int>(i) == role) {
                fields[i] = std::string(roleLetter(row.role));
            } else {
                fields[i] = value < row.values.size() ? row.values[value++] : std::string();
            }
        }
        appendDelimitedRow(out, fields);
    }
    return out;
}

}  // namespace pelmora
