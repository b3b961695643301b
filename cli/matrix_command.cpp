#include "cli/folder_run.h"
#include "evidence/pair_matrix.h"

namespace pelmora::cli {

int runMatrixCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        return delimitedTable(matrixTable(pairMatrix(snapshotOf(context))), '\t', "\n");
    });
}

}  // namespace pelmora::cli
