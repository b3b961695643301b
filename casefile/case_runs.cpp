// The case's runs and its audit log.

#include <charconv>
#include <map>

#include "app/sha256.h"
#include "casefile/case_file.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

struct StoredRun {
    std::int64_t id = 0;
    std::int64_t logEntry = 0;
    RunRecord record;
};

std::string digitCountsText(const RecordedStability& s) {
    std::string out;
    for (const auto& place : s.digits) {
        for (int count : place) {
            out += (out.empty() ? "" : ",") + std::to_string(count);
        }
    }
    return out;
}

bool parseDigitCounts(std::string_view text, RecordedStability& s) {
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t k = 0; k < 50; ++k) {
        if (k > 0 && (at == end || *at++ != ',')) {
            return false;
        }
        auto [next, error] = std::from_chars(at, end, s.digits[k / 10][k % 10]);
        if (error != std::errc() || s.digits[k / 10][k % 10] < 0) {
            return false;
        }
        at = next;
    }
    return at == end;
}

std::string runDetails(const RunRecord& run, std::int64_t id) {
    std::size_t leftOut = 0;
    for (const RecordedFile& f : run.files) {
        leftOut += f.unreadable ? 1 : 0;
    }
    const std::size_t analysed = run.files.size() - leftOut;
    return "run " + std::to_string(id) + " by Pelmora " + run.version + ": " +
           std::to_string(analysed) + (analysed == 1 ? " text" : " texts") + " analysed, " +
           std::to_string(leftOut) + " left out" +
           (run.resamples > 0 ? ", stability over " + std::to_string(run.resamples) +
                                    " resamples of " + std::to_string(run.blockWords) + " words"
                              : "");
}

std::optional<Error> insertFile(const sqlite::Database& db, std::int64_t run, std::size_t position,
                                const RecordedFile& f) {
    sqlite::Statement file = db.prepare("INSERT INTO run_files VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    file.bind(1, run).bind(2, static_cast<std::int64_t>(position)).bindBlob(3, f.nameBytes);
    file.bind(4, f.unreadable ? 1 : 0).bindText(5, f.reason);
    file.bind(6, static_cast<std::int64_t>(f.byteSize)).bindText(7, f.sha256);
    file.bindText(8, f.encoding).bindText(9, f.code);
    if (auto failed = file.run()) {
        return failed;
    }
    if (!f.stability) {
        return std::nullopt;
    }
    sqlite::Statement stability = db.prepare("INSERT INTO run_stability VALUES (?, ?, ?, ?, ?, ?)");
    stability.bind(1, run).bind(2, static_cast<std::int64_t>(position));
    stability.bind(3, f.stability->tooShort ? 1 : 0).bind(4, f.stability->codeKept);
    stability.bindText(5, f.stability->notMeasured).bindText(6, digitCountsText(*f.stability));
    return stability.run();
}

Error damaged(const sqlite::Database& db, const std::string& what) {
    return Error{Error::Code::CaseUnusable,
                 displayText(db.file().native()) + ": is damaged: " + what, what};
}

std::optional<Error> readFiles(const sqlite::Database& db, StoredRun& run) {
    sqlite::Statement read = db.prepare(
        "SELECT f.name, f.unreadable, f.reason, f.size, f.sha256, f.encoding, f.code, "
        "s.too_short, s.code_kept, s.not_measured, s.digit_counts, s.run IS NOT NULL "
        "FROM run_files f LEFT JOIN run_stability s ON s.run = f.run AND s.position = f.position "
        "WHERE f.run = ? ORDER BY f.position");
    read.bind(1, run.id);
    while (read.step()) {
        RecordedFile f{read.text(0), read.integer(1) != 0,
                       read.text(2), static_cast<std::uint64_t>(read.integer(3)),
                       read.text(4), read.text(5),
                       read.text(6), std::nullopt};
        if (read.integer(11) != 0) {
            RecordedStability s;
            s.tooShort = read.integer(7) != 0;
            s.codeKept = static_cast<int>(read.integer(8));
            s.notMeasured = read.text(9);
            if (!parseDigitCounts(read.text(10), s)) {
                return damaged(db, "run " + std::to_string(run.id) + ": the stability of " +
                                       displayText(f.nameBytes) + " cannot be read");
            }
            f.stability = s;
        }
        run.record.files.push_back(std::move(f));
    }
    return read.error();
}

Result<std::vector<StoredRun>> storedRuns(const sqlite::Database& db) {
    sqlite::Statement read = db.prepare(
        "SELECT id, log_entry, version, time, folder, resamples, block_words, seeding_rule "
        "FROM runs ORDER BY id");
    std::vector<StoredRun> runs;
    while (read.step()) {
        StoredRun run;
        run.id = read.integer(0);
        run.logEntry = read.integer(1);
        run.record.version = read.text(2);
        run.record.created = read.text(3);
        run.record.folder = read.text(4);
        run.record.resamples = static_cast<int>(read.integer(5));
        run.record.blockWords = static_cast<int>(read.integer(6));
        run.record.seedingRule = read.text(7);
        if (auto failed = readFiles(db, run)) {
            return *failed;
        }
        runs.push_back(std::move(run));
    }
    if (read.error()) {
        return *read.error();
    }
    return runs;
}

}  // namespace

