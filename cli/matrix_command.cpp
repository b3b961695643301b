#include "cli/folder_run.h"
#include "exports/pair_matrix.h"

namespace pelmora::cli {

int runMatrixCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        std::string line;
        forEachMatrixRow(*run.result, o.names(), [&](const TableRow& row) {
            line.clear();
            appendDelimitedRow(line, row, '\t', "\n");
            o.text(line);
        });
    });
}

}  // namespace pelmora::cli
