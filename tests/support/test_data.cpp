#include "tests/support/test_data.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"

namespace pelmora::test {

namespace fs = std::filesystem;

fs::path sharedCorpus(const std::string& name) {
    std::error_code error;
    if (const char* set = std::getenv("PELMORA_CORPORA"); set != nullptr && *set != '\0') {
        if (fs::is_directory(fs::path(set) / name, error)) {
            return fs::path(set) / name;
        }
        ADD_FAILURE() << "no corpus " << name << " in PELMORA_CORPORA=" << set;
        return {};
    }
    for (fs::path p = fs::path(PELMORA_SOURCE_DIR).parent_path(); !p.empty(); p = p.parent_path()) {
        if (fs::is_directory(p / "shared/corpora" / name, error)) {
            return p / "shared/corpora" / name;
        }
        if (p == p.parent_path()) {
            break;
        }
    }
    ADD_FAILURE() << "no corpus " << name << " in shared/corpora above " << PELMORA_SOURCE_DIR
                  << ": the tests labelled corpora need it (or PELMORA_CORPORA)";
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
