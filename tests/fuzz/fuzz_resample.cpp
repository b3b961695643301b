// Stability resampling: a text cut into blocks of whole words, and resamples drawn from them.
// The first byte gives the block's words, the second the resample number, the rest is the
// text's bytes. Blocks cover the words in order, `words` to a block; a resample is as many of
// those blocks as the text has, joined by one space, and the same for the same text,
// SHA-256 and number.

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/sha256.h"
#include "stability/stability.h"
#include "stores/text_encoding.h"
#include "tests/fuzz/support.h"

namespace {

using namespace pelmora;
using namespace pelmora::fuzz;

using Span = std::pair<std::size_t, std::size_t>;

// The words of a text: runs of anything but space, tab, CR, LF, form feed and vertical tab.
std::vector<Span> wordsOf(const std::string& text) {
    std::vector<Span> words;
    const char* const space = " \t\r\n\f\v";
    for (std::size_t at = text.find_first_not_of(space); at != std::string::npos;) {
        const std::size_t end = std::min(text.find_first_of(space, at), text.size());
        words.emplace_back(at, end);
        at = text.find_first_not_of(space, end);
    }
    return words;
}

// Whether `resample` cuts into blocks joined by single spaces, each a full block of `words`
// words or the text's last block of `lastWords`, with `count` between the fewest and the most
// blocks it cuts into.
bool madeOfBlocks(const std::string& resample, const std::unordered_set<std::string_view>& blocks,
                  std::size_t count, std::size_t words, std::size_t lastWords) {
    const std::vector<Span> w = wordsOf(resample);
    if (count == 0) {
        return resample.empty();
    }
    // The fewest and most blocks that make up the first i words, -1 when none do.
    std::vector<std::pair<long, long>> reach(w.size() + 1, {-1, -1});
    reach[0] = {0, 0};
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (reach[i].first < 0) {
            continue;
        }
        for (const std::size_t n : {words, lastWords}) {
            const std::size_t j = i + n;
            if (n == 0 || j > w.size()) {
                continue;
            }
            const std::size_t end = w[j - 1].second;
            const bool joined = j == w.size() || (resample[end] == ' ' && w[j].first == end + 1);
            if (!joined ||
                !blocks.count(std::string_view(resample).substr(w[i].first, end - w[i].first))) {
                continue;
            }
            auto& [fewest, most] = reach[j];
            fewest = fewest < 0 ? reach[i].first + 1 : std::min(fewest, reach[i].first + 1);
            most = std::max(most, reach[i].second + 1);
        }
    }
    const auto [fewest, most] = reach[w.size()];
    return !w.empty() && w.front().first == 0 && w.back().second == resample.size() &&
           fewest >= 0 && static_cast<long>(count) >= fewest && static_cast<long>(count) <= most;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int words = 1 + data[0] % 64;
    const int k = data[1];
    const std::string_view bytes = bytesOf(data + 2, size - 2);
    const std::string text = decodeText(std::string(bytes)).text;
    const std::string input = shown(text) + " in blocks of " + std::to_string(words);

    int wordCount = -1;
    const std::vector<Span> blocks = wordBlocks(text, words, &wordCount);
    const std::vector<Span> w = wordsOf(text);
    FUZZ_CHECK(wordCount >= 0 && static_cast<std::size_t>(wordCount) == w.size(), input);
    const std::size_t perBlock = static_cast<std::size_t>(words);
    FUZZ_CHECK(blocks.size() == (w.size() + perBlock - 1) / perBlock, input);
    std::unordered_set<std::string_view> blockTexts;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const Span expected{w[b * perBlock].first,
                            w[std::min((b + 1) * perBlock, w.size()) - 1].second};
        FUZZ_CHECK(blocks[b] == expected, input + ", block " + std::to_string(b));
        blockTexts.insert(
            std::string_view(text).substr(expected.first, expected.second - expected.first));
    }

    const std::string sha = sha256Hex(bytes);
    const std::string resample = resampleText(text, blocks, sha, k);
    FUZZ_CHECK(
        resampleText(std::string(text), std::vector<Span>(blocks), std::string(sha), k) == resample,
        input + ", resample " + std::to_string(k));
    const std::size_t lastWords = w.size() % perBlock == 0 ? perBlock : w.size() % perBlock;
    FUZZ_CHECK(madeOfBlocks(resample, blockTexts, blocks.size(), perBlock, lastWords),
               input + ", resample " + std::to_string(k) + ": " + shown(resample));
    return 0;
}
