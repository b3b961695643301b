#pragma once
// What every sub-command of pelmora-cli gets and gives. A new sub-command is one file
// defining its run function and one line in the table of main.cpp.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffers = 1;  // verify: the folder no longer matches its record
inline constexpr int kExitUsage = 2;    // bad arguments, or a folder that cannot be opened

struct CliArguments {
    std::string command;
    std::vector<std::string> operands;  // what follows the command, options taken out
    bool crlf = false;                  // keep CR LF line ends instead of writing LF
};

// Writes to `out`; one-line messages go to `err`. Returns the exit status.
using RunCommand = int (*)(const CliArguments& args, std::ostream& out, std::ostream& err);

struct CliCommand {
    const char* name;
    const char* operands;  // as the usage shows them, e.g. "FOLDER"
    const char* summary;
    RunCommand run;
};

int runReportCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runTypesCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runMeasuresCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runAuthorsCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runExplainCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runMatrixCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runQualityCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runRecordCommand(const CliArguments& args, std::ostream& out, std::ostream& err);
int runVerifyCommand(const CliArguments& args, std::ostream& out, std::ostream& err);

// Writes `text` with its CR LF line ends turned into LF unless `crlf` is set.
void writeText(std::ostream& out, std::string_view text, bool crlf);

// Writes "pelmora-cli: <message> " on one line of `err` and returns kExitUsage.
int usageError(std::ostream& err, std::string_view message);

}  // namespace pelmora::cli
