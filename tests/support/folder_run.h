#pragma once
// A folder of files for one test and a program started on it, as the user starts it on a corpus.

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "tests/support/temp_folder.h"

namespace pelmora::test {

struct File {
    std::string name;
    std::string bytes;
};

struct FolderRun {
    TempFolder folder;
    std::unique_ptr<ProgramContext> context;

    FolderRun(std::initializer_list<File> files) : FolderRun(std::vector<File>(files)) {}
    explicit FolderRun(const std::vector<File>& files) {
        for (const File& f : files) {
            folder.write(f.name, f.bytes);
        }
        context = std::make_unique<ProgramContext>(folder.path());
        startProgram(*context);
    }
    Form2& form2() { return context->form2(); }
    Form1& form1() { return context->form1(); }
    Form2Commands main() { return Form2Commands(*context); }
    Form1Commands analysis() { return Form1Commands(*context); }
    std::shared_ptr<const RunResult> run() { return runBatch(*context); }
    std::string report() { return form2().txtReport.text(); }
};

}  // namespace pelmora::test
