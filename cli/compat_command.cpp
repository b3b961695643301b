#include "app/file_reader.h"
#include "app/folder_listing.h"
#include "case/compatibility_tables.h"
#include "cli/folder_run.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

namespace {

struct CompatOptions {
    CaseTable table = CaseTable::QuestionedKnown;
    int level = RuleBook::kMatchedReferenceAtLeast;
};

std::optional<CompatOptions> compatOptionsOf(const CliArguments& args, Output& err) {
    CompatOptions options;
    if (const auto it = args.options.find("--table"); it != args.options.end()) {
        const std::optional<CaseTable> table = caseTableNamed(it->second);
        if (!table) {
            usageError(err,
                       "compat: --table takes qk, kk, qr, qq or matched, not '" + it->second + "'");
            return std::nullopt;
        }
        options.table = *table;
    }
    if (const auto it = args.options.find("--level"); it != args.options.end()) {
        const std::string& level = it->second;
        if (level.size() != 1 || level[0] < '0' || level[0] > '5') {
            usageError(err, "compat: --level takes a strength from 0 to 5, not '" + level + "'");
            return std::nullopt;
        }
        options.level = level[0] - '0';
    }
    return options;
}

// The metadata at `path` against the texts the folder lists; nothing, with a line on `err`
// naming the file and the line, when it cannot be loaded.
std::optional<Metadata> metadataOf(const std::string& path, const std::string& folder,
                                   Output& err) {
    const Result<std::string> bytes = readInput(path);
    if (!bytes.ok()) {
        usageError(err, bytes.error().message);
        return std::nullopt;
    }
    const Result<FolderListing> listing = listTextFiles(folder);
    if (!listing.ok()) {
        usageError(err, listing.error().message);
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (const ListedFile& file : listing.value().files) {
        names.push_back(file.nameBytes);
    }
    Result<Metadata> metadata = parseMetadata(bytes.value(), names);
    if (!metadata.ok()) {
        usageError(err, displayText(path) + " " + metadata.error().message);
        return std::nullopt;
    }
    return std::move(metadata.value());
}

}  // namespace

int runCompatCommand(const CliArguments& args, Output& out, Output& err) {
    const std::optional<CompatOptions> options = compatOptionsOf(args, err);
    if (!options) {
        return kExitUsage;
    }
    const auto path = args.options.find("--metadata");
    if (path == args.options.end()) {
        return usageError(err, "compat: needs --metadata META.csv (try --help)");
    }
    if (args.operands.size() != 1) {
        return writeAfterRun(args, out, err, {});  // says what is wrong with the operands
    }
    const std::optional<Metadata> metadata = metadataOf(path->second, args.operands[0], err);
    if (!metadata) {
        return kExitUsage;
    }
    return writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        const Compatibility compatibility = compatibilityOf(*run.result, *metadata, options->level);
        for (const std::string& name : compatibility.texts.notAnalysed) {
            err.raw("pelmora-cli: has a role but was not analysed: ")
                .name(displayText(name))
                .raw("\n");
        }
        err.flush();
        std::string line;
        for (const TableRow& row :
             caseTable(*run.result, compatibility, options->table, o.names())) {
            line.clear();
            appendDelimitedRow(line, row, '\t', "\n");
            o.text(line);
        }
    });
}

}  // namespace pelmora::cli
