#pragma once
// The case's audit log: what was done to the case, in order, each entry sealed with the SHA-256
// of its own fields and of the entry before, so that an entry changed, removed or moved breaks
// the chain at that entry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/csv.h"

namespace pelmora {

enum class AuditAction {
    Created,
    MetadataImported,
    RoleChanged,
    Run,
    StabilityMeasured,
    QuestionedLocked,
    ExportWritten,
    Opened,
    Verified,
    OptionChanged,
    DetailsChanged,
};

// The words the log stores and shows for an action, such as "metadata imported".
std::string_view actionName(AuditAction action);

struct AuditEntry {
    std::int64_t sequence = 0;  // 1 for the first entry
    std::string time;           // UTC, as the run record writes it
    std::string action;         // actionName() of the action
    std::string details;        // in words
    std::string subject;        // the SHA-256 of what the entry concerns (a run, an export), or ""
    std::string previous;       // the hash of the entry before; kFirstPrevious for the first
    std::string hash;           // of the fields above

    bool operator==(const AuditEntry&) const = default;
};

// What the first entry names as the hash before it.
inline const std::string kFirstPrevious(64, '0');

// The SHA-256 an entry must carry: of its sequence, time, action, details, subject and the
// previous entry's hash, each escaped as the run record escapes a field and separated by tabs.
std::string entryHash(const AuditEntry& entry);

// The entry that follows `last` (or is the first, without one), sealed.
AuditEntry nextEntry(const AuditEntry* last, std::string time, AuditAction action,
                     std::string details, std::string subject = {});

struct ChainHead {
    std::int64_t entries = 0;
    std::string lastHash;  // kFirstPrevious for an empty log
};

// Where the chain of `entries` (in stored order) breaks, in words naming the entry, or nothing
// when it is whole and ends where `head` says, so that removing the last entries shows too.
std::optional<std::string> chainBreak(const std::vector<AuditEntry>& entries,
                                      const ChainHead& head);

// The log as `case log` prints it: a header row, then one tab-separated row per entry with
// each field escaped as the run record escapes it.
std::string logText(const std::vector<AuditEntry>& entries);

// The log as a reviewer reads it, with where its chain breaks (nothing when it is whole).
struct CheckedLog {
    std::vector<AuditEntry> entries;
    std::optional<std::string> broken;
};

// Header "entry", "time", "action", "details", "subject", "hash", then a row per entry in stored
// order; the subject is the SHA-256 of what the entry concerns (a run, an export), if any.
std::vector<TableRow> auditLogTable(const std::vector<AuditEntry>& entries);
// "The log's chain is whole: 5 entries." or "The log's chain is broken: " and where.
std::string chainStateText(const CheckedLog& log);

}  // namespace pelmora
