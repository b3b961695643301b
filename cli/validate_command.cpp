#include "cli/case_tables.h"
#include "cli/stability_options.h"
#include "validation/validation_tables.h"

namespace pelmora::cli {

namespace {

constexpr std::string_view kDefaultLabel = "genre";

}  // namespace

int runValidateCommand(const CliArguments& args, Output& out, Output& err) {
    ValidationTable table = ValidationTable::Summary;
    if (const auto it = args.options.find("--table"); it != args.options.end()) {
        const std::optional<ValidationTable> named = validationTableNamed(it->second);
        if (!named || *named == ValidationTable::Summary) {
            return usageError(
                err, "validate: --table takes roc, digits or labels, not '" + it->second + "'");
        }
        table = *named;
    }
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "validate", err);
    if (!options) {
        return kExitUsage;
    }
    const auto path = args.options.find("--metadata");
    if (path == args.options.end()) {
        return usageError(err, "validate: needs --metadata META.csv (try --help)");
    }
    if (args.operands.size() != 1) {
        return writeAfterRun(args, out, err, {});  // says what is wrong with the operands
    }
    const std::optional<Metadata> metadata = metadataOf(path->second, args.operands[0], err);
    if (!metadata) {
        return kExitUsage;
    }
    const auto label = args.options.find("--label");
    const std::string column =
        label == args.options.end() ? std::string(kDefaultLabel) : label->second;
    if (const std::optional<Error> error = labelColumnError(*metadata, column)) {
        return usageError(err, error->message);
    }
    std::optional<RunStability> stability;
    bool failed = false;
    const int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        if (asksForStability(args)) {
            stability = stabilityOf(run, *options, args, err);
            if (!stability) {
                failed = true;
                return;
            }
        }
        const Result<Validation> validation =
            validateLabels(*run.result, *metadata, column, stability ? &*stability : nullptr);
        if (!validation.ok()) {
            usageError(err, validation.error().message);
            failed = true;
            return;
        }
        std::string line;
        for (const TableRow& row : validationTable(validation.value(), table)) {
            line.clear();
            appendDelimitedRow(line, row, '\t', "\n");
            o.text(line);
        }
    });
    return status == kExitOk && failed ? kExitUsage : statusWithStability(status, stability);
}

}  // namespace pelmora::cli
