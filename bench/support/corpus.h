#pragma once
// Generated corpora for the benchmarks: texts whose mix of marker words varies, made once per
// size under a temporary folder of the process, from a fixed seed.

#include <filesystem>
#include <random>
#include <string>

namespace pelmora::bench {

std::string generatedText(std::mt19937& rng);

enum class Naming { OneAuthor, AuthorEach };

// A folder of `texts` generated texts of 5 to 20 KiB, made on the first call for that size:
// all by one author, or (up to 10,000 texts) each by an author of its own.
const std::filesystem::path& corpus(int texts, Naming naming = Naming::OneAuthor);

// The process's peak resident memory so far.
double peakMemoryMiB();

}  // namespace pelmora::bench
