#include "cli/folder_run.h"
#include "evidence/stability.h"

namespace pelmora::cli {

namespace {

// A whole number from 1 to `most` given for `option`, or `fallback` when it is not given.
bool wholeNumber(const CliArguments& args, const char* option, int fallback, int most, int& out) {
    const auto it = args.options.find(option);
    out = fallback;
    if (it == args.options.end()) {
        return true;
    }
    const std::string& text = it->second;
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    out = std::stoi(text);
    return out >= 1 && out <= most;
}

}  // namespace

int runStabilityCommand(const CliArguments& args, Output& out, Output& err) {
    StabilityOptions options;
    if (!wholeNumber(args, "--resamples", options.resamples, 100000, options.resamples)) {
        return usageError(err, "stability: --resamples takes a whole number from 1 to 100000");
    }
    if (!wholeNumber(args, "--block", options.blockWords, 100000, options.blockWords)) {
        return usageError(err, "stability: --block takes a whole number of words from 1 to 100000");
    }
    options.jobs = args.jobs;
    int failed = 0;
    const int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        const Result<RunStability> stability = measureStability(*run.result, options);
        if (!stability.ok()) {
            err.raw("pelmora-cli: " + stability.error().message + "\n");
            failed = kExitUsage;
            return;
        }
        o.text(delimitedTable(stabilityTable(*run.result, stability.value(), o.names()), '\t',
                              "\n"));
    });
    return status == kExitOk && failed != 0 ? failed : status;
}

int runSensitivityCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(delimitedTable(sensitivityTable(*run.result, runSensitivity(*run.result)), '\t',
                              "\n"));
    });
}

}  // namespace pelmora::cli
