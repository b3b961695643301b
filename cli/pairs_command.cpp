#include "cli/folder_run.h"
#include "exports/pairs_table.h"

namespace pelmora::cli {

int runPairsCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        std::string line;
        forEachPairsRow(*run.result, o.names(), [&](const TableRow& row) {
            line.clear();
            appendDelimitedRow(line, row, '\t', "\n");
            o.text(line);
            return !o.failed();  // no use going through millions of pairs for a closed pipe
        });
    });
}

}  // namespace pelmora::cli
