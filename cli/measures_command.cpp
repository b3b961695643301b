#include "cli/folder_run.h"
#include "exports/measures_table.h"

namespace pelmora::cli {

int runMeasuresCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(delimitedTable(measuresTable(*run.result, ColumnNames::Short, o.names()), '\t'));
    });
}

}  // namespace pelmora::cli
