// pelmora-cli: the batch run of the main form without a window.

#include <iostream>
#include <string_view>

#include "cli/cli_command.h"

namespace pelmora::cli {
namespace {

// One line per sub-command.
constexpr CliCommand kCommands[] = {
    {"report", "FOLDER", "run every text of FOLDER and print the report", runReportCommand},
    {"types", "FOLDER", "the same run; print each text's type code and file name", runTypesCommand},
    {"measures", "FOLDER", "the same run; print every text's measures as a table",
     runMeasuresCommand},
    {"authors", "FOLDER",
     "the same run; print each author's number of texts and mean strength per author pair",
     runAuthorsCommand},
    {"explain", "FOLDER", "the same run; why each text got each digit of its code",
     runExplainCommand},
    {"matrix", "FOLDER", "the same run; every pair's strength as a texts-by-texts table",
     runMatrixCommand},
    {"quality", "FOLDER", "the same run; each file's encoding, size, words and warnings",
     runQualityCommand},
    {"record", "FOLDER", "the same run; a record of every file and code to verify later",
     runRecordCommand},
    {"verify", "RECORD FOLDER", "run FOLDER again; exit 1 and list what differs from RECORD",
     runVerifyCommand},
};

void printUsage(std::ostream& out) {
    out << "Usage: pelmora-cli [--crlf] COMMAND ARGUMENTS...\n"
           "Classifies the *.txt texts of a folder by type and compares every pair.\n\n"
           "Commands:\n";
    for (const CliCommand& command : kCommands) {
        const std::string head = std::string(command.name) + " " + command.operands;
        out << "  " << head << std::string(head.size() < 18 ? 18 - head.size() : 1, ' ')
            << command.summary << "\n";
    }
    out << "\nOptions:\n"
           "  --crlf            keep CR LF line ends (default: LF)\n"
           "  --help            show this help\n\n"
           "Exit status: 0 on success, 1 when verify finds a difference, 2 on bad arguments or\n"
           "a folder that cannot be opened.\n";
}

int run(int argc, char** argv) {
    CliArguments args;
    bool afterDashes = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!afterDashes && arg == "--") {
            afterDashes = true;
        } else if (!afterDashes && (arg == "--help" || arg == "-h")) {
            printUsage(std::cout);
            return kExitOk;
        } else if (!afterDashes && arg == "--crlf") {
            args.crlf = true;
        } else if (!afterDashes && arg.size() > 1 && arg.front() == '-') {
            return usageError(std::cerr, "unknown option '" + std::string(arg) + "' (try --help)");
        } else if (args.command.empty()) {
            args.command = arg;
        } else {
            args.operands.emplace_back(arg);
        }
    }
    if (args.command.empty()) {
        return usageError(std::cerr, "missing COMMAND (try --help)");
    }
    for (const CliCommand& command : kCommands) {
        if (args.command == command.name) {
            return command.run(args, std::cout, std::cerr);
        }
    }
    return usageError(std::cerr, "unknown command '" + args.command + "' (try --help)");
}

}  // namespace
}  // namespace pelmora::cli

int main(int argc, char** argv) {
    return pelmora::cli::run(argc, argv);
}
