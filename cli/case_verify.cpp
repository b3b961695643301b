// pelmora-cli case verify: the audit log's chain and the folder against the last run.

#include "casefile/case_file.h"
#include "casefile/folder_check.h"
#include "cli/folder_run.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

namespace {

struct CaseVerification {
    std::optional<std::string> broken;   // where the log or a run was tampered with
    std::optional<Verification> folder;  // nothing before the first run
    std::vector<std::string> sinceLock;  // a locked questioned text's role or content changed
    std::size_t files = 0;
    std::size_t entries = 0;

    bool whole() const { return !broken && (!folder || folder->unchanged()) && sinceLock.empty(); }
};

std::string verificationWords(const CaseVerification& v) {
    std::string out = v.broken ? "The case was altered outside Pelmora: " + *v.broken + ".\n"
                               : "The log is whole: " + std::to_string(v.entries) +
                                     (v.entries == 1 ? " entry" : " entries") + " in a chain.\n";
    for (const std::string& line : v.sinceLock) {
        out += "Since the questioned texts were locked: " + line + "\n";
    }
    if (!v.folder) {
        return out + "No run is stored yet, so the folder is not compared.\n";
    }
    if (v.folder->unchanged()) {
        return out + "The folder is as the last run read it: " + std::to_string(v.files) +
               (v.files == 1 ? " file" : " files") + ", each of the same size and SHA-256.\n";
    }
    out += "The folder changed since the last run:\n";
    for (const std::string& line : v.folder->differences) {
        out += line + "\n";
    }
    return out;
}

Result<CaseVerification> verifyCase(const CaseFile& file) {
    CaseVerification v;
    const Result<std::optional<std::string>> tampered = file.tampering();
    if (!tampered.ok()) {
        return tampered.error();
    }
    v.broken = tampered.value();
    const Result<std::vector<AuditEntry>> log = file.log();
    if (!log.ok()) {
        return log.error();
    }
    v.entries = log.value().size();
    Result<std::vector<std::string>> sinceLock = file.changesSinceLock();
    if (!sinceLock.ok()) {
        return sinceLock.error();
    }
    v.sinceLock = std::move(sinceLock.value());
    const Result<std::optional<RunRecord>> last = file.lastRun();
    const Result<std::filesystem::path> folder = file.folderPath();
    if (!last.ok() || !folder.ok()) {
        return last.ok() ? folder.error() : last.error();
    }
    if (last.value()) {
        v.folder = folderAgainstRun(*last.value(), folder.value());
        v.files = last.value()->files.size();
    }
    return v;
}

}  // namespace

int runCaseVerify(const CliArguments& args, Output& out, Output& err) {
    Result<CaseFile> opened = CaseFile::open(args.operands[1]);
    if (!opened.ok()) {
        err.raw("pelmora-cli: ").raw(opened.error().message).raw("\n");
        err.flush();
        return kExitUsage;
    }
    const Result<CaseVerification> verified = verifyCase(opened.value());
    if (!verified.ok()) {
        return usageError(err, verified.error().message);
    }
    const std::string words = verificationWords(verified.value());
    out.text(words);
    // A reviewer may hold a copy they cannot write: the check stands, unrecorded.
    if (auto failed = opened.value().logAction(AuditAction::Verified, words)) {
        err.raw("pelmora-cli: the check is not recorded in the case's log: ")
            .raw(failed->message)
            .raw("\n");
        err.flush();
    }
    return finish(out, err, verified.value().whole() ? kExitOk : kExitDiffers);
}

}  // namespace pelmora::cli
