#pragma once
// Where the sample corpus is for the running program: installed, in the data folder beside
// the program's folder; in a build folder, behind its link to the source's samples.

#include <filesystem>
#include <string>
#include <vector>

namespace pelmora {

struct SampleCorpusSearch {
    std::filesystem::path found;                // its real path; empty when none was found
    std::vector<std::filesystem::path> looked;  // every place looked at, in order
};

// Looks in the places relative to `programFolder`, the folder of the program's executable.
[[nodiscard]] SampleCorpusSearch findSampleCorpus(const std::filesystem::path& programFolder);

// The folder of the running executable; empty when the system does not say.
[[nodiscard]] std::filesystem::path runningProgramFolder();

// What to tell the user when no sample corpus was found: the places looked at.
[[nodiscard]] std::string missingSampleCorpusMessage(const SampleCorpusSearch& search);

}  // namespace pelmora
