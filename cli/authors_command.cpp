#include "cli/folder_run.h"
#include "run/author_results.h"

namespace pelmora::cli {

int runAuthorsCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [&err](const FolderRun& run, Output& o) {
        ProgramContext& context = *run.context;
        assignAuthorResults(context, *run.result);
        for (const std::string& message : context.takeMessages()) {
            err.raw("pelmora-cli: ").raw(message).raw("\n");
        }
        const Form2& form = context.form2();
        for (int a = 0; a < form.lstAuthor.count(); ++a) {
            o.name(form.lstAuthor.at(a)).raw("\t").raw(form.lstNumOfAuthorTexts.get(a)).raw("\n");
        }
        o.raw("\n").text(form.Text4.text());
    });
}

}  // namespace pelmora::cli
