#pragma once
// What a linguist knows about the texts of a case, read from and written to a CSV table: each
// text's role (questioned, known, reference) and whatever else the table holds about it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stores/error.h"

namespace pelmora {

enum class Role : std::uint8_t { None, Questioned, Known, Reference };

// "Q", "K", "R"; empty for none.
std::string_view roleLetter(Role role);
// "questioned", "known", "reference"; "none".
std::string_view roleName(Role role);
// A role as a table may write it: a letter or a name in any case, around spaces; empty for
// none. Nothing for any other text.
std::optional<Role> roleFromText(std::string_view text);

// One text's row: its exact name bytes, its role, and the value of every column other than
// the file and the role, in the header's order.
struct MetadataRow {
    std::string nameBytes;
    Role role = Role::None;
    std::vector<std::string> values;

    bool operator==(const MetadataRow&) const = default;
};

struct Metadata {
    static constexpr std::string_view kFileColumn = "file";
    static constexpr std::string_view kRoleColumn = "role";

    // Every column as the header names it, in its order; the file column among them always,
    // the role column when the table has one.
    std::vector<std::string> header = {std::string(kFileColumn)};
    std::vector<MetadataRow> rows;  // in the table's order

    bool operator==(const Metadata&) const = default;

    // The position of the file column, of the role column (nothing without one).
    int fileColumn() const;
    std::optional<int> roleColumn() const;
    // The names of the columns a row's values stand for, in order.
    std::vector<std::string> valueColumns() const;
    // The row of the text with exactly these name bytes, or nullptr.
    const MetadataRow* row(std::string_view nameBytes) const;
    // A text without a row has no role.
    Role roleOf(std::string_view nameBytes) const;
    // Gives a text a role, adding its row (with empty values) and a role column after the
    // file column when the table has none.
    void setRole(std::string_view nameBytes, Role role);
};

// Reads a UTF-8 CSV table (a byte-order mark allowed) with a header row naming a "file"
// column; a file is named as the run record writes names (non-UTF-8 bytes escaped).
// `folderNames` are the exact name bytes of the folder's files. An error names the line and
// why: not UTF-8, malformed, no file column, a column named twice, a line with another number
// of fields than the header, an unknown role, a file name that is empty or badly escaped, a
// file listed twice or a file the folder does not hold. Nothing is loaded then.
Result<Metadata> parseMetadata(std::string_view bytes, const std::vector<std::string>& folderNames);

// The table as parseMetadata reads it: UTF-8 with a byte-order mark, CR LF line ends, quoted
// as RFC 4180 says, roles as letters.
std::string metadataCsv(const Metadata& metadata);

}  // namespace pelmora
