#include "cli/cli_command.h"
#include "cli/folder_run.h"
#include "files/replacing_file.h"
#include "import/importer.h"

namespace pelmora::cli {

namespace {

int cannotWrite(Output& err, const Error& error) {
    err.raw("pelmora-cli: ").raw(error.message).raw("\n");
    err.flush();
    return kExitNoOutput;
}

// What was written, left out and removed, and where the log is.
void printSummary(const ImportReport& report, const std::filesystem::path& destination, Output& out,
                  Output& err) {
    out.raw(std::to_string(report.written.size()) +
            (report.written.size() == 1 ? " text written to " : " texts written to "))
        .name(destination.string())
        .raw("\n");
    for (const std::string& name : report.written) {
        out.raw("  ").name(name).raw("\n");
    }
    if (!report.leftOut.empty()) {
        out.raw(std::to_string(report.leftOut.size()) +
                (report.leftOut.size() == 1 ? " source left out:\n" : " sources left out:\n"));
    }
    for (const LeftOutSource& source : report.leftOut) {
        out.raw("  ").name(source.source).raw(": ").raw(source.reason).raw("\n");
        err.raw("pelmora-cli: left out ")
            .name(source.source)
            .raw(": ")
            .raw(source.reason)
            .raw("\n");
    }
    for (const Removal& removal : report.removals) {
        out.raw("removed: " + removal.what + ", " + std::to_string(removal.lines) +
                (removal.lines == 1 ? " line\n" : " lines\n"));
    }
    if (report.cancelled) {
        out.raw("The import was cancelled; what was written is logged.\n");
    }
    out.raw("log: ").name((destination / kImportLogName).string()).raw("\n");
    err.flush();
}

}  // namespace

int runImportCommand(const CliArguments& args, Output& out, Output& err) {
    const auto to = args.options.find("--to");
    if (args.operands.empty()) {
        return usageError(err, "import: missing SOURCE, a file or folder to import (try --help)");
    }
    if (to == args.options.end() || to->second.empty()) {
        return usageError(err, "import: missing --to FOLDER, where the texts go (try --help)");
    }
    ImportRequest request;
    request.destination = to->second;
    request.options.keepEverything = args.flags.count("--keep-quotes") > 0;
    for (const std::string& source : args.operands) {
        request.sources.emplace_back(source);
    }
    // Before the import, so that a place that cannot be written says so before any text is.
    std::optional<ReplacingFile> metadataFile;
    if (const auto meta = args.options.find("--metadata-out"); meta != args.options.end()) {
        Result<ReplacingFile> file = ReplacingFile::create(meta->second);
        if (!file.ok()) {
            return cannotWrite(err, file.error());
        }
        metadataFile.emplace(std::move(file.value()));
    }
    const Result<ImportReport> report = importSources(request);
    if (!report.ok()) {
        return cannotWrite(err, report.error());
    }
    if (metadataFile) {
        metadataFile->write(importMetadataCsv(report.value()));
        if (const std::optional<Error> failed = metadataFile->commit()) {
            return cannotWrite(err, *failed);
        }
    }
    printSummary(report.value(), request.destination, out, err);
    return finish(out, err, report.value().leftOut.empty() ? kExitOk : kExitLeftOut);
}

}  // namespace pelmora::cli
