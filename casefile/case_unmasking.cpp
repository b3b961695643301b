// Sequential unmasking in the case file: its option, the lock kept in the audit log (whose
// chain guards what was locked), and what differs from the lock since.

#include <algorithm>

#include "app/sha256.h"
#include "casefile/case_file.h"
#include "explanation/digit_evidence.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

Error refused(const std::string& why) {
    return Error{Error::Code::CaseUnusable, why, why};
}

const TextRecord* analysedText(const RunResult& run, std::string_view nameBytes) {
    const auto found = std::find_if(run.texts.begin(), run.texts.end(), [&](const TextRecord& t) {
        return t.inRun && t.nameBytes == nameBytes;
    });
    return found == run.texts.end() ? nullptr : &*found;
}

// Each questioned text's code and SHA-256 from the last run, checked against `current`.
Result<std::vector<LockedText>> textsToLock(const Metadata& metadata, const RunRecord& last,
                                            const RunRecord& current) {
    std::vector<LockedText> texts;
    for (const RecordedFile& f : last.files) {
        if (metadata.roleOf(f.nameBytes) != Role::Questioned) {
            continue;
        }
        const auto now =
            std::find_if(current.files.begin(), current.files.end(),
                         [&](const RecordedFile& c) { return c.nameBytes == f.nameBytes; });
        if (f.unreadable) {
            return refused(recordField(f.nameBytes) +
                           ": questioned but not analysed in the last run");
        }
        if (now == current.files.end() || now->unreadable || now->sha256 != f.sha256) {
            return refused(recordField(f.nameBytes) +
                           ": changed since the last run; run the case again before locking");
        }
        texts.push_back({f.nameBytes, f.code, f.sha256});
    }
    for (const MetadataRow& row : metadata.rows) {
        const bool inRun = std::any_of(texts.begin(), texts.end(), [&](const LockedText& t) {
            return t.nameBytes == row.nameBytes;
        });
        if (row.role == Role::Questioned && !inRun) {
            return refused(recordField(row.nameBytes) + ": questioned but not in the last run");
        }
    }
    if (texts.empty()) {
        return refused("the case has no questioned text to lock");
    }
    return texts;
}

}  // namespace

Result<std::optional<std::vector<LockedText>>> CaseFile::lockedTexts() const {
    sqlite::Statement read = db_.prepare(
        "SELECT sequence, details FROM audit_log WHERE action = ? ORDER BY sequence DESC LIMIT 1");
    read.bindText(1, std::string(actionName(AuditAction::QuestionedLocked)));
    if (!read.step()) {
        if (read.error()) {
            return *read.error();
        }
        return std::optional<std::vector<LockedText>>();
    }
    std::optional<std::vector<LockedText>> texts = lockedTextsOf(read.text(1));
    if (!texts) {
        const std::string why = "log entry " + std::to_string(read.integer(0)) +
                                " does not name the questioned texts it locked";
        return Error{Error::Code::CaseUnusable,
                     displayText(file().native()) + ": is damaged: " + why, why};
    }
    return texts;
}

Result<UnmaskingStage> CaseFile::unmasking() const {
    const Result<std::optional<std::vector<LockedText>>> locked = lockedTexts();
    const Result<CaseOptions> set = options();
    if (!locked.ok() || !set.ok()) {
        return locked.ok() ? set.error() : locked.error();
    }
    if (locked.value()) {
        return UnmaskingStage::Locked;
    }
    const bool on =
        std::find(set.value().begin(), set.value().end(),
                  std::pair<std::string, std::string>(kUnmaskingOption, "on")) != set.value().end();
    return on ? UnmaskingStage::Unlocked : UnmaskingStage::Off;
}

std::optional<Error> CaseFile::setUnmasking(bool on) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    const Result<UnmaskingStage> stage = unmasking();
    if (!stage.ok()) {
        return stage.error();
    }
    if (stage.value() == UnmaskingStage::Locked) {
        return refused("the questioned texts are locked; sequential unmasking stays on");
    }
    const std::string value = on ? "on" : "off";
    sqlite::Statement upsert = db_.prepare("INSERT OR REPLACE INTO options VALUES (?, ?)");
    if (auto failed = upsert.bindText(1, std::string(kUnmaskingOption)).bindText(2, value).run()) {
        return failed;
    }
    if (auto failed =
            append(AuditAction::OptionChanged, std::string(kUnmaskingOption) + " " + value, {})) {
        return failed;
    }
    return transaction.commit();
}

std::optional<Error> CaseFile::lockQuestioned(const RunResult& current) {
    sqlite::Transaction transaction(db_);
    if (transaction.error()) {
        return transaction.error();
    }
    const Result<UnmaskingStage> stage = unmasking();
    const Result<Metadata> m = metadata();
    const Result<std::optional<RunRecord>> last = lastRun();
    if (!stage.ok() || !m.ok() || !last.ok()) {
        return !stage.ok() ? stage.error() : !m.ok() ? m.error() : last.error();
    }
    if (stage.value() != UnmaskingStage::Unlocked) {
        return refused(stage.value() == UnmaskingStage::Off
                           ? "sequential unmasking is off for this case"
                           : "the questioned texts are locked already");
    }
    if (!last.value()) {
        return refused("no run is stored yet; run the case before locking");
    }
    const Result<std::vector<LockedText>> texts =
        textsToLock(m.value(), *last.value(), recordOf(current, last.value()->created));
    if (!texts.ok()) {
        return texts.error();
    }
    std::string evidence;
    for (const LockedText& t : texts.value()) {
        const TextRecord* text = analysedText(current, t.nameBytes);
        if (text == nullptr) {
            return refused(recordField(t.nameBytes) + ": not analysed by the run given to lock");
        }
        evidence += textEvidenceReport(explainText(*text)) + "\n";
    }
    const std::string details = lockDetails(texts.value(), evidence);
    if (auto failed = append(AuditAction::QuestionedLocked, details, sha256Hex(details))) {
        return failed;
    }
    return transaction.commit();
}

Result<std::string> CaseFile::lockNote(const Metadata& m, const RunRecord* run) const {
    const Result<std::optional<std::vector<LockedText>>> locked = lockedTexts();
    if (!locked.ok()) {
        return locked.error();
    }
    std::string note;
    if (locked.value()) {
        for (const std::string& line : lockChanges(*locked.value(), m, run)) {
            note += "\nsince the lock: " + line;
        }
    }
    return note;
}

Result<std::vector<std::string>> CaseFile::changesSinceLock() const {
    const Result<std::optional<std::vector<LockedText>>> locked = lockedTexts();
    const Result<Metadata> m = metadata();
    const Result<std::optional<RunRecord>> last = lastRun();
    if (!locked.ok() || !m.ok() || !last.ok()) {
        return !locked.ok() ? locked.error() : !m.ok() ? m.error() : last.error();
    }
    if (!locked.value()) {
        return std::vector<std::string>();
    }
    return lockChanges(*locked.value(), m.value(), last.value() ? &*last.value() : nullptr);
}

}  // namespace pelmora