std::optional<Error> CaseFile::storeRun(const RunRecord& run) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    const Result<ChainHead> last = head();
    if (!last.ok()) {
        return last.error();
    }
    sqlite::Statement insert = db_.prepare(
        "INSERT INTO runs (version, time, folder, resamples, block_words, seeding_rule, "
        "log_entry) VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.bindText(1, run.version).bindText(2, run.created).bindBlob(3, run.folder);
    insert.bind(4, run.resamples).bind(5, run.blockWords).bindText(6, run.seedingRule);
    if (auto failed = insert.bind(7, last.value().entries + 1).run()) {
        return failed;
    }
    const Result<std::int64_t> id = db_.integer("SELECT max(id) FROM runs");
    if (!id.ok()) {
        return id.error();
    }
    sqlite::Statement text = db_.prepare(
        "INSERT OR IGNORE INTO texts VALUES ((SELECT count(*) FROM texts), ?, '', NULL)");
    for (std::size_t k = 0; k < run.files.size(); ++k) {
        if (auto failed = insertFile(db_, id.value(), k, run.files[k])) {
            return failed;
        }
        if (!run.files[k].unreadable) {
            if (auto failed = text.bindBlob(1, run.files[k].nameBytes).run()) {
                return failed;
            }
            text.reset();
        }
    }
    const Result<Metadata> m = metadata();
    const Result<std::string> note =
        m.ok() ? lockNote(m.value(), &run) : Result<std::string>(m.error());
    if (!note.ok()) {
        return note.error();
    }
    if (auto failed = append(AuditAction::Run, runDetails(run, id.value()) + note.value(),
                             sha256Hex(recordText(run)))) {
        return failed;
    }
    return transaction.commit();
}

Result<std::vector<RunRecord>> CaseFile::runs() const {
    Result<std::vector<StoredRun>> stored = storedRuns(db_);
    if (!stored.ok()) {
        return stored.error();
    }
    std::vector<RunRecord> records;
    for (StoredRun& run : stored.value()) {
        records.push_back(std::move(run.record));
    }
    return records;
}

Result<std::optional<RunRecord>> CaseFile::lastRun() const {
    Result<std::vector<RunRecord>> all = runs();
    if (!all.ok()) {
        return all.error();
    }
    if (all.value().empty()) {
        return std::optional<RunRecord>();
    }
    return std::optional<RunRecord>(std::move(all.value().back()));
}

Result<ChainHead> CaseFile::head() const {
    sqlite::Statement read = db_.prepare("SELECT log_entries, log_head FROM case_details");
    if (!read.step()) {
        return read.error() ? *read.error() : db_.lastError("holds no case details");
    }
    return ChainHead{read.integer(0), read.text(1)};
}

std::optional<Error> CaseFile::append(AuditAction action, std::string details,
                                      std::string subject) {
    const Result<ChainHead> last = head();
    if (!last.ok()) {
        return last.error();
    }
    AuditEntry before;
    before.sequence = last.value().entries;
    before.hash = last.value().lastHash;
    const AuditEntry e = nextEntry(before.sequence > 0 ? &before : nullptr, utcTimestamp(), action,
                                   std::move(details), std::move(subject));
    sqlite::Statement insert = db_.prepare("INSERT INTO audit_log VALUES (?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, e.sequence).bindText(2, e.time).bindText(3, e.action).bindText(4, e.details);
    insert.bindText(5, e.subject).bindText(6, e.previous).bindText(7, e.hash);
    if (auto failed = insert.run()) {
        return failed;
    }
    sqlite::Statement update = db_.prepare("UPDATE case_details SET log_entries = ?, log_head = ?");
    return update.bind(1, e.sequence).bindText(2, e.hash).run();
}

std::optional<Error> CaseFile::logAction(AuditAction action, std::string details,
                                         std::string subject) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    if (auto failed = append(action, std::move(details), std::move(subject))) {
        return failed;
    }
    return transaction.commit();
}

Result<std::vector<AuditEntry>> CaseFile::log() const {
    sqlite::Statement read = db_.prepare(
        "SELECT sequence, time, action, details, subject, previous, hash FROM audit_log "
        "ORDER BY sequence");
    std::vector<AuditEntry> entries;
    while (read.step()) {
        entries.push_back(AuditEntry{read.integer(0), read.text(1), read.text(2), read.text(3),
                                     read.text(4), read.text(5), read.text(6)});
    }
    if (read.error()) {
        return *read.error();
    }
    return entries;
}

Result<std::optional<std::string>> CaseFile::tampering() const {
    const Result<std::vector<AuditEntry>> entries = log();
    const Result<ChainHead> last = head();
    if (!entries.ok() || !last.ok()) {
        return entries.ok() ? last.error() : entries.error();
    }
    if (auto broken = chainBreak(entries.value(), last.value())) {
        return broken;
    }
    const Result<std::vector<StoredRun>> runs = storedRuns(db_);
    if (!runs.ok()) {
        return runs.error();
    }
    std::map<std::int64_t, const AuditEntry*> bySequence;
    for (const AuditEntry& e : entries.value()) {
        bySequence.emplace(e.sequence, &e);
    }
    for (const StoredRun& run : runs.value()) {
        const auto entry = bySequence.find(run.logEntry);
        if (entry == bySequence.end() || entry->second->action != actionName(AuditAction::Run) ||
            entry->second->subject != sha256Hex(recordText(run.record))) {
            return std::optional<std::string>(
                "run " + std::to_string(run.id) + ": does not match log entry " +
                std::to_string(run.logEntry) + "; the stored run was changed");
        }
    }
    return std::optional<std::string>();
}

Result<CheckedLog> CaseFile::checkedLog() const {
    Result<std::vector<AuditEntry>> entries = log();
    if (!entries.ok()) {
        return entries.error();
    }
    Result<std::optional<std::string>> broken = tampering();
    if (!broken.ok()) {
        return broken.error();
    }
    return CheckedLog{std::move(entries.value()), std::move(broken.value())};
}

}  // namespace pelmora
