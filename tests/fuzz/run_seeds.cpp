// Runs a fuzz target's seed files once each, for a build without libFuzzer: every argument is a
// file or a folder of files. A failed check aborts the program, so the test fails.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> seeds;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry& e : fs::directory_iterator(argv[i])) {
                if (e.is_regular_file()) {
                    seeds.push_back(e.path());
                }
            }
        } else {
            seeds.emplace_back(argv[i]);
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seed files given\n");
        return 1;
    }
    std::sort(seeds.begin(), seeds.end());
    for (const fs::path& seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", seed.c_str());
            return 1;
        }
        // Exactly as long as the file, so that a sanitizer catches a read past its end.
        std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        std::printf("%s (%zu bytes)\n", seed.c_str(), input.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%zu seeds passed\n", seeds.size());
    return 0;
}
