#pragma once
// Import of evidence: every source file (folders searched recursively) made into UTF-8 .txt
// files in a destination folder, each named after its source ("letter.docx.txt",
// "inbox.mbox-0007.txt", "chat.txt-Alice.txt"; a numbered name rather than overwriting a
// file), with one row per text in the folder's import-log.csv: the source's SHA-256 taken
// from the bytes read, the part, the output's SHA-256, the format and library, the words, what
// was removed and the warnings. A source that cannot be converted is left out with its reason
// in the log; the others still import.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "case/metadata.h"
#include "formats/csv.h"
#include "import/imported_text.h"
#include "jobs/job.h"

namespace pelmora {

inline constexpr std::string_view kImportLogName = "import-log.csv";
// Where the main form writes the texts' metadata; a numbered name when it is taken.
inline constexpr std::string_view kImportMetadataStem = "import-metadata";

struct ImportRequest {
    std::vector<std::filesystem::path> sources;  // files and folders
    std::filesystem::path destination;           // made when absent
    ImportOptions options;
};

struct LeftOutSource {
    std::string source;  // the path as the log names it
    std::string reason;
};

struct ImportReport {
    std::vector<std::string> written;  // the output names, in order
    std::vector<LeftOutSource> leftOut;
    std::vector<Removal> removals;  // over every text written, by kind
    std::vector<TableRow> logRows;  // appended to the log, without its header
    Metadata metadata;       // a row per text written: file, role (none), author, date, source
    bool cancelled = false;  // stopped between two sources; what was written is logged
};

// The log's header row.
[[nodiscard]] const TableRow& importLogHeader();

// Imports every source and appends to the log. Fails (WriteFailed) when the destination, a
// text or the log cannot be written; the log then still gets the rows of what was written.
[[nodiscard]] Result<ImportReport> importSources(const ImportRequest& request,
                                                 JobControl* control = nullptr);

// The metadata of the texts written, as the case's metadata table reads it.
[[nodiscard]] std::string importMetadataCsv(const ImportReport& report);

// "import-metadata.csv" in `destination`, or "import-metadata (2).csv" and so on when taken.
[[nodiscard]] std::filesystem::path freeMetadataPath(const std::filesystem::path& destination);

// The import in words, as the main form shows it at the end: the texts written, the sources
// left out with their reasons (the first `listed`; then how many more, and where every one is
// named), the lines removed by kind, whether it was cancelled.
[[nodiscard]] std::string importSummary(const ImportReport& report,
                                        std::size_t listed = static_cast<std::size_t>(-1));
// Every source left out, a line each: "source: reason".
[[nodiscard]] std::string leftOutSources(const ImportReport& report);

}  // namespace pelmora
