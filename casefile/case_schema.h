#pragma once
// The tables of a case file, as this format version creates them and as opening one expects
// them: nothing more (no trigger, view or index of another hand), nothing less.

#include <array>
#include <optional>
#include <string_view>

#include "casefile/sqlite_db.h"
#include "stores/error.h"

namespace pelmora::case_schema {

inline constexpr std::array<std::string_view, 9> kTables = {
    "CREATE TABLE case_details(id INTEGER PRIMARY KEY CHECK (id = 1), number TEXT NOT NULL, "
    "examiner TEXT NOT NULL, question TEXT NOT NULL, notes TEXT NOT NULL, "
    "folder_absolute BLOB NOT NULL, folder_relative BLOB NOT NULL, "
    "log_entries INTEGER NOT NULL, log_head TEXT NOT NULL)",
    "CREATE TABLE options(name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE texts(position INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE, "
    "role TEXT NOT NULL, metadata_row INTEGER UNIQUE)",
    "CREATE TABLE metadata_columns(position INTEGER PRIMARY KEY, name TEXT NOT NULL)",
    "CREATE TABLE metadata_values(text INTEGER NOT NULL, column INTEGER NOT NULL, "
    "value TEXT NOT NULL, PRIMARY KEY (text, column))",
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, version TEXT NOT NULL, time TEXT NOT NULL, "
    "folder BLOB NOT NULL, resamples INTEGER NOT NULL, block_words INTEGER NOT NULL, "
    "seeding_rule TEXT NOT NULL, log_entry INTEGER NOT NULL)",
    "CREATE TABLE run_files(run INTEGER NOT NULL, position INTEGER NOT NULL, "
    "name BLOB NOT NULL, unreadable INTEGER NOT NULL, reason TEXT NOT NULL, "
    "size INTEGER NOT NULL, sha256 TEXT NOT NULL, encoding TEXT NOT NULL, code TEXT NOT NULL, "
    "PRIMARY KEY (run, position), UNIQUE (run, name))",
    "CREATE TABLE run_stability(run INTEGER NOT NULL, position INTEGER NOT NULL, "
    "too_short INTEGER NOT NULL, code_kept INTEGER NOT NULL, not_measured TEXT NOT NULL, "
    "digit_counts TEXT NOT NULL, PRIMARY KEY (run, position))",
    "CREATE TABLE audit_log(sequence INTEGER PRIMARY KEY, time TEXT NOT NULL, "
    "action TEXT NOT NULL, details TEXT NOT NULL, subject TEXT NOT NULL, "
    "previous TEXT NOT NULL, hash TEXT NOT NULL)",
};

// Creates the tables and sets the file's application id and format version.
[[nodiscard]] std::optional<Error> create(sqlite::Database& db);

// Refuses a file that is not a case file, is of a newer format, is damaged or holds other
// tables, triggers or views; the message names the file.
[[nodiscard]] std::optional<Error> check(const sqlite::Database& db);

}  // namespace pelmora::case_schema
