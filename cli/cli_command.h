#pragma once
// What every sub-command of pelmora-cli gets and gives. A new sub-command is one file
// defining its run function and one line in the table of main.cpp.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"

namespace pelmora::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffers = 1;   // verify: the folder no longer matches its record
inline constexpr int kExitUsage = 2;     // bad arguments, or a folder or record that cannot be read
inline constexpr int kExitLeftOut = 3;   // the output is complete, but files were left out
inline constexpr int kExitNoOutput = 4;  // standard output or a file could not be written

struct CliArguments {
    std::string command;
    std::vector<std::string> operands;           // what follows the command, options taken out
    bool crlf = false;                           // keep CR LF line ends instead of writing LF
    int jobs = 0;                                // texts measured at once; 0 for one per core
    std::map<std::string, std::string> options;  // a command's own options: "--text" -> NAME
    std::set<std::string> flags;                 // a command's own options without a value
};

// Writes to `out`; one-line messages go to `err`. Returns the exit status.
using RunCommand = int (*)(const CliArguments& args, Output& out, Output& err);

struct CliCommand {
    const char* name;
    const char* operands;  // as the usage shows them, e.g. "FOLDER [--text NAME]"
    std::string summary;
    RunCommand run;
    std::vector<std::string> options = {};  // the options it takes, each with a value
    std::vector<std::string> flags = {};    // the options it takes without a value
};

int runReportCommand(const CliArguments& args, Output& out, Output& err);
int runTypesCommand(const CliArguments& args, Output& out, Output& err);
int runMeasuresCommand(const CliArguments& args, Output& out, Output& err);
int runAuthorsCommand(const CliArguments& args, Output& out, Output& err);
int runExplainCommand(const CliArguments& args, Output& out, Output& err);
int runMatrixCommand(const CliArguments& args, Output& out, Output& err);
int runPairsCommand(const CliArguments& args, Output& out, Output& err);
int runWorkbookCommand(const CliArguments& args, Output& out, Output& err);
int runQualityCommand(const CliArguments& args, Output& out, Output& err);
int runRecordCommand(const CliArguments& args, Output& out, Output& err);
int runVerifyCommand(const CliArguments& args, Output& out, Output& err);
int runConcordanceCommand(const CliArguments& args, Output& out, Output& err);
int runStabilityCommand(const CliArguments& args, Output& out, Output& err);
int runSensitivityCommand(const CliArguments& args, Output& out, Output& err);
int runCompatCommand(const CliArguments& args, Output& out, Output& err);
int runValidateCommand(const CliArguments& args, Output& out, Output& err);
int runCaseCommand(const CliArguments& args, Output& out, Output& err);
int runImportCommand(const CliArguments& args, Output& out, Output& err);
// `case verify CASE`, once runCaseCommand has checked its operands.
int runCaseVerify(const CliArguments& args, Output& out, Output& err);

// Writes "pelmora-cli: <message>" on one line of `err` and returns kExitUsage.
int usageError(Output& err, std::string_view message);

}  // namespace pelmora::cli
