#include "app/form2.h"
#include "cli/folder_run.h"
#include "evidence/csv.h"
#include "evidence/measures_table.h"

namespace pelmora::cli {

int runMeasuresCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    return printAfterRun(args, out, err, [](ProgramContext& context) {
        return delimitedTable(measuresTable(context.form2().runMeasures), '\t');
    });
}

}  // namespace pelmora::cli
