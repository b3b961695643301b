// A whole small run, one text at a time against three at once: the input is cut into at most
// six files at byte 00, each "name/text" (a piece without "/" is a text of its own name),
// written to a folder and run through the batch run twice; codes, measures, pairs, report
// and results box come out the same. The three-job run cuts its texts into small pieces, so
// a lone text is cleaned and counted on several threads too.

#include <cstdint>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "tests/fuzz/support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

// Everything the run published, on one text.
std::string everythingOf(const RunResult& run) {
    std::string out = "report\n" + run.report.text() + "\ntypes\n" + run.types + "\nmean " +
                      run.mean + ", st. dev. " + run.stDev + ", listed " +
                      std::to_string(run.listedFiles) + "\n";
    for (const TextRecord& t : run.texts) {
        out += shown(t.nameBytes) + " " + shown(t.name) + " " + t.code + " " + t.file.sha256 + " " +
               encodingName(t.file.encoding) + ":";
        for (const MeasureInfo& m : kMeasures) {
            out += " " + t.text(m.id);
        }
        out += "\n";
    }
    for (const SkippedFile& s : run.leftOut) {
        out += "left out " + shown(s.nameBytes) + ": " + s.reason + "\n";
    }
    run.pairs.forEach([&out](const RunPair& p) {
        out += std::to_string(p.first) + "-" + std::to_string(p.second) + " " +
               std::to_string(p.strength) + (p.minimal ? " minimal" : "") +
               (p.significant ? " significant" : "") + "\n";
    });
    return out;
}

// The batch run of the folder, as "Auto-check all files in folder" does it at start-up.
std::string runOf(const std::filesystem::path& folder, int jobs, std::size_t pieceBytes) {
    ProgramContext context(folder);
    context.jobs = jobs;
    context.textPieceBytes = pieceBytes;
    startProgram(context);
    const std::shared_ptr<const RunResult> run = runBatch(context);
    FUZZ_CHECK(run != nullptr, "no run of " + folder.string());
    return everythingOf(*run);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const test::TempFolder folder;
    std::set<std::string> names;
    for (const std::string_view piece : split(bytesOf(data, size), '\0', 6)) {
        const std::size_t slash = piece.find('/');
        std::string name = slash == std::string_view::npos
                               ? "t" + std::to_string(names.size())
                               : std::string(piece.substr(0, std::min<std::size_t>(slash, 200)));
        name += ".txt";
        if (!names.insert(name).second) {
            continue;
        }
        const std::string_view text =
            slash == std::string_view::npos ? piece : piece.substr(slash + 1);
        std::ofstream(folder.path() / name, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const std::string sequential = runOf(folder.path(), 1, std::size_t{4} << 20);
    const std::string parallel = runOf(folder.path(), 3, 16);
    FUZZ_CHECK(parallel == sequential, shown(bytesOf(data, size)) + "\none at a time:\n" +
                                           sequential + "\nthree at once:\n" + parallel);
    return 0;
}
