#pragma once
// A case kept in one SQLite file (".pelmora"): its details, its folder, its texts, options and
// runs, and an append-only audit log. Every change is one transaction together with its log
// entry, so a failure part way leaves the file as it was; a file of a newer format is refused
// and never written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "case/metadata.h"
#include "case/unmasking.h"
#include "casefile/audit_log.h"
#include "casefile/sqlite_db.h"
#include "record/run_record.h"
#include "stores/error.h"

namespace pelmora {

inline constexpr const char* kCaseExtension = ".pelmora";
// The format this version writes, kept in the file's user_version; a newer one is refused.
inline constexpr int kCaseFormatVersion = 1;
// "Pelm", kept in the file's application_id so that other SQLite files are told apart.
inline constexpr std::int64_t kCaseApplicationId = 0x50656c6d;

struct CaseDetails {
    std::string number, examiner, question, notes;
    bool operator==(const CaseDetails&) const = default;
};

struct CaseFolder {
    std::string absolute;  // path bytes
    std::string relative;  // from the case file's folder, so that both can move together
};

using CaseOptions = std::vector<std::pair<std::string, std::string>>;  // by name

class CaseFile {
public:
    // A new case file at `file` (refused when anything is there) for `folder`, whose texts it
    // lists; its log starts with "created".
    static Result<CaseFile> create(const std::filesystem::path& file,
                                   const std::filesystem::path& folder, const CaseDetails& details);
    // Refuses, naming the file, anything that is not a whole case file of a format this version
    // reads. `writable` false never writes.
    static Result<CaseFile> open(const std::filesystem::path& file, bool writable = true);

    const std::filesystem::path& file() const { return db_.file(); }

    Result<CaseDetails> details() const;
    [[nodiscard]] std::optional<Error> setDetails(const CaseDetails& details);
    Result<CaseFolder> folder() const;
    // Where the folder is now: the absolute path while it is a folder, else the relative one
    // taken from the case file's folder.
    Result<std::filesystem::path> folderPath() const;
    // Why a run of `folder` is not this case's to store or report: it is of another folder.
    // Nothing when it is the case's folder as it is now.
    [[nodiscard]] std::optional<Error> refusesRunOf(const std::filesystem::path& folder) const;
    // The exact name bytes of the folder's texts as last listed or run.
    Result<std::vector<std::string>> texts() const;

    // The texts' roles and the rest of their metadata, as imported and changed since.
    Result<Metadata> metadata() const;
    // Replaces the metadata with `metadata` (read against the folder's texts), logged with the
    // SHA-256 of its CSV text.
    [[nodiscard]] std::optional<Error> importMetadata(const Metadata& metadata);
    // Gives one text a role, logged with the role before and after.
    [[nodiscard]] std::optional<Error> setRole(std::string_view nameBytes, Role role);

    Result<CaseOptions> options() const;
    [[nodiscard]] std::optional<Error> setOption(const std::string& name, const std::string& value);

    // Whether the case examines its questioned texts first, and whether they are locked.
    Result<UnmaskingStage> unmasking() const;
    // Turns sequential unmasking on or off, logged; refused once the questioned texts are locked.
    [[nodiscard]] std::optional<Error> setUnmasking(bool on);
    // The texts the lock's log entry names; nothing before the lock.
    Result<std::optional<std::vector<LockedText>>> lockedTexts() const;
    // Locks the questioned texts with unmasking on: each must be analysed in the last stored
    // run, whose code and SHA-256 the one log entry records, with the evidence `current` (the
    // folder run again, each questioned text unchanged) gives. Refused, naming the text, else.
    [[nodiscard]] std::optional<Error> lockQuestioned(const RunResult& current);
    // What differs from the lock by the metadata and the last run; empty before a lock.
    Result<std::vector<std::string>> changesSinceLock() const;

    // Stores a run with its files, codes and stability figures, and logs it with the SHA-256
    // of its record's text and, after a lock, what in it differs from the lock.
    [[nodiscard]] std::optional<Error> storeRun(const RunRecord& run);
    Result<std::vector<RunRecord>> runs() const;
    Result<std::optional<RunRecord>> lastRun() const;

    // Appends an entry to the log on its own.
    [[nodiscard]] std::optional<Error> logAction(AuditAction action, std::string details,
                                                 std::string subject = {});
    Result<std::vector<AuditEntry>> log() const;
    // Where the log or a stored run was tampered with, naming the entry, or nothing.
    Result<std::optional<std::string>> tampering() const;
    // The log with tampering()'s finding.
    Result<CheckedLog> checkedLog() const;

private:
    explicit CaseFile(sqlite::Database db) : db_(std::move(db)) {}
    [[nodiscard]] std::optional<Error> append(AuditAction action, std::string details,
                                              std::string subject);
    [[nodiscard]] std::optional<Error> replaceTexts(const std::vector<std::string>& names);
    [[nodiscard]] std::optional<Error> storeMetadata(const Metadata& metadata);
    Result<ChainHead> head() const;
    // A line "since the lock: ..." for each way `m` and `run` differ from the lock, each
    // after a line end; empty before a lock.
    Result<std::string> lockNote(const Metadata& m, const RunRecord* run) const;

    sqlite::Database db_;
};

}  // namespace pelmora
