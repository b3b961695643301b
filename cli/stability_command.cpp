#include "cli/stability_options.h"

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

std::optional<StabilityOptions> stabilityOptionsOf(const CliArguments& args,
                                                   const std::string& command, Output& err) {
    StabilityOptions options;
    if (!wholeNumber(args, "--resamples", options.resamples, StabilityOptions::kMostResamples,
                     options.resamples)) {
        usageError(err, command + ": --resamples takes a whole number from 1 to " +
                            std::to_string(StabilityOptions::kMostResamples));
        return std::nullopt;
    }
    if (!wholeNumber(args, "--block", options.blockWords, StabilityOptions::kMostBlockWords,
                     options.blockWords)) {
        usageError(err, command + ": --block takes a whole number of words from 1 to " +
                            std::to_string(StabilityOptions::kMostBlockWords));
        return std::nullopt;
    }
    return options;
}

bool asksForStability(const CliArguments& args) {
    return args.options.count("--resamples") > 0 || args.options.count("--block") > 0;
}

std::optional<RunStability> stabilityOf(const FolderRun& run, StabilityOptions options,
                                        const CliArguments& args, Output& err) {
    options.jobs = args.jobs;
    Result<RunStability> stability = measureStability(*run.result, options);
    if (!stability.ok()) {
        err.raw("pelmora-cli: " + stability.error().message + "\n");
        return std::nullopt;
    }
    for (const TextStability& t : stability.value().texts) {
        if (!t.measured()) {
            err.raw("pelmora-cli: not resampled ")
                .name(run.result->texts[static_cast<std::size_t>(t.position)].name)
                .raw(": " + t.notMeasured + "\n");
        }
    }
    err.flush();
    return std::move(stability.value());
}

int statusWithStability(int status, const std::optional<RunStability>& stability) {
    return status == kExitOk && stability && stability->notMeasuredTexts() > 0 ? kExitLeftOut
                                                                               : status;
}

int runStabilityCommand(const CliArguments& args, Output& out, Output& err) {
    const std::optional<StabilityOptions> options = stabilityOptionsOf(args, "stability", err);
    if (!options) {
        return kExitUsage;
    }
    std::optional<RunStability> stability;
    bool failed = false;
    const int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        stability = stabilityOf(run, *options, args, err);
        failed = !stability;
        if (stability) {
            o.text(delimitedTable(stabilityTable(*run.result, *stability, o.names()), '\t', "\n"));
        }
    });
    return status == kExitOk && failed ? kExitUsage : statusWithStability(status, stability);
}

int runSensitivityCommand(const CliArguments& args, Output& out, Output& err) {
    return writeAfterRun(args, out, err, [](const FolderRun& run, Output& o) {
        o.text(
            delimitedTable(sensitivityTable(*run.result, runSensitivity(*run.result)), '\t', "\n"));
    });
}

}  // namespace pelmora::cli
