#include "casefile/sqlite_db.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "app/file_reader.h"
#include "stores/text_encoding.h"

namespace pelmora::sqlite {

namespace {

Error errorOf(sqlite3* db, const std::filesystem::path& file, std::string_view what) {
    const int code = db != nullptr ? sqlite3_errcode(db) : SQLITE_NOMEM;
    const std::string reason = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    const int primary = code & 0xff;
    const Error::Code kind = primary == SQLITE_FULL || primary == SQLITE_READONLY ||
                                     primary == SQLITE_IOERR || primary == SQLITE_BUSY
                                 ? Error::Code::WriteFailed
                             : primary == SQLITE_CANTOPEN ? Error::Code::NotFound
                                                          : Error::Code::CaseUnusable;
    return Error{kind, displayText(file.native()) + ": " + std::string(what) + ": " + reason,
                 reason};
}

int lengthOf(std::string_view bytes) {
    return bytes.size() > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(bytes.size());
}

// Makes the file, failing when anything is at its place, so that a case is never created over
// another file.
std::optional<Error> createEmpty(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        Error failed = fileError(error, displayText(file.native()), "Could not create");
        // A file already there is a wrong argument; any other failure is one of writing.
        if (error != EEXIST) {
            failed.code = Error::Code::WriteFailed;
        }
        return failed;
    }
    ::close(fd);
    return std::nullopt;
}

}  // namespace

void Database::Close::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

Database::Database(std::unique_ptr<sqlite3, Close> db, std::filesystem::path file)
    : db_(std::move(db)), file_(std::move(file)) {}

Database::~Database() = default;

Result<Database> Database::open(const std::filesystem::path& file, Mode mode) {
    if (mode == Mode::Create) {
        if (auto failed = createEmpty(file)) {
            return *failed;
        }
    } else if (::access(file.c_str(), F_OK) != 0) {
        // SQLite's own words for a missing file do not say which.
        return fileError(errno, displayText(file.native()), "Could not open");
    }
    sqlite3* raw = nullptr;
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_EXRESCODE;
    const int opened = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, Close> db(raw);
    if (opened != SQLITE_OK) {
        return errorOf(db.get(), file, "cannot be opened");
    }
    // A case file comes from elsewhere: its schema may not run code, and the connection may
    // not be turned into a tool for damaging it.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(db.get(), 2000);
    return Database(std::move(db), file);
}

std::optional<Error> Database::execute(std::string_view sql) {
    char* message = nullptr;
    const std::string statement(sql);
    if (sqlite3_exec(db_.get(), statement.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        sqlite3_free(message);
        return lastError("cannot be written");
    }
    return std::nullopt;
}

Statement Database::prepare(std::string_view sql) const {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db_.get(), sql.data(), lengthOf(sql), &statement, nullptr);
    Statement prepared(*this, statement);
    if (statement == nullptr) {
        prepared.error_ = lastError("cannot be read");
    }
    return prepared;
}

Result<std::int64_t> Database::integer(std::string_view sql) const {
    Statement statement = prepare(sql);
    if (!statement.step()) {
        return statement.error() ? *statement.error() : lastError("holds no value");
    }
    return statement.integer(0);
}

bool Database::readOnly() const {
    return sqlite3_db_readonly(db_.get(), "main") == 1;
}

Error Database::lastError(std::string_view what) const {
    return errorOf(db_.get(), file_, what);
}

Statement::Statement(const Database& db, sqlite3_stmt* statement)
    : db_(&db), statement_(statement) {}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), statement_(other.statement_), error_(std::move(other.error_)) {
    other.statement_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = other.statement_;
        error_ = std::move(other.error_);
        other.statement_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

Statement& Statement::bindText(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), lengthOf(text), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    // A zero-length blob rather than NULL for an empty name.
    sqlite3_bind_blob(statement_, index, bytes.empty() ? "" : bytes.data(), lengthOf(bytes),
                      SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step() {
    if (statement_ == nullptr || error_) {
        return false;
    }
    const int stepped = sqlite3_step(statement_);
    if (stepped == SQLITE_ROW) {
        return true;
    }
    if (stepped != SQLITE_DONE) {
        error_ = db_->lastError("cannot be read");
    }
    return false;
}

std::optional<Error> Statement::run() {
    if (step()) {
        return std::nullopt;
    }
    if (error_) {
        error_->message =
            displayText(db_->file().native()) + ": cannot be written: " + error_->reason;
    }
    return error_;
}

void Statement::reset() {
    sqlite3_reset(statement_);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::text(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes == nullptr ? std::string() : std::string(static_cast<const char*>(bytes), size);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& db) : db_(db) {
    error_ = db_.execute("BEGIN IMMEDIATE");
    open_ = !error_;
}

Transaction::~Transaction() {
    if (open_) {
        (void)db_.execute("ROLLBACK");
    }
}

std::optional<Error> Transaction::commit() {
    if (error_) {
        return error_;
    }
    if (auto failed = db_.execute("COMMIT")) {
        return failed;
    }
    open_ = false;
    return std::nullopt;
}

}  // namespace pelmora::sqlite
