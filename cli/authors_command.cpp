#include <ostream>

#include "app/form2.h"
#include "authors/author_results.h"
#include "cli/folder_run.h"

namespace pelmora::cli {

int runAuthorsCommand(const CliArguments& args, std::ostream& out, std::ostream& err) {
    const auto context = runFolder(args, err);
    if (!context) {
        return kExitUsage;
    }
    Form2& form = context->form2();
    assignAuthorResults(form);
    for (const std::string& message : context->takeMessages()) {
        err << "pelmora-cli: " << message << "\n";
    }

    std::string text;
    for (int a = 0; a < form.lstAuthor.count(); ++a) {
        text += form.lstAuthor.at(a) + "\t" + std::string(form.lstNumOfAuthorTexts.get(a)) + "\r\n";
    }
    text += "\r\n" + form.Text4.text();
    writeText(out, text, args.crlf);
    return kExitOk;
}

}  // namespace pelmora::cli
