#pragma once
// A thin owner of an SQLite connection and its statements, with failures as values that name
// the database file; the case file is its only user.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "stores/error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pelmora::sqlite {

class Database;

// One prepared statement; values are bound from 1 and columns read from 0.
class Statement {
public:
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    ~Statement();

    Statement& bind(int index, std::int64_t value);
    Statement& bindText(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);
    // True while a row is there to read; a failure ends the steps and is kept in error().
    [[nodiscard]] bool step();
    // Runs a statement that returns no rows; nothing on success.
    [[nodiscard]] std::optional<Error> run();
    // Ready to step again with new values bound.
    void reset();
    const std::optional<Error>& error() const { return error_; }

    std::int64_t integer(int column) const;
    std::string text(int column) const;  // a text or a blob, as bytes; "" for NULL
    bool isNull(int column) const;

private:
    friend class Database;
    Statement(const Database& db, sqlite3_stmt* statement);

    const Database* db_;
    sqlite3_stmt* statement_;
    std::optional<Error> error_;
};

class Database {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    // Create makes a new file and fails when one is there. Opening reads nothing yet: SQLite
    // finds a file that is no database at the first statement.
    static Result<Database> open(const std::filesystem::path& file, Mode mode);

    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;
    ~Database();

    // One or more statements without results.
    [[nodiscard]] std::optional<Error> execute(std::string_view sql);
    // A statement with a failure to prepare it kept in its error().
    Statement prepare(std::string_view sql) const;
    // The first column of the first row of `sql` as a number.
    [[nodiscard]] Result<std::int64_t> integer(std::string_view sql) const;
    bool readOnly() const;
    const std::filesystem::path& file() const { return file_; }

    // The last failure on this connection as an error naming the file.
    Error lastError(std::string_view what) const;

private:
    struct Close {
        void operator()(sqlite3* db) const;
    };
    Database(std::unique_ptr<sqlite3, Close> db, std::filesystem::path file);

    std::unique_ptr<sqlite3, Close> db_;
    std::filesystem::path file_;
};

// A write transaction, rolled back unless committed; every change to a case goes through one,
// so a failure or a crash part way leaves the file as it was.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // The failure to begin, if any.
    const std::optional<Error>& error() const { return error_; }
    [[nodiscard]] std::optional<Error> commit();

private:
    Database& db_;
    std::optional<Error> error_;
    bool open_ = false;
};

}  // namespace pelmora::sqlite
