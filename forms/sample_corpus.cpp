#include "forms/sample_corpus.h"

#include <system_error>

#ifndef PELMORA_INSTALLED_SAMPLES
#define PELMORA_INSTALLED_SAMPLES "../share/pelmora/samples"
#endif
#ifndef PELMORA_BUILD_SAMPLES
#define PELMORA_BUILD_SAMPLES "samples"
#endif

namespace pelmora {

namespace fs = std::filesystem;

SampleCorpusSearch findSampleCorpus(const fs::path& programFolder) {
    SampleCorpusSearch search;
    if (programFolder.empty()) {
        return search;  // never a place relative to the working folder
    }
    for (const char* place : {PELMORA_INSTALLED_SAMPLES, PELMORA_BUILD_SAMPLES}) {
        const fs::path folder = (programFolder / place).lexically_normal();
        search.looked.push_back(folder);
        std::error_code error;
        if (fs::is_directory(folder, error)) {
            // Through the build folder's link, the source's own folder is the one shown.
            const fs::path real = fs::canonical(folder, error);
            search.found = error ? folder : real;
            break;
        }
    }
    return search;
}

fs::path runningProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

std::string missingSampleCorpusMessage(const SampleCorpusSearch& search) {
    std::string places;
    for (std::size_t i = 0; i < search.looked.size(); ++i) {
        places += (i == 0                          ? ""
                   : i + 1 == search.looked.size() ? " or "
                                                   : ", ") +
                  search.looked[i].string();
    }
    if (places.empty()) {
        places = "the program's folder, which the system does not name";
    }
    return "The sample corpus was not found in " + places + ", so the home folder is shown.";
}

}  // namespace pelmora
