// The texts' roles and metadata in the case file: the header in metadata_columns, each row's
// role and place in texts, the values of its other columns in metadata_values.

#include <algorithm>

#include "app/sha256.h"
#include "casefile/case_file.h"
#include "record/run_record.h"

namespace pelmora {

namespace {

Role roleOfLetter(std::string_view letter) {
    return roleFromText(letter).value_or(Role::None);
}

std::string roleWords(Role role) {
    return role == Role::None ? "no role" : std::string(roleName(role));
}

}  // namespace

Result<Metadata> CaseFile::metadata() const {
    Metadata m;
    sqlite::Statement columns = db_.prepare("SELECT name FROM metadata_columns ORDER BY position");
    std::vector<std::string> header;
    while (columns.step()) {
        header.push_back(columns.text(0));
    }
    if (!header.empty()) {
        m.header = std::move(header);
    }
    const std::size_t valueCount = m.valueColumns().size();
    sqlite::Statement rows = db_.prepare(
        "SELECT position, name, role FROM texts WHERE metadata_row IS NOT NULL "
        "ORDER BY metadata_row");
    sqlite::Statement values =
        db_.prepare("SELECT column, value FROM metadata_values WHERE text = ? ORDER BY column");
    while (rows.step()) {
        MetadataRow row{rows.text(1), roleOfLetter(rows.text(2)),
                        std::vector<std::string>(valueCount)};
        values.bind(1, rows.integer(0));
        while (values.step()) {
            const auto column = static_cast<std::size_t>(values.integer(0));
            if (column < valueCount) {
                row.values[column] = values.text(1);
            }
        }
        if (values.error()) {
            return *values.error();
        }
        values.reset();
        m.rows.push_back(std::move(row));
    }
    if (columns.error() || rows.error()) {
        return columns.error() ? *columns.error() : *rows.error();
    }
    return m;
}

std::optional<Error> CaseFile::storeMetadata(const Metadata& m) {
    if (auto failed = db_.execute("DELETE FROM metadata_columns; DELETE FROM metadata_values; "
                                  "UPDATE texts SET role = '', metadata_row = NULL")) {
        return failed;
    }
    sqlite::Statement column = db_.prepare("INSERT INTO metadata_columns VALUES (?, ?)");
    for (std::size_t k = 0; k < m.header.size(); ++k) {
        if (auto failed =
                column.bind(1, static_cast<std::int64_t>(k)).bindText(2, m.header[k]).run()) {
            return failed;
        }
        column.reset();
    }
    sqlite::Statement text = db_.prepare(
        "INSERT INTO texts (position, name, role, metadata_row) "
        "VALUES ((SELECT count(*) FROM texts), ?1, ?2, ?3) "
        "ON CONFLICT (name) DO UPDATE SET role = ?2, metadata_row = ?3");
    sqlite::Statement value = db_.prepare(
        "INSERT INTO metadata_values VALUES ((SELECT position FROM texts WHERE name = ?), ?, ?)");
    for (std::size_t r = 0; r < m.rows.size(); ++r) {
        const MetadataRow& row = m.rows[r];
        text.bindBlob(1, row.nameBytes).bindText(2, roleLetter(row.role));
        if (auto failed = text.bind(3, static_cast<std::int64_t>(r)).run()) {
            return failed;
        }
        text.reset();
        for (std::size_t c = 0; c < row.values.size(); ++c) {
            value.bindBlob(1, row.nameBytes).bind(2, static_cast<std::int64_t>(c));
            if (auto failed = value.bindText(3, row.values[c]).run()) {
                return failed;
            }
            value.reset();
        }
    }
    return std::nullopt;
}

std::optional<Error> CaseFile::importMetadata(const Metadata& m) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    if (auto failed = storeMetadata(m)) {
        return failed;
    }
    std::size_t withRole = 0;
    for (const MetadataRow& row : m.rows) {
        withRole += row.role != Role::None ? 1 : 0;
    }
    const std::string details = std::to_string(m.rows.size()) +
                                (m.rows.size() == 1 ? " row, " : " rows, ") +
                                std::to_string(withRole) + " with a role";
    const Result<std::string> note = lockNote(m, nullptr);
    if (!note.ok()) {
        return note.error();
    }
    if (auto failed = append(AuditAction::MetadataImported, details + note.value(),
                             sha256Hex(metadataCsv(m)))) {
        return failed;
    }
    return transaction.commit();
}

std::optional<Error> CaseFile::setRole(std::string_view nameBytes, Role role) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    Result<Metadata> m = metadata();
    const Result<std::vector<std::string>> names = texts();
    if (!m.ok() || !names.ok()) {
        return m.ok() ? names.error() : m.error();
    }
    if (std::find(names.value().begin(), names.value().end(), nameBytes) == names.value().end()) {
        return Error{Error::Code::NotFound,
                     recordField(nameBytes) + ": not a text of the case's folder", "no such text"};
    }
    const Role before = m.value().roleOf(nameBytes);
    m.value().setRole(nameBytes, role);
    if (auto failed = storeMetadata(m.value())) {
        return failed;
    }
    const Result<std::string> note = lockNote(m.value(), nullptr);
    if (!note.ok()) {
        return note.error();
    }
    const std::string details =
        recordField(nameBytes) + ": " + roleWords(before) + " to " + roleWords(role) + note.value();
    if (auto failed = append(AuditAction::RoleChanged, details, {})) {
        return failed;
    }
    return transaction.commit();
}

}  // namespace pelmora
