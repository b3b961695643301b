#pragma once
// Generated corpora for the benchmarks: texts whose mix of marker words varies, made once per
// size under a temporary folder of the process, from a fixed seed.

#include <filesystem>
#include <random>
#include <string>

namespace pelmora::bench {

std::string generatedText(std::mt19937& rng);

// A folder of `texts` generated texts of 5 to 20 KiB, made on the first call for that size.
const std::filesystem::path& corpus(int texts);

// The process's peak resident memory so far.
double peakMemoryMiB();

}  // namespace pelmora::bench
