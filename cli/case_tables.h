#pragma once
// What the compat and case commands share: a metadata table read against a folder's texts,
// and one table of a run's compatibility by role written out.

#include <optional>
#include <string>

#include "case/compatibility_tables.h"
#include "case/metadata.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

// The metadata at `path` against the texts the folder lists; nothing, with a line on `err`
// naming the file and the line, when it cannot be loaded.
std::optional<Metadata> metadataOf(const std::string& path, const std::string& folder, Output& err);

// Names on `err` each text with a role that was not analysed, then writes `table` of the
// run's compatibility by `metadata`'s roles to `out`, tab-separated with a header row.
void writeCaseTable(const RunResult& run, const Metadata& metadata, CaseTable table, int level,
                    Output& out, Output& err);

}  // namespace pelmora::cli
