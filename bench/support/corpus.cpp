#include "bench/support/corpus.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <utility>
#include <system_error>
#include <vector>

namespace pelmora::bench {

namespace fs = std::filesystem;

namespace {

// Word groups whose mix decides a text's type; each generated text weighs them differently.
const std::vector<std::vector<std::string>> kGroups = {
    {"the", "the", "of", "and", "to", "in", "that", "is", "for", "on", "with", "as", "by"},
    {"a", "an", "a", "one", "some"},
    {"I", "me", "my", "I'm", "I've", "I'll", "we", "our"},
    {"you", "your", "you're", "you'll", "yourself"},
    {"he", "she", "his", "her", "they", "them", "he's", "she'd"},
    {"was", "were", "said", "went", "took", "thought", "knew", "walked", "turned", "asked"},
    {"must", "should", "shall", "will", "need", "ought", "have to", "going to"},
    {"love", "happy", "sad", "pain", "heart", "worst", "feel", "terrified", "peaceful"},
    {"don't", "can't", "it's", "isn't", "wasn't", "didn't", "won't"},
    {"house", "river", "morning", "letter", "road", "window", "table", "door", "garden", "station",
     "market", "water", "light", "paper", "council", "street", "engine"},
};

}  // namespace

std::string generatedText(std::mt19937& rng) {
    std::uniform_int_distribution<std::size_t> size(5 * 1024, 20 * 1024);
    std::uniform_real_distribution<double> weight(0.0, 1.0);
    std::vector<double> weights;
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        const double w = weight(rng);
        weights.push_back(g == kGroups.size() - 1 ? 4.0 : w * w * 2.0);
    }
    std::discrete_distribution<std::size_t> group(weights.begin(), weights.end());
    std::uniform_int_distribution<int> punctuation(0, 11);
    const std::size_t target = size(rng);
    std::string text;
    while (text.size() < target) {
        const auto& words = kGroups[group(rng)];
        text += words[std::uniform_int_distribution<std::size_t>(0, words.size() - 1)(rng)];
        const int p = punctuation(rng);
        text += p == 0 ? ". " : p == 1 ? ", " : p == 2 ? "\r\n" : " ";
    }
    return text;
}

namespace {

// One temporary folder for the process, removed at its end.
struct CorpusRoot {
    fs::path path = fs::temp_directory_path() / ("pelmora-bench-" + std::to_string(::getpid()));
    ~CorpusRoot() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

}  // namespace

// Generated once per size and naming.
const fs::path& corpus(int texts, Naming naming) {
    static const CorpusRoot root;
    static std::map<std::pair<int, Naming>, fs::path> made;
    const std::string folder =
        std::to_string(texts) + (naming == Naming::AuthorEach ? "-authors" : "");
    auto [it, fresh] = made.emplace(std::pair(texts, naming), root.path / folder);
    if (fresh) {
        fs::create_directories(it->second);
        std::mt19937 rng(20261206u + static_cast<unsigned>(texts));
        for (int k = 0; k < texts; ++k) {
            // An author is the first four characters of a name: "0042.txt" is author 0042.
            const std::string name = naming == Naming::AuthorEach
                                         ? std::to_string(10000 + k).substr(1) + ".txt"
                                         : "text" + std::to_string(10000 + k) + ".txt";
            std::ofstream(it->second / name, std::ios::binary) << generatedText(rng);
        }
    }
    return it->second;
}

double peakMemoryMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace pelmora::bench
