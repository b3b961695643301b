#include <algorithm>

#include "cli/folder_run.h"
#include "explanation/concordance.h"

namespace pelmora::cli {

namespace {

// The texts --text names: by their exact name bytes, else by their name's text when only one
// text reads so.
std::vector<const TextRecord*> textsNamed(const RunResult& run, const std::string* name) {
    std::vector<const TextRecord*> exact, alike;
    for (const TextRecord& t : run.texts) {
        if (!t.inRun) {
            continue;
        }
        if (name == nullptr || t.nameBytes == *name) {
            exact.push_back(&t);
        } else if (t.name == *name) {
            alike.push_back(&t);
        }
    }
    return exact.empty() && alike.size() == 1 ? alike : exact;
}

}  // namespace

int runConcordanceCommand(const CliArguments& args, Output& out, Output& err) {
    const auto option = [&](const char* key) -> const std::string* {
        const auto it = args.options.find(key);
        return it == args.options.end() ? nullptr : &it->second;
    };
    const std::string* measureName = option("--measure");
    const Measure* measure = nullptr;
    for (const Measure& m : kCountedMeasures) {
        if (measureName != nullptr &&
            *measureName == kMeasures[static_cast<std::size_t>(m)].column) {
            measure = &m;
        }
    }
    if (measureName != nullptr && measure == nullptr) {
        std::string known;
        for (const Measure m : kCountedMeasures) {
            known += (known.empty() ? "" : ", ") +
                     std::string(kMeasures[static_cast<std::size_t>(m)].column);
        }
        return usageError(err, "concordance: no measure '" + *measureName + "'; one of " + known);
    }
    int failed = 0;
    int status = writeAfterRun(args, out, err, [&](const FolderRun& run, Output& o) {
        const std::vector<const TextRecord*> texts = textsNamed(*run.result, option("--text"));
        if (texts.empty()) {
            err.raw("pelmora-cli: concordance: no text of the run is named ")
                .name(*option("--text"))
                .raw("\n");
            failed = kExitUsage;
            return;
        }
        bool header = true;
        for (const TextRecord* t : texts) {
            const Result<TextOccurrences> found = occurrencesOf(*run.result, *t);
            if (!found.ok()) {
                err.raw("pelmora-cli: " + found.error().message + "\n");
                failed = kExitLeftOut;
                continue;
            }
            o.text(delimitedTable(
                concordanceTable(t->name, found.value(), measure, header, o.names()), '\t', "\n"));
            header = false;
        }
    });
    return status == kExitOk && failed != 0 ? failed : status;
}

}  // namespace pelmora::cli
