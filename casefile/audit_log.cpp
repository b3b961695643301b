#include "casefile/audit_log.h"

#include <algorithm>

#include "app/sha256.h"
#include "record/run_record.h"

namespace pelmora {

std::string_view actionName(AuditAction action) {
    switch (action) {
        case AuditAction::Created:
            return "created";
        case AuditAction::MetadataImported:
            return "metadata imported";
        case AuditAction::RoleChanged:
            return "role changed";
        case AuditAction::Run:
            return "run";
        case AuditAction::StabilityMeasured:
            return "stability measured";
        case AuditAction::QuestionedLocked:
            return "questioned texts locked";
        case AuditAction::ExportWritten:
            return "export written";
        case AuditAction::Opened:
            return "opened";
        case AuditAction::Verified:
            return "verified";
        case AuditAction::OptionChanged:
            return "option changed";
        case AuditAction::DetailsChanged:
            return "details changed";
    }
    return "";
}

namespace {

// Every field up to the previous entry's hash, escaped and separated by tabs: escaped fields
// hold no tab, so the text stands for exactly one set of fields.
std::string sealedFields(const AuditEntry& e) {
    return std::to_string(e.sequence) + "\t" + recordField(e.time) + "\t" + recordField(e.action) +
           "\t" + recordField(e.details) + "\t" + recordField(e.subject) + "\t" +
           recordField(e.previous);
}

}  // namespace

std::string entryHash(const AuditEntry& e) {
    return sha256Hex(sealedFields(e) + "\n");
}

AuditEntry nextEntry(const AuditEntry* last, std::string time, AuditAction action,
                     std::string details, std::string subject) {
    AuditEntry e;
    e.sequence = last != nullptr ? last->sequence + 1 : 1;
    e.time = std::move(time);
    e.action = actionName(action);
    e.details = std::move(details);
    e.subject = std::move(subject);
    e.previous = last != nullptr ? last->hash : kFirstPrevious;
    e.hash = entryHash(e);
    return e;
}

std::optional<std::string> chainBreak(const std::vector<AuditEntry>& entries,
                                      const ChainHead& head) {
    std::string previous = kFirstPrevious;
    std::int64_t expected = 1;
    for (const AuditEntry& e : entries) {
        const std::string at = "log entry " + std::to_string(e.sequence);
        if (e.sequence != expected) {
            return at + ": out of sequence (entry " + std::to_string(expected) +
                   " expected here); an entry was removed or moved";
        }
        if (e.previous != previous) {
            return at + ": does not follow the entry before it; an entry was removed or moved";
        }
        if (e.hash != entryHash(e)) {
            return at + ": its fields do not match its hash; the entry was changed";
        }
        previous = e.hash;
        ++expected;
    }
    const auto count = static_cast<std::int64_t>(entries.size());
    if (count != head.entries) {
        return "log entry " + std::to_string(std::min(count, head.entries) + 1) +
               ": the case records " + std::to_string(head.entries) + " entries, the log holds " +
               std::to_string(count) + "; entries were removed from its end or added outside it";
    }
    if (previous != head.lastHash) {
        return "log entry " + std::to_string(count) +
               ": not the last entry the case recorded; the entry was replaced";
    }
    return std::nullopt;
}

std::string logText(const std::vector<AuditEntry>& entries) {
    std::string out = "entry\ttime\taction\tdetails\tsubject\tprevious\thash\n";
    for (const AuditEntry& e : entries) {
        out += sealedFields(e) + "\t" + recordField(e.hash) + "\n";
    }
    return out;
}

std::vector<TableRow> auditLogTable(const std::vector<AuditEntry>& entries) {
    std::vector<TableRow> rows{{"entry", "time", "action", "details", "subject", "hash"}};
    for (const AuditEntry& e : entries) {
        rows.push_back(
            {std::to_string(e.sequence), e.time, e.action, e.details, e.subject, e.hash});
    }
    return rows;
}

std::string chainStateText(const CheckedLog& log) {
    if (log.broken) {
        return "The log's chain is broken: " + *log.broken;
    }
    const std::size_t n = log.entries.size();
    return "The log's chain is whole: " + std::to_string(n) + (n == 1 ? " entry." : " entries.");
}

}  // namespace pelmora
