#include "tests/support/test_data.h"

#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"

namespace pelmora::test {

namespace fs = std::filesystem;

fs::path sharedCorpora() {
    std::error_code error;
    for (fs::path p = fs::path(PELMORA_SOURCE_DIR).parent_path(); !p.empty(); p = p.parent_path()) {
        if (fs::is_directory(p / "shared/corpora", error)) {
            return p / "shared/corpora";
        }
        if (p == p.parent_path()) {
            break;
        }
    }
    return {};
}

std::shared_ptr<const RunResult> runFolder(const fs::path& folder) {
    ProgramContext context(folder);
    startProgram(context);
    return runBatch(context);
}

std::vector<std::string> splitFields(const std::string& joined, char separator) {
    std::vector<std::string> out(1);
    for (char c : joined) {
        if (c == separator) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

}  // namespace pelmora::test
