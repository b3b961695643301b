// pelmora-cli case unmasking|lock, and what case run shows before and after the lock.

#include "case/unmasking.h"
#include "cli/case_tables.h"
#include "cli/case_view.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

namespace {

void writeTable(const std::vector<TableRow>& rows, Output& out) {
    std::string line;
    for (const TableRow& row : rows) {
        line.clear();
        appendDelimitedRow(line, row, '\t', "\n");
        out.text(line);
    }
}

}  // namespace

int caseError(Output& err, const Error& error) {
    err.raw("pelmora-cli: ").raw(error.message).raw("\n");
    err.flush();
    return error.code == Error::Code::WriteFailed ? kExitNoOutput : kExitUsage;
}

std::optional<Error> writeCaseView(const CaseFile& file, const RunResult& run, Output& out,
                                   Output& err) {
    const Result<Metadata> metadata = file.metadata();
    const Result<UnmaskingStage> stage = file.unmasking();
    const Result<std::vector<std::string>> changes = file.changesSinceLock();
    if (!metadata.ok() || !stage.ok() || !changes.ok()) {
        return !metadata.ok() ? metadata.error() : !stage.ok() ? stage.error() : changes.error();
    }
    for (const std::string& line : changes.value()) {
        err.raw("pelmora-cli: since the questioned texts were locked: ")
            .name(displayText(line))
            .raw("\n");
    }
    const VisibleResults visible = visibleResults(stage.value());
    if (mayShow(visible, CaseTable::QuestionedKnown)) {
        writeCaseTable(run, metadata.value(), CaseTable::QuestionedKnown,
                       RuleBook::kMatchedReferenceAtLeast, out, err);
        return std::nullopt;
    }
    const CaseTexts texts = caseTexts(run, metadata.value());
    for (const std::string& name : texts.notAnalysed) {
        err.raw("pelmora-cli: has a role but was not analysed: ").name(displayText(name)).raw("\n");
    }
    err.raw(
        "pelmora-cli: sequential unmasking: only the questioned texts' codes are shown; the "
        "known and reference results follow the lock (case lock CASE)\n");
    err.flush();
    writeTable(questionedCodesTable(run, texts, out.names()), out);
    return std::nullopt;
}

int runCaseUnmasking(const CliArguments& args, Output& out, Output& err) {
    const std::string& value = args.operands[2];
    if (value != "on" && value != "off") {
        return usageError(err, "case unmasking: takes on or off, not '" + value + "' (try --help)");
    }
    Result<CaseFile> opened = CaseFile::open(args.operands[1]);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    if (auto failed = opened.value().setUnmasking(value == "on")) {
        return caseError(err, *failed);
    }
    out.raw("Sequential unmasking is " + value + " for " + displayText(args.operands[1]) + "\n");
    return finish(out, err, kExitOk);
}

Result<OpenedCase> openCase(const std::string& path) {
    Result<CaseFile> opened = CaseFile::open(path);
    if (!opened.ok()) {
        return opened.error();
    }
    const Result<std::filesystem::path> folder = opened.value().folderPath();
    if (!folder.ok()) {
        return folder.error();
    }
    return OpenedCase{std::move(opened.value()), folder.value()};
}

int runCaseLock(const CliArguments& args, Output& out, Output& err) {
    Result<OpenedCase> opened = openCase(args.operands[1]);
    if (!opened.ok()) {
        return caseError(err, opened.error());
    }
    CaseFile& file = opened.value().file;
    // The evidence is read off the folder as it is now, which must still be what the last
    // stored run read of each questioned text.
    const FolderRun run = runFolder(opened.value().folder.native(), args, err);
    if (!run.result) {
        return kExitUsage;
    }
    if (auto failed = file.lockQuestioned(*run.result)) {
        return caseError(err, *failed);
    }
    const Result<std::optional<std::vector<LockedText>>> locked = file.lockedTexts();
    if (!locked.ok()) {
        return caseError(err, locked.error());
    }
    out.raw("Locked the questioned texts; the known and reference results follow (case run):\n");
    std::vector<TableRow> rows = {{"questioned", "code", "SHA-256"}};
    for (const LockedText& t : locked.value().value_or(std::vector<LockedText>())) {
        rows.push_back({recordField(t.nameBytes), t.code, t.sha256});
    }
    writeTable(rows, out);
    return finish(out, err, kExitOk);
}

}  // namespace pelmora::cli
