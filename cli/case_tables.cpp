#include "cli/case_tables.h"

#include "app/folder_listing.h"
#include "stores/text_encoding.h"

namespace pelmora::cli {

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

void writeCaseTable(const RunResult& run, const Metadata& metadata, CaseTable table, int level,
                    Output& out, Output& err) {
    const Compatibility compatibility = compatibilityOf(run, metadata, level);
    for (const std::string& name : compatibility.texts.notAnalysed) {
        err.raw("pelmora-cli: has a role but was not analysed: ").name(displayText(name)).raw("\n");
    }
    err.flush();
    std::string line;
    for (const TableRow& row : caseTable(run, compatibility, table, out.names())) {
        line.clear();
        appendDelimitedRow(line, row, '\t', "\n");
        out.text(line);
    }
}

}  // namespace pelmora::cli
