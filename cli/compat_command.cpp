#include "cli/case_tables.h"

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
        writeCaseTable(*run.result, *metadata, options->table, options->level, o, err);
    });
}

}  // namespace pelmora::cli
