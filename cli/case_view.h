#pragma once
// What pelmora-cli case shows of a case after a run, as its sequential unmasking allows, and
// the case actions that unmask it.

#include <optional>

#include "casefile/case_file.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

// Names on `err` what changed since the questioned texts were locked, then writes the qk table
// or, before the lock, only the questioned texts' codes with a line on `err` saying that the
// known and reference results follow the lock.
[[nodiscard]] std::optional<Error> writeCaseView(const CaseFile& file, const RunResult& run,
                                                 Output& out, Output& err);

// `case unmasking CASE on|off` and `case lock CASE`, once runCaseCommand has checked their
// operands.
int runCaseUnmasking(const CliArguments& args, Output& out, Output& err);
int runCaseLock(const CliArguments& args, Output& out, Output& err);
// `case report CASE OUT`, once runCaseCommand has checked its operands.
int runCaseReport(const CliArguments& args, Output& out, Output& err);

// The case file at `path`, open for writing, with where its folder is now.
struct OpenedCase {
    CaseFile file;
    std::filesystem::path folder;
};
Result<OpenedCase> openCase(const std::string& path);

// A case file's fault on `err`: status 4 when it cannot be written, else 2.
int caseError(Output& err, const Error& error);

}  // namespace pelmora::cli
