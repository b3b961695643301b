#include "casefile/case_file.h"

#include <system_error>

#include "app/folder_listing.h"
#include "casefile/case_schema.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

std::filesystem::path absoluteOf(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

CaseFolder caseFolderOf(const std::filesystem::path& caseFile,
                        const std::filesystem::path& folder) {
    const std::filesystem::path absolute = absoluteOf(folder);
    const std::filesystem::path relative =
        absolute.lexically_relative(absoluteOf(caseFile).parent_path());
    return {absolute.native(), relative.empty() ? absolute.native() : relative.native()};
}

std::string createdDetails(const CaseDetails& d, const CaseFolder& folder, std::size_t texts) {
    return "case " + (d.number.empty() ? std::string("without a number") : d.number) +
           (d.examiner.empty() ? "" : ", examiner " + d.examiner) + ", folder " +
           displayText(folder.absolute) + ", " + std::to_string(texts) +
           (texts == 1 ? " text" : " texts");
}

}  // namespace

Result<CaseFile> CaseFile::create(const std::filesystem::path& file,
                                  const std::filesystem::path& folder, const CaseDetails& details) {
    const Result<FolderListing> listed = listTextFiles(folder);
    if (!listed.ok()) {
        return listed.error();
    }
    Result<sqlite::Database> db = sqlite::Database::open(file, sqlite::Database::Mode::Create);
    if (!db.ok()) {
        return db.error();
    }
    CaseFile made(std::move(db.value()));
    const CaseFolder where = caseFolderOf(file, folder);
    std::vector<std::string> names;
    for (const ListedFile& f : listed.value().files) {
        names.push_back(f.nameBytes);
    }
    std::optional<Error> failed;
    {
        sqlite::Transaction transaction(made.db_);
        failed = transaction.error();
        failed = failed ? failed : case_schema::create(made.db_);
        if (!failed) {
            sqlite::Statement insert =
                made.db_.prepare("INSERT INTO case_details VALUES (1, ?, ?, ?, ?, ?, ?, 0, ?)");
            insert.bindText(1, details.number).bindText(2, details.examiner);
            insert.bindText(3, details.question).bindText(4, details.notes);
            insert.bindBlob(5, where.absolute).bindBlob(6, where.relative);
            failed = insert.bindText(7, kFirstPrevious).run();
        }
        failed = failed ? failed : made.replaceTexts(names);
        failed = failed ? failed
                        : made.append(AuditAction::Created,
                                      createdDetails(details, where, names.size()), {});
        failed = failed ? failed : transaction.commit();
    }
    if (failed) {
        // Nothing of a case that could not be made whole is left behind.
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return *failed;
    }
    return made;
}

Result<CaseFile> CaseFile::open(const std::filesystem::path& file, bool writable) {
    Result<sqlite::Database> db = sqlite::Database::open(
        file, writable ? sqlite::Database::Mode::ReadWrite : sqlite::Database::Mode::ReadOnly);
    if (!db.ok()) {
        return db.error();
    }
    if (auto refused = case_schema::check(db.value())) {
        return *refused;
    }
    return CaseFile(std::move(db.value()));
}

Result<CaseDetails> CaseFile::details() const {
    sqlite::Statement read =
        db_.prepare("SELECT number, examiner, question, notes FROM case_details");
    if (!read.step()) {
        return read.error() ? *read.error() : db_.lastError("holds no case details");
    }
    return CaseDetails{read.text(0), read.text(1), read.text(2), read.text(3)};
}

std::optional<Error> CaseFile::setDetails(const CaseDetails& d) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    const Result<CaseDetails> before = details();
    if (!before.ok()) {
        return before.error();
    }
    if (before.value() == d) {
        return std::nullopt;
    }
    sqlite::Statement update =
        db_.prepare("UPDATE case_details SET number = ?, examiner = ?, question = ?, notes = ?");
    update.bindText(1, d.number).bindText(2, d.examiner).bindText(3, d.question);
    if (auto failed = update.bindText(4, d.notes).run()) {
        return failed;
    }
    // What a report states of the case is only as good as the record of who changed it.
    std::string changed;
    const auto note = [&](const char* field, const std::string& was, const std::string& is) {
        if (was != is) {
            changed += (changed.empty() ? "" : "; ") + std::string(field) + " \"" + was +
                       "\" to \"" + is + "\"";
        }
    };
    note("number", before.value().number, d.number);
    note("examiner", before.value().examiner, d.examiner);
    note("question", before.value().question, d.question);
    note("notes", before.value().notes, d.notes);
    if (auto failed = append(AuditAction::DetailsChanged, changed, {})) {
        return failed;
    }
    return transaction.commit();
}

Result<CaseFolder> CaseFile::folder() const {
    sqlite::Statement read =
        db_.prepare("SELECT folder_absolute, folder_relative FROM case_details");
    if (!read.step()) {
        return read.error() ? *read.error() : db_.lastError("holds no folder");
    }
    return CaseFolder{read.text(0), read.text(1)};
}

Result<std::filesystem::path> CaseFile::folderPath() const {
    const Result<CaseFolder> where = folder();
    if (!where.ok()) {
        return where.error();
    }
    const std::filesystem::path absolute(where.value().absolute);
    std::error_code error;
    if (std::filesystem::is_directory(absolute, error)) {
        return absolute;
    }
    const std::filesystem::path moved =
        (absoluteOf(file()).parent_path() / where.value().relative).lexically_normal();
    return std::filesystem::is_directory(moved, error) ? moved : absolute;
}

std::optional<Error> CaseFile::refusesRunOf(const std::filesystem::path& folder) const {
    const Result<std::filesystem::path> own = folderPath();
    std::error_code ignored;
    if (own.ok() && std::filesystem::equivalent(own.value(), folder, ignored)) {
        return std::nullopt;
    }
    const std::string why = "the run shown is of another folder than the case's";
    return Error{Error::Code::CaseUnusable, why, why};
}

Result<std::vector<std::string>> CaseFile::texts() const {
    sqlite::Statement read = db_.prepare("SELECT name FROM texts ORDER BY position");
    std::vector<std::string> names;
    while (read.step()) {
        names.push_back(read.text(0));
    }
    if (read.error()) {
        return *read.error();
    }
    return names;
}

std::optional<Error> CaseFile::replaceTexts(const std::vector<std::string>& names) {
    if (auto failed = db_.execute("DELETE FROM texts")) {
        return failed;
    }
    sqlite::Statement insert = db_.prepare("INSERT INTO texts VALUES (?, ?, '', NULL)");
    for (std::size_t k = 0; k < names.size(); ++k) {
        insert.bind(1, static_cast<std::int64_t>(k)).bindBlob(2, names[k]);
        if (auto failed = insert.run()) {
            return failed;
        }
        insert.reset();
    }
    return std::nullopt;
}

Result<CaseOptions> CaseFile::options() const {
    sqlite::Statement read = db_.prepare("SELECT name, value FROM options ORDER BY name");
    CaseOptions options;
    while (read.step()) {
        options.emplace_back(read.text(0), read.text(1));
    }
    if (read.error()) {
        return *read.error();
    }
    return options;
}

std::optional<Error> CaseFile::setOption(const std::string& name, const std::string& value) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    sqlite::Statement upsert = db_.prepare("INSERT OR REPLACE INTO options VALUES (?, ?)");
    if (auto failed = upsert.bindText(1, name).bindText(2, value).run()) {
        return failed;
    }
    return transaction.commit();
}

}  // namespace pelmora
