#include "casefile/case_schema.h"

#include <set>
#include <string>

#include "casefile/case_file.h"
#include "stores/text_encoding.h"

namespace pelmora::case_schema {

namespace {

Error unusable(const sqlite::Database& db, const std::string& why) {
    return Error{Error::Code::CaseUnusable, displayText(db.file().native()) + ": " + why, why};
}

}  // namespace

std::optional<Error> create(sqlite::Database& db) {
    std::string sql = "PRAGMA application_id = " + std::to_string(kCaseApplicationId) +
                      "; PRAGMA user_version = " + std::to_string(kCaseFormatVersion) + ";";
    for (std::string_view table : kTables) {
        sql += std::string(table) + ";";
    }
    return db.execute(sql);
}

std::optional<Error> check(const sqlite::Database& db) {
    const Result<std::int64_t> id = db.integer("PRAGMA application_id");
    if (!id.ok()) {
        return unusable(db, "is not a Pelmora case file, or is damaged or cut short (" +
                                id.error().reason + ")");
    }
    if (id.value() != kCaseApplicationId) {
        return unusable(db, "is not a Pelmora case file");
    }
    const Result<std::int64_t> version = db.integer("PRAGMA user_version");
    if (!version.ok() || version.value() < 1) {
        return unusable(db, "is not a Pelmora case file (it has no format version)");
    }
    if (version.value() > kCaseFormatVersion) {
        return unusable(db, "was written by a newer Pelmora (case file format " +
                                std::to_string(version.value()) + "; this one reads format " +
                                std::to_string(kCaseFormatVersion) + "); it is left as it is");
    }
    sqlite::Statement integrity = db.prepare("PRAGMA quick_check(1)");
    if (!integrity.step() || integrity.text(0) != "ok") {
        return unusable(
            db, "is damaged or cut short (" +
                    (integrity.error() ? integrity.error()->reason : integrity.text(0)) + ")");
    }
    // Indexes SQLite makes for its own keys have no SQL; anything else must be ours.
    std::set<std::string> expected(kTables.begin(), kTables.end());
    sqlite::Statement schema =
        db.prepare("SELECT sql FROM sqlite_schema WHERE sql IS NOT NULL ORDER BY name");
    std::set<std::string> found;
    while (schema.step()) {
        found.insert(schema.text(0));
    }
    if (schema.error() || found != expected) {
        return unusable(db, "does not hold the tables of a case file of format " +
                                std::to_string(kCaseFormatVersion));
    }
    const Result<std::int64_t> details = db.integer("SELECT count(*) FROM case_details");
    if (!details.ok() || details.value() != 1) {
        return unusable(db, "holds no case details");
    }
    return std::nullopt;
}

}  // namespace pelmora::case_schema
