// pelmora-cli case new|run|metadata|log|verify: a case kept in a case file.

#include "casefile/case_file.h"
#include "casefile/folder_check.h"
#include "cli/case_tables.h"
#include "cli/stability_options.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

namespace {

// A case file that cannot be written is output that could not be written; any other fault of
// it is a bad case file.
int caseError(Output& err, const Error& error) {
    err.raw("pelmora-cli: ").raw(error.message).raw("\n");
    err.flush();
    return error.code == Error::Code::WriteFailed ? kExitNoOutput : kExitUsage;
}

int caseNew(const CliArguments& args, Output& out, Output& err) {
    std::filesystem::path file(args.operands[1]);
    if (!file.has_extension()) {
        file += kCaseExtension;
    }
    const std::filesystem::path folder(args.operands[2]);
    std::optional<Metadata> metadata;
    if (const auto csv = args.options.find("--metadata"); csv != args.options.end()) {
        metadata = metadataOf(csv->second, folder.native(), err);
        if (!metadata) {
            return kExitUsage;
        }
    }
    CaseDetails details;
    details.number = args.options.count("--number") ? args.options.at("--number") : "";
    details.examiner = args.options.count("--examiner") ? args.options.at("--examiner") : "";
    Result<CaseFile> made = CaseFile::create(file, folder, details);
    if (!made.ok()) {
        return caseError(err, made.error());
    }
    if (metadata) {
        if (auto failed = made.value().importMetadata(*metadata)) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
            return caseError(err, *failed);
        }
    }
    out.raw("Case file " + displayText(file.native()) + " created for " +
            displayText(std::filesystem::absolute(folder).lexically_normal().native()) + "\n");
    return finish(out, err, kExitOk);
}

// What changed in the folder since the case's last run, said first, and logged as the case is
// opened for a new run.
std::optional<Error> reportFolderChanges(CaseFile& opened, const std::filesystem::path& folder,
                                         Output& err) {
    const Result<std::optional<RunRecord>> last = opened.lastRun();
    if (!last.ok()) {
        return last.error();
    }
    if (!last.value()) {
        return opened.logAction(AuditAction::Opened, "before its first run");
    }
    const Verification changes = folderAgainstRun(*last.value(), folder);
    if (changes.unchanged()) {
        return opened.logAction(AuditAction::Opened, "the folder is as the last run read it");
    }
    std::string details = "the folder changed since the last run:";
    err.raw("pelmora-cli: the folder changed since the case's last run:\n");
    for (const std::string& line : changes.differences) {
        err.raw("  ").raw(line).raw("\n");
        details += "\n" + line;
    }
    err.flush();
    return opened.logAction(AuditAction::Opened, details);
}

int caseRun(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "case run", err);
    if (!options) {
        return kExitUsage;
    }
    Result<CaseFile> opened = CaseFile::open(args.operands[1]);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    CaseFile& file = opened.value();
    const Result<std::filesystem::path> folder = file.folderPath();
    if (!folder.ok()) {
        return caseError(err, folder.error());
    }
    if (auto failed = reportFolderChanges(file, folder.value(), err)) {
        return caseError(err, *failed);
    }
    const FolderRun run = runFolder(folder.value().native(), args, err);
    if (!run.result) {
        return kExitUsage;
    }
    std::optional<RunStability> stability;
    if (asksForStability(args)) {
        stability = stabilityOf(run, *options, args, err);
        if (!stability) {
            return kExitUsage;
        }
    }
    const RunStability* measured = stability ? &*stability : nullptr;
    if (auto failed = file.storeRun(recordOf(*run.result, utcTimestamp(), measured))) {
        return caseError(err, *failed);
    }
    const Result<Metadata> metadata = file.metadata();
    if (!metadata.ok()) {
        return caseError(err, metadata.error());
    }
    writeCaseTable(*run.result, metadata.value(), CaseTable::QuestionedKnown,
                   RuleBook::kMatchedReferenceAtLeast, out, err);
    const int status = finish(out, err, run.result->leftOut.empty() ? kExitOk : kExitLeftOut);
    return statusWithStability(status, stability);
}

int caseMetadata(const CliArguments& args, Output& out, Output& err) {
    const Result<CaseFile> opened = CaseFile::open(args.operands[1], false);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    const Result<Metadata> metadata = opened.value().metadata();
    if (!metadata.ok()) {
        return caseError(err, metadata.error());
    }
    out.raw(metadataCsv(metadata.value()));
    return finish(out, err, kExitOk);
}

int caseLog(const CliArguments& args, Output& out, Output& err) {
    const Result<CaseFile> opened = CaseFile::open(args.operands[1], false);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    const Result<std::vector<AuditEntry>> log = opened.value().log();
    if (!log.ok()) {
        return caseError(err, log.error());
    }
    out.text(logText(log.value()));
    return finish(out, err, kExitOk);
}

}  // namespace

int runCaseCommand(const CliArguments& args, Output& out, Output& err) {
    const std::string action = args.operands.empty() ? "" : args.operands[0];
    const std::size_t operands = action == "new" ? 3 : 2;
    if (action != "new" && action != "run" && action != "metadata" && action != "log" &&
        action != "verify") {
        return usageError(err, action.empty()
                                   ? "case: needs new, run, metadata, log or verify "
                                     "(try --help)"
                                   : "case: unknown action '" + action + "' (try --help)");
    }
    if (args.operands.size() != operands) {
        return usageError(err, args.operands.size() < operands
                                   ? "case " + action + ": needs " +
                                         (action == "new" ? "CASE and FOLDER" : "CASE") +
                                         " (try --help)"
                                   : "case " + action + ": unexpected argument '" +
                                         args.operands[operands] + "' (try --help)");
    }
    // Each action takes its own options only.
    for (const auto& [option, value] : args.options) {
        const bool takes = action == "new" ? option == "--metadata" || option == "--number" ||
                                                 option == "--examiner"
                           : action == "run" ? option == "--resamples" || option == "--block"
                                             : false;
        if (!takes) {
            return usageError(err,
                              "case " + action + ": unknown option '" + option + "' (try --help)");
        }
    }
    return action == "new"        ? caseNew(args, out, err)
           : action == "run"      ? caseRun(args, out, err)
           : action == "metadata" ? caseMetadata(args, out, err)
           : action == "log"      ? caseLog(args, out, err)
                                  : runCaseVerify(args, out, err);
}

}  // namespace pelmora::cli
