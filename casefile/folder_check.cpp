#include "casefile/folder_check.h"

#include <map>

#include "app/file_reader.h"
#include "app/folder_listing.h"

namespace pelmora {

Verification folderAgainstRun(const RunRecord& last, const std::filesystem::path& folder) {
    const Result<FolderListing> listed = listTextFiles(folder);
    if (!listed.ok()) {
        Verification v;
        v.differences.push_back(listed.error().message);
        return v;
    }
    std::map<std::string, const RecordedFile*> recorded;
    for (const RecordedFile& f : last.files) {
        recorded.emplace(f.nameBytes, &f);
    }
    // The record of the folder now; what only an analysis would find is taken from the run,
    // so that only the files' presence, readability, size and digest are compared.
    RunRecord now;
    now.version = last.version;
    for (const ListedFile& listedFile : listed.value().files) {
        RecordedFile f;
        f.nameBytes = listedFile.nameBytes;
        const Result<ReadText> read = readTextFile(folder / listedFile.nameBytes, f.nameBytes);
        if (!read.ok()) {
            f.unreadable = true;
            f.reason = read.error().reason;
        } else {
            f.byteSize = read.value().facts.byteSize;
            f.sha256 = read.value().facts.sha256;
        }
        if (const auto was = recorded.find(f.nameBytes); was != recorded.end()) {
            f.encoding = was->second->encoding;
            f.code = was->second->code;
        }
        now.files.push_back(std::move(f));
    }
    for (const SkippedFile& skipped : listed.value().leftOut) {
        RecordedFile f;
        f.nameBytes = skipped.nameBytes;
        f.unreadable = true;
        f.reason = skipped.reason;
        now.files.push_back(std::move(f));
    }
    return verifyRun(last, now);
}

Result<std::vector<std::string>> logOpening(CaseFile& opened, const std::filesystem::path& folder) {
    const Result<std::optional<RunRecord>> last = opened.lastRun();
    if (!last.ok()) {
        return last.error();
    }
    std::vector<std::string> changes;
    std::string details = "before its first run";
    if (last.value()) {
        changes = folderAgainstRun(*last.value(), folder).differences;
        details = changes.empty() ? "the folder is as the last run read it"
                                  : "the folder changed since the last run:";
        for (const std::string& line : changes) {
            details += "\n" + line;
        }
    }
    if (std::optional<Error> failed = opened.logAction(AuditAction::Opened, details)) {
        return *failed;
    }
    return changes;
}

}  // namespace pelmora
