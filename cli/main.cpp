// pelmora-cli: the batch run of the main form without a window.

#include <algorithm>
#include <csignal>
#include <string_view>

#include "cli/cli_command.h"
#include "explanation/captions.h"
#include "exports/workbook.h"
#include "rules/rule_book.h"
#include "version/version.h"

namespace pelmora::cli {

int usageError(Output& err, std::string_view message) {
    err.raw("pelmora-cli: ").raw(message).raw("\n");
    err.flush();
    return kExitUsage;
}

namespace {

// One line per sub-command.
const CliCommand kCommands[] = {
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
    {"pairs", "FOLDER",
     "the same run; every pair's strength and whether it is minimal or off the norm",
     runPairsCommand},
    {"quality", "FOLDER", "the same run; each file's encoding, size, words and warnings",
     runQualityCommand},
    {"record",
     "FOLDER [--resamples B] [--block WORDS]",
     "the same run; a record of every file and code (with either option, of their stability) "
     "to verify later",
     runRecordCommand,
     {"--resamples", "--block"}},
    {"workbook",
     "FOLDER OUT.xlsx [--resamples B] [--block WORDS] [--all-rows]",
     "the same run; every table in one workbook for a spreadsheet, written to OUT.xlsx, its "
     "Summary sheet first (with either option, a Stability sheet too); " +
         pairSheetsText() + ", or with --all-rows as many as a spreadsheet holds",
     runWorkbookCommand,
     {"--resamples", "--block"},
     {"--all-rows"}},
    {"verify", "RECORD FOLDER",
     "run FOLDER again; exit 1 and list what differs from RECORD (- for standard input)",
     runVerifyCommand},
    {"concordance",
     "FOLDER [--text NAME] [--measure COLUMN]",
     "the same run; every counted word in its context, a row per word and measure",
     runConcordanceCommand,
     {"--text", "--measure"}},
    {"stability",
     "FOLDER [--resamples B] [--block WORDS]",
     stabilityCommandSummary(),
     runStabilityCommand,
     {"--resamples", "--block"}},
    {"sensitivity", "FOLDER",
     "the same run; codes and strengths that change when " + sensitivityMovesText(),
     runSensitivityCommand},
    {"compat",
     "FOLDER --metadata META.csv [--table qk|kk|qr|qq|matched] [--level N]",
     "the same run; one table of the case's compatibility by the roles META.csv gives: each "
     "questioned text against the known texts (qk), the known texts among themselves (kk), "
     "the reference texts' strengths with each questioned text (qr), the questioned texts "
     "among themselves (qq), or the reference texts reaching strength N (default " +
         std::to_string(RuleBook::kMatchedReferenceAtLeast) + ") with every questioned text",
     runCompatCommand,
     {"--metadata", "--table", "--level"}},
    {"validate",
     "FOLDER --metadata META.csv [--label COLUMN] [--table roc|digits|labels] "
     "[--resamples B] [--block WORDS]",
     "the same run; how well the codes separate the texts by the labels of a metadata column "
     "(default genre): pairs of the same and of different labels, AUC, equal error rate and "
     "best strength cut; the ROC points, each digit by label, or each label's figures (with "
     "either resampling option, its share of texts with an unstable digit)",
     runValidateCommand,
     {"--metadata", "--label", "--table", "--resamples", "--block"}},
    {"case",
     "new CASE FOLDER [--metadata META.csv] [--number N] [--examiner NAME] [--unmasking on|off]",
     "a new case file for FOLDER with its texts, their metadata and an audit log; with "
     "--unmasking on, the questioned texts are examined and locked before the rest is shown",
     runCaseCommand,
     {"--metadata", "--number", "--examiner", "--unmasking", "--resamples", "--block"}},
    {"case", "run CASE [--resamples B] [--block WORDS]",
     "run the case's folder, store the run (with either option, its stability) in the "
     "case file, print the qk table, or under sequential unmasking before the lock only the "
     "questioned texts' codes; name what changed since the lock",
     runCaseCommand},
    {"case", "unmasking CASE on|off",
     "turn sequential unmasking on or off (refused once the questioned texts are locked)",
     runCaseCommand},
    {"case", "lock CASE",
     "lock the questioned texts: log their codes, SHA-256 and evidence from the last run, "
     "which must have analysed each",
     runCaseCommand},
    {"case", "metadata CASE", "print the case's metadata as a CSV table", runCaseCommand},
    {"case", "log CASE", "print the case's audit log with each entry's hash", runCaseCommand},
    {"case",
     "report CASE OUT [--label COLUMN]",
     "run the case's folder and write the case report to OUT (.html, .pdf or .odt): the case, "
     "the items and their integrity, the method, the results by role, their reliability (with "
     "the validation on the labels of COLUMN, default genre, where the metadata has it), the "
     "limitations and the audit log; logged with the report's SHA-256",
     runCaseCommand,
     {"--label"}},
    {"case", "verify CASE",
     "exit 1 naming each file changed since the last run or the first broken log entry",
     runCaseCommand},
    {"import",
     "SOURCE... --to FOLDER [--keep-quotes] [--metadata-out META.csv]",
     "make .docx, .odt, .pdf, .html, .eml, .mbox and chat-export (.txt) files, and the files "
     "of folders, into .txt texts in FOLDER, logged with their SHA-256 in FOLDER's "
     "import-log.csv; quotes, signatures and system lines are removed unless --keep-quotes; "
     "the texts' authors and dates go to META.csv",
     runImportCommand,
     {"--to", "--metadata-out"},
     {"--keep-quotes"}},
};

void printUsage(Output& out) {
    out.raw(
        "Usage: pelmora-cli [--crlf] [--jobs N] COMMAND ARGUMENTS...\n"
        "Classifies the *.txt texts of a folder by type and compares every pair.\n\n"
        "Commands:\n");
    for (const CliCommand& command : kCommands) {
        const std::string head = std::string(command.name) + " " + command.operands;
        out.raw(
            "  " + head +
            (head.size() < 18 ? std::string(18 - head.size(), ' ') : "\n" + std::string(20, ' ')) +
            command.summary + "\n");
    }
    out.raw(
        "\nOptions:\n"
        "  --crlf            keep CR LF line ends (default: LF)\n"
        "  --jobs N          measure N texts at once (default: one per core)\n"
        "  --help            show this help\n"
        "  --version         print the program's name, version and source revision\n\n"
        "Exit status:\n"
        "  0  success: every listed file was analysed and the output written; import:\n"
        "     every source was imported\n"
        "  1  verify: the folder differs from its record; case verify: the folder\n"
        "     changed since the last run, the case's log was altered, or a locked\n"
        "     questioned text changed its role or content\n"
        "  2  bad arguments, a folder that cannot be opened, a record that cannot be\n"
        "     read, is cut short or was altered, metadata that cannot be loaded, or a\n"
        "     case file that is none, is damaged or is of a newer format\n"
        "  3  the output is complete, but files that could not be read were left out, or\n"
        "     texts that changed since the run were not resampled (each named); import:\n"
        "     sources that could not be converted were left out (each named)\n"
        "  4  the output could not be written (a full disk, a closed pipe, a workbook's\n"
        "     folder or a case file that cannot be written; import: the destination)\n");
}

// An option some command takes with a value.
bool isCommandOption(std::string_view arg) {
    for (const CliCommand& command : kCommands) {
        if (std::find(command.options.begin(), command.options.end(), arg) !=
            command.options.end()) {
            return true;
        }
    }
    return false;
}

// An option some command takes without a value.
bool isCommandFlag(std::string_view arg) {
    for (const CliCommand& command : kCommands) {
        if (std::find(command.flags.begin(), command.flags.end(), arg) != command.flags.end()) {
            return true;
        }
    }
    return false;
}

bool parseJobs(std::string_view text, int& jobs) {
    if (text.empty() || text.size() > 4) {
        return false;
    }
    jobs = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        jobs = jobs * 10 + (c - '0');
    }
    return jobs > 0;
}

int run(int argc, char** argv, Output& out, Output& err) {
    CliArguments args;
    bool afterDashes = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!afterDashes && arg == "--") {
            afterDashes = true;
        } else if (!afterDashes && (arg == "--help" || arg == "-h")) {
            printUsage(out);
            return out.end() ? kExitOk : kExitNoOutput;
        } else if (!afterDashes && arg == "--version") {
            out.raw(programVersion() + "\n");
            return out.end() ? kExitOk : kExitNoOutput;
        } else if (!afterDashes && arg == "--crlf") {
            args.crlf = true;
        } else if (!afterDashes && (arg == "--jobs" || arg.rfind("--jobs=", 0) == 0)) {
            std::string_view value;
            if (arg == "--jobs") {
                if (i + 1 >= argc) {
                    return usageError(err, "--jobs needs a number (try --help)");
                }
                value = argv[++i];
            } else {
                value = arg.substr(7);
            }
            if (!parseJobs(value, args.jobs)) {
                return usageError(err, "--jobs takes a whole number from 1 to 9999");
            }
        } else if (!afterDashes && arg.size() > 2 && arg.substr(0, 2) == "--" && i + 1 < argc &&
                   isCommandOption(arg)) {
            args.options[std::string(arg)] = argv[++i];
        } else if (!afterDashes && isCommandFlag(arg)) {
            args.flags.emplace(arg);
        } else if (!afterDashes && arg.size() > 1 && arg.front() == '-') {
            return usageError(err, "unknown option '" + std::string(arg) + "' (try --help)");
        } else if (args.command.empty()) {
            args.command = arg;
        } else {
            args.operands.emplace_back(arg);
        }
    }
    if (args.command.empty()) {
        return usageError(err, "missing COMMAND (try --help)");
    }
    out.setLineEnds(args.crlf ? LineEnds::CrLf : LineEnds::Lf);
    for (const CliCommand& command : kCommands) {
        if (args.command == command.name) {
            for (const auto& [option, value] : args.options) {
                if (std::find(command.options.begin(), command.options.end(), option) ==
                    command.options.end()) {
                    return usageError(
                        err, args.command + ": unknown option '" + option + "' (try --help)");
                }
            }
            for (const std::string& flag : args.flags) {
                if (std::find(command.flags.begin(), command.flags.end(), flag) ==
                    command.flags.end()) {
                    return usageError(
                        err, args.command + ": unknown option '" + flag + "' (try --help)");
                }
            }
            return command.run(args, out, err);
        }
    }
    return usageError(err, "unknown command '" + args.command + "' (try --help)");
}

}  // namespace
}  // namespace pelmora::cli

int main(int argc, char** argv) {
    // A closed pipe is a write error like any other, not a reason to die silently.
    std::signal(SIGPIPE, SIG_IGN);
    pelmora::cli::Output out(1);
    pelmora::cli::Output err(2);
    return pelmora::cli::run(argc, argv, out, err);
}
