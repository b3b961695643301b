// pelmora-cli case new|run|metadata|log|verify|unmasking|lock|report: a case kept in a case file.

#include <map>

#include "casefile/case_file.h"
#include "casefile/folder_check.h"
#include "cli/case_tables.h"
#include "cli/case_view.h"
#include "cli/stability_options.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

namespace {

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
    const auto unmasking = args.options.find("--unmasking");
    if (unmasking != args.options.end() && unmasking->second != "on" &&
        unmasking->second != "off") {
        return usageError(err, "case new: --unmasking takes on or off, not '" + unmasking->second +
                                   "' (try --help)");
    }
    Result<CaseFile> made = CaseFile::create(file, folder, details);
    if (!made.ok()) {
        return caseError(err, made.error());
    }
    std::optional<Error> failed = metadata ? made.value().importMetadata(*metadata) : std::nullopt;
    if (!failed && unmasking != args.options.end()) {
        failed = made.value().setUnmasking(unmasking->second == "on");
    }
    if (failed) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return caseError(err, *failed);
    }
    out.raw("Case file " + displayText(file.native()) + " created for " +
            displayText(std::filesystem::absolute(folder).lexically_normal().native()) + "\n");
    return finish(out, err, kExitOk);
}

// What changed in the folder since the case's last run, said first, and logged as the case is
// opened for a new run.
std::optional<Error> reportFolderChanges(CaseFile& opened, const std::filesystem::path& folder,
                                         Output& err) {
    const Result<std::vector<std::string>> changes = logOpening(opened, folder);
    if (!changes.ok()) {
        return changes.error();
    }
    if (!changes.value().empty()) {
        err.raw("pelmora-cli: the folder changed since the case's last run:\n");
        for (const std::string& line : changes.value()) {
            err.raw("  ").raw(line).raw("\n");
        }
        err.flush();
    }
    return std::nullopt;
}

int caseRun(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "case run", err);
    if (!options) {
        return kExitUsage;
    }
    Result<OpenedCase> opened = openCase(args.operands[1]);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    CaseFile& file = opened.value().file;
    if (auto failed = reportFolderChanges(file, opened.value().folder, err)) {
        return caseError(err, *failed);
    }
    const FolderRun run = runFolder(opened.value().folder.native(), args, err);
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
    if (auto failed = writeCaseView(file, *run.result, out, err)) {
        return caseError(err, *failed);
    }
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
    static const std::map<std::string, std::size_t> kOperands = {
        {"new", 3},    {"run", 2},       {"metadata", 2}, {"log", 2},
        {"verify", 2}, {"unmasking", 3}, {"lock", 2},     {"report", 3}};
    static const std::map<std::string, std::string> kNeeds = {{"new", "CASE and FOLDER"},
                                                              {"unmasking", "CASE and on or off"},
                                                              {"report", "CASE and OUT"}};
    const std::string action = args.operands.empty() ? "" : args.operands[0];
    const auto known = kOperands.find(action);
    if (known == kOperands.end()) {
        return usageError(err, action.empty()
                                   ? "case: needs new, run, metadata, log, verify, unmasking, "
                                     "lock or report (try --help)"
                                   : "case: unknown action '" + action + "' (try --help)");
    }
    const std::size_t operands = known->second;
    if (args.operands.size() != operands) {
        return usageError(err, args.operands.size() < operands
                                   ? "case " + action + ": needs " +
                                         (kNeeds.count(action) ? kNeeds.at(action) : "CASE") +
                                         " (try --help)"
                                   : "case " + action + ": unexpected argument '" +
                                         args.operands[operands] + "' (try --help)");
    }
    // Each action takes its own options only.
    for (const auto& [option, value] : args.options) {
        const bool takes = action == "new" ? option == "--metadata" || option == "--number" ||
                                                 option == "--examiner" || option == "--unmasking"
                           : action == "run"    ? option == "--resamples" || option == "--block"
                           : action == "report" ? option == "--label"
                                                : false;
        if (!takes) {
            return usageError(err,
                              "case " + action + ": unknown option '" + option + "' (try --help)");
        }
    }
    return action == "new"         ? caseNew(args, out, err)
           : action == "run"       ? caseRun(args, out, err)
           : action == "metadata"  ? caseMetadata(args, out, err)
           : action == "log"       ? caseLog(args, out, err)
           : action == "unmasking" ? runCaseUnmasking(args, out, err)
           : action == "lock"      ? runCaseLock(args, out, err)
           : action == "report"    ? runCaseReport(args, out, err)
                                   : runCaseVerify(args, out, err);
}

}  // namespace pelmora::cli
